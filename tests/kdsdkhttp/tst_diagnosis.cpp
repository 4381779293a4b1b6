#include <QElapsedTimer>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::models::CKDSdkManager;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer",
         "sipUserName": "6001", "sipAuthName": "6001", "sipPassword": "Sip6001!"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Standup", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1]}
    ]
})";

// Probes come this often in the test, so that a report fills in quickly.
const int kProbePeriodMs = 100;

const KDDiagStream &audio(const KDDiag &diag)
{
    return diag.call.streams[0];
}

} // namespace

// The network report the engine measures against a real server: what the
// probes find, what a sign-in and a SIP registration add, and that asking
// for it never waits for the network.
class TestDiagnosis : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void beforeAnyServerNothingIsReported();
    void signedInWithoutCall();
    void stoppedServerTimesOut();
    void slowProbesWorsenTheCallsRows();
    void silentServerDuringACall();
    void reportNeverWaitsForTheNetwork();
    void reportHoldsNoSecret();
    void sipRegistration_data();
    void sipRegistration();

private:
    bool signIn();
    bool joinCall();
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_server->port()); }

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CKDSdkManager *m_manager = nullptr;
    kd::sdk::IEngineControl *m_control = nullptr;
    QByteArray m_token; // of the latest sign-in
};

void TestDiagnosis::init()
{
    QString error;
    QVERIFY2(m_store.loadSeed(kSeed, &error), qPrintable(error));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    m_control->setDiagProbePeriod(kProbePeriodMs);
    QVERIFY(m_manager->enableSecure(false));
}

void TestDiagnosis::cleanup()
{
    CKDSdkManager::releaseInstance();
    m_server.reset();
}

bool TestDiagnosis::signIn()
{
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    const std::string wrapped = m_manager->encryptPassword(1, "Alice2026!");
    if (!m_manager->avlogin("127.0.0.1", unsigned(m_server->port()), "alice", wrapped.c_str())) {
        return false;
    }
    if (!logins.wait(5000) && logins.isEmpty()) {
        return false;
    }
    m_token = QByteArray::fromStdString(logins.first().first().value<KDUserInfo>().token);
    return true;
}

bool TestDiagnosis::joinCall()
{
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    if (!m_manager->dialOut("70001", true)) {
        return false;
    }
    return connected.wait(5000) || !connected.isEmpty();
}

void TestDiagnosis::beforeAnyServerNothingIsReported()
{
    const KDDiag diag = m_manager->getDiag();
    QCOMPARE(diag.items[0].status, 0);
    QCOMPARE(diag.items[2].status, 0);
    QCOMPARE(diag.call.item.status, 0);
    QCOMPARE(diag.advice, 0);
}

void TestDiagnosis::signedInWithoutCall()
{
    AVFeature feature;
    QVERIFY(m_manager->getFeature("127.0.0.1", unsigned(m_server->port()), feature));
    // The server answers, nobody has signed in yet.
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->getDiag().items[0].status, 2, kdtest::kStateWaitMs);

    QVERIFY(signIn());
    const KDDiag diag = m_manager->getDiag();
    QCOMPARE(QString::fromStdString(diag.items[0].name), server());
    QCOMPARE(diag.items[0].status, 1);
    QCOMPARE(diag.items[2].status, 1);
    QCOMPARE(diag.call.item.status, 0);
    QCOMPARE(audio(diag).item.status, 0);
    QCOMPARE(diag.advice, 0);
}

void TestDiagnosis::stoppedServerTimesOut()
{
    QVERIFY(signIn());
    m_server->stop();
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->getDiag().items[0].status, 4, kdtest::kStateWaitMs);
    const KDDiag diag = m_manager->getDiag();
    QCOMPARE(diag.advice, 2);
    QCOMPARE(QString::fromStdString(diag.adviceParam), server());
    QVERIFY(QByteArray::fromStdString(m_manager->getDiagString()).contains("advice: 2"));
}

void TestDiagnosis::slowProbesWorsenTheCallsRows()
{
    QVERIFY(signIn());
    QVERIFY(joinCall());
    QTRY_COMPARE_WITH_TIMEOUT(audio(m_manager->getDiag()).item.status, 1, kdtest::kStateWaitMs);
    KDDiag diag = m_manager->getDiag();
    QCOMPARE(diag.call.item.status, 1);
    QCOMPARE(audio(diag).media[0].items[0].status, 1);
    QCOMPARE(audio(diag).media[1].items[1].status, 1);
    // The first transfer measures the rates against the call rate.
    QTRY_VERIFY_WITH_TIMEOUT(m_manager->getDiag().call.roles[0].item.status != 0, kdtest::kStateWaitMs);
    QVERIFY(m_manager->getDiag().call.roles[1].item.status != 0);

    CFault slow;
    slow.route = "ping";
    slow.kind = CFault::Kind::Delay;
    slow.value = 500;
    m_server->addFault(slow);
    // The delay is the median of the kept probes: once most are slow it is poor.
    QTRY_COMPARE_WITH_TIMEOUT(audio(m_manager->getDiag()).item.status, 3, kdtest::kStateWaitMs);
    diag = m_manager->getDiag();
    QCOMPARE(audio(diag).media[0].items[0].status, 3);
    QVERIFY(QString::fromStdString(audio(diag).item.name).endsWith(" ms"));
    QVERIFY(QString::fromStdString(audio(diag).item.name).section(' ', 0, 0).toInt() >= 400);
    QCOMPARE(diag.advice, 0);
    QVERIFY(m_manager->hangUp());
}

void TestDiagnosis::silentServerDuringACall()
{
    QVERIFY(signIn());
    QVERIFY(joinCall());
    CFault lost;
    lost.route = "ping";
    lost.kind = CFault::Kind::Drop;
    m_server->addFault(lost);
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->getDiag().advice, 3, kdtest::kStateWaitMs);
    const KDDiag diag = m_manager->getDiag();
    QCOMPARE(audio(diag).media[0].items[1].status, 3);
}

void TestDiagnosis::reportNeverWaitsForTheNetwork()
{
    QVERIFY(signIn());
    QVERIFY(joinCall());
    CFault stalled;
    stalled.route = "ping";
    stalled.kind = CFault::Kind::Delay;
    stalled.value = 5000;
    m_server->addFault(stalled);
    m_control->setDiagProbePeriod(10);
    QTest::qWait(50);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20; ++i) {
        m_manager->getDiag();
        m_manager->getDiagString();
    }
    // Twenty of each in well under one probe's limit: none of them waited.
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
}

// The text a user copies from the report and sends on: in a call, after
// the rate transfers, it holds neither the sign-in token nor the password.
void TestDiagnosis::reportHoldsNoSecret()
{
    QVERIFY(signIn());
    QVERIFY(m_token.size() >= 16);
    QVERIFY(joinCall());
    QTRY_VERIFY_WITH_TIMEOUT(m_manager->getDiag().call.roles[0].item.status != 0, kdtest::kStateWaitMs);
    const QByteArray text = QByteArray::fromStdString(m_manager->getDiagString());
    QVERIFY(text.contains(server().toUtf8()));
    for (const QByteArray &secret : {m_token, m_token.left(8), QByteArray("Alice2026!")}) {
        QVERIFY2(!text.contains(secret), text.constData());
    }
    QVERIFY(m_manager->hangUp());
}

void TestDiagnosis::sipRegistration_data()
{
    QTest::addColumn<QString>("host"); // "" for the test server
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<bool>("registered");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("advice");

    QTest::newRow("right password") << QString() << QByteArray("Sip6001!") << true << 1 << 0;
    QTest::newRow("wrong password") << QString() << QByteArray("sip6001") << false << 5 << 0;
    QTest::newRow("nobody listens") << QString("127.0.0.1:1") << QByteArray("Sip6001!") << false << 4 << 2;
    QTest::newRow("name not resolved") << QString("sip.invalid") << QByteArray("Sip6001!") << false << 4 << 1;
}

// A guest's SIP account registers with the server it names; the outcome
// reaches the registration row, and why it failed the advice.
void TestDiagnosis::sipRegistration()
{
    QFETCH(QString, host);
    QFETCH(QByteArray, password);
    QFETCH(bool, registered);
    QFETCH(int, status);
    QFETCH(int, advice);

    const QString sipServer = host.isEmpty() ? server() : host;
    QVERIFY(m_manager->registerSIPServer(sipServer.toUtf8().constData(), "Guest", "6001", password.constData(), "TCP"));
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->getDiag().items[2].status, status, kdtest::kStateWaitMs);
    KDRegisterInfo info;
    QVERIFY(m_manager->getRegisterInfo(KD_CALL_TYPE_SIP, info));
    QCOMPARE(info.state, registered ? int(KD_REGISTER_OK) : int(KD_REGISTER_FAILED));
    QCOMPARE(m_store.isSipRegistered("6001"), registered);
    const KDDiag diag = m_manager->getDiag();
    QCOMPARE(QString::fromStdString(diag.items[2].name), sipServer);
    QCOMPARE(diag.advice, advice);
    QVERIFY(!QByteArray::fromStdString(m_manager->getDiagString()).contains(password));

    if (registered) {
        QVERIFY(m_manager->unregisterSIPServer());
        QTRY_VERIFY_WITH_TIMEOUT(!m_store.isSipRegistered("6001"), kdtest::kStateWaitMs);
    }
}

QTEST_MAIN(TestDiagnosis)
#include "tst_diagnosis.moc"
