#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "clientfixture.h"
#include "models/cucmapimanager.h"

using namespace fixture;
using confserver::CConfServer;
using confserver::CConfStore;
using kd_app::models::CUCMApiManager;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"company": 7, "companyShortName": "Testers"},
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Ärger"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"}
    ],
    "contacts": [{"ownerId": 1, "userId": 2}],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Running", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]}
    ]
})";

} // namespace

// What the program does without any window, over real HTTP: sign in through
// the engine, read meetings, users and contacts, join a meeting, leave it.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void signInListJoinLeave();
};

void TestEndToEnd::signInListJoinLeave()
{
    CConfStore store;
    QString error;
    QVERIFY2(store.loadSeed(kSeed, &error), qPrintable(error));
    CConfServer server(store);
    QVERIFY(server.start());
    QTemporaryDir appData;
    QVERIFY(appData.isValid());
    kd::sdk::IEngineControl *control = startClient(appData);
    QVERIFY(control);

    CLoginManager &login = CLoginManager::getInstance();
    QSignalSpy avatars(&login, &CLoginManager::sigAvatarDownloadedOk);
    QVERIFY(login.login("127.0.0.1", false, server.port(), "alice", "Alice2026!"));
    QTRY_COMPARE_WITH_TIMEOUT(login.getLoginStatus(), enums::LoggedIn, kdtest::kStateWaitMs);
    QCOMPARE(login.getDisplayName(), QStringLiteral("Alice Ärger"));
    QCOMPARE(login.getServerUrl(), QStringLiteral("http://127.0.0.1:%1").arg(server.port()));
    QTRY_COMPARE_WITH_TIMEOUT(avatars.size(), 1, kdtest::kStateWaitMs);

    CUCMApiManager *rest = CUCMApiManager::getInstance();
    QSignalSpy meetings(rest, &CUCMApiManager::signal_getConferences_succeed);
    QSignalSpy users(rest, &CUCMApiManager::signal_getUsers_succeed);
    QSignalSpy contacts(rest, &CUCMApiManager::signal_getContacts_succeed);
    QSignalSpy restErrors(rest, &CUCMApiManager::signal_ucmapi_error);
    rest->getConferences(login.getServerUrl(), login.getLoginToken());
    rest->getUsers(login.getServerUrl(), login.getLoginToken());
    rest->getContacts(login.getServerUrl(), login.getLoginToken());
    QTRY_VERIFY(!meetings.isEmpty() && !users.isEmpty() && !contacts.isEmpty());
    QVERIFY(restErrors.isEmpty());
    QCOMPARE(rest->getConferenceList().size(), 1);
    QCOMPARE(rest->getConferenceList().first().numericId, 70001);
    QCOMPARE(rest->getUserList().size(), 2);
    QCOMPARE(rest->getContactList().size(), 1);
    QCOMPARE(rest->getContactList().first().userId, 2);

    CCallController &calls = CCallController::getInstance();
    QSignalSpy statuses(&calls, &CCallController::sigCallStatusChanged);
    calls.dialOut(QString::number(rest->getConferenceList().first().numericId), QString(), true,
                  rest->getConferenceList().first().name);
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QCOMPARE(calls.getConfNumber(), QStringLiteral("70001"));
    QCOMPARE(calls.getPeerNameOrConfNumber(), QStringLiteral("Running"));
    QVERIFY(CUserConfigUtils::getInstance()->getIsConfRunning());

    QVERIFY(calls.hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Ended, kdtest::kStateWaitMs);
    QCOMPARE(statuses.size(), 3);
    QCOMPARE(CUserConfigUtils::getInstance()->getConfIds(), QStringList{"70001"});

    login.logout();
    QCOMPARE(login.getLoginStatus(), enums::NotLogin);
    settle(control);
    CKDSdkManager::releaseInstance();
    server.stop();
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
