#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include "kdsdkcontrol.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/curljoinconfargsparser.h"
#include "models/screenthread.h"
#include "views/base/alertdlg.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/cmaindlgmanager.h"
#include "views/home/chomedlg.h"
#include "views/login/clogindlg.h"
#include "views/sharing/cbackgroundwidget.h"
#include "windowstestenv.h"

using kd_app::enums::CallStatus;
using kd_app::enums::LoginStatus;
using kd_app::models::CCallController;
using kd_app::models::CKDSdkManager;
using kd_app::models::CLoginManager;
using kd_app::views::AlertDlg;
using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutBackgroundDlg;
using kd_app::views::CLoginDlg;
using kd_app::views::CMainDlgManager;

namespace {

QList<AlertDlg *> openBoxes()
{
    QList<AlertDlg *> boxes;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (auto *box = qobject_cast<AlertDlg *>(widget); box && box->isVisible()) {
            boxes << box;
        }
    }
    return boxes;
}

void closeBoxes()
{
    for (AlertDlg *box : openBoxes()) {
        box->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Raises an engine error the moment a window is shown, as an error that
// arrives while the manager switches windows.
class CErrorOnShow : public QObject
{
public:
    explicit CErrorOnShow(QWidget *window) : m_window(window) { window->installEventFilter(this); }
    ~CErrorOnShow() override { m_window->removeEventFilter(this); }
    int boxesRightAfterError = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && boxesRightAfterError < 0) {
            kd::engine::KDError err;
            err.type = 4;
            err.action = "dialOut";
            err.code = 4204;
            CMainDlgManager::getInstance()->slotOnError(err);
            boxesRightAfterError = openBoxes().size();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
};

} // namespace

// Which main window is on screen for each state, where it appears, what the
// user sees of errors met on the way, and how the program ends.
class TestMainDlgManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void mainWindow_data();
    void mainWindow();
    void incomingCallWithoutLoginIsDropped();
    void switchCentresTheNextWindow();
    void maximisedHomeReturnsMaximised();
    void errorDuringSwitchIsShownAfterIt();
    void errorTextsFollowTheLanguage();
    void activeMainDlgWhileSendingContent();
    void linkWaitingForRegistration_data();
    void linkWaitingForRegistration();
    void linkFromSecondInstance_data();
    void linkFromSecondInstance();
    void exitApp_data();
    void exitApp();

private:
    void setState(LoginStatus login, CallStatus call, int content = 0);

    CWindowsTestEnv m_env;
};

void TestMainDlgManager::initTestCase()
{
    QVERIFY(m_env.start());
}

void TestMainDlgManager::setState(LoginStatus login, CallStatus call, int content)
{
    CCallController::getInstance().setContentStreamStatus(content, std::string(), 0);
    CCallController::getInstance().setCallStatus(call);
    CLoginManager::getInstance().setLoginStatus(login);
    CMainDlgManager::getInstance()->updateMainDlgVisibility();
}

void TestMainDlgManager::init()
{
    // exitApp releases the engine and the settings; the next case needs them.
    if (!CKDSdkManager::getInstance()) {
        kd_app::helpers::CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()));
        CKDSdkManager::initInstance();
    }
    setState(kd_app::enums::NotLogin, kd_app::enums::Idle);
}

void TestMainDlgManager::cleanup()
{
    closeBoxes();
}

void TestMainDlgManager::mainWindow_data()
{
    QTest::addColumn<int>("login");
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("content");
    QTest::addColumn<QString>("shown"); // l: login window, h: home window, c: call window

    QTest::newRow("not logged in") << 0 << 0 << 0 << "l";
    QTest::newRow("logging in") << 2 << 0 << 0 << "l";
    QTest::newRow("login failed") << 3 << 0 << 0 << "l";
    QTest::newRow("password change required") << 6 << 0 << 0 << "l";
    QTest::newRow("logged in") << 1 << 0 << 0 << "h";
    QTest::newRow("guest") << 4 << 0 << 0 << "h";
    QTest::newRow("guest joining") << 5 << 0 << 0 << "";
    QTest::newRow("logged in, call ended") << 1 << 6 << 0 << "h";
    QTest::newRow("logged in, dialling") << 1 << 1 << 0 << "c";
    QTest::newRow("logged in, incoming") << 1 << 4 << 0 << "c";
    QTest::newRow("logged in, connected") << 1 << 5 << 0 << "c";
    QTest::newRow("guest, connected") << 4 << 5 << 0 << "c";
    QTest::newRow("guest joining, connected") << 5 << 5 << 0 << "c";
    QTest::newRow("not logged in, connected") << 0 << 5 << 0 << "lc";
    QTest::newRow("receiving content") << 1 << 5 << 1 << "c";
    QTest::newRow("sending content") << 1 << 5 << 3 << "";
    QTest::newRow("sending whiteboard") << 1 << 5 << 4 << "";
}

void TestMainDlgManager::mainWindow()
{
    QFETCH(int, login);
    QFETCH(int, call);
    QFETCH(int, content);
    QFETCH(QString, shown);

    // From each of the other main windows.
    for (const LoginStatus from : {kd_app::enums::NotLogin, kd_app::enums::LoggedIn}) {
        setState(from, kd_app::enums::Idle);
        setState(LoginStatus(login), CallStatus(call), content);
        QCOMPARE(CLoginDlg::getInstance()->isVisible(), shown.contains('l'));
        QCOMPARE(CHomeDlg::getInstance()->isVisible(), shown.contains('h'));
        QCOMPARE(CLayoutBackgroundDlg::getInstance()->isVisible(), shown.contains('c'));
    }
}

void TestMainDlgManager::incomingCallWithoutLoginIsDropped()
{
    setState(kd_app::enums::LoggedIn, kd_app::enums::ConfIncoming);
    CLoginManager::getInstance().setLoginStatus(kd_app::enums::NotLogin);
    QCOMPARE(CCallController::getInstance().getCallStatus(), kd_app::enums::Idle);
    QVERIFY(!CLayoutBackgroundDlg::getInstance()->isVisible());
}

void TestMainDlgManager::switchCentresTheNextWindow()
{
    setState(kd_app::enums::LoggedIn, kd_app::enums::Idle);
    CHomeDlg *home = CHomeDlg::getInstance();
    home->move(3, 5);
    setState(kd_app::enums::LoggedIn, kd_app::enums::Dialing);
    CLayoutBackgroundDlg *call = CLayoutBackgroundDlg::getInstance();
    QVERIFY(call->isVisible());
    const QRect area = call->getDisplayScreen()->availableGeometry();
    QVERIFY2(qAbs(call->geometry().center().x() - area.center().x()) <= 1, "not centred horizontally");
    QVERIFY2(qAbs(call->geometry().center().y() - area.center().y()) <= 1, "not centred vertically");
}

void TestMainDlgManager::maximisedHomeReturnsMaximised()
{
    setState(kd_app::enums::LoggedIn, kd_app::enums::Idle);
    CHomeDlg *home = CHomeDlg::getInstance();
    home->slotOnWinMax();
    const QRect maximised = home->geometry();
    setState(kd_app::enums::LoggedIn, kd_app::enums::Connected);
    QVERIFY(!home->isVisible());
    setState(kd_app::enums::LoggedIn, kd_app::enums::Ended);
    QVERIFY(home->isVisible());
    QVERIFY(home->isMaximizedFlag());
    QCOMPARE(home->geometry(), maximised);
    home->slotOnWinRestore();
    QVERIFY(!home->isMaximizedFlag());
}

void TestMainDlgManager::errorDuringSwitchIsShownAfterIt()
{
    setState(kd_app::enums::LoggedIn, kd_app::enums::Idle);
    CLayoutBackgroundDlg *call = CLayoutBackgroundDlg::getInstance();
    CErrorOnShow injector(call);
    setState(kd_app::enums::LoggedIn, kd_app::enums::Dialing);
    QCOMPARE(injector.boxesRightAfterError, 0);
    const QList<AlertDlg *> boxes = openBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->parentWidget(), call);
    QCOMPARE(boxes.first()->findChild<QLabel *>("m_alertContent")->text(), QString("The contact is offline(4204)."));
}

void TestMainDlgManager::errorTextsFollowTheLanguage()
{
    kd::engine::KDError err;
    err.type = 3;
    err.action = "onCallEnd";
    err.code = 100;
    kd_app::models::CLinguist *linguist = kd_app::models::CLinguist::getInstance();
    CMainDlgManager *manager = CMainDlgManager::getInstance();

    linguist->changeLanguage(kd_app::models::CLinguist::ZH_CN);
    QCOMPARE(manager->errorPrompt(err, kd_app::enums::NotLogin).qstrText,
             QString::fromUtf8("\u4f1a\u8bae\u5df2\u7ed3\u675f\u6216\u88ab\u4e3b\u6301\u4eba\u7ec8\u6b62(100)\u3002"));
    linguist->changeLanguage(kd_app::models::CLinguist::EN_US);
    QCOMPARE(manager->errorPrompt(err, kd_app::enums::NotLogin).qstrText,
             QString("Meeting ended or terminated by meeting host(100)."));
}

void TestMainDlgManager::activeMainDlgWhileSendingContent()
{
    setState(kd_app::enums::LoggedIn, kd_app::enums::Connected, 3);
    // While this side sends, the call window is hidden and its screen-drawing
    // window stands in as the parent of boxes.
    QVERIFY(!CLayoutBackgroundDlg::getInstance()->isVisible());
    QWidget *drawing = CLayoutBackgroundDlg::getInstance()->getScreenDrawingWidget();
    QVERIFY(drawing);
    QVERIFY(drawing->isVisible());
    QCOMPARE(CMainDlgManager::getInstance()->getActiveMainDlg(), drawing);
    setState(kd_app::enums::LoggedIn, kd_app::enums::Connected, 0);
    QCOMPARE(CMainDlgManager::getInstance()->getActiveMainDlg(), CLayoutBackgroundDlg::getInstance());
}

void TestMainDlgManager::linkWaitingForRegistration_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("keepsWaiting");

    QTest::newRow("registering") << int(kd::engine::KD_REGISTER_PROGRESS) << true;
    QTest::newRow("not yet") << int(kd::engine::KD_REGISTER_NONE) << true;
    QTest::newRow("failed") << int(kd::engine::KD_REGISTER_FAILED) << false;
    QTest::newRow("replaced") << int(kd::engine::KD_REGISTER_REPLACED) << false;
}

void TestMainDlgManager::linkWaitingForRegistration()
{
    QFETCH(int, state);
    QFETCH(bool, keepsWaiting);

    setState(kd_app::enums::LoggedIn, kd_app::enums::Idle);
    kd_app::models::CUrlJoinConfArgsParser *parser = kd_app::models::CUrlJoinConfArgsParser::getInstance();
    QVERIFY(parser->parse("--url=brivana://joinmeeting/3003/0/pw/127.0.0.1:1"));
    kd::engine::KDRegisterInfo info;
    info.state = state;
    CMainDlgManager::getInstance()->slotOnRegisterInfoChanged(info);

    QCOMPARE(parser->m_joinConfProtocol != 0, keepsWaiting);
    QCOMPARE(CCallController::getInstance().getCallStatus(), kd_app::enums::Idle);
    const QList<AlertDlg *> boxes = openBoxes();
    QCOMPARE(boxes.size(), keepsWaiting ? 0 : 1);
    if (!keepsWaiting) {
        QCOMPARE(boxes.first()->findChild<QLabel *>("m_alertContent")->text(),
                 QString("Not registered to the video service, please try to log in again."));
    }
    parser->clear();
}

void TestMainDlgManager::linkFromSecondInstance_data()
{
    QTest::addColumn<int>("login");
    QTest::addColumn<int>("call");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("kept");  // the link waits in the parser
    QTest::addColumn<bool>("dials"); // the engine is asked to dial now

    // No saved account in this per-user folder: nothing signs in by itself.
    const QString guestLink = QStringLiteral("--url=brivana://joinmeeting/3003/0/pw/127.0.0.1:1");
    const QString serverLink = QStringLiteral("--url=parvela://meet.example.org/joinmeeting/3003/0/pw");
    QTest::newRow("not logged in, guest link joins") << 0 << 0 << false << guestLink << false << true;
    QTest::newRow("not logged in, server link waits") << 0 << 0 << false << serverLink << true << false;
    QTest::newRow("login failed, server link waits") << 3 << 0 << false << serverLink << true << false;
    QTest::newRow("logging in, dropped") << 2 << 0 << false << guestLink << false << false;
    QTest::newRow("guest, registered, dials") << 4 << 0 << true << serverLink << false << true;
    QTest::newRow("guest, not registered, dropped") << 4 << 0 << false << serverLink << false << false;
    QTest::newRow("logged in, in a call, dropped") << 1 << 5 << true << serverLink << false << false;
    QTest::newRow("guest, call ended, dials") << 4 << 6 << true << serverLink << false << true;
    QTest::newRow("guest joining, waits") << 5 << 0 << false << serverLink << true << false;
    QTest::newRow("password change, waits") << 6 << 0 << false << serverLink << true << false;
    QTest::newRow("activate only") << 4 << 0 << true << "Activate" << false << false;
}

void TestMainDlgManager::linkFromSecondInstance()
{
    QFETCH(int, login);
    QFETCH(int, call);
    QFETCH(bool, registered);
    QFETCH(QString, link);
    QFETCH(bool, kept);
    QFETCH(bool, dials);

    kd_app::models::CUrlJoinConfArgsParser *parser = kd_app::models::CUrlJoinConfArgsParser::getInstance();
    parser->clear();
    setState(LoginStatus(login), CallStatus(call));
    kd::engine::KDRegisterInfo info;
    info.state = registered ? kd::engine::KD_REGISTER_OK : kd::engine::KD_REGISTER_NONE;
    CLoginManager::getInstance().onRegisterInfo(info);

    kd::sdk::IEngineControl *control = kd::sdk::currentEngineControl();
    control->clearOperations();
    if (dials) {
        // Refused at once, so no call outlives this case.
        control->failNext("dialOut", kd::sdk::KD_ERR_BUSY);
    }
    CMainDlgManager::getInstance()->receiveDuplicatedAppMessage(link);

    int dialled = 0;
    for (const kd::sdk::KDOperationRecord &operation : control->operations()) {
        dialled += operation.name == "dialOut" ? 1 : 0;
    }
    QCOMPARE(dialled, dials ? 1 : 0);
    QCOMPARE(parser->m_joinConfProtocol != 0, kept);
    parser->clear();
}

void TestMainDlgManager::exitApp_data()
{
    QTest::addColumn<int>("login");
    QTest::addColumn<int>("call");
    QTest::addColumn<QStringList>("operations");

    QTest::newRow("logged in, connected") << 1 << 5 << QStringList{"hangUp", "avlogout", "deleteAVEngine"};
    QTest::newRow("guest, connected") << 4 << 5 << QStringList{"hangUp", "deleteAVEngine"};
    QTest::newRow("logged in, dialling") << 1 << 1 << QStringList{"avlogout", "deleteAVEngine"};
    QTest::newRow("guest") << 4 << 0 << QStringList{"deleteAVEngine"};
}

void TestMainDlgManager::exitApp()
{
    QFETCH(int, login);
    QFETCH(int, call);
    QFETCH(QStringList, operations);

    setState(LoginStatus(login), CallStatus(call));
    // A whiteboard capture still running calls the engine ten times a second.
    kd_app::models::ScreenThread capture;
    capture.start();
    QStringList called;
    kd::sdk::currentEngineControl()->setOperationListener([&called, &capture](const std::string &name) {
        const QString operation = QString::fromStdString(name);
        if (operation == "hangUp" || operation == "avlogout" || operation == "deleteAVEngine") {
            called << operation;
        }
        if (operation == "deleteAVEngine" && capture.isRunning()) {
            called << "capture still running";
        }
    });
    int exitCode = -1;
    CMainDlgManager::setProcessExit([&exitCode](int code) { exitCode = code; });
    CMainDlgManager::getInstance()->exitApp();

    QCOMPARE(exitCode, 0);
    QCOMPARE(called, operations);
    QVERIFY(!CKDSdkManager::getInstance());
    QVERIFY(capture.isFinished());
}

QTEST_MAIN(TestMainDlgManager)
#include "tst_maindlgmanager.moc"
