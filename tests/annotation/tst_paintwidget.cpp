#include <QBackingStore>
#include <QSignalSpy>
#include <QtTest>

#include "views/annotation/paintwidget.h"

namespace {

// The canvas with its recorded strokes in view.
class ProbeCanvas : public PaintWidget
{
public:
    using PaintWidget::m_mapSteps;
    using PaintWidget::m_nStep;
    using PaintWidget::m_pen;
};

void send(QWidget &widget, QEvent::Type type, Qt::MouseButton button, const QPoint &pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, button == Qt::NoButton ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

QPoint point(const QString &text)
{
    const QStringList xy = text.split(',');
    return QPoint(xy.value(0).toInt(), xy.value(1).toInt());
}

// Steps separated by ";": "on", "off", "p x,y" (left press), "R x,y"
// (right press), "m x,y" (move with the left button held), "r x,y" (left
// release), "u" (undo), "c" (clear).
void play(PaintWidget &canvas, const QString &script)
{
    for (const QString &rawStep : script.split(';', Qt::SkipEmptyParts)) {
        const QString step = rawStep.trimmed();
        const QString argument = step.section(' ', 1);
        if (step == "on" || step == "off") {
            canvas.m_bDrawEnabled = step == "on";
        } else if (step.startsWith("p ")) {
            send(canvas, QEvent::MouseButtonPress, Qt::LeftButton, point(argument));
        } else if (step.startsWith("R ")) {
            send(canvas, QEvent::MouseButtonPress, Qt::RightButton, point(argument));
        } else if (step.startsWith("m ")) {
            QMouseEvent event(QEvent::MouseMove, point(argument), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&canvas, &event);
        } else if (step.startsWith("r ")) {
            send(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, point(argument));
        } else if (step == "u") {
            canvas.RevocationSingleStep();
        } else if (step == "c") {
            canvas.clear();
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

// "key:x,y x,y|key:..." for every recorded stroke.
QString describe(const ProbeCanvas &canvas)
{
    QStringList strokes;
    for (auto it = canvas.m_mapSteps.cbegin(); it != canvas.m_mapSteps.cend(); ++it) {
        QStringList points;
        for (const QPoint &p : it.value().points) {
            points << QString("%1,%2").arg(p.x()).arg(p.y());
        }
        strokes << QString::number(it.key()) + ":" + points.join(' ');
    }
    return strokes.join('|');
}

QPen toolPen(const QColor &color, double width)
{
    return QPen(QBrush(color, Qt::SolidPattern), width, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

QImage render(PaintWidget &canvas)
{
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    canvas.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Rows of the column whose alpha is at most 1: the band the eraser cleared.
int erasedRows(const QImage &image, int x, int fromY, int toY)
{
    int rows = 0;
    for (int y = fromY; y <= toY; ++y) {
        rows += qAlpha(image.pixel(x, y)) <= 1 ? 1 : 0;
    }
    return rows;
}

} // namespace

// The annotation canvas: which strokes are recorded under which keys, undo
// and clear, the pen and kind each stroke keeps, and the picture they make.
class TestPaintWidget : public QObject
{
    Q_OBJECT

private slots:
    void strokeScripts_data();
    void strokeScripts();
    void strokesKeepTheirPenAndKind();
    void everyPressIsReported_data();
    void everyPressIsReported();
    void penAndMarkerPixels();
    void eraserPixels();
    void clearLeavesNothing();
    void repaintsOfMovesMatchAFullReplay();
};

void TestPaintWidget::strokeScripts_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("strokes");
    QTest::addColumn<int>("step");

    const QString first = "on; p 10,10; m 20,10; m 30,10; r 30,10";
    const QString second = "p 50,50; m 60,50; r 60,50";
    QTest::newRow("click without movement") << "on; p 10,10; r 10,10"
                                            << "" << 0;
    QTest::newRow("one stroke") << first << "0:10,10 20,10 30,10" << 1;
    QTest::newRow("two strokes") << first + ";" + second << "0:10,10 20,10 30,10|1:50,50 60,50" << 2;
    // A loop drawn back to its start is a finished stroke like any other.
    QTest::newRow("closed loop stays") << "on; p 10,10; m 20,10; m 20,20; m 10,10; r 10,10;" + second
                                       << "0:10,10 20,10 20,20 10,10|1:50,50 60,50" << 2;
    QTest::newRow("release far away") << "on; p 10,10; m 20,10; r 400,400"
                                      << "0:10,10 20,10" << 1;
    // A drag while drawing is off records nothing and leaves no gap.
    QTest::newRow("drag with drawing off") << "off; p 10,10; m 20,20; r 20,20; on;" + second << "0:50,50 60,50" << 1;
    QTest::newRow("right button draws nothing") << "on; R 10,10; m 20,20; r 20,20"
                                                << "" << 0;
    QTest::newRow("undo the newest") << first + ";" + second + "; u"
                                     << "0:10,10 20,10 30,10" << 1;
    QTest::newRow("undo on an empty canvas") << "u"
                                             << "" << 0;
    QTest::newRow("undo past the first") << first + "; u; u; u"
                                         << "" << 0;
    QTest::newRow("draw after undo") << first + ";" + second + "; u; p 70,70; m 80,80; r 80,80"
                                     << "0:10,10 20,10 30,10|1:70,70 80,80" << 2;
    QTest::newRow("undo after a drag with drawing off") << first + "; off; p 5,5; m 9,9; r 9,9; on;" + second + "; u"
                                                        << "0:10,10 20,10 30,10" << 1;
    QTest::newRow("clear") << first + ";" + second + "; c"
                           << "" << 0;
    QTest::newRow("draw after clear") << first + "; c;" + second << "0:50,50 60,50" << 1;
    QTest::newRow("drawing turned off mid-stroke")
        << "on; p 10,10; m 20,10; off; m 30,10; r 30,10;on;" + second << "0:10,10 20,10|1:50,50 60,50" << 2;
}

void TestPaintWidget::strokeScripts()
{
    QFETCH(QString, script);
    QFETCH(QString, strokes);
    QFETCH(int, step);

    ProbeCanvas canvas;
    canvas.resize(200, 200);
    play(canvas, script);
    QCOMPARE(describe(canvas), strokes);
    QCOMPARE(canvas.m_nStep, quint32(step));
}

void TestPaintWidget::strokesKeepTheirPenAndKind()
{
    ProbeCanvas canvas;
    canvas.resize(200, 200);
    QCOMPARE(canvas.m_pen.color(), QColor(0, 0, 0, 255));
    QCOMPARE(canvas.m_pen.widthF(), 3.0);

    canvas.setPen(toolPen(QColor(255, 0, 0, 255), 6));
    canvas.setDrawMode(PaintWidget::PenMode);
    play(canvas, "on; p 10,10; m 20,10; r 20,10");
    canvas.setPen(toolPen(QColor(255, 252, 0, 80), 8));
    canvas.setDrawMode(PaintWidget::MarkerMode);
    play(canvas, "p 10,30; m 20,30");
    // The pen of the last move counts for the whole stroke.
    canvas.setPen(toolPen(QColor(0, 249, 0, 80), 16));
    play(canvas, "m 30,30; r 30,30");
    canvas.setPen(toolPen(canvas.m_pen.color(), 9.0));
    canvas.setDrawMode(PaintWidget::EraserMode);
    play(canvas, "p 10,50; m 20,50; r 20,50");

    QCOMPARE(canvas.m_mapSteps.size(), 3);
    const PaintStroke pen = canvas.m_mapSteps.value(0);
    const PaintStroke marker = canvas.m_mapSteps.value(1);
    const PaintStroke eraser = canvas.m_mapSteps.value(2);
    QCOMPARE(pen.kind, 0);
    QCOMPARE(pen.pen.color(), QColor(255, 0, 0, 255));
    QCOMPARE(pen.pen.widthF(), 6.0);
    QCOMPARE(marker.kind, 3);
    QCOMPARE(marker.pen.color(), QColor(0, 249, 0, 80));
    QCOMPARE(marker.pen.widthF(), 16.0);
    QCOMPARE(eraser.kind, 2);
    QCOMPARE(eraser.pen.widthF(), 9.0);
    for (const PaintStroke &stroke : {pen, marker, eraser}) {
        QCOMPARE(stroke.pen.capStyle(), Qt::RoundCap);
        QCOMPARE(stroke.pen.joinStyle(), Qt::BevelJoin);
    }
}

void TestPaintWidget::everyPressIsReported_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("records");

    QTest::newRow("left") << int(Qt::LeftButton) << true;
    QTest::newRow("right") << int(Qt::RightButton) << false;
    QTest::newRow("middle") << int(Qt::MiddleButton) << false;
    QTest::newRow("back") << int(Qt::BackButton) << false;
}

void TestPaintWidget::everyPressIsReported()
{
    QFETCH(int, button);
    QFETCH(bool, records);

    ProbeCanvas canvas;
    canvas.resize(100, 100);
    canvas.m_bDrawEnabled = true;
    QSignalSpy pressed(&canvas, &PaintWidget::LeftButtonPressed);
    send(canvas, QEvent::MouseButtonPress, Qt::MouseButton(button), QPoint(10, 10));
    QCOMPARE(pressed.count(), 1);
    play(canvas, "m 30,30");
    QCOMPARE(canvas.m_mapSteps.size(), records ? 1 : 0);
}

void TestPaintWidget::penAndMarkerPixels()
{
    ProbeCanvas canvas;
    canvas.resize(120, 100);
    canvas.setPen(toolPen(QColor(0, 0, 255, 255), 6));
    play(canvas, "on; p 30,20; m 30,80; r 30,80");
    const QImage penOnly = render(canvas);
    QCOMPARE(penOnly.pixelColor(30, 50), QColor(0, 0, 255, 255));
    QCOMPARE(qAlpha(penOnly.pixel(60, 50)), 0);

    // A marker stroke that crosses the pen stroke and itself.
    canvas.setPen(toolPen(QColor(255, 252, 0, 80), 8));
    canvas.setDrawMode(PaintWidget::MarkerMode);
    play(canvas, "p 10,50; m 90,50; m 90,65; m 60,65; m 60,35; r 60,35");
    const QImage image = render(canvas);
    for (const QPoint &at : {QPoint(75, 50), QPoint(60, 50), QPoint(30, 50)}) {
        const QColor color = image.pixelColor(at);
        QCOMPARE(color.alpha(), 80);
        QVERIFY2(qAbs(color.red() - 255) <= 3 && qAbs(color.green() - 252) <= 3 && color.blue() <= 3,
                 qPrintable(color.name()));
    }
    QCOMPARE(image.pixelColor(30, 25), QColor(0, 0, 255, 255));
}

void TestPaintWidget::eraserPixels()
{
    ProbeCanvas canvas;
    canvas.resize(200, 100);
    canvas.setPen(toolPen(QColor(0, 0, 0, 255), 40));
    play(canvas, "on; p 0,50; m 200,50; r 200,50");

    canvas.setPen(toolPen(canvas.m_pen.color(), 9.0));
    canvas.setDrawMode(PaintWidget::EraserMode);
    play(canvas, "p 20,50; m 60,50; m 100,50; m 140,50; m 180,50; r 180,50");
    QImage image = render(canvas);
    // The erased band has the same width under the first segment as under
    // the later ones, and what remains there is the faint white trace.
    const int first = erasedRows(image, 40, 30, 70);
    const int later = erasedRows(image, 120, 30, 70);
    QVERIFY2(first >= 8 && first <= 10, qPrintable(QString::number(first)));
    QCOMPARE(later, first);
    QCOMPARE(image.pixelColor(120, 50), QColor(255, 255, 255, 1));
    QCOMPARE(image.pixelColor(120, 35).alpha(), 255);

    // A later stroke is painted over the erased band; undo brings the band back.
    canvas.setPen(toolPen(QColor(255, 0, 0, 255), 6));
    canvas.setDrawMode(PaintWidget::PenMode);
    play(canvas, "p 120,20; m 120,80; r 120,80");
    image = render(canvas);
    QCOMPARE(image.pixelColor(120, 50), QColor(255, 0, 0, 255));
    canvas.RevocationSingleStep();
    image = render(canvas);
    QCOMPARE(image.pixelColor(120, 50), QColor(255, 255, 255, 1));
    canvas.RevocationSingleStep();
    image = render(canvas);
    QCOMPARE(image.pixelColor(120, 50), QColor(0, 0, 0, 255));
}

void TestPaintWidget::clearLeavesNothing()
{
    ProbeCanvas canvas;
    canvas.resize(100, 100);
    canvas.setPen(toolPen(QColor(255, 0, 0, 255), 12));
    play(canvas, "on; p 10,10; m 90,90; r 90,90; p 10,90; m 90,10; r 90,10; c");
    const QImage image = render(canvas);
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            QCOMPARE(qAlpha(image.pixel(x, y)), 0);
        }
    }
}

// Each move repaints only around its new segment; what the window shows
// must still be exactly all strokes replayed in key order.
void TestPaintWidget::repaintsOfMovesMatchAFullReplay()
{
    ProbeCanvas canvas;
    canvas.resize(240, 160);
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    struct Tool
    {
        QColor color;
        double width;
        int mode;
    };
    const Tool tools[] = {{QColor(0, 0, 255, 255), 12, PaintWidget::PenMode},
                          {QColor(255, 133, 23, 80), 16, PaintWidget::MarkerMode},
                          {QColor(0, 0, 0, 255), 9, PaintWidget::EraserMode},
                          {QColor(255, 0, 0, 255), 3, PaintWidget::PenMode}};
    canvas.m_bDrawEnabled = true;
    int stroke = 0;
    for (const Tool &tool : tools) {
        canvas.setPen(toolPen(tool.color, tool.width));
        canvas.setDrawMode(tool.mode);
        QPoint at(20 + 30 * stroke, 20);
        send(canvas, QEvent::MouseButtonPress, Qt::LeftButton, at);
        for (int i = 0; i < 12; ++i) {
            at += QPoint(((i * 7 + stroke * 5) % 11) - 2, 10 + (i % 3) * 3 - 4 * (i % 2));
            QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&canvas, &move);
            QCoreApplication::processEvents();
        }
        send(canvas, QEvent::MouseButtonRelease, Qt::LeftButton, at);
        ++stroke;
    }
    canvas.RevocationSingleStep();
    QTest::qWait(20);

    // What the window shows is its backing store.
    QPaintDevice *device = canvas.backingStore()->paintDevice();
    if (device->devType() != QInternal::Image) {
        qFatal("the backing store is no image");
    }
    const QImage shown = static_cast<QImage *>(device)->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage replayed = canvas.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QCOMPARE(shown.size(), replayed.size());
    QVERIFY(shown == replayed);
}

QTEST_MAIN(TestPaintWidget)
#include "tst_paintwidget.moc"
