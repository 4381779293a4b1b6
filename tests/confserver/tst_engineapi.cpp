#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

#include "cconfserver.h"
#include "cconfstore.h"
#include "serverclient.h"

using confserver::CConfServer;
using confserver::CConfStore;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "email": "alice@example.org", "password": "Alice2026!", "displayName": "Alice",
         "dept": "Field service"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob", "sipUserName": "6002",
         "sipAuthName": "auth6002", "sipPassword": "Sip6002!"},
        {"id": 3, "name": "dora", "password": "Dora2026!", "displayName": "Dora", "accountState": "locked"},
        {"id": 4, "name": "emil", "password": "Emil2026!", "displayName": "Emil", "accountState": "unused"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Locked", "startInMinutes": -5, "status": "ONGOING",
         "confPassword": "4711", "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]},
        {"id": 2, "numericId": 70002, "name": "Later", "startInMinutes": 60, "applicantId": 1, "userIds": [1]}
    ]
})";

} // namespace

// The engine's sign-in API and the parts of the REST API only the engine and
// the call controller use.
class TestEngineApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void login_data();
    void login();
    void tokenRefreshKeepsRestAccess();
    void changesPassword_data();
    void changesPassword();
    void changesDisplayName_data();
    void changesDisplayName();
    void uploadsAvatar();
    void uploadsFeedback();
    void dialledMeeting_data();
    void dialledMeeting();
    void acsToken_data();
    void acsToken();
    void joinAndLeave_data();
    void joinAndLeave();
    void meetingTimesFromOutside_data();
    void meetingTimesFromOutside();
    void probes_data();
    void probes();
    void sipRegistration_data();
    void sipRegistration();

private:
    CReply call(const QByteArray &verb, const QString &path, const QByteArray &body = QByteArray());
    QString login(const QString &account, const QString &password);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CServerClient m_client;
};

void TestEngineApi::initTestCase()
{
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

void TestEngineApi::init()
{
    QVERIFY(m_store.loadSeed(kSeed));
}

CReply TestEngineApi::call(const QByteArray &verb, const QString &path, const QByteArray &body)
{
    return m_client.call(m_server->baseUrl(), verb, path, body);
}

QString TestEngineApi::login(const QString &account, const QString &password)
{
    const QJsonObject body{{"account", account}, {"password", password}};
    return call("POST", "/api/engine/v1/login", QJsonDocument(body).toJson()).json().value("token").toString();
}

void TestEngineApi::login_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<int>("status");
    QTest::newRow("by name") << "alice"
                             << "Alice2026!" << 0 << 200;
    QTest::newRow("by e-mail") << "alice@example.org"
                               << "Alice2026!" << 0 << 200;
    QTest::newRow("wrong password") << "alice"
                                    << "alice2026!" << 2000 << 401;
    QTest::newRow("unknown account") << "mallory"
                                     << "Alice2026!" << 2000 << 401;
    QTest::newRow("empty account") << ""
                                   << "" << 2000 << 401;
    QTest::newRow("locked account") << "dora"
                                    << "Dora2026!" << 2010 << 403;
    // Without the password nobody learns that the account exists.
    QTest::newRow("locked account, wrong password") << "dora"
                                                    << "Dora2027!" << 2000 << 401;
    QTest::newRow("account not in use") << "emil"
                                        << "Emil2026!" << 2020 << 403;
}

void TestEngineApi::login()
{
    QFETCH(QString, account);
    QFETCH(QString, password);
    QFETCH(int, errorCode);
    QFETCH(int, status);
    const QJsonObject body{{"account", account}, {"password", password}};
    const CReply reply = call("POST", "/api/engine/v1/login", QJsonDocument(body).toJson());
    QCOMPARE(reply.errorCode(), errorCode);
    QCOMPARE(reply.status, status);
    if (errorCode) {
        QVERIFY(reply.json().value("token").toString().isEmpty());
        return;
    }
    const QString token = reply.json().value("token").toString();
    const QJsonObject user = reply.json().value("user").toObject();
    QCOMPARE(user.value("id").toInt(), 1);
    QCOMPARE(user.value("password").toString(), QString());
    // The engine's token is the REST API's token.
    const CReply users = call("GET", "/api/rest/v2.0/users?token=" + token);
    QCOMPARE(users.status, 200);
    QCOMPARE(QJsonDocument::fromJson(users.body).array().size(), 4);
    QCOMPARE(call("GET", "/api/engine/v1/features").json().value("enableChangePassword").toBool(), true);
}

void TestEngineApi::tokenRefreshKeepsRestAccess()
{
    const QString token = login("bob", "Bob2026!");
    QCOMPARE(call("GET", "/api/engine/v1/user?token=" + token).json().value("token").toString(), token);
    m_store.expireToken(token);
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + token).errorCode(), 1010);
    const CReply refreshed = call("GET", "/api/engine/v1/user?token=" + token);
    const QString renewed = refreshed.json().value("token").toString();
    QVERIFY(!renewed.isEmpty() && renewed != token);
    QCOMPARE(refreshed.json().value("user").toObject().value("name").toString(), QStringLiteral("bob"));
    QCOMPARE(call("GET", "/api/rest/v2.0/contacts?token=" + renewed).status, 200);
    QCOMPARE(call("GET", "/api/engine/v1/user?token=" + token).errorCode(), 1010);
    QCOMPARE(call("GET", "/api/engine/v1/user?token=nonsense").errorCode(), 1010);
}

void TestEngineApi::changesPassword_data()
{
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<int>("errorCode");
    // The client's own rule, which a server of this kind takes over: 4 to
    // 16 characters, no space.
    QTest::newRow("accepted") << "Alice2026!"
                              << "Sunrise#42" << 0;
    QTest::newRow("shortest") << "Alice2026!"
                              << "abcd" << 0;
    QTest::newRow("wrong old password") << "nope"
                                        << "Sunrise#42" << 4010;
    QTest::newRow("too short") << "Alice2026!"
                               << "Ab1" << 4020;
    QTest::newRow("too long") << "Alice2026!"
                              << "Abcdefghij123456!" << 4020;
    QTest::newRow("a space") << "Alice2026!"
                             << "Sun rise42" << 4020;
}

void TestEngineApi::changesPassword()
{
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(int, errorCode);
    const QJsonObject policy = call("GET", "/api/engine/v1/passwordPolicy").json();
    QCOMPARE(policy.value("minLength").toInt(), 4);
    QCOMPARE(policy.value("maxLength").toInt(), 16);
    const QString token = login("alice", "Alice2026!");
    const QJsonObject body{{"oldPassword", oldPassword}, {"newPassword", newPassword}};
    QCOMPARE(call("POST", "/api/engine/v1/password?token=" + token, QJsonDocument(body).toJson()).errorCode(),
             errorCode);
    QCOMPARE(login("alice", newPassword).isEmpty(), errorCode != 0);
    QCOMPARE(login("alice", "Alice2026!").isEmpty(), errorCode == 0);
}

void TestEngineApi::changesDisplayName_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("validToken");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("kept");

    QTest::newRow("renamed, trimmed") << QByteArray(R"({"displayName": "  Alicia 爱丽丝 "})") << true << 0
                                      << "Alicia 爱丽丝";
    QTest::newRow("128 characters") << QByteArray("{\"displayName\": \"" + QByteArray(128, 'a') + "\"}") << true << 0
                                    << QString(128, 'a');
    QTest::newRow("129 characters") << QByteArray("{\"displayName\": \"" + QByteArray(129, 'a') + "\"}") << true << 1021
                                    << "Alice";
    QTest::newRow("blank") << QByteArray(R"({"displayName": "   "})") << true << 1020 << "Alice";
    QTest::newRow("no name") << QByteArray(R"({"name": "Alicia"})") << true << 1020 << "Alice";
    QTest::newRow("not an object") << QByteArray("[]") << true << 1020 << "Alice";
    QTest::newRow("unknown token") << QByteArray(R"({"displayName": "Alicia"})") << false << 1010 << "Alice";
}

void TestEngineApi::changesDisplayName()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, validToken);
    QFETCH(int, errorCode);
    QFETCH(QString, kept);
    const QString token = login("alice", "Alice2026!");
    const CReply reply =
        call("PUT", "/api/engine/v1/user/displayName?token=" + (validToken ? token : "nonsense"), body);
    QCOMPARE(reply.errorCode(), errorCode);
    if (!errorCode) {
        QCOMPARE(reply.json().value("displayName").toString(), kept);
    }
    // The engine's refresh of the user and the REST API both tell it, with the unit.
    const QJsonObject refreshed = call("GET", "/api/engine/v1/user?token=" + token).json().value("user").toObject();
    QCOMPARE(refreshed.value("displayName").toString(), kept);
    QCOMPARE(refreshed.value("dept").toString(), QStringLiteral("Field service"));
    QCOMPARE(call("GET", "/api/rest/v2.0/users/1?token=" + token).json().value("displayName").toString(), kept);
}

void TestEngineApi::uploadsAvatar()
{
    const QString token = login("alice", "Alice2026!");
    const QByteArray before = call("GET", "/userFiles/avatar/1.jpg").body;
    QVERIFY(!QImage::fromData(before).isNull());
    QCOMPARE(call("GET", "/api/engine/v1/avatar?token=" + token).body, before);

    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const CReply uploaded = call("POST", "/api/engine/v1/avatar?token=" + token, png);
    QCOMPARE(uploaded.json().value("imageURL").toString(), QStringLiteral("/userFiles/avatar/1.jpg"));
    const QImage after = QImage::fromData(call("GET", "/userFiles/avatar/1.jpg").body);
    QCOMPARE(after.size(), QSize(120, 120));
    QVERIFY(qRed(after.pixel(60, 60)) > 200);
    QCOMPARE(call("POST", "/api/engine/v1/avatar?token=" + token, "not a picture").errorCode(), 1020);
    QCOMPARE(call("GET", "/userFiles/avatar/9.jpg").status, 404);
}

void TestEngineApi::uploadsFeedback()
{
    const QString token = login("bob", "Bob2026!");
    const CReply sent = call("POST", "/api/engine/v1/feedback?token=" + token, QByteArray(4096, 'z'));
    QCOMPARE(sent.json().value("size").toInt(), 4096);
    QCOMPARE(m_store.feedbackCount(), 1);
    QCOMPARE(call("POST", "/api/engine/v1/feedback?token=" + token, QByteArray()).errorCode(), 1020);
    QCOMPARE(call("POST", "/api/engine/v1/feedback?token=x", "data").errorCode(), 1010);
}

void TestEngineApi::dialledMeeting_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("infoError");
    QTest::addColumn<bool>("passwordRequired");
    QTest::addColumn<int>("participants");
    // Someone who only dialled the number sees neither the people nor the name.
    QTest::newRow("running with password") << "70001" << 0 << true << 1040;
    QTest::newRow("scheduled") << "70002" << 0 << false << 3070;
    QTest::newRow("unknown number") << "70009" << 4205 << false << 3010;
    QTest::newRow("dial string") << "70001*4711" << 4205 << false << 1020;
}

void TestEngineApi::dialledMeeting()
{
    QFETCH(QString, number);
    QFETCH(int, infoError);
    QFETCH(bool, passwordRequired);
    QFETCH(int, participants);
    const CReply info = call("GET", "/api/engine/v1/meetings/" + number);
    QCOMPARE(info.errorCode(), infoError);
    QCOMPARE(info.json().value("passwordRequired").toBool(), passwordRequired);
    const CReply list = call("GET", "/api/engine/v1/meetings/" + number + "/participants");
    if (participants >= 1000) {
        QCOMPARE(list.errorCode(), participants);
    } else {
        const QJsonArray people = QJsonDocument::fromJson(list.body).array();
        QCOMPARE(people.size(), participants);
        QCOMPARE(people.at(0).toObject().value("name").toString(), QStringLiteral("Bob"));
    }
    if (passwordRequired) {
        QVERIFY(!info.json().contains("name"));
        const auto check = [this, &number](const char *password) {
            return call("POST", "/api/engine/v1/meetings/" + number + "/password",
                        QJsonDocument(QJsonObject{{"password", password}}).toJson());
        };
        const CReply right = check("4711");
        QCOMPARE(right.errorCode(), 0);
        QCOMPARE(right.json().value("name").toString(), QStringLiteral("Locked"));
        QCOMPARE(check("4712").errorCode(), 6601);
    }
}

void TestEngineApi::acsToken_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("running meeting") << "confNumericId=70001&deviceId=18446744073709551615" << 0;
    QTest::newRow("not running") << "confNumericId=70002&deviceId=1" << 3070;
    QTest::newRow("unknown meeting") << "confNumericId=70009&deviceId=1" << 3010;
    QTest::newRow("dial string") << "confNumericId=70001*4711&deviceId=1" << 1020;
    QTest::newRow("no device") << "confNumericId=70001" << 1020;
}

void TestEngineApi::acsToken()
{
    QFETCH(QString, query);
    QFETCH(int, errorCode);
    const QString token = login("alice", "Alice2026!");
    const CReply reply = call("GET", "/api/rest/v2.0/acsToken?token=" + token + "&" + query);
    QCOMPARE(reply.errorCode(), errorCode);
    if (errorCode == 0) {
        QCOMPARE(reply.json().value("acsJsonWebToken").toString().count('.'), 2);
        QCOMPARE(reply.json().value("internalEdgeIp").toString(), QStringLiteral("127.0.0.1"));
        QCOMPARE(reply.json().value("externalEdgeIp").toString(), QStringLiteral("127.0.0.1"));
    }
}

void TestEngineApi::joinAndLeave_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<bool>("controllable");
    // Names listed while joined, "name/v" for video and "name/a" for audio only.
    QTest::addColumn<QStringList>("listed");
    const QStringList before{"Bob/v"};
    QTest::newRow("organiser") << "alice"
                               << "70001"
                               << "4711" << 0 << true << QStringList{"Bob/v", "Alice/a"};
    QTest::newRow("listed person takes over the entry") << "bob"
                                                        << "70001"
                                                        << "4711" << 0 << false << QStringList{"Bob/a"};
    QTest::newRow("guest") << ""
                           << "70001"
                           << "4711" << 0 << false << QStringList{"Bob/v", "Gast/a"};
    QTest::newRow("meeting not started yet") << "alice"
                                             << "70002"
                                             << "" << 0 << true << QStringList{"Alice/a"};
    QTest::newRow("wrong password") << "alice"
                                    << "70001"
                                    << "1" << 6601 << false << before;
    QTest::newRow("no password") << ""
                                 << "70001"
                                 << "" << 6601 << false << before;
    QTest::newRow("unknown meeting") << "alice"
                                     << "70009"
                                     << "" << 4205 << false << QStringList();
    QTest::newRow("unknown token") << "nobody"
                                   << "70001"
                                   << "4711" << 1010 << false << before;
}

void TestEngineApi::joinAndLeave()
{
    QFETCH(QString, account);
    QFETCH(QString, number);
    QFETCH(QString, password);
    QFETCH(int, errorCode);
    QFETCH(bool, controllable);
    QFETCH(QStringList, listed);
    QString query;
    if (account == "nobody") {
        query = "?token=0123456789abcdef";
    } else if (!account.isEmpty()) {
        query = "?token=" + login(account, account == "alice" ? "Alice2026!" : "Bob2026!");
    }
    // Read as the organiser: the list is only for those in the meeting.
    const QString organiser = login("alice", "Alice2026!");
    const auto people = [this, &number, &organiser] {
        QStringList names;
        const CReply list = call("GET", "/api/engine/v1/meetings/" + number + "/participants?token=" + organiser);
        for (const QJsonValue &value : QJsonDocument::fromJson(list.body).array()) {
            const QJsonObject person = value.toObject();
            names << person.value("name").toString() + (person.value("videoMode").toBool() ? "/v" : "/a");
        }
        return names;
    };
    const QStringList initially = people();
    const QJsonObject body{{"displayName", "Gast"}, {"videoMode", false}, {"password", password}};

    const CReply joined =
        call("POST", "/api/engine/v1/meetings/" + number + "/join" + query, QJsonDocument(body).toJson());

    QCOMPARE(joined.errorCode(), errorCode);
    QCOMPARE(people(), listed);
    if (errorCode != 0) {
        return;
    }
    QCOMPARE(joined.json().value("controllable").toBool(), controllable);
    const double participantId = joined.json().value("participantId").toDouble();
    QVERIFY(participantId > 0);
    const QByteArray leave = QJsonDocument(QJsonObject{{"participantId", participantId}}).toJson();
    QCOMPARE(call("POST", "/api/engine/v1/meetings/" + number + "/leave", leave).errorCode(), 0);
    QCOMPARE(people().size(), initially.size() + (account == "bob" ? -1 : 0));
    // A second leave of the same entry finds nobody.
    QCOMPARE(call("POST", "/api/engine/v1/meetings/" + number + "/leave", leave).errorCode(), 1020);
}

// Times a client posts are range-checked before they become numbers: one
// that no 64-bit time holds is refused, not stored as nonsense.
void TestEngineApi::meetingTimesFromOutside_data()
{
    QTest::addColumn<QByteArray>("startTime");
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<int>("errorCode");
    QTest::newRow("in range") << QByteArray("4102444800000") << QByteArray("3600000") << 0;
    QTest::newRow("start beyond 64 bits") << QByteArray("1.7e22") << QByteArray("3600000") << 1020;
    QTest::newRow("start far below 64 bits") << QByteArray("-1e300") << QByteArray("3600000") << 1020;
    QTest::newRow("duration beyond 64 bits") << QByteArray("4102444800000") << QByteArray("1e300") << 1021;
    QTest::newRow("negative duration beyond 64 bits") << QByteArray("4102444800000") << QByteArray("-1e300") << 1021;
}

void TestEngineApi::meetingTimesFromOutside()
{
    QFETCH(QByteArray, startTime);
    QFETCH(QByteArray, duration);
    QFETCH(int, errorCode);
    const QString token = login("alice", "Alice2026!");
    QVERIFY(!token.isEmpty());
    const QByteArray body = R"({"name": "Range", "startTime": )" + startTime + R"(, "duration": )" + duration + "}";
    const CReply reply = call("POST", "/api/rest/v2.0/meetings?token=" + token, body);
    QCOMPARE(reply.errorCode(), errorCode);
    if (errorCode == 0) {
        QCOMPARE(reply.json().value("startTime").toDouble(), startTime.toDouble());
    }
}

QTEST_GUILESS_MAIN(TestEngineApi)
#include "tst_engineapi.moc"

void TestEngineApi::probes_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("bodySize");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("answerSize"); // -1: a JSON answer

    QTest::newRow("plain probe") << QByteArray("GET") << QString() << 0 << 200 << -1;
    QTest::newRow("download") << QByteArray("GET") << QString("?size=4096") << 0 << 200 << 4096;
    QTest::newRow("empty download") << QByteArray("GET") << QString("?size=0") << 0 << 200 << 0;
    QTest::newRow("largest download") << QByteArray("GET") << QString("?size=1048576") << 0 << 200 << 1048576;
    QTest::newRow("too large") << QByteArray("GET") << QString("?size=1048577") << 0 << 400 << -1;
    QTest::newRow("negative") << QByteArray("GET") << QString("?size=-1") << 0 << 400 << -1;
    QTest::newRow("not a number") << QByteArray("GET") << QString("?size=lots") << 0 << 400 << -1;
    QTest::newRow("upload") << QByteArray("POST") << QString() << 65536 << 200 << -1;
    QTest::newRow("upload too large") << QByteArray("POST") << QString() << 1048577 << 400 << -1;
}

// The engine's probes need no token and carry at most a mebibyte either way.
void TestEngineApi::probes()
{
    QFETCH(QByteArray, verb);
    QFETCH(QString, query);
    QFETCH(int, bodySize);
    QFETCH(int, status);
    QFETCH(int, answerSize);

    const CReply reply = call(verb, "/api/engine/v1/ping" + query, QByteArray(bodySize, 'x'));
    QCOMPARE(reply.status, status);
    if (status != 200) {
        QCOMPARE(reply.errorCode(), 1020);
    } else if (answerSize >= 0) {
        QCOMPARE(reply.body.size(), answerSize);
    } else if (verb == "POST") {
        QCOMPARE(reply.json().value("received").toInt(), bodySize);
    } else {
        QVERIFY(reply.json().value("pong").toBool());
    }
}

void TestEngineApi::sipRegistration_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("errorCode");

    QTest::newRow("authentication name") << QByteArray(R"({"username": "auth6002", "password": "Sip6002!"})") << 0;
    QTest::newRow("number is not the name") << QByteArray(R"({"username": "6002", "password": "Sip6002!"})") << 4010;
    QTest::newRow("wrong password") << QByteArray(R"({"username": "auth6002", "password": "sip6002!"})") << 4010;
    QTest::newRow("no SIP password") << QByteArray(R"({"username": "alice", "password": ""})") << 4010;
    QTest::newRow("no user name") << QByteArray(R"({"password": "Sip6002!"})") << 1020;
    QTest::newRow("not an object") << QByteArray("[1]") << 1020;
}

// A SIP account registers with its authentication name and SIP password, and
// the password never comes back in a user object.
void TestEngineApi::sipRegistration()
{
    QFETCH(QByteArray, body);
    QFETCH(int, errorCode);

    const CReply reply = call("POST", "/api/engine/v1/sip/register", body);
    QCOMPARE(reply.errorCode(), errorCode);
    QCOMPARE(m_store.isSipRegistered("auth6002"), errorCode == 0);
    if (errorCode == 0) {
        QCOMPARE(reply.json().value("number").toString(), QString("6002"));
        QCOMPARE(call("POST", "/api/engine/v1/sip/unregister", R"({"username": "auth6002"})").status, 200);
        QVERIFY(!m_store.isSipRegistered("auth6002"));
    }
    const QString token = login("bob", "Bob2026!");
    const CReply users = call("GET", "/api/rest/v2.0/users?token=" + token);
    QVERIFY(!users.body.contains("Sip6002!"));
}
