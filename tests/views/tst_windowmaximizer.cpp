#include <memory>

#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "views/base/cwindowmaximizer.h"

using kd_app::views::CWindowMaximizer;

namespace {

// A frameless window, as the main windows are, shown at a known place.
std::unique_ptr<QWidget> shownWindow()
{
    auto window = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    window->setFixedSize(300, 200);
    window->move(40, 30);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        return nullptr;
    }
    return window;
}

} // namespace

class TestWindowMaximizer : public QObject
{
    Q_OBJECT

private slots:
    void maximiseFillsTheFreeAreaAndRestoreReturns();
    void secondMaximiseKeepsTheNormalGeometry();
    void restoreWithoutMaximiseKeepsTheWindow();
};

void TestWindowMaximizer::maximiseFillsTheFreeAreaAndRestoreReturns()
{
    const std::unique_ptr<QWidget> shown = shownWindow();
    QVERIFY(shown);
    QWidget &window = *shown;
    QPushButton max(&window);
    QPushButton restore(&window);
    const QRect normal = window.geometry();

    CWindowMaximizer maximizer;
    maximizer.setButtons(&max, &restore);
    QVERIFY(!max.isHidden());
    QVERIFY(restore.isHidden());

    maximizer.maximize(&window);
    const QRect area = CWindowMaximizer::targetScreen(&window)->availableGeometry();
    QVERIFY(maximizer.isMaximized());
    QCOMPARE(window.geometry(), area);
    QCOMPARE(window.minimumSize(), area.size());
    QCOMPARE(window.maximumSize(), area.size());
    QVERIFY(max.isHidden());
    QVERIFY(!restore.isHidden());
    QCOMPARE(window.windowState(), Qt::WindowNoState);

    maximizer.restore(&window);
    QVERIFY(!maximizer.isMaximized());
    QCOMPARE(window.geometry(), normal);
    QCOMPARE(window.maximumSize(), normal.size());
    QVERIFY(!max.isHidden());
    QVERIFY(restore.isHidden());
}

void TestWindowMaximizer::secondMaximiseKeepsTheNormalGeometry()
{
    const std::unique_ptr<QWidget> shown = shownWindow();
    QVERIFY(shown);
    QWidget &window = *shown;
    const QRect normal = window.geometry();
    CWindowMaximizer maximizer;
    maximizer.maximize(&window);
    maximizer.maximize(&window);
    QCOMPARE(maximizer.normalGeometry(), normal);
    maximizer.restore(&window);
    QCOMPARE(window.geometry(), normal);
}

void TestWindowMaximizer::restoreWithoutMaximiseKeepsTheWindow()
{
    const std::unique_ptr<QWidget> shown = shownWindow();
    QVERIFY(shown);
    QWidget &window = *shown;
    const QRect before = window.geometry();
    CWindowMaximizer maximizer;
    maximizer.restore(&window);
    QCOMPARE(window.geometry(), before);
    QVERIFY(!maximizer.isMaximized());
}

QTEST_MAIN(TestWindowMaximizer)
#include "tst_windowmaximizer.moc"
