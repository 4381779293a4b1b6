#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "models/clinguist.h"
#include "models/cucmapimanager.h"
#include "testseed.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::models::CLinguist;
using kd_app::models::CUCMApiManager;

Q_DECLARE_METATYPE(CFault::Kind)

class TestUcmApiManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void succeeds_data();
    void succeeds();
    void faultsNeverHang_data();
    void faultsNeverHang();
    void expiredTokenIsRefreshed();
    void blankTokenOrIdSendsNothing();
    void secondMeetingsQueryWaitsForTheFirst();
    void participantsQueryDuringAnotherSendsNothing();
    void refusedQueryKeepsTheServer();
    void answerSurvivesAWindowLoopPastTheLimit();
    void idsAndTokensStayInTheirPlace();
    void errorsOfObjectReplies();
    void verifiesCertificates();
    void retranslatesErrorTexts();

private:
    CUCMApiManager *api() { return CUCMApiManager::getInstance(); }
    QString refreshToken(const QString &token);
    // The next request on the route is answered 400 ms late.
    void delayNextReply(const std::string &route);

    std::unique_ptr<CConfStore> m_store;
    std::unique_ptr<CConfServer> m_server;
    QString m_url;
    QString m_token;
};

void TestUcmApiManager::initTestCase()
{
    // One server for all cases: stopping one waits for its idle connections.
    m_store = std::make_unique<CConfStore>();
    m_server = std::make_unique<CConfServer>(*m_store);
    QVERIFY(m_server->start());
    m_url = m_server->baseUrl();
}

void TestUcmApiManager::init()
{
    QVERIFY(m_store->loadSeed(testSeed()));
    m_server->clearFaults();
    m_token = m_store->issueToken(1);
}

void TestUcmApiManager::succeeds_data()
{
    QTest::addColumn<QString>("operation");
    for (const char *operation :
         {"users", "user", "contacts", "postContact", "deleteContact", "conferences", "postConference", "putConference",
          "deleteConference", "terminateConference", "participants"}) {
        QTest::newRow(operation) << QString::fromLatin1(operation);
    }
}

void TestUcmApiManager::succeeds()
{
    QFETCH(QString, operation);
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    ucmconferenceRequest meeting;
    meeting.name = QStringLiteral("Planning ✓");
    meeting.startTime = QDateTime::currentMSecsSinceEpoch() + 3600000;
    meeting.duration = 1800000;
    meeting.userIds = {1, 3};

    std::unique_ptr<QSignalSpy> success;
    std::function<void()> check;
    if (operation == "users") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_getUsers_succeed);
        api()->getUsers(m_url, m_token);
        check = [this] {
            QCOMPARE(api()->getUserList().size(), 3);
            QCOMPARE(api()->getUserList().at(0).displayName, QStringLiteral("Alice Ärger"));
            QCOMPARE(api()->getUserList().at(0).imageURL, m_url + "/userFiles/avatar/1.jpg");
        };
    } else if (operation == "user") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_getUser_succeed);
        api()->getUser(m_url, m_token, "3");
        check = [this] { QCOMPARE(api()->getUserInfo().name, QStringLiteral("carol")); };
    } else if (operation == "contacts") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_getContacts_succeed);
        api()->getContacts(m_url, m_token);
        check = [this] {
            QCOMPARE(api()->getContactList().size(), 1);
            QCOMPARE(api()->getContactList().at(0).userId, 2);
        };
    } else if (operation == "postContact") {
        api()->getContacts(m_url, m_token);
        QTRY_COMPARE(api()->getContactList().size(), 1);
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_addContact_succeed);
        api()->postContact(m_url, m_token, 3);
        check = [this] {
            QCOMPARE(api()->getAddedContact().userId, 3);
            QCOMPARE(api()->getContactList().size(), 2);
            QCOMPARE(m_store->contacts(m_token).value.toArray().size(), 2);
        };
    } else if (operation == "deleteContact") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_deleteContact_succeed);
        api()->deleteContact(m_url, m_token, "1", "2");
        check = [this] {
            QCOMPARE(api()->getDeletedContactId(), QStringLiteral("2"));
            QCOMPARE(m_store->contacts(m_token).value.toArray().size(), 0);
        };
    } else if (operation == "conferences") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_getConferences_succeed);
        api()->getConferences(m_url, m_token);
        check = [this] {
            QCOMPARE(api()->getConferenceList().size(), 3);
            QCOMPARE(api()->getConferenceList().at(0).status, QStringLiteral("ONGOING"));
            QCOMPARE(api()->getConferenceList().at(0).userIds, (QList<int>{1, 2}));
        };
    } else if (operation == "postConference") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_addConference_succeed);
        api()->postConference(m_url, m_token, meeting);
        check = [this, meeting] {
            const QJsonArray meetings = m_store->meetings(m_token).value.toArray();
            QCOMPARE(meetings.size(), 4);
            QCOMPARE(meetings.last().toObject().value("name").toString(), meeting.name);
        };
    } else if (operation == "putConference") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_putConference_succeed);
        meeting.id = 2;
        meeting.numericId = 70002;
        meeting.startTime = QDateTime::currentMSecsSinceEpoch();
        api()->putConference(m_url, m_token, meeting);
        check = [this] {
            const QJsonObject edited = m_store->meetings(m_token).value.toArray().at(1).toObject();
            QCOMPARE(edited.value("name").toString(), QStringLiteral("Planning ✓"));
            QCOMPARE(edited.value("status").toString(), QStringLiteral("ONGOING"));
        };
    } else if (operation == "deleteConference") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_deleteConference_succeed);
        api()->deleteConference(m_url, m_token, "2");
        check = [this] { QCOMPARE(m_store->meetings(m_token).value.toArray().size(), 2); };
    } else if (operation == "terminateConference") {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_terminateConference_succeed);
        api()->terminateConference(m_url, m_token, "1");
        check = [this] { QCOMPARE(m_store->participants(m_token, "70001").errorCode, 3070); };
    } else {
        success = std::make_unique<QSignalSpy>(api(), &CUCMApiManager::signal_getParticipants_succeed);
        api()->getParticipants(m_url, m_token, "70001*1234@meet.example");
        check = [this] {
            QCOMPARE(api()->getParticipantList().size(), 2);
            QCOMPARE(api()->getParticipantList().at(1).name, QStringLiteral("Bob"));
            QVERIFY(api()->getParticipantList().at(1).avatarUrl.startsWith(m_url + "/userFiles/avatar/2.jpg?v="));
        };
    }
    QTRY_COMPARE_WITH_TIMEOUT(success->count(), 1, kdtest::kStateWaitMs);
    QCOMPARE(errors.count(), 0);
    check();
}

void TestUcmApiManager::faultsNeverHang_data()
{
    QTest::addColumn<CFault::Kind>("kind");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("errorCode");
    QTest::addColumn<QString>("errorText");

    QTest::newRow("slower than the limit") << CFault::Kind::Delay << 7000 << -1 << QString();
    QTest::newRow("known error code") << CFault::Kind::ErrorCode << 1999 << 1999 << "Internal error(%1).";
    QTest::newRow("unknown error code") << CFault::Kind::ErrorCode << 4242 << 4242 << "Injected error(%1)";
    // The client's own certificate failure uses this number too.
    QTest::newRow("unknown code 6") << CFault::Kind::ErrorCode << CUCMApiManager::kCertificateErrorCode
                                    << CUCMApiManager::kCertificateErrorCode << "Injected error(%1)";
    QTest::newRow("status 500") << CFault::Kind::Http500 << 0 << -1 << QString();
    QTest::newRow("not JSON") << CFault::Kind::NotJson << 0 << -1 << QString();
    QTest::newRow("dropped connection") << CFault::Kind::Drop << 0 << -1 << QString();
}

void TestUcmApiManager::faultsNeverHang()
{
    QFETCH(CFault::Kind, kind);
    QFETCH(int, value);
    QFETCH(int, errorCode);
    QFETCH(QString, errorText);

    // The cached list must survive a failed query.
    api()->getConferences(m_url, m_token);
    QTRY_COMPARE(api()->getConferenceList().size(), 3);
    QCoreApplication::sendPostedEvents();
    QTest::qWait(50);

    CFault fault;
    fault.route = "/meetings";
    fault.kind = kind;
    fault.value = value;
    m_server->addFault(fault);
    QSignalSpy success(api(), &CUCMApiManager::signal_getConferences_succeed);
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QElapsedTimer elapsed;
    elapsed.start();
    api()->getConferences(m_url, m_token);
    QVERIFY2(elapsed.elapsed() < CUCMApiManager::kReplyTimeoutMs + 1000,
             qPrintable(QString::number(elapsed.elapsed())));
    if (errorCode >= 0) {
        QTRY_COMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toInt(), errorCode);
        QCOMPARE(errors.at(0).at(1).toString(), errorText);
    } else {
        QTest::qWait(200);
        QCOMPARE(errors.count(), 0);
    }
    QCOMPARE(success.count(), 0);
    QCOMPARE(api()->getConferenceList().size(), 3);
}

QString TestUcmApiManager::refreshToken(const QString &token)
{
    QNetworkAccessManager manager;
    QNetworkReply *reply = manager.get(QNetworkRequest(QUrl(m_url + "/api/engine/v1/user?token=" + token)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    finished.wait(3000);
    reply->deleteLater();
    return QJsonDocument::fromJson(reply->readAll()).object().value("token").toString();
}

void TestUcmApiManager::expiredTokenIsRefreshed()
{
    m_store->expireToken(m_token);
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QSignalSpy success(api(), &CUCMApiManager::signal_getUsers_succeed);
    api()->getUsers(m_url, m_token);
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), 1010);
    QCOMPARE(errors.at(0).at(1).toString(), QStringLiteral("Invalid token(%1)."));

    const QString renewed = refreshToken(m_token);
    QVERIFY(!renewed.isEmpty());
    QVERIFY(renewed != m_token);
    api()->getUsers(m_url, renewed);
    QTRY_COMPARE(success.count(), 1);
    QCOMPARE(errors.count(), 1);
}

void TestUcmApiManager::blankTokenOrIdSendsNothing()
{
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QSignalSpy deleted(api(), &CUCMApiManager::signal_deleteContact_succeed);
    QSignalSpy users(api(), &CUCMApiManager::signal_getUsers_succeed);
    api()->deleteContact(m_url, "  ", "1", "2");
    QCOMPARE(api()->getDeletedContactId(), QStringLiteral("2"));
    api()->deleteContact(m_url, m_token, " ", "3");
    QCOMPARE(api()->getDeletedContactId(), QStringLiteral("3"));
    api()->getUsers(m_url, "\t ");
    QTest::qWait(200);
    QCOMPARE(errors.count() + deleted.count() + users.count(), 0);
    QCOMPARE(m_store->contacts(m_token).value.toArray().size(), 1);
}

void TestUcmApiManager::delayNextReply(const std::string &route)
{
    CFault slow;
    slow.route = route;
    slow.kind = CFault::Kind::Delay;
    slow.value = 400;
    slow.times = 1;
    m_server->addFault(slow);
}

void TestUcmApiManager::secondMeetingsQueryWaitsForTheFirst()
{
    delayNextReply("/meetings");
    QSignalSpy success(api(), &CUCMApiManager::signal_getConferences_succeed);
    QTimer::singleShot(100, this, [this] { api()->getConferences(m_url, m_token); });
    api()->getConferences(m_url, m_token);
    QTest::qWait(300);
    QCOMPARE(success.count(), 1);
    api()->getConferences(m_url, m_token);
    QTRY_COMPARE(success.count(), 2);
}

// The attendee poll and a token renewal both ask for the list; one asking
// while the other waits must neither send a second request nor nest a second
// wait inside the first.
void TestUcmApiManager::participantsQueryDuringAnotherSendsNothing()
{
    const std::string route = "/simpleparticipants";
    const size_t before = m_server->requestsTo(route).size();
    delayNextReply(route);
    QSignalSpy success(api(), &CUCMApiManager::signal_getParticipants_succeed);
    bool nestedReturned = false;
    QTimer::singleShot(0, this, [this, &nestedReturned] {
        api()->getParticipants(m_url, m_token, "70001");
        nestedReturned = true;
    });
    api()->getParticipants(m_url, m_token, "70001");
    QVERIFY(nestedReturned);
    QCOMPARE(m_server->requestsTo(route).size(), before + 1);
    QTRY_COMPARE(success.count(), 1);
    // Once the first has its answer, the next poll goes out.
    api()->getParticipants(m_url, m_token, "70001");
    QCOMPARE(m_server->requestsTo(route).size(), before + 2);
    QTRY_COMPARE(success.count(), 2);
}

void TestUcmApiManager::refusedQueryKeepsTheServer()
{
    delayNextReply("/users");
    QSignalSpy success(api(), &CUCMApiManager::signal_getUsers_succeed);
    // Refused while the first waits, so its server must not name the pictures.
    QTimer::singleShot(100, this, [this] { api()->getUsers("http://elsewhere.example", m_token); });
    api()->getUsers(m_url, m_token);
    QTRY_COMPARE(success.count(), 1);
    QCOMPARE(api()->getUserList().at(0).imageURL, m_url + "/userFiles/avatar/1.jpg");
}

void TestUcmApiManager::answerSurvivesAWindowLoopPastTheLimit()
{
    // A window opens a modal box from inside a request's wait (an earlier
    // request's queued error), and the user closes it only after the
    // request's limit: the answer came and was handled inside the box's loop.
    api()->clearUserList();
    QSignalSpy success(api(), &CUCMApiManager::signal_getUsers_succeed);
    QElapsedTimer boxOpen;
    QTimer::singleShot(0, this, [&] {
        boxOpen.start();
        QEventLoop box;
        QTimer poll;
        connect(&poll, &QTimer::timeout, &box, [&] {
            if (success.count() > 0 && boxOpen.elapsed() > CUCMApiManager::kReplyTimeoutMs + 300) {
                box.quit();
            }
        });
        poll.start(20);
        box.exec();
    });
    api()->getUsers(m_url, m_token);
    QVERIFY(boxOpen.elapsed() > CUCMApiManager::kReplyTimeoutMs);
    QCOMPARE(success.count(), 1);
    QCOMPARE(api()->getUserList().size(), 3);
    // The kind of request is free again.
    api()->getUsers(m_url, m_token);
    QTRY_COMPARE(success.count(), 2);
}

void TestUcmApiManager::idsAndTokensStayInTheirPlace()
{
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QSignalSpy user(api(), &CUCMApiManager::signal_getUser_succeed);
    // Pasted into the address as text these would ask for another user or
    // carry another token.
    api()->getUser(m_url, m_token, "2?token=x&");
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), 1020);
    api()->getUser(m_url, m_token + "&token=" + m_token, "2");
    QTRY_COMPARE(errors.count(), 2);
    QCOMPARE(errors.at(1).at(0).toInt(), 1010);
    const QString withPercent = m_store->issueToken(1) + "%1";
    api()->getUser(m_url, withPercent, "2");
    QTRY_COMPARE(errors.count(), 3);
    QCOMPARE(user.count(), 0);
}

void TestUcmApiManager::errorsOfObjectReplies()
{
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QSignalSpy deleted(api(), &CUCMApiManager::signal_deleteConference_succeed);
    api()->deleteConference(m_url, m_token, "1");
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), 3040);
    api()->deleteConference(m_url, m_token, "3");
    QTRY_COMPARE(errors.count(), 2);
    QCOMPARE(errors.at(1).at(0).toInt(), 1040);
    api()->deleteConference(m_url, m_token, "99");
    QTRY_COMPARE(errors.count(), 3);
    QCOMPARE(errors.at(2).at(1).toString(), QStringLiteral("Meeting does not exist(%1)."));
    QCOMPARE(deleted.count(), 0);
}

void TestUcmApiManager::verifiesCertificates()
{
    CConfServer trusted(*m_store, true);
    QVERIFY(trusted.start());
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    QSignalSpy success(api(), &CUCMApiManager::signal_getUsers_succeed);
    api()->getUsers(trusted.baseUrl(), m_token);
    QTRY_COMPARE(success.count(), 1);
    QCOMPARE(errors.count(), 0);

    // A certificate from an authority the client does not know.
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", dir.filePath("key.pem"), "-out",
                              dir.filePath("cert.pem")});
    QVERIFY(openssl.waitForFinished(20000));
    QCOMPARE(openssl.exitCode(), 0);
    CConfServer stranger(*m_store, true, dir.filePath("cert.pem").toStdString(), dir.filePath("key.pem").toStdString());
    QVERIFY(stranger.start());
    api()->getUsers(stranger.baseUrl(), m_token);
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(0).toInt(), CUCMApiManager::kCertificateErrorCode);
    QVERIFY(errors.at(0).at(1).toString().contains("certificate"));
    QCOMPARE(success.count(), 1);
}

namespace {

// Stands for a loaded language: shouts every text of the REST client.
class CShoutingTranslator : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QByteArray(context) == "kd_app::models::CUCMApiManager" ? QString::fromUtf8(source).toUpper()
                                                                       : QString();
    }
};

} // namespace

void TestUcmApiManager::retranslatesErrorTexts()
{
    CShoutingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    emit CLinguist::getInstance()->sigLanguageChanged();
    QSignalSpy errors(api(), &CUCMApiManager::signal_ucmapi_error);
    api()->deleteConference(m_url, m_token, "99");
    QCoreApplication::removeTranslator(&translator);
    emit CLinguist::getInstance()->sigLanguageChanged();
    QTRY_COMPARE(errors.count(), 1);
    QCOMPARE(errors.at(0).at(1).toString(), QStringLiteral("MEETING DOES NOT EXIST(%1)."));
    api()->deleteConference(m_url, m_token, "99");
    QTRY_COMPARE(errors.count(), 2);
    QCOMPARE(errors.at(1).at(1).toString(), QStringLiteral("Meeting does not exist(%1)."));
}

QTEST_MAIN(TestUcmApiManager)
#include "tst_ucmapimanager.moc"
