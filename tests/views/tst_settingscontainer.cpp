#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

#include "statewait.h"
#include "settingsfixture.h"
#include "views/settings/ccontainersettingsformwidget.h"

using kd_app::models::CLoginManager;
using kd_app::views::CContainerSettingsFormWidget;
using kd_app::views::CSettingsForm;
using settingstest::child;

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
    void hostsTheSettings_data();
    void hostsTheSettings();
    void dragsByTitleBarOnly_data();
    void dragsByTitleBarOnly();
    void maximisedWindowDoesNotMove();
    void closeButtonReportsBeforeClosing();
    void sizeFollowsScale();

private:
    QTemporaryDir m_dir;
};

void TestSettingsContainer::initTestCase()
{
    QVERIFY(settingstest::startClient(m_dir));
}

void TestSettingsContainer::hostsTheSettings_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("sipShown");

    QTest::newRow("guest on SIP") << int(kd_app::enums::AnonymousLoggedIn) << int(CSettingsForm::SipPage) << true;
    QTest::newRow("guest on Audio") << int(kd_app::enums::AnonymousLoggedIn) << int(CSettingsForm::AudioPage) << true;
    QTest::newRow("signed in on Video") << int(kd_app::enums::LoggedIn) << int(CSettingsForm::VideoPage) << false;
    QTest::newRow("not signed in on the report")
        << int(kd_app::enums::NotLogin) << int(CSettingsForm::ReportPage) << false;
}

// The window holds the settings form, shows the SIP entry to a guest only,
// and opens on the page its opener asks for.
void TestSettingsContainer::hostsTheSettings()
{
    QFETCH(int, status);
    QFETCH(int, page);
    QFETCH(bool, sipShown);

    CLoginManager::getInstance().setLoginStatus(kd_app::enums::LoginStatus(status));
    CContainerSettingsFormWidget window(nullptr);
    auto *form = window.findChild<CSettingsForm *>();
    QVERIFY(form);
    auto *entries = child<QListWidget>(form, "lvSettingsEntrances");
    QCOMPARE(!entries->item(0)->isHidden(), sipShown);

    window.setCurrentPage(page);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(entries->currentRow(), page);
    QCOMPARE(child<QTabWidget>(form, "twgtSettingsPages")->currentIndex(), page);
    QVERIFY(form->isVisible());
    CLoginManager::getInstance().setLoginStatus(kd_app::enums::NotLogin);
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
