#include <QApplication>
#include <QComboBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "demojoin.h"
#include "homefixture.h"
#include "ownxvfb.h"
#include "views/call/callinvitewidget.h"
#include "views/call/callwaitingwidget.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/home/chomedlg.h"
#include "views/home/cjoinconfdlg.h"

using kd_app::models::CCallController;
using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutBackgroundDlg;
namespace enums = kd_app::enums;
using demojoin::joinWhenAsked;

namespace {

CLayoutBackgroundDlg *callWindow()
{
    return CLayoutBackgroundDlg::getInstance();
}

CCallController &calls()
{
    return CCallController::getInstance();
}

bool hangUpAndWait()
{
    calls().hangUp();
    return QTest::qWaitFor([] { return calls().getCallStatus() == enums::Ended; }, 5000);
}

} // namespace

// The program's windows against the local server on a screen of their own:
// joining from the home window, the call window through a whole call, a call
// rung from the server, and many calls in a row.
class TestCallWindowFlow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void joinFromHomeTicksAndRates();
    void ringFromTheServerAnswerAndHangUp();
    void ringDuringACallIsRefusedAtOnce();
    void waitQueueCountsDownThenConnects();
    void manyCallsLeaveNoWindowsBehind();

private:
    bool ring(const QString &from, bool audioOnly);

    CHomeFixture m_fixture;
    QNetworkAccessManager m_network;
};

void TestCallWindowFlow::initTestCase()
{
    QVERIFY(m_fixture.start(serverSeed("demo.json")));
}

void TestCallWindowFlow::init()
{
    QVERIFY(m_fixture.signIn("demo", "Demo2026!", serverSeed("demo.json")));
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());
}

void TestCallWindowFlow::cleanup()
{
    m_fixture.server().clearFaults();
    m_fixture.signOut();
}

bool TestCallWindowFlow::ring(const QString &from, bool audioOnly)
{
    QNetworkRequest request(QUrl(QString("http://127.0.0.1:%1/api/engine/v1/ring").arg(m_fixture.server().port())));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    const QJsonObject body{{"account", "demo"}, {"from", from}, {"number", "80001"}, {"audioOnly", audioOnly}};
    QNetworkReply *reply = m_network.post(request, QJsonDocument(body).toJson());
    const bool answered = QTest::qWaitFor([reply] { return reply->isFinished(); }, 5000);
    const bool ok = answered && reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    return ok;
}

void TestCallWindowFlow::joinFromHomeTicksAndRates()
{
    kd::sdk::currentEngineControl()->setNetworkRatingPeriod(300);
    joinWhenAsked();
    CHomeDlg::getInstance()->slotJoinConf("80001", QString(), false, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QTRY_VERIFY(callWindow()->isVisible());
    QVERIFY(!CHomeDlg::getInstance()->isVisible());
    QVERIFY(callWindow()->getLayoutPeopleSettingDlg()->isVisible());
    QCOMPARE(callWindow()->findChild<QLabel *>("m_pLblConfNumber")->text(), QString("Morning dispatch stand-up"));
    auto *duration = callWindow()->findChild<QLabel *>("m_pLblCallDuration");
    // Whole seconds of the call's clock: a busy machine may skip one.
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QString("00:00:01"), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(duration->text() >= QString("00:00:02"), 30000);

    // A quick local server rates best; a slow answer about the meeting lowers it.
    QTRY_COMPARE_WITH_TIMEOUT(callWindow()->getNetworkQuality(), 5, 30000);
    confserver::CFault slow;
    QVERIFY(confserver::CFault::parse("meetings/80001:delay:700", &slow));
    m_fixture.server().addFault(slow);
    QTRY_COMPARE_WITH_TIMEOUT(callWindow()->getNetworkQuality(), 2, 30000);
    m_fixture.server().clearFaults();
    QTRY_COMPARE_WITH_TIMEOUT(callWindow()->getNetworkQuality(), 5, 30000);

    QVERIFY(hangUpAndWait());
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());
    QVERIFY(!callWindow()->isVisible());
    kd::sdk::currentEngineControl()->setNetworkRatingPeriod(5000);
}

void TestCallWindowFlow::ringFromTheServerAnswerAndHangUp()
{
    // No message may interrupt the call; one would be answered and counted.
    CAlertAnswerer alerts(QMessageBox::Ok, 100);
    QVERIFY(ring("Carol Lee", false));
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::ConfIncoming, kdtest::kStateWaitMs);
    QTRY_VERIFY(callWindow()->isVisible());
    kd_app::views::CallInviteWidget *invite = callWindow()->getCallInviteWidget();
    QTRY_VERIFY(invite->isVisible());
    QCOMPARE(invite->findChild<QLabel *>("confNumber")->text(), QString("Carol Lee"));
    QTest::mouseClick(invite->findChild<QPushButton *>("m_pBtnVideoAccept"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QVERIFY(!invite->isVisible());
    QCOMPARE(callWindow()->findChild<QLabel *>("m_pLblConfNumber")->text(), QString("Carol Lee"));
    QVERIFY(hangUpAndWait());
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());

    // A ring nobody answers in time ends by itself: the engine is free again.
    // The statuses are recorded as they change: a busy machine may take
    // both the ring and its end in one go, before a poll could see the ring.
    kd::sdk::currentEngineControl()->setRingTimeout(500);
    QList<enums::CallStatus> statuses;
    const QMetaObject::Connection recorder =
        connect(&calls(), &CCallController::sigCallStatusChanged, this,
                [&statuses](enums::CallStatus status) { statuses << status; });
    QVERIFY(ring("Dan", true));
    QTRY_VERIFY_WITH_TIMEOUT(statuses.contains(enums::Ended), 30000);
    disconnect(recorder);
    QCOMPARE(statuses.first(), enums::ConfIncoming);
    QTRY_VERIFY(CHomeDlg::getInstance()->isVisible());
    kd::sdk::currentEngineControl()->setRingTimeout(45000);
    QCOMPARE(alerts.texts(), QStringList());
}

// The engine holds one call: a second ring is refused while the first call
// runs, and never arrives after it as a call whose caller has long gone.
void TestCallWindowFlow::ringDuringACallIsRefusedAtOnce()
{
    calls().dialOut("80001", QString(), true, QString());
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QVERIFY(ring("Eve", false));
    QVERIFY(m_fixture.store().hasWaitingRing());
    // The engine looks for calls every 2 s, in a call too.
    QTRY_VERIFY_WITH_TIMEOUT(!m_fixture.store().hasWaitingRing(), kdtest::kStateWaitMs);
    QCoreApplication::processEvents();
    QCOMPARE(calls().getCallStatus(), enums::Connected);
    QVERIFY(!callWindow()->getCallInviteWidget()->isVisible());
    QVERIFY(hangUpAndWait());

    // The next ring after the call is the next caller's, and rings at once.
    QVERIFY(ring("Fay", false));
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::ConfIncoming, kdtest::kStateWaitMs);
    QTRY_VERIFY(callWindow()->getCallInviteWidget()->isVisible());
    QCOMPARE(callWindow()->getCallInviteWidget()->findChild<QLabel *>("confNumber")->text(), QString("Fay"));
    calls().declineCall();
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Ended, kdtest::kStateWaitMs);
}

void TestCallWindowFlow::waitQueueCountsDownThenConnects()
{
    kd_app::views::CallWaitingWidget *waiting = callWindow()->getCallWaitingWidget();
    auto *count = waiting->findChild<QLabel *>("peopleNumber");
    // What the panel showed at each step of the queue, and the call's status
    // then: a busy machine may take two steps in one go.
    QStringList shown;
    QList<enums::CallStatus> statusesShown;
    const QMetaObject::Connection recorder = connect(&calls(), &CCallController::sigWaitQueue, this, [&] {
        shown << count->text();
        statusesShown << calls().getCallStatus();
    });
    calls().dialOut("80004", QString(), true, QString());
    QTRY_VERIFY(waiting->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty() && shown.last().contains("1"), 30000);
    disconnect(recorder);
    QVERIFY2(shown.first().contains("3"), qPrintable(shown.join(", ")));
    QCOMPARE(statusesShown.last(), enums::Dialing);
    QTRY_COMPARE_WITH_TIMEOUT(calls().getCallStatus(), enums::Connected, 30000);
    QVERIFY(!waiting->isVisible());
    QVERIFY(hangUpAndWait());
}

void TestCallWindowFlow::manyCallsLeaveNoWindowsBehind()
{
    // Calls this quick may outrun the meetings page's own requests, whose
    // refusals the home window reports; they are answered here.
    CAlertAnswerer alerts(QMessageBox::Ok, 1000);
    const auto cycle = [] {
        calls().dialOut("80001", QString(), true, QString());
        if (!QTest::qWaitFor([] { return calls().getCallStatus() == enums::Connected; }, 8000)) {
            return false;
        }
        QCoreApplication::processEvents();
        return hangUpAndWait();
    };
    // The first call makes the windows every call uses.
    QVERIFY(cycle());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int windows = QApplication::topLevelWidgets().size();
    // Against the server; the hundred calls run on the engine's model in the window's own test.
    for (int i = 0; i < 10; ++i) {
        QVERIFY2(cycle(), qPrintable(QString("call %1").arg(i)));
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(QApplication::topLevelWidgets().size(), windows);
}

KD_OWN_XVFB_TEST_MAIN(TestCallWindowFlow)

#include "tst_callwindowflow.moc"
