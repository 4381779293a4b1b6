#include <QImage>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>

#include "views/profile/cpictureeditwidget.h"

namespace {

// A picture of one colour written as PNG into dir; its path.
QString writePicture(const QTemporaryDir &dir, const QString &name, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(name);
    return image.save(path, "PNG") ? path : QString();
}

void wheel(QWidget *widget, QPoint at, int delta)
{
    QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

// The avatar dialog's frame: where a picture starts, how it moves and zooms,
// and what it composes for the upload.
class TestPictureEditWidget : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsCentredOnTheArea_data();
    void startsCentredOnTheArea();
    void zoomsAboutTheMouse_data();
    void zoomsAboutTheMouse();
    void zoomInStopsAtItsBound();
    void onlyTheLeftButtonDrags_data();
    void onlyTheLeftButtonDrags();
    void composesWhatTheFrameShows();
    void undecodableFileGivesNoPicture();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CPictureEditWidget> m_widget;
};

void TestPictureEditWidget::init()
{
    m_widget = std::make_unique<CPictureEditWidget>(nullptr);
    m_widget->setFixedSize(200, 200);
}

void TestPictureEditWidget::cleanup()
{
    m_widget.reset();
}

void TestPictureEditWidget::startsCentredOnTheArea_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("widgetSide");
    QTest::addColumn<QPoint>("offset");

    QTest::newRow("smaller") << QSize(100, 60) << 200 << QPoint(50, 70);
    QTest::newRow("odd sizes") << QSize(101, 59) << 200 << QPoint(49, 70);
    QTest::newRow("larger: negative, cut") << QSize(400, 260) << 200 << QPoint(-100, -30);
    QTest::newRow("larger by an odd amount") << QSize(203, 201) << 200 << QPoint(-1, 0);
    // The area stays 200 x 200 on a frame scaled to 400 x 400.
    QTest::newRow("scale 2 frame") << QSize(100, 100) << 400 << QPoint(50, 50);
}

void TestPictureEditWidget::startsCentredOnTheArea()
{
    QFETCH(QSize, picture);
    QFETCH(int, widgetSide);
    QFETCH(QPoint, offset);
    m_widget->setFixedSize(widgetSide, widgetSide);
    m_widget->setImage(writePicture(m_dir, "p.png", picture, Qt::red));
    QVERIFY(m_widget->hasPicture());
    QCOMPARE(m_widget->pictureSize(), picture);
    QCOMPARE(m_widget->pictureOffset(), offset);
}

void TestPictureEditWidget::zoomsAboutTheMouse_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("mouse");
    QTest::addColumn<int>("delta");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPoint>("offset");

    // A 200 x 200 picture starts at (0, 0).
    QTest::newRow("in about the centre") << QSize(200, 200) << QPoint(100, 100) << 120 << QSize(220, 220)
                                         << QPoint(-10, -10);
    QTest::newRow("in about the corner") << QSize(200, 200) << QPoint(0, 0) << 120 << QSize(220, 220) << QPoint(0, 0);
    QTest::newRow("out about the centre")
        << QSize(200, 200) << QPoint(100, 100) << -120 << QSize(180, 180) << QPoint(10, 10);
    QTest::newRow("out about a side") << QSize(200, 100) << QPoint(200, 150) << -120 << QSize(180, 90)
                                      << QPoint(20, 60);
    // 110 * 0.9 = 99: below the floor, nothing changes.
    QTest::newRow("out below 100 px wide")
        << QSize(110, 300) << QPoint(100, 100) << -120 << QSize(110, 300) << QPoint(45, -50);
    QTest::newRow("out, only the width has a floor")
        << QSize(300, 60) << QPoint(0, 70) << -120 << QSize(270, 54) << QPoint(-45, 70);
}

void TestPictureEditWidget::zoomsAboutTheMouse()
{
    QFETCH(QSize, picture);
    QFETCH(QPoint, mouse);
    QFETCH(int, delta);
    QFETCH(QSize, size);
    QFETCH(QPoint, offset);
    m_widget->setImage(writePicture(m_dir, "p.png", picture, Qt::red));
    wheel(m_widget.get(), mouse, delta);
    QCOMPARE(m_widget->pictureSize(), size);
    QCOMPARE(m_widget->pictureOffset(), offset);
}

void TestPictureEditWidget::zoomInStopsAtItsBound()
{
    m_widget->setImage(writePicture(m_dir, "p.png", QSize(400, 40), Qt::red));
    QSize previous = m_widget->pictureSize();
    int steps = 0;
    for (; steps < 1000; ++steps) {
        wheel(m_widget.get(), QPoint(100, 100), 120);
        if (m_widget->pictureSize() == previous) {
            break;
        }
        QVERIFY(m_widget->pictureSize().width() > previous.width());
        previous = m_widget->pictureSize();
    }
    QVERIFY2(steps < 1000, "the zoom never stopped");
    QVERIFY(previous.width() >= 2000);
    QVERIFY(previous.width() <= CPictureEditWidget::kMaxPictureSide);
    // Once stopped, it stays stopped; the offset is left alone too.
    const QPoint offset = m_widget->pictureOffset();
    wheel(m_widget.get(), QPoint(100, 100), 120);
    QCOMPARE(m_widget->pictureSize(), previous);
    QCOMPARE(m_widget->pictureOffset(), offset);
    QVERIFY(!m_widget->getPixmap().isNull());
    // And zooming out works from there.
    wheel(m_widget.get(), QPoint(100, 100), -120);
    QVERIFY(m_widget->pictureSize().width() < previous.width());
}

void TestPictureEditWidget::onlyTheLeftButtonDrags_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QPoint>("offset");

    QTest::newRow("left") << int(Qt::LeftButton) << QPoint(80, 55);
    QTest::newRow("right") << int(Qt::RightButton) << QPoint(50, 50);
    QTest::newRow("middle") << int(Qt::MiddleButton) << QPoint(50, 50);
}

void TestPictureEditWidget::onlyTheLeftButtonDrags()
{
    QFETCH(int, button);
    QFETCH(QPoint, offset);
    m_widget->setImage(writePicture(m_dir, "p.png", QSize(100, 100), Qt::red));
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    const auto which = Qt::MouseButton(button);
    QTest::mousePress(m_widget.get(), which, Qt::NoModifier, QPoint(60, 60));
    QCOMPARE(m_widget->cursor().shape(), Qt::SizeAllCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(90, 65), which, which, Qt::NoModifier);
    QApplication::sendEvent(m_widget.get(), &move);
    QTest::mouseRelease(m_widget.get(), which, Qt::NoModifier, QPoint(90, 65));
    QCOMPARE(m_widget->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_widget->pictureOffset(), offset);
    // A move after the release does not drag.
    QMouseEvent later(QEvent::MouseMove, QPointF(10, 10), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(m_widget.get(), &later);
    QCOMPARE(m_widget->pictureOffset(), offset);
}

void TestPictureEditWidget::composesWhatTheFrameShows()
{
    QVERIFY(m_widget->getPixmap().isNull());
    // Larger than the frame, as a JPEG: the frame shows its middle.
    QImage picture(300, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 100; x < 200; ++x) {
        for (int y = 0; y < 100; ++y) {
            picture.setPixelColor(x, y, QColor(Qt::blue));
        }
    }
    const QString path = m_dir.filePath("wide.jpg");
    QVERIFY(picture.save(path, "JPG", 95));
    m_widget->setImage(path);
    const QImage canvas = m_widget->getPixmap().toImage();
    QCOMPARE(canvas.size(), QSize(200, 200));
    // x from -50: the blue band covers 50..149, rows 50..149.
    QVERIFY(qAbs(canvas.pixelColor(100, 100).blue() - 255) < 20 && canvas.pixelColor(100, 100).red() < 40);
    QCOMPARE(canvas.pixelColor(100, 20), QColor(Qt::white));
    QCOMPARE(canvas.pixelColor(100, 180), QColor(Qt::white));
    QVERIFY(canvas.pixelColor(20, 100).blue() > 200 && canvas.pixelColor(20, 100).red() > 200);

    // A drag moves what is composed.
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    QTest::mousePress(m_widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 110), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_widget.get(), &move);
    QTest::mouseRelease(m_widget.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 110));
    const QImage moved = m_widget->getPixmap().toImage();
    QCOMPARE(moved.pixelColor(100, 100), QColor(Qt::white));
    QVERIFY(moved.pixelColor(100, 190).blue() > 200 && moved.pixelColor(100, 190).red() < 40);
}

void TestPictureEditWidget::undecodableFileGivesNoPicture()
{
    const QString broken = m_dir.filePath("broken.jpg");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xff\xd8 this is not a picture");
    file.close();

    m_widget->setImage(broken);
    QVERIFY(!m_widget->hasPicture());
    QVERIFY(m_widget->getPixmap().isNull());

    // Chosen after a good picture, it takes that one away too: the frame
    // shows the placeholder, and nothing is there to upload.
    m_widget->setImage(writePicture(m_dir, "good.png", QSize(50, 50), Qt::red));
    QVERIFY(m_widget->hasPicture());
    m_widget->setImage(broken);
    QVERIFY(!m_widget->hasPicture());
    QVERIFY(m_widget->getPixmap().isNull());
    m_widget->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_widget.get()));
    const QImage shown = m_widget->grab().toImage();
    QVERIFY(shown.pixelColor(100, 100) != QColor(Qt::red));

    // A blank path changes nothing.
    m_widget->setImage(writePicture(m_dir, "good.png", QSize(50, 50), Qt::red));
    m_widget->setImage("   ");
    QVERIFY(m_widget->hasPicture());
}

QTEST_MAIN(TestPictureEditWidget)
#include "tst_pictureeditwidget.moc"
