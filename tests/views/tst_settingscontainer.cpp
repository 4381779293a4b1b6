#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "../settings/settingsfixture.h"
#include "views/settings/ccontainersettingsformwidget.h"

using kd_app::models::CLoginManager;
using kd_app::views::CContainerSettingsFormWidget;
namespace enums = kd_app::enums;

namespace {

// Sends a mouse event with an explicit global position, as the window system would.
void sendMouse(QWidget *target, QEvent::Type type, const QPoint &local, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Presses at a point of the window, moves the mouse by the offset, releases.
void drag(QWidget *window, const QPoint &start, const QPoint &offset)
{
    sendMouse(window, QEvent::MouseButtonPress, start, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, start + offset, Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, start + offset, Qt::NoButton);
}

} // namespace

class TestSettingsContainer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void sipEntryForGuestsOnly_data();
    void sipEntryForGuestsOnly();
    void pageChosenByOpener_data();
    void pageChosenByOpener();
    void dragsByTitleBarOnly_data();
    void dragsByTitleBarOnly();
    void maximisedWindowDoesNotMove();
    void closeButtonReportsBeforeClosing();
    void sizeFollowsScale();

private:
    QTemporaryDir m_folder;
};

void TestSettingsContainer::initTestCase()
{
    QVERIFY(m_folder.isValid());
    QVERIFY(settingstest::startClient(m_folder));
}

void TestSettingsContainer::cleanup()
{
    CLoginManager::getInstance().setLoginStatus(enums::NotLogin);
}

void TestSettingsContainer::sipEntryForGuestsOnly_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("sip");
    QTest::newRow("guest") << int(enums::AnonymousLoggedIn) << true;
    QTest::newRow("signed in") << int(enums::LoggedIn) << false;
    QTest::newRow("signed out") << int(enums::NotLogin) << false;
}

void TestSettingsContainer::sipEntryForGuestsOnly()
{
    QFETCH(int, status);
    QFETCH(bool, sip);
    CLoginManager::getInstance().setLoginStatus(enums::LoginStatus(status));
    CContainerSettingsFormWidget window(nullptr);
    auto *entries = window.findChild<QListWidget *>("lvSettingsEntrances");
    QVERIFY(entries);
    QCOMPARE(!entries->item(0)->isHidden(), sip);
}

void TestSettingsContainer::pageChosenByOpener_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("audio, from the microphone menu") << 2;
    QTest::newRow("video, from the camera menu") << 3;
}

void TestSettingsContainer::pageChosenByOpener()
{
    QFETCH(int, page);
    CContainerSettingsFormWidget window(nullptr);
    window.setCurrentPage(page);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.findChild<QListWidget *>("lvSettingsEntrances")->currentRow(), page);
    QCOMPARE(window.findChild<QTabWidget *>("twgtSettingsPages")->currentIndex(), page);
}

void TestSettingsContainer::dragsByTitleBarOnly_data()
{
    QTest::addColumn<bool>("onTitleBar");
    QTest::newRow("title bar") << true;
    QTest::newRow("below the title bar") << false;
}

void TestSettingsContainer::dragsByTitleBarOnly()
{
    QFETCH(bool, onTitleBar);
    CContainerSettingsFormWidget window(nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(100, 100);
    const QPoint before = window.pos();
    const QPoint start = onTitleBar ? QPoint(40, window.titleBar()->height() / 2) : QPoint(40, window.height() / 2);

    drag(&window, start, QPoint(30, 20));

    QCOMPARE(window.pos(), onTitleBar ? before + QPoint(30, 20) : before);
}

void TestSettingsContainer::maximisedWindowDoesNotMove()
{
    CContainerSettingsFormWidget window(nullptr);
    window.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.isMaximized());
    const QPoint before = window.pos();

    drag(&window, QPoint(40, window.titleBar()->height() / 2), QPoint(30, 20));

    QCOMPARE(window.pos(), before);
}

void TestSettingsContainer::closeButtonReportsBeforeClosing()
{
    auto *window = new CContainerSettingsFormWidget(nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<CContainerSettingsFormWidget> alive(window);
    window->show();
    bool visibleWhenReported = false;
    connect(window, &CContainerSettingsFormWidget::closeWindow, this,
            [window, &visibleWhenReported] { visibleWhenReported = window->isVisible(); });
    QSignalSpy reported(window, &CContainerSettingsFormWidget::closeWindow);

    window->findChild<QPushButton *>("m_pBtnClose")->click();

    QCOMPARE(reported.count(), 1);
    QVERIFY(visibleWhenReported);
    QTRY_VERIFY(!alive);
}

void TestSettingsContainer::sizeFollowsScale()
{
    CContainerSettingsFormWidget window(nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.size(), QSize(786, 596) * window.stretchFactor());
    QCOMPARE(window.titleBar()->height(), int(28 * window.stretchFactor()));
}

QTEST_MAIN(TestSettingsContainer)
#include "tst_settingscontainer.moc"
