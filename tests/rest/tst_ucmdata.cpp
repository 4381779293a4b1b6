#include <QJsonDocument>
#include <QtTest>

#include "models/cucmapimanager.h"
#include "models/ucmdata.h"

using kd_app::models::CUCMApiManager;

namespace {

const QString kServer = QStringLiteral("https://meet.example:443");

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

// One field of a record read from a JSON object, by record kind and field name.
QVariant fieldOf(const QString &kind, const QByteArray &json, const QString &field)
{
    if (kind == "user") {
        ucmuserData user;
        user.name = "stale";
        user.readJson(object(json), kServer);
        const QVariantMap fields{{"id", user.id},
                                 {"name", user.name},
                                 {"displayName", user.displayName},
                                 {"imageURL", user.imageURL},
                                 {"lastModifiedTime", user.lastModifiedTime},
                                 {"systemmanager", user.systemmanager},
                                 {"status", user.status}};
        return fields.value(field);
    }
    if (kind == "contact") {
        ucmcontactData contact;
        contact.readJson(object(json), kServer);
        const QVariantMap fields{
            {"id", contact.id}, {"userId", contact.userId}, {"imageURL", contact.imageURL}, {"status", contact.status}};
        return fields.value(field);
    }
    if (kind == "meeting") {
        ucmconferenceData meeting;
        meeting.readJson(object(json));
        QVariantList userIds;
        for (int id : meeting.userIds) {
            userIds.append(id);
        }
        const QVariantMap fields{{"startTime", meeting.startTime},     {"userIds", userIds},
                                 {"applicantId", meeting.applicantId}, {"applicantName", meeting.applicantName},
                                 {"duration", meeting.duration},       {"name", meeting.name}};
        return fields.value(field);
    }
    ucmParticipantData participant;
    participant.readJson(object(json), kServer, QStringLiteral("t&k%1"));
    const QVariantMap fields{{"userId", participant.userId},
                             {"avatarUrl", participant.avatarUrl},
                             {"videoMode", participant.videoMode},
                             {"userLastModifiedTime", participant.userLastModifiedTime}};
    return fields.value(field);
}

} // namespace

class TestUcmData : public QObject
{
    Q_OBJECT

private slots:
    void readsFields_data();
    void readsFields();
    void buildsBodies();
    void meetingNumberOfDialString_data();
    void meetingNumberOfDialString();
};

void TestUcmData::readsFields_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("user id") << "user" << QByteArray(R"({"id": 17})") << "id" << QVariant(17);
    QTest::newRow("user id as text") << "user" << QByteArray(R"({"id": "17"})") << "id" << QVariant(0);
    QTest::newRow("user id with fraction") << "user" << QByteArray(R"({"id": 17.5})") << "id" << QVariant(0);
    QTest::newRow("user id beyond int") << "user" << QByteArray(R"({"id": 3000000000})") << "id" << QVariant(0);
    QTest::newRow("stamp as text") << "user" << QByteArray(R"({"lastModifiedTime": "17"})") << "lastModifiedTime"
                                   << QVariant(17u);
    QTest::newRow("stamp as number") << "user" << QByteArray(R"({"lastModifiedTime": 1700000000})")
                                     << "lastModifiedTime" << QVariant(1700000000u);
    QTest::newRow("missing name is empty, not stale")
        << "user" << QByteArray(R"({"id": 1})") << "name" << QVariant(QString());
    QTest::newRow("non-ASCII name") << "user" << QByteArray(R"({"displayName": "陈丽 Bergström"})") << "displayName"
                                    << QVariant(QStringLiteral("陈丽 Bergström"));
    QTest::newRow("flag of wrong type") << "user" << QByteArray(R"({"systemmanager": "true"})") << "systemmanager"
                                        << QVariant(false);
    QTest::newRow("image address") << "user" << QByteArray(R"({"imageURL": "/userFiles/avatar/1.jpg"})") << "imageURL"
                                   << QVariant(kServer + "/userFiles/avatar/1.jpg");
    QTest::newRow("no image address") << "user" << QByteArray("{}") << "imageURL" << QVariant(kServer);
    QTest::newRow("contact user") << "contact" << QByteArray(R"({"id": 9, "userId": 4})") << "userId" << QVariant(4);
    QTest::newRow("contact status is text")
        << "contact" << QByteArray(R"({"status": "ONLINE"})") << "status" << QVariant(QStringLiteral("ONLINE"));
    QTest::newRow("start time cut") << "meeting" << QByteArray(R"({"startTime": 1000.9})") << "startTime"
                                    << QVariant(qint64(1000));
    QTest::newRow("negative start time cut")
        << "meeting" << QByteArray(R"({"startTime": -1000.9})") << "startTime" << QVariant(qint64(-1000));
    QTest::newRow("start time beyond 32 bits")
        << "meeting" << QByteArray(R"({"startTime": 1796910466964})") << "startTime" << QVariant(qint64(1796910466964));
    QTest::newRow("start time far beyond 64 bits")
        << "meeting" << QByteArray(R"({"startTime": 1e300})") << "startTime" << QVariant(qint64(0));
    QTest::newRow("start time far below 64 bits")
        << "meeting" << QByteArray(R"({"startTime": -1e300})") << "startTime" << QVariant(qint64(0));
    QTest::newRow("start time just beyond 64 bits")
        << "meeting" << QByteArray(R"({"startTime": 9223372036854775808})") << "startTime" << QVariant(qint64(0));
    QTest::newRow("meeting duration far beyond int")
        << "meeting" << QByteArray(R"({"duration": 1e300})") << "duration" << QVariant(0);
    QTest::newRow("negative stamp") << "user" << QByteArray(R"({"lastModifiedTime": -1})") << "lastModifiedTime"
                                    << QVariant(0u);
    QTest::newRow("stamp beyond 32 bits")
        << "user" << QByteArray(R"({"lastModifiedTime": 1e30})") << "lastModifiedTime" << QVariant(0u);
    QTest::newRow("participant time far beyond 64 bits")
        << "participant" << QByteArray(R"({"userLastModifiedTime": 1e300})") << "userLastModifiedTime"
        << QVariant(qint64(0));
    QTest::newRow("invitees skip non-objects") << "meeting" << QByteArray(R"({"users": [{"id": 3}, 5, {"id": 4}]})")
                                               << "userIds" << QVariant(QVariantList{3, 4});
    QTest::newRow("invitees not an array")
        << "meeting" << QByteArray(R"({"users": {"id": 3}})") << "userIds" << QVariant(QVariantList{});
    QTest::newRow("no applicant") << "meeting" << QByteArray(R"({"id": 1})") << "applicantId" << QVariant(0);
    QTest::newRow("applicant name") << "meeting" << QByteArray(R"({"applicant": {"id": 2, "name": "bob"}})")
                                    << "applicantName" << QVariant(QStringLiteral("bob"));
    QTest::newRow("participant avatar address") << "participant" << QByteArray(R"({"userId": 25})") << "avatarUrl"
                                                << QVariant(kServer + "/userFiles/avatar/25.jpg?v=t%26k%251");
    QTest::newRow("participant time") << "participant" << QByteArray(R"({"userLastModifiedTime": 1796910466964.7})")
                                      << "userLastModifiedTime" << QVariant(qint64(1796910466964));
}

void TestUcmData::readsFields()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, json);
    QFETCH(QString, field);
    QFETCH(QVariant, expected);
    QCOMPARE(fieldOf(kind, json, field), expected);
}

void TestUcmData::buildsBodies()
{
    const QJsonObject contact = object(CUCMApiManager::buildPostContactJson(42));
    QCOMPARE(contact.value("id").toInt(), -1);
    QCOMPARE(contact.value("userId").toInt(), 42);
    for (const char *key : {"name", "email", "telephone", "cellphone"}) {
        QVERIFY2(contact.value(key).isString() && contact.value(key).toString().isEmpty(), key);
    }

    ucmconferenceRequest request;
    request.name = QStringLiteral("Überprüfung \"Q3\"");
    request.startTime = 1796910466964;
    request.duration = 3600000;
    request.userIds = {3, 1};
    request.id = 12;
    request.numericId = 80012;
    const QJsonObject post = object(CUCMApiManager::buildPostConferenceJson(request));
    QCOMPARE(post.value("name").toString(), request.name);
    QCOMPARE(qint64(post.value("startTime").toDouble()), request.startTime);
    QCOMPARE(post.value("userIds").toArray(), (QJsonArray{3, 1}));
    QVERIFY(!post.contains("id"));
    QVERIFY(!post.contains("numericId"));
    const QJsonObject put = object(CUCMApiManager::buildPutConferenceJson(request));
    QCOMPARE(put.value("id").toInt(), 12);
    QCOMPARE(put.value("numericId").toInt(), 80012);
    QCOMPARE(put.value("remarks").toString(), QString());
    request.userIds.clear();
    QCOMPARE(object(CUCMApiManager::buildPostConferenceJson(request)).value("userIds").toArray(), QJsonArray());
}

void TestUcmData::meetingNumberOfDialString_data()
{
    QTest::addColumn<QString>("dial");
    QTest::addColumn<QString>("number");
    QTest::newRow("plain") << "80001"
                           << "80001";
    QTest::newRow("password") << "80001*4711"
                              << "80001";
    QTest::newRow("server") << "80001@meet.example"
                            << "80001";
    QTest::newRow("both") << " 80001*4711@meet.example"
                          << "80001";
    QTest::newRow("empty") << ""
                           << "";
}

void TestUcmData::meetingNumberOfDialString()
{
    QFETCH(QString, dial);
    QFETCH(QString, number);
    QCOMPARE(CUCMApiManager::meetingNumberOf(dial), number);
}

QTEST_GUILESS_MAIN(TestUcmData)
#include "tst_ucmdata.moc"
