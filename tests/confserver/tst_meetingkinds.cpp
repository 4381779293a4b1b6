#include <QtTest>

#include "cconfserver.h"
#include "cconfstore.h"
#include "serverclient.h"

using confserver::CConfServer;
using confserver::CConfStore;

namespace {

// Alice owns a meeting being started and a permanent room; Bob's call number
// and Alice's personal room are no meetings' numbers.
const QByteArray kSeed = R"({
    "firstMeetingNumber": 8200998,
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice", "vmr": "9001", "callNumber": "6001"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob", "vmr": "9002", "callNumber": "6002"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Starting", "startInMinutes": 0, "status": "LAUNCHING",
         "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]},
        {"id": 2, "numericId": 8201000, "name": "Room", "startInMinutes": -60, "applicantId": 1, "userIds": [1]},
        {"id": 3, "numericId": 8200998, "name": "Just below the rooms", "startInMinutes": 60, "applicantId": 1,
         "userIds": [1]}
    ]
})";

} // namespace

// Meetings being started, permanent rooms, personal rooms and direct calls.
class TestMeetingKinds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void launchingMeetingRuns();
    void newMeetingsSkipThePermanentRooms();
    void dialledNumbers_data();
    void dialledNumbers();
    void personalRoomIsJoinedAndLeft();
    void statusSetByTheConferenceSide();
    void generatedUsersGetAvatarsWhenAsked();

private:
    CReply call(const QByteArray &verb, const QString &path, const QByteArray &body = QByteArray())
    {
        return m_client.call(m_server->baseUrl(), verb, path, body);
    }
    QString rest(const QString &path) const { return "/api/rest/v2.0/" + path + "?token=" + m_token; }

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CServerClient m_client;
    QString m_token;
};

void TestMeetingKinds::initTestCase()
{
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

void TestMeetingKinds::init()
{
    QVERIFY(m_store.loadSeed(kSeed));
    m_token = m_store.issueToken(1);
}

void TestMeetingKinds::launchingMeetingRuns()
{
    const QJsonArray listed = call("GET", rest("meetings")).array();
    QCOMPARE(listed.at(0).toObject().value("status").toString(), QString("LAUNCHING"));
    QCOMPARE(call("GET", rest("meetings/70001/simpleparticipants")).array().size(), 1);
    QCOMPARE(call("GET", "/api/engine/v1/meetings/70001").errorCode(), 0);
    QCOMPARE(call("GET", "/api/engine/v1/meetings/70001/participants").array().size(), 1);
    QCOMPARE(call("DELETE", rest("meetings/1")).errorCode(), 3040);
    QCOMPARE(call("PUT", rest("meetings/1/control/terminate")).status, 204);
    QCOMPARE(call("GET", "/api/engine/v1/meetings/70001").errorCode(), 4205);
}

void TestMeetingKinds::newMeetingsSkipThePermanentRooms()
{
    const qint64 later = QDateTime::currentMSecsSinceEpoch() + 3600 * 1000;
    const QJsonObject body{
        {"name", "New"}, {"startTime", double(later)}, {"duration", 1800000}, {"userIds", QJsonArray{1}}};
    QList<int> numbers;
    for (int i = 0; i < 3; ++i) {
        numbers << call("POST", rest("meetings"), QJsonDocument(body).toJson()).json().value("numericId").toInt();
    }
    // The seed's highest meeting number is 8200998; a room is seeded at 8201000.
    QCOMPARE(numbers, QList<int>({8200999, 8210000, 8210001}));
    m_store.addGeneratedMeetings(1, 1);
    QCOMPARE(call("GET", rest("meetings")).array().last().toObject().value("numericId").toInt(), 8210002);
}

void TestMeetingKinds::dialledNumbers_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("direct");
    QTest::newRow("permanent room") << "8201000" << 0 << "Room" << false;
    QTest::newRow("personal room") << "9001" << 0 << "Alice's room" << false;
    QTest::newRow("call number") << "6002" << 0 << "Bob" << true;
    QTest::newRow("nobody's number") << "6003" << 4205 << "" << false;
}

void TestMeetingKinds::dialledNumbers()
{
    QFETCH(QString, number);
    QFETCH(int, errorCode);
    QFETCH(QString, name);
    QFETCH(bool, direct);
    const CReply info = call("GET", "/api/engine/v1/meetings/" + number);
    QCOMPARE(info.errorCode(), errorCode);
    QCOMPARE(info.json().value("name").toString(), name);
    QCOMPARE(info.json().value("pointToPoint").toBool(), direct);
    QCOMPARE(info.json().value("passwordRequired").toBool(), false);
}

// A personal room has no meeting record; joining it lists the caller all
// the same, and only its owner runs it.
void TestMeetingKinds::personalRoomIsJoinedAndLeft()
{
    const QString room = "/api/engine/v1/meetings/9001";
    const auto people = [&] {
        QStringList names;
        for (const QJsonValue &value : call("GET", room + "/participants").array()) {
            names << value.toObject().value("name").toString();
        }
        return names;
    };
    QCOMPARE(people(), QStringList());
    const QByteArray body = QJsonDocument(QJsonObject{{"displayName", ""}, {"videoMode", true}}).toJson();
    const CReply owner = call("POST", room + "/join?token=" + m_token, body);
    QCOMPARE(owner.errorCode(), 0);
    QVERIFY(owner.json().value("controllable").toBool());
    const CReply guest = call("POST", room + "/join", QJsonDocument(QJsonObject{{"displayName", "Gast"}}).toJson());
    QCOMPARE(guest.errorCode(), 0);
    QVERIFY(!guest.json().value("controllable").toBool());
    QCOMPARE(guest.json().value("participants").toArray().size(), 1);
    QCOMPARE(people(), QStringList({"Alice", "Gast"}));

    const QByteArray leave =
        QJsonDocument(QJsonObject{{"participantId", owner.json().value("participantId").toDouble()}}).toJson();
    QCOMPARE(call("POST", room + "/leave", leave).errorCode(), 0);
    QCOMPARE(people(), QStringList({"Gast"}));
    QCOMPARE(call("POST", room + "/leave", leave).errorCode(), 1020);
    // A call number is no room to join.
    QCOMPARE(call("POST", "/api/engine/v1/meetings/6002/join", body).errorCode(), 4205);
}

void TestMeetingKinds::statusSetByTheConferenceSide()
{
    QVERIFY(m_store.setMeetingStatus(3, "ONGOING"));
    QVERIFY(!m_store.setMeetingStatus(99, "ONGOING"));
    QCOMPARE(call("DELETE", rest("meetings/3")).errorCode(), 3040);
    QVERIFY(m_store.setMeetingStatus(3, "ENDED"));
    QCOMPARE(call("GET", rest("meetings")).array().size(), 2);
}

void TestMeetingKinds::generatedUsersGetAvatarsWhenAsked()
{
    m_store.addGeneratedUsers(40);
    QCOMPARE(m_store.userCount(), 42);
    const QJsonArray users = call("GET", rest("users")).array();
    QCOMPARE(users.size(), 42);
    const QJsonObject last = users.last().toObject();
    QCOMPARE(last.value("id").toInt(), 42);
    QVERIFY(!last.value("displayName").toString().isEmpty());
    const CReply picture = call("GET", last.value("imageURL").toString());
    QCOMPARE(picture.status, 200);
    QVERIFY(!QImage::fromData(picture.body).isNull());
    // Names share their parts, as a search over real names needs.
    QSet<QString> givenNames;
    for (const QJsonValue &user : users) {
        givenNames << user.toObject().value("displayName").toString().section(' ', 0, 0);
    }
    QVERIFY(givenNames.size() < 30);
}

QTEST_MAIN(TestMeetingKinds)
#include "tst_meetingkinds.moc"
