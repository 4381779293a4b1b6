#include <QPainter>
#include <QtTest>

#include "views/sharing/coverlayrules.h"

using kd_app::views::COverlayRules;

// Where the sharing overlay's pop-ups go, what its window keeps of itself
// without a compositor, and how its snapshots are named.
class TestOverlayRules : public QObject
{
    Q_OBJECT

private slots:
    void popupPosition_data();
    void popupPosition();
    void toolMenuPosition_data();
    void toolMenuPosition();
    void pickerPosition_data();
    void pickerPosition();
    void frameRegion();
    void roundedRegion_data();
    void roundedRegion();
    void visiblePixels();
    void parseBackground_data();
    void parseBackground();
    void snapshotFileName();
};

void TestOverlayRules::popupPosition_data()
{
    QTest::addColumn<QRect>("button");
    QTest::addColumn<QSize>("popup");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("wider pop-up") << QRect(500, 20, 20, 54) << QSize(140, 100) << QPoint(440, 84);
    QTest::newRow("narrower pop-up") << QRect(500, 20, 88, 54) << QSize(44, 194) << QPoint(522, 84);
    QTest::newRow("odd difference rounds towards the button") << QRect(0, 0, 20, 10) << QSize(31, 5) << QPoint(-5, 20);
    QTest::newRow("second screen") << QRect(2420, 100, 88, 54) << QSize(88, 60) << QPoint(2420, 164);
}

void TestOverlayRules::popupPosition()
{
    QFETCH(QRect, button);
    QFETCH(QSize, popup);
    QFETCH(QPoint, expected);
    QCOMPARE(COverlayRules::popupPosition(button, popup), expected);
}

void TestOverlayRules::toolMenuPosition_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<int>("menuWidth");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("scale 1") << QRect(0, 0, 1920, 1080) << 730 << 1.0 << QPoint(595, 80);
    QTest::newRow("scale 1.5 truncates") << QRect(0, 0, 1920, 1080) << 1095 << 1.5 << QPoint(412, 120);
    QTest::newRow("scale 2") << QRect(0, 0, 3840, 2160) << 1460 << 2.0 << QPoint(1190, 160);
    QTest::newRow("screen right of the primary") << QRect(1920, 0, 1280, 1024) << 730 << 1.0 << QPoint(2195, 80);
    QTest::newRow("screen below the primary") << QRect(0, 1080, 1920, 1080) << 730 << 1.0 << QPoint(595, 1160);
}

void TestOverlayRules::toolMenuPosition()
{
    QFETCH(QRect, screen);
    QFETCH(int, menuWidth);
    QFETCH(double, scale);
    QFETCH(QPoint, expected);
    QCOMPARE(COverlayRules::toolMenuPosition(screen, menuWidth, scale), expected);
}

void TestOverlayRules::pickerPosition_data()
{
    QTest::addColumn<QRect>("menu");
    QTest::addColumn<int>("entryX");
    QTest::addColumn<int>("pickerHeight");
    QTest::addColumn<int>("desktopHeight");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("menu at the top: below") << QRect(595, 80, 730, 56) << 146 << 120 << 1080 << QPoint(741, 146);
    QTest::newRow("menu on the middle line: below") << QRect(595, 540, 730, 56) << 0 << 120 << 1080 << QPoint(595, 606);
    QTest::newRow("menu just past the middle: above")
        << QRect(595, 541, 730, 56) << 0 << 120 << 1080 << QPoint(595, 411);
    QTest::newRow("menu at the bottom: above") << QRect(100, 1000, 730, 56) << 300 << 90 << 1080 << QPoint(400, 900);
}

void TestOverlayRules::pickerPosition()
{
    QFETCH(QRect, menu);
    QFETCH(int, entryX);
    QFETCH(int, pickerHeight);
    QFETCH(int, desktopHeight);
    QFETCH(QPoint, expected);
    QCOMPARE(COverlayRules::pickerPosition(menu, entryX, pickerHeight, desktopHeight), expected);
}

void TestOverlayRules::frameRegion()
{
    // What the overlay paints as its frame is what its cut-down window keeps.
    const QSize size(200, 120);
    QImage painted(size, QImage::Format_ARGB32_Premultiplied);
    painted.fill(Qt::transparent);
    {
        QPainter painter(&painted);
        painter.setPen(QPen(QColor(67, 129, 255), COverlayRules::kFramePenWidth));
        painter.drawLine(0, 0, size.width() - 1, 0);
        painter.drawLine(0, 0, 0, size.height() - 1);
        painter.drawLine(size.width() - 1, 0, size.width() - 1, size.height() - 1);
        painter.drawLine(0, size.height() - 1, size.width() - 1, size.height() - 1);
    }
    const QRegion frame = COverlayRules::frameRegion(size);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const bool paintedHere = qAlpha(painted.pixel(x, y)) > 0;
            QVERIFY2(paintedHere == frame.contains(QPoint(x, y)),
                     qPrintable(QStringLiteral("pixel %1,%2 painted %3").arg(x).arg(y).arg(paintedHere)));
        }
    }
    QVERIFY(COverlayRules::frameRegion(QSize()).isEmpty());
}

void TestOverlayRules::roundedRegion_data()
{
    QTest::addColumn<QSize>("window");
    QTest::addColumn<int>("radius");
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("kept");

    const QSize panel(40, 20);
    QTest::newRow("top-left corner pixel") << panel << 5 << QPoint(0, 0) << false;
    QTest::newRow("top-right corner pixel") << panel << 5 << QPoint(39, 0) << false;
    QTest::newRow("bottom-left corner pixel") << panel << 5 << QPoint(0, 19) << false;
    QTest::newRow("bottom-right corner pixel") << panel << 5 << QPoint(39, 19) << false;
    QTest::newRow("beside the curve on the top line") << panel << 5 << QPoint(2, 0) << false;
    QTest::newRow("on the curve of the top line") << panel << 5 << QPoint(3, 0) << true;
    QTest::newRow("left edge below the rounding") << panel << 5 << QPoint(0, 5) << true;
    QTest::newRow("left edge, mostly under the curve") << panel << 5 << QPoint(0, 4) << true;
    QTest::newRow("middle of the top edge") << panel << 5 << QPoint(20, 0) << true;
    QTest::newRow("middle of the bottom edge") << panel << 5 << QPoint(20, 19) << true;
    QTest::newRow("no rounding keeps the corner") << panel << 0 << QPoint(0, 0) << true;
    // A radius larger than the window allows is cut to half its shorter side.
    QTest::newRow("oversized radius, middle of the left edge") << QSize(40, 6) << 50 << QPoint(0, 3) << true;
    QTest::newRow("oversized radius, corner") << QSize(40, 6) << 50 << QPoint(0, 0) << false;
}

void TestOverlayRules::roundedRegion()
{
    QFETCH(QSize, window);
    QFETCH(int, radius);
    QFETCH(QPoint, point);
    QFETCH(bool, kept);
    const QRegion region = COverlayRules::roundedRegion(window, radius);
    QCOMPARE(region.contains(point), kept);
    QVERIFY(QRect(QPoint(0, 0), window).contains(region.boundingRect()));
}

void TestOverlayRules::visiblePixels()
{
    QImage layer(40, 30, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter painter(&layer);
    painter.fillRect(QRect(2, 2, 5, 3), QColor(255, 0, 0, 255));     // a stroke
    painter.fillRect(QRect(10, 2, 4, 3), QColor(0, 0, 255, 80));     // beside it, same lines
    painter.fillRect(QRect(2, 10, 30, 2), QColor(255, 255, 255, 1)); // the eraser's trace
    painter.fillRect(QRect(20, 20, 1, 1), QColor(0, 0, 0, 2));       // barely there
    painter.end();

    QRegion expected(2, 2, 5, 3);
    expected += QRect(10, 2, 4, 3);
    expected += QRect(20, 20, 1, 1);
    QCOMPARE(COverlayRules::visiblePixels(layer), expected);
    QVERIFY(COverlayRules::visiblePixels(QImage()).isEmpty());

    QImage empty(40, 30, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    QVERIFY(COverlayRules::visiblePixels(empty).isEmpty());
}

void TestOverlayRules::parseBackground_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("black board") << "rgb(0,0,0,255)" << QColor(0, 0, 0, 255);
    QTest::newRow("white board") << "rgb(255,255,255,255)" << QColor(255, 255, 255, 255);
    QTest::newRow("transparent") << "rgb(255,255,255,0)" << QColor(255, 255, 255, 0);
    QTest::newRow("spaces and three values") << " rgb( 10, 20 ,30 ) " << QColor(10, 20, 30, 255);
    QTest::newRow("none chosen yet") << "" << QColor();
    QTest::newRow("out of range") << "rgb(256,0,0,255)" << QColor();
    QTest::newRow("not a colour") << "black" << QColor();
}

void TestOverlayRules::parseBackground()
{
    QFETCH(QString, text);
    QFETCH(QColor, expected);
    const QColor parsed = COverlayRules::parseBackground(text);
    QCOMPARE(parsed.isValid(), expected.isValid());
    if (expected.isValid()) {
        QCOMPARE(parsed.rgba(), expected.rgba());
    }
}

void TestOverlayRules::snapshotFileName()
{
    const QDateTime time(QDate(2026, 12, 9), QTime(9, 5, 7, 42));
    QCOMPARE(COverlayRules::snapshotFileName(QStringLiteral("/home/u/Pictures"), QStringLiteral("Screenshot"), time),
             QStringLiteral("/home/u/Pictures/Screenshot_2026-12-09_09-05-07.042.jpg"));
    QCOMPARE(COverlayRules::snapshotFileName(QStringLiteral("/tmp"), QStringLiteral("截图"), time),
             QStringLiteral("/tmp/截图_2026-12-09_09-05-07.042.jpg"));
}

QTEST_GUILESS_MAIN(TestOverlayRules)
#include "tst_overlayrules.moc"
