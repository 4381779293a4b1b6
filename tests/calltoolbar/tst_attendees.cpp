#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "../login/clientfixture.h"
#include "calltoolbarfixture.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "models/cucmapimanager.h"
#include "models/curlpixmap.h"
#include "views/call/attendees/cattendeesbutton.h"
#include "views/call/attendees/cattendeeslistmodel.h"
#include "views/call/attendees/cattendeeslistview.h"
#include "views/call/attendees/cattendesswidgets.h"
#include "views/call/attendees/cavatarrequests.h"

using namespace fixture;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::models::CUCMApiManager;
using kd_app::models::CUrlPixmap;
using kd_app::views::CAttendeesListmodel;
using kd_app::views::CAttendeesListview;
using kd_app::views::CAttendessWidgets;
using kd_app::views::CAvatarRequests;

namespace {

QByteArray seed(const char *serverType)
{
    return QString(R"({
        "organisation": {"company": 7, "companyShortName": "Testers", "appServerType": "%1"},
        "users": [
            {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice"},
            {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"},
            {"id": 3, "name": "carol", "password": "Carol2026!", "displayName": "Carol"},
            {"id": 4, "name": "dora", "password": "Dora2026!", "displayName": "Dora"}
        ],
        "meetings": [
            {"id": 1, "numericId": 70001, "name": "Running", "startInMinutes": -5, "status": "ONGOING",
             "applicantId": 1, "userIds": [1, 2, 3, 4],
             "participants": [{"userId": 2}, {"userId": 4, "videoMode": false}]},
            {"id": 2, "numericId": 70004, "name": "Empty", "startInMinutes": -5, "status": "ONGOING",
             "applicantId": 1, "userIds": [1]}
        ]
    })")
        .arg(serverType)
        .toUtf8();
}

bool allAvatarsShown(const CAttendeesListview *view)
{
    const CAttendeesListmodel *model = view->listModel();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row).data(CAttendeesListmodel::AvatarRole).value<QPixmap>().isNull()) {
            return false;
        }
    }
    return model->rowCount() > 0;
}

} // namespace

// The attendee button and window against the local conference server: who
// is in the meeting comes from real joins, over the engine's HTTP backend.
class TestAttendees : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void countsAndListsByMedia();
    void replyWhileHiddenWaitsForShow();
    void emptyReplyHidesButton();
    void buttonStaysHiddenWhileNotAllowed();
    void noPollingWithoutParticipantList_data();
    void noPollingWithoutParticipantList();
    void tokenChangeAsksAgain();
    void avatarsFillEveryRowAndAreAskedOnce();
    void meetingPasswordStaysOutOfLog();

private:
    void joinAs(const QString &user, const QString &password, bool video);
    int participantRequests() const { return int(m_server->requestsTo("/simpleparticipants").size()); }
    void answered(const std::function<void()> &ask);

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
};

void TestAttendees::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestAttendees::cleanup()
{
    resetClient(m_control);
}

void TestAttendees::joinAs(const QString &user, const QString &password, bool video)
{
    CLoginManager &login = CLoginManager::getInstance();
    QVERIFY(login.login("127.0.0.1", false, m_server->port(), user, password));
    QTRY_COMPARE_WITH_TIMEOUT(login.getLoginStatus(), enums::LoggedIn, kdtest::kStateWaitMs);
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("70001", QString(), video, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
}

// Runs a request and waits until its reply has reached the models.
void TestAttendees::answered(const std::function<void()> &ask)
{
    QSignalSpy replies(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getParticipants_succeed);
    ask();
    QVERIFY(replies.wait(kdtest::kStateWaitMs) || !replies.isEmpty());
}

void TestAttendees::countsAndListsByMedia()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("carol", "Carol2026!", true);
    CAttendeesButton button(nullptr);
    answered([&button] { button.startParticipantPolling(); });

    QVERIFY(button.isPolling());
    QCOMPARE(button.countText(), QString("3"));
    QVERIFY(!button.isHidden());

    auto *window = new CAttendessWidgets(nullptr);
    QPointer<CAttendessWidgets> alive(window);
    window->show();
    QCOMPARE(window->videoCount(), 2);
    QCOMPARE(window->audioCount(), 1);
    QCOMPARE(window->tabText(true), QString("Video(2)"));
    QCOMPARE(window->tabText(false), QString("Audio(1)"));
    QCOMPARE(calltoolbar::attendeeNames(window->videoList()), QStringList({"Bob", "Carol"}));
    QCOMPARE(calltoolbar::attendeeNames(window->audioList()), QStringList{"Dora"});

    button.stopParticipantPolling();
    QVERIFY(!button.isPolling());
    window->close();
    QTRY_VERIFY(!alive);
}

void TestAttendees::replyWhileHiddenWaitsForShow()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("alice", "Alice2026!", false);
    CAttendeesButton button(nullptr);
    CAttendessWidgets window(nullptr);
    answered([&button] { button.startParticipantPolling(); });
    QCOMPARE(button.countText(), QString("3"));
    QCOMPARE(window.videoCount() + window.audioCount(), 0);

    window.show();

    QCOMPARE(window.videoCount(), 1);
    QCOMPARE(window.audioCount(), 2);
    QCOMPARE(calltoolbar::attendeeNames(window.audioList()), QStringList({"Dora", "Alice"}));
    // Later replies refresh a shown window at once.
    m_store.joinMeeting(QString(), "70001", R"({"displayName": "Gast", "videoMode": true})");
    answered([&button] { button.slot_timeout(); });
    QCOMPARE(calltoolbar::attendeeNames(window.videoList()), QStringList({"Bob", "Gast"}));
    QCOMPARE(window.tabText(true), QString("Video(2)"));
}

void TestAttendees::emptyReplyHidesButton()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("alice", "Alice2026!", true);
    CAttendeesButton button(nullptr);
    answered([&button] { button.startParticipantPolling(); });
    QVERIFY(!button.isHidden());
    const CLoginManager &login = CLoginManager::getInstance();

    answered([&login] {
        CUCMApiManager::getInstance()->getParticipants(login.getServerUrl(), login.getLoginToken(), "70004");
    });

    QVERIFY(button.isHidden());
}

void TestAttendees::buttonStaysHiddenWhileNotAllowed()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("alice", "Alice2026!", true);
    CAttendeesButton button(nullptr);
    button.setShowAllowed(false);
    answered([&button] { button.startParticipantPolling(); });
    QCOMPARE(button.countText(), QString("3"));
    QVERIFY(button.isHidden());
}

void TestAttendees::noPollingWithoutParticipantList_data()
{
    QTest::addColumn<QByteArray>("serverType");
    QTest::addColumn<int>("loginStatus");
    QTest::newRow("CCM server") << QByteArray("CCM") << int(enums::LoggedIn);
    QTest::newRow("guest") << QByteArray("UCM") << int(enums::AnonymousLoggedIn);
    // A guest's status while in the call it joined.
    QTest::newRow("guest in a call") << QByteArray("UCM") << int(enums::AnonymousLoggingIn);
}

void TestAttendees::noPollingWithoutParticipantList()
{
    QFETCH(QByteArray, serverType);
    QFETCH(int, loginStatus);
    QVERIFY(m_store.loadSeed(seed(serverType.constData())));
    joinAs("carol", "Carol2026!", true);
    if (loginStatus != enums::LoggedIn) {
        CLoginManager::getInstance().setLoginStatus(enums::LoginStatus(loginStatus));
    }
    const int before = participantRequests();
    CAttendeesButton button(nullptr);

    button.startParticipantPolling();
    QTest::qWait(100);

    QVERIFY(!button.isPolling());
    QCOMPARE(participantRequests(), before);
}

void TestAttendees::tokenChangeAsksAgain()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("carol", "Carol2026!", true);
    CAttendeesButton button(nullptr);
    answered([&button] { button.startParticipantPolling(); });
    const int before = participantRequests();

    answered([] { CLoginManager::getInstance().updateLoginToken(false); });
    QCOMPARE(participantRequests(), before + 1);

    // Once the call has stopped the poll, a new token asks for nothing: the
    // last meeting's list is no longer ours to read.
    button.stopParticipantPolling();
    QSignalSpy tokens(&CLoginManager::getInstance(), &CLoginManager::sigLoginTokenChanged);
    CLoginManager::getInstance().updateLoginToken(false);
    QTRY_VERIFY(!tokens.isEmpty());
    QTest::qWait(300);
    QCOMPARE(participantRequests(), before + 1);
}

void TestAttendees::avatarsFillEveryRowAndAreAskedOnce()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("bob", "Bob2026!", true);
    // Bob on a second device: listed twice with one avatar address.
    m_store.joinMeeting(m_store.issueToken(2), "70001", R"({"videoMode": true})");
    CFault slow;
    slow.route = "/userFiles/avatar/2.jpg";
    slow.kind = CFault::Kind::Delay;
    slow.value = 600;
    slow.times = 1;
    m_server->addFault(slow);
    const std::string bobsAvatar = "2.jpg?v=" + CLoginManager::getInstance().getLoginToken().toStdString();
    const auto bobsAvatarRequests = [this, &bobsAvatar] {
        const std::vector<std::string> targets = m_server->requestsTo("/userFiles/avatar/2.jpg");
        return std::count_if(targets.begin(), targets.end(), [&bobsAvatar](const std::string &target) {
            return target.find(bobsAvatar) != std::string::npos;
        });
    };
    CAttendeesButton button(nullptr);
    CAttendessWidgets window(nullptr);
    window.show();
    answered([&button] { button.startParticipantPolling(); });
    QCOMPARE(calltoolbar::attendeeNames(window.videoList()), QStringList({"Bob", "Bob"}));
    // Replies while the picture is on its way ask for it no more.
    answered([&button] { button.slot_timeout(); });
    answered([&button] { button.slot_timeout(); });

    QTRY_VERIFY_WITH_TIMEOUT(allAvatarsShown(window.videoList()), kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(allAvatarsShown(window.audioList()), kdtest::kStateWaitMs);
    QCOMPARE(bobsAvatarRequests(), 1);
}

void TestAttendees::meetingPasswordStaysOutOfLog()
{
    QVERIFY(m_store.loadSeed(seed("UCM")));
    joinAs("carol", "Carol2026!", true);
    const CLoginManager &login = CLoginManager::getInstance();
    CLogCapture log;
    answered([&login] {
        CUCMApiManager::getInstance()->getParticipants(login.getServerUrl(), login.getLoginToken(), "70001*4711");
    });
    QVERIFY(!log.all().isEmpty());
    QVERIFY(!log.contains("4711"));
}

QTEST_MAIN(TestAttendees)
#include "tst_attendees.moc"
