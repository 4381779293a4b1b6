#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QWidget>
#include <QtTest>

#include "statewait.h"
#include "app/cwindowshape.h"
#include "ownxvfb.h"

using kd_app::CWindowShape;

namespace {

// A plain top-level in one colour that counts the presses it gets.
class ColourWindow : public QWidget
{
public:
    explicit ColourWindow(const QColor &colour)
    {
        setWindowFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
        setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, colour);
        setPalette(palette);
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};

QColor screenColourAt(const QPoint &pos)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, pos.x(), pos.y(), 1, 1).toImage().pixelColor(0, 0);
}

bool clickAt(const QPoint &pos)
{
    return QProcess::execute("xdotool",
                             {"mousemove", QString::number(pos.x()), QString::number(pos.y()), "click", "1"}) == 0;
}

} // namespace

// Window shapes and the compositor check on a private X server.
class TestWindowShape : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void compositorCheckFollowsTheDisplay();
    void testsChooseTheCompositorAnswer();
    void boundingShapeCutsTheWindow();
    void emptyShapeHidesTheWindowAndItsInput();
    void inputRegionPassesTheRestBelow();

private:
    void showPair(ColourWindow &below, ColourWindow &above);
};

void TestWindowShape::cleanup()
{
    CWindowShape::setCompositorRunningForTests(std::nullopt);
}

void TestWindowShape::compositorCheckFollowsTheDisplay()
{
    QVERIFY(!CWindowShape::isCompositorRunning());
    QProcess compositor;
    compositor.start("xcompmgr", QStringList());
    QVERIFY2(compositor.waitForStarted(), "xcompmgr is not installed");
    QTRY_VERIFY_WITH_TIMEOUT(CWindowShape::isCompositorRunning(), kdtest::kStateWaitMs);
    compositor.terminate();
    QVERIFY(compositor.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(!CWindowShape::isCompositorRunning(), kdtest::kStateWaitMs);
}

void TestWindowShape::testsChooseTheCompositorAnswer()
{
    CWindowShape::setCompositorRunningForTests(true);
    QVERIFY(CWindowShape::isCompositorRunning());
    CWindowShape::setCompositorRunningForTests(std::nullopt);
    QVERIFY(!CWindowShape::isCompositorRunning());
}

void TestWindowShape::boundingShapeCutsTheWindow()
{
    ColourWindow window(Qt::blue);
    window.setGeometry(100, 100, 200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(screenColourAt(QPoint(250, 150)), QColor(Qt::blue));
    QVERIFY(!CWindowShape::boundingShape(window.winId()));

    // A 2-px frame and a bar in the bottom-left corner, as a cell cover paints.
    const QRegion shape = QRegion(0, 0, 200, 100) - QRegion(2, 2, 196, 96) + QRegion(2, 70, 60, 28);
    QVERIFY(CWindowShape::setBoundingShape(window.winId(), shape));
    QCOMPARE(CWindowShape::boundingShape(window.winId()).value_or(QRegion()), shape);
    QTRY_COMPARE(screenColourAt(QPoint(250, 150)), QColor(Qt::black));
    QCOMPARE(screenColourAt(QPoint(100, 150)), QColor(Qt::blue));
    QCOMPARE(screenColourAt(QPoint(120, 185)), QColor(Qt::blue));

    // The shape survives hiding and showing the window.
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(CWindowShape::boundingShape(window.winId()).value_or(QRegion()), shape);

    QVERIFY(CWindowShape::clearBoundingShape(window.winId()));
    QVERIFY(!CWindowShape::boundingShape(window.winId()));
    QTRY_COMPARE(screenColourAt(QPoint(250, 150)), QColor(Qt::blue));
}

void TestWindowShape::showPair(ColourWindow &below, ColourWindow &above)
{
    below.setGeometry(400, 300, 200, 100);
    above.setGeometry(400, 300, 200, 100);
    below.show();
    QVERIFY(QTest::qWaitForWindowExposed(&below));
    above.show();
    QVERIFY(QTest::qWaitForWindowExposed(&above));
    above.raise();
    QTRY_COMPARE(screenColourAt(QPoint(500, 350)), QColor(Qt::blue));
}

void TestWindowShape::emptyShapeHidesTheWindowAndItsInput()
{
    ColourWindow below(Qt::red);
    ColourWindow above(Qt::blue);
    showPair(below, above);
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY(CWindowShape::setBoundingShape(above.winId(), QRegion()));
    QTRY_COMPARE(screenColourAt(QPoint(500, 350)), QColor(Qt::red));
    QVERIFY(clickAt(QPoint(500, 350)));
    QTRY_COMPARE(below.presses, 1);
    QCOMPARE(above.presses, 0);
}

void TestWindowShape::inputRegionPassesTheRestBelow()
{
    ColourWindow below(Qt::red);
    ColourWindow above(Qt::blue);
    showPair(below, above);
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY(CWindowShape::setInputRegion(above.winId(), QRegion(0, 0, 100, 100)));
    // Drawn whole, hit only on its left half.
    QCOMPARE(screenColourAt(QPoint(550, 350)), QColor(Qt::blue));
    QVERIFY(clickAt(QPoint(550, 350)));
    QTRY_COMPARE(below.presses, 1);
    QVERIFY(clickAt(QPoint(450, 350)));
    QTRY_COMPARE(above.presses, 1);
    QCOMPARE(below.presses, 1);

    QVERIFY(CWindowShape::clearInputRegion(above.winId()));
    QVERIFY(clickAt(QPoint(550, 350)));
    QTRY_COMPARE(above.presses, 2);
    QCOMPARE(below.presses, 1);
}

KD_OWN_XVFB_TEST_MAIN(TestWindowShape)
#include "tst_windowshape.moc"
