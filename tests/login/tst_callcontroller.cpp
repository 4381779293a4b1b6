#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "alertanswerer.h"
#include "clientfixture.h"
#include "helpers/cgeneralutils.h"

using namespace fixture;
using kd::engine::IAVEventHandler;
using kd::engine::KDCallInfo;
using kd::engine::KDContentInfo;

using Step = std::function<void(kd::sdk::IEngineControl *)>;
Q_DECLARE_METATYPE(Step)

namespace {

QList<int> statusesOf(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &arguments : spy) {
        result << int(arguments.first().value<enums::CallStatus>());
    }
    return result;
}

void raiseConnected(kd::sdk::IEngineControl *control, const KDCallInfo &info, bool peer)
{
    control->raise([info, peer](IAVEventHandler &handler) {
        KDCallInfo copy = info;
        if (peer) {
            handler.onCallPeerConnected(copy);
        } else {
            handler.onCallConnected(copy);
        }
    });
    settle(control);
}

KDCallInfo callOf(const std::string &number, const std::string &password = std::string(), int svcCallType = 0)
{
    KDCallInfo info;
    info.conference_number = number;
    info.password = password;
    info.svcCallType = svcCallType;
    return info;
}

} // namespace

class TestCallController : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void dialWithoutRegistration_data();
    void dialWithoutRegistration();
    void dialConnectHangUp_data();
    void dialConnectHangUp();
    void incomingCall_data();
    void incomingCall();
    void remoteHangUpWithError();
    void guestJoin_data();
    void guestJoin();
    void loginSkippedRegistration_data();
    void loginSkippedRegistration();
    void contentStream_data();
    void contentStream();
    void dialString_data();
    void dialString();
    void numberHistory_data();
    void numberHistory();
    void secretsStayOutOfOurLogs();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    bool m_bMadeRingtone = false;
};

void TestCallController::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    m_bMadeRingtone = provideRingtone();

    m_control->addAccount(account("alice", "secret", "Alice", 42));
    m_control->addAccount(account("dora", "Pw-7731!", "Dora", 44));

    kd::sdk::KDModelMeeting meeting;
    meeting.number = "1001";
    meeting.name = "Weekly";
    meeting.password = "99";
    m_control->addMeeting(meeting);
    meeting.number = "4004";
    meeting.name = "Board";
    meeting.password = "mt-5150";
    m_control->addMeeting(meeting);
    meeting.number = "2002";
    meeting.name = "Open";
    meeting.password.clear();
    m_control->addMeeting(meeting);
}

void TestCallController::cleanupTestCase()
{
    if (m_bMadeRingtone) {
        QFile::remove(CCallController::getRingtonePath());
    }
}

void TestCallController::init()
{
    resetClient(m_control);
}

void TestCallController::dialWithoutRegistration_data()
{
    QTest::addColumn<Step>("breakRegistration");
    QTest::newRow("registration lost") << Step([](kd::sdk::IEngineControl *control) {
        control->injectRegistrationState(kd::engine::KD_CALL_TYPE_ACCOUNT, kd::engine::KD_REGISTER_FAILED);
    });
    QTest::newRow("registration query fails") << Step(
        [](kd::sdk::IEngineControl *control) { control->failNext("getRegisterInfo", kd::sdk::KD_ERR_GENERIC); });
}

// Signed in but not registered: the user is told, and nothing rings or dials.
void TestCallController::dialWithoutRegistration()
{
    QFETCH(Step, breakRegistration);
    QVERIFY(signInAs(m_control, "alice", "secret"));
    breakRegistration(m_control);
    settle(m_control);
    m_control->clearOperations();
    CCallController &calls = CCallController::getInstance();
    QSignalSpy statuses(&calls, &CCallController::sigCallStatusChanged);

    CAlertAnswerer answerer(QMessageBox::Yes);
    calls.dialOut("1001", "99", true, "Weekly");

    QCOMPARE(answerer.texts(), QStringList{"Not registered to the video service, please try to log in again."});
    QVERIFY(statuses.isEmpty());
    QCOMPARE(calls.getCallStatus(), enums::Idle);
    QVERIFY(operationsNamed(m_control, "dialOut").isEmpty());
    QVERIFY(operationsNamed(m_control, "startAudioPlay").isEmpty());
    QVERIFY(calls.getConfNumber().isEmpty());
}

void TestCallController::dialConnectHangUp_data()
{
    QTest::addColumn<bool>("signedIn");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("engineFailure");
    QTest::addColumn<QList<int>>("statuses");
    QTest::addColumn<QStringList>("history");

    const QList<int> connected{enums::Dialing, enums::Connected};
    const QList<int> refused{enums::Dialing, enums::Ended};
    QTest::newRow("signed in") << true << "1001"
                               << "99" << 0 << connected << QStringList{"1001"};
    QTest::newRow("login skipped, no check") << false << "2002" << QString() << 0 << connected << QStringList{"2002"};
    QTest::newRow("engine refuses") << true << "1001"
                                    << "99" << int(kd::sdk::KD_ERR_BUSY) << refused << QStringList();
    QTest::newRow("wrong meeting password") << true << "1001"
                                            << "11" << 0 << refused << QStringList();
    QTest::newRow("no such meeting") << true << "9999" << QString() << 0 << refused << QStringList();
}

void TestCallController::dialConnectHangUp()
{
    QFETCH(bool, signedIn);
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(int, engineFailure);
    QFETCH(QList<int>, statuses);
    QFETCH(QStringList, history);

    CCallController &calls = CCallController::getInstance();
    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    if (signedIn) {
        QVERIFY(signInAs(m_control, "alice", "secret"));
    } else {
        CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
    }
    m_control->clearOperations();
    if (engineFailure != 0) {
        m_control->failNext("dialOut", engineFailure);
    }
    QSignalSpy changes(&calls, &CCallController::sigCallStatusChanged);

    calls.dialOut(number, password, true, "Peer");
    QCOMPARE(calls.getCallStatus(), engineFailure ? enums::Ended : enums::Dialing);
    QVERIFY(operationsNamed(m_control, "startAudioPlay").size() == 1);
    QCOMPARE(operationsNamed(m_control, "getRegisterInfo").size(), signedIn ? 1 : 0);
    QCOMPARE(operationsNamed(m_control, "dialOut"), QStringList{"dialOut(" + number + ",1)"});
    settle(m_control);

    QCOMPARE(statusesOf(changes), statuses);
    QCOMPARE(config.getConfIds(), history);
    // The tone stops once the call is answered or over.
    QVERIFY(!CKDSdkManager::getInstance()->isAudioPlaying());
    if (statuses.last() != enums::Connected) {
        QVERIFY(!config.getIsConfRunning());
        return;
    }
    QCOMPARE(calls.getConfNumber(), CCallController::composeDialString(number, password));
    QCOMPARE(calls.getPeerNameOrConfNumber(), QStringLiteral("Peer"));
    QVERIFY(config.getIsConfRunning());
    QCOMPARE(config.getConfId(), number);

    // Hanging up only asks; the call is over when the engine says so.
    QVERIFY(calls.hangUp());
    QCOMPARE(calls.getCallStatus(), enums::Connected);
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::Ended);
    QVERIFY(!config.getIsConfRunning());
    QVERIFY(config.getConfId().isEmpty());
}

void TestCallController::incomingCall_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QList<int>>("statuses");
    QTest::newRow("accepted") << true << QList<int>{enums::ConfIncoming, enums::Connected};
    QTest::newRow("declined") << false << QList<int>{enums::ConfIncoming, enums::Ended};
}

void TestCallController::incomingCall()
{
    QFETCH(bool, accept);
    QFETCH(QList<int>, statuses);

    CCallController &calls = CCallController::getInstance();
    QVERIFY(signInAs(m_control, "alice", "secret"));
    QSignalSpy changes(&calls, &CCallController::sigCallStatusChanged);

    m_control->injectIncomingCall("Carol", "3003", false);
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::ConfIncoming);
    QVERIFY(CKDSdkManager::getInstance()->isAudioPlaying());
    QCOMPARE(calls.getCallInfo().peer, std::string("Carol"));

    QVERIFY(accept ? calls.acceptCall(true) : calls.declineCall());
    QCOMPARE(calls.getCallStatus(), enums::ConfIncoming);
    settle(m_control);

    QCOMPARE(statusesOf(changes), statuses);
    QVERIFY(!CKDSdkManager::getInstance()->isAudioPlaying());
    if (accept) {
        // An answered point-to-point call is of the second kind and stays out of the history.
        QCOMPARE(calls.getCallTypes(), 2);
        QCOMPARE(calls.getConfNumber(), QStringLiteral("3003"));
        QVERIFY(CUserConfigUtils::getInstance()->getConfIds().isEmpty());
    }
}

void TestCallController::remoteHangUpWithError()
{
    CCallController &calls = CCallController::getInstance();
    QVERIFY(signInAs(m_control, "alice", "secret"));
    calls.dialOut("2002", QString(), false, QString());
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::Connected);
    QSignalSpy ends(CKDSdkManager::getInstance(), &CKDSdkManager::eventCallEnd);

    const int hostEndedMeeting = 100;
    m_control->injectRemoteHangUp(hostEndedMeeting);
    settle(m_control);

    QCOMPARE(calls.getCallStatus(), enums::Ended);
    QCOMPARE(ends.size(), 1);
    QCOMPARE(ends.first().first().value<KDCallInfo>().err.code, hostEndedMeeting);
    QCOMPARE(CLoginManager::getInstance().getLoginStatus(), enums::LoggedIn);
}

void TestCallController::guestJoin_data()
{
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<QString>("registeredName");
    QTest::addColumn<bool>("https");
    QTest::newRow("named guest") << "Gäst"
                                 << "Gäst" << true;
    QTest::newRow("no name: the local address")
        << QString() << kd_app::helpers::CGeneralUtils::getLocalIpAddress() << false;
}

void TestCallController::guestJoin()
{
    QFETCH(QString, displayName);
    QFETCH(QString, registeredName);
    QFETCH(bool, https);

    CCallController &calls = CCallController::getInstance();
    CLoginManager &login = CLoginManager::getInstance();
    const QString deviceSn = CUserConfigUtils::getInstance()->getDeviceSn();
    CUserConfigUtils::getInstance()->setUseHttps(https);
    m_control->clearOperations();

    calls.anonymousJoinConf("conf.parvela.test", "1001", displayName, "99");

    QCOMPARE(login.getLoginStatus(), enums::AnonymousLoggingIn);
    const QStringList registrations = operationsNamed(m_control, "registerSIPServer");
    QCOMPARE(registrations, QStringList{"registerSIPServer(," + registeredName + "," + deviceSn + ",TLS)"});
    QVERIFY(operationsNamed(m_control, "getRegisterInfo").isEmpty());
    // The guest's server is reached the way the saved choice says, not the
    // way a sign-in of earlier (or the engine's default) left it.
    QCOMPARE(operationsNamed(m_control, "enableSecure"), QStringList{https ? "enableSecure(1)" : "enableSecure(0)"});
    QCOMPARE(operationsNamed(m_control, "dialOut"), QStringList{"dialOut(1001@conf.parvela.test,1)"});
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::Connected);
    QCOMPARE(calls.getConfNumber(), QStringLiteral("1001*99@conf.parvela.test"));
    QCOMPARE(calls.getPureConfNumber(), QStringLiteral("1001"));
    QCOMPARE(calls.getConfPassword(), QStringLiteral("99"));
    QCOMPARE(CUserConfigUtils::getInstance()->getConfIds(), QStringList{"1001@conf.parvela.test"});
    QCOMPARE(CUserConfigUtils::getInstance()->getConfId(), QStringLiteral("1001@conf.parvela.test"));

    QVERIFY(calls.hangUp());
    settle(m_control);
    QCOMPARE(login.getLoginStatus(), enums::NotLogin);
    QCOMPARE(login.getLoginProgress(), enums::JoinConf);
}

void TestCallController::loginSkippedRegistration_data()
{
    QTest::addColumn<bool>("enableRegistration");
    QTest::addColumn<QString>("screenName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("own server") << true << "Desk Ö"
                                << "registerSIPServer(proxy.test,Desk Ö,sipuser,UDP)";
    QTest::newRow("own server, no name") << true << QString() << "registerSIPServer(proxy.test,sipuser,sipuser,UDP)";
    QTest::newRow("no server") << false << "Desk"
                               << "registerSIPServer(,Desk,%1,UDP)";
    QTest::newRow("no server, no name") << false << QString()
                                        << "registerSIPServer(," + kd_app::helpers::CGeneralUtils::getLocalIpAddress() +
                                               ",%1,UDP)";
}

void TestCallController::loginSkippedRegistration()
{
    QFETCH(bool, enableRegistration);
    QFETCH(QString, screenName);
    QFETCH(QString, expected);

    CUserConfigUtils &config = *CUserConfigUtils::getInstance();
    config.setEnableRegistration(enableRegistration);
    config.setScreenName(screenName);
    config.setTransportProtocol("UDP");
    config.setProxyServerAddress("proxy.test");
    config.setAuthenticationUserName("sipuser");
    config.setAuthenticationPassword("sippass");

    CCallController::getInstance().whenLoginSkipped();
    QCOMPARE(operationsNamed(m_control, "registerSIPServer"),
             QStringList{QString(expected).replace("%1", config.getDeviceSn())});
    settle(m_control);

    // Registered now, so the next registration starts by leaving this one.
    m_control->clearOperations();
    CCallController::getInstance().whenLoginSkipped();
    QCOMPARE(operationsNamed(m_control, "unregisterSIPServer").size(), 1);
}

void TestCallController::contentStream_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("dir");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("status");

    QTest::newRow("receiving content") << true << 1 << 2 << 1;
    QTest::newRow("receiving whiteboard") << true << 1 << 3 << 2;
    QTest::newRow("sending content") << true << 0 << 2 << 3;
    QTest::newRow("sending whiteboard") << true << 0 << 3 << 4;
    QTest::newRow("other kind changes nothing") << true << 1 << 1 << 4;
    QTest::newRow("stopped") << false << 0 << 3 << 0;
}

// Runs as one sequence: each row starts from the state the row before left
// (the first from a connected call, status 4 is set before "other kind").
void TestCallController::contentStream()
{
    QFETCH(bool, enabled);
    QFETCH(int, dir);
    QFETCH(int, type);
    QFETCH(int, status);

    CCallController &calls = CCallController::getInstance();
    raiseConnected(m_control, callOf("2002"), false);
    const int before = QByteArray(QTest::currentDataTag()) == "other kind changes nothing" ? 4 : 0;
    calls.setContentStreamStatus(before, "me", 7);
    QSignalSpy changes(&calls, &CCallController::sigContentStreamStatusChanged);

    KDContentInfo content;
    content.enabled = enabled;
    content.dir = dir;
    content.type = type;
    content.senderName = "Carol";
    content.senderDeviceId = 77;
    m_control->raise([content](IAVEventHandler &handler) {
        KDContentInfo copy = content;
        handler.onContent(copy);
    });
    settle(m_control);

    QCOMPARE(calls.getContentStreamStatus(), status);
    if (status == before) {
        QVERIFY(changes.isEmpty());
        return;
    }
    QCOMPARE(changes.size(), 1);
    const auto info = changes.first().first().value<kd_app::structs::CContentStreamInfo>();
    QCOMPARE(info.previousStatus, before);
    QCOMPARE(info.currentStatus, status);
    QCOMPARE(info.senderName, std::string(enabled ? "Carol" : ""));
    QCOMPARE(info.senderDeviceId, enabled ? quint64(77) : quint64(0));

    // A connected event starts every call without content.
    raiseConnected(m_control, callOf("2002"), true);
    QCOMPARE(calls.getContentStreamStatus(), 0);
}

void TestCallController::dialString_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("dialString");
    QTest::addColumn<QString>("pureNumber");
    QTest::addColumn<QString>("confPassword");

    QTest::newRow("number only") << "1234" << QString() << "1234"
                                 << "1234" << QString();
    QTest::newRow("password appended") << "1234"
                                       << "99"
                                       << "1234*99"
                                       << "1234"
                                       << "99";
    QTest::newRow("password before the server") << "1234@srv"
                                                << "99"
                                                << "1234*99@srv"
                                                << "1234"
                                                << "99";
    QTest::newRow("first @ of several") << "1@a@b"
                                        << "9"
                                        << "1*9@a@b"
                                        << "1"
                                        << "9@a";
    QTest::newRow("server, no password") << "1234@srv" << QString() << "1234@srv"
                                         << "1234" << QString();
}

void TestCallController::dialString()
{
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(QString, dialString);
    QFETCH(QString, pureNumber);
    QFETCH(QString, confPassword);

    CCallController &calls = CCallController::getInstance();
    QSignalSpy numbers(&calls, &CCallController::sigConfNumberChanged);
    // Windows may take the number on a later turn of the event loop.
    QString queued;
    QObject receiver;
    connect(
        &calls, &CCallController::sigConfNumberChanged, &receiver, [&queued](const QString &n) { queued = n; },
        Qt::QueuedConnection);
    m_control->failNext("dialOut", kd::sdk::KD_ERR_GENERIC);

    calls.dialOut(number, password, false, QString());

    QCOMPARE(calls.getConfNumber(), dialString);
    QCOMPARE(calls.getPureConfNumber(), pureNumber);
    QCOMPARE(calls.getConfPassword(), confPassword);
    QCOMPARE(numbers.size(), 1);
    QCOMPARE(numbers.first().first().toString(), dialString);
    QCOMPARE(calls.getCallStatus(), enums::Ended);
    QCOMPARE(calls.getPeerNameOrConfNumber(), dialString);
    QTRY_COMPARE(queued, dialString);
}

void TestCallController::numberHistory_data()
{
    QTest::addColumn<QString>("dialled");
    QTest::addColumn<QList<KDCallInfo>>("events");
    QTest::addColumn<QStringList>("confNumbers");
    QTest::addColumn<QStringList>("history");

    QTest::newRow("password never stored")
        << "000" << QList<KDCallInfo>{callOf("1234", "99")} << QStringList{"1234*99"} << QStringList{"1234"};
    QTest::newRow("dialled number kept on connect") << "1234*99@srv" << QList<KDCallInfo>{callOf("1234", "99")}
                                                    << QStringList{"1234*99@srv"} << QStringList{"1234@srv"};
    QTest::newRow("other number replaces")
        << "1234*99@srv" << QList<KDCallInfo>{callOf("5678")} << QStringList{"5678"} << QStringList{"5678"};
    QTest::newRow("five newest, no repeats")
        << "000"
        << QList<KDCallInfo>{callOf("1"), callOf("2"), callOf("3"), callOf("2"), callOf("4"), callOf("5"), callOf("6")}
        << QStringList{"1", "2", "3", "2", "4", "5", "6"} << QStringList{"6", "5", "4", "2", "3"};
    // An empty number is a prefix of every stored one, so it keeps that one.
    QTest::newRow("blank and unknown skipped")
        << "000" << QList<KDCallInfo>{callOf("7"), callOf(" "), callOf("unknown@x"), callOf("")}
        << QStringList{"7", " ", "unknown@x", "unknown@x"} << QStringList{"7"};
    QTest::newRow("audio conference not saved")
        << "000" << QList<KDCallInfo>{callOf("8", "", 1), callOf("9", "", 2)} << QStringList{"8", "9"} << QStringList();
}

void TestCallController::numberHistory()
{
    QFETCH(QString, dialled);
    QFETCH(QList<KDCallInfo>, events);
    QFETCH(QStringList, confNumbers);
    QFETCH(QStringList, history);

    CCallController &calls = CCallController::getInstance();
    // A refused dial sets the number the events start from.
    m_control->failNext("dialOut", kd::sdk::KD_ERR_GENERIC);
    calls.dialOut(dialled, false, QString());
    QStringList seen;
    for (const KDCallInfo &event : events) {
        raiseConnected(m_control, event, false);
        seen << calls.getConfNumber();
    }
    QCOMPARE(seen, confNumbers);
    QCOMPARE(CUserConfigUtils::getInstance()->getConfIds(), history);
}

// Meeting passwords, account passwords and tokens are secrets: the login
// manager's and the call controller's log lines show none of them whole.
void TestCallController::secretsStayOutOfOurLogs()
{
    CLogCapture log;
    CCallController &calls = CCallController::getInstance();
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(signInAs(m_control, "dora", "Pw-7731!"));
    login.updateLoginToken(false);
    calls.dialOut("4004@conf.parvela.test", "mt-5150", true, QString());
    settle(m_control);
    QCOMPARE(calls.getCallStatus(), enums::Connected);
    const QString token = QString::fromStdString(login.getLoginUserInfo().token);
    QVERIFY(!token.isEmpty());

    const QStringList ours = log.all().filter(QRegularExpression("^kd_app::models::(CCallController|CLoginManager)::"));
    QVERIFY(ours.filter("requestAcsInfo:").size() == 1);
    for (const QString &secret : {QStringLiteral("Pw-7731!"), QStringLiteral("mt-5150"), token}) {
        QVERIFY2(ours.filter(secret).isEmpty(), qPrintable(ours.filter(secret).join('\n')));
    }
}

QTEST_MAIN(TestCallController)
#include "tst_callcontroller.moc"
