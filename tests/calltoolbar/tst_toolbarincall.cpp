#include <QJsonArray>
#include <QJsonObject>
#include <QThreadPool>
#include <QtTest>

#include "statewait.h"
#include "calltoolbarfixture.h"
#include "homefixture.h"
#include "ownxvfb.h"
#include "views/call/attendees/cattendeesbutton.h"
#include "views/call/attendees/cattendeeslistmodel.h"
#include "views/call/attendees/cattendeeslistview.h"
#include "views/call/attendees/cattendesswidgets.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/toolbar/clayouttoolbardlg.h"
#include "views/home/chomedlg.h"

using kd_app::models::CCallController;
using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutBackgroundDlg;
using kd_app::views::CLayoutToolbarDlg;
namespace enums = kd_app::enums;

namespace {

CCallController &calls()
{
    return CCallController::getInstance();
}

CLayoutToolbarDlg *toolbar()
{
    return qobject_cast<CLayoutToolbarDlg *>(
        CLayoutBackgroundDlg::getInstance()->getLayoutPeopleSettingDlg()->getToolbarDlg());
}

bool buttonShown(const char *name)
{
    return toolbar() && !toolbar()->button(name)->isHidden();
}

} // namespace

// The whole program against the local server over HTTP, on an X server of
// its own: the call window's toolbar offers the organiser of a meeting its
// management and anyone else the attendee list, which the server fills from
// who really joined and empties again when they leave.
class TestToolbarInCall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void organiserSeesAttendeesWithoutManagementPage();
    void memberSeesItselfAmongAttendees();

private:
    // The user ids the server lists as in meeting 80001.
    QList<int> serverList();
    bool join();
    bool hangUp();

    CHomeFixture m_fixture;
};

void TestToolbarInCall::initTestCase()
{
    QVERIFY(m_fixture.start(serverSeed("demo.json")));
}

void TestToolbarInCall::cleanup()
{
    m_fixture.signOut();
}

QList<int> TestToolbarInCall::serverList()
{
    confserver::CConfStore &store = m_fixture.store();
    const confserver::CResult listed = store.participants(store.issueToken(1), "80001");
    QList<int> userIds;
    for (const QJsonValue &participant : listed.value.toArray()) {
        userIds << participant.toObject().value("userId").toInt();
    }
    std::sort(userIds.begin(), userIds.end());
    return userIds;
}

bool TestToolbarInCall::join()
{
    calls().dialOut("80001", QString(), true, QString());
    return QTest::qWaitFor([] { return calls().getCallStatus() == enums::Connected; }, 8000) &&
           QTest::qWaitFor([] { return CLayoutBackgroundDlg::getInstance()->isVisible() && toolbar(); }, 5000);
}

bool TestToolbarInCall::hangUp()
{
    calls().hangUp();
    return QTest::qWaitFor([] { return calls().getCallStatus() == enums::Ended; }, 5000);
}

// The demo server has no conference-control page: its organiser would get
// a window with nothing to load, and sees who takes part instead.
void TestToolbarInCall::organiserSeesAttendeesWithoutManagementPage()
{
    QVERIFY(m_fixture.signIn("demo", "Demo2026!", serverSeed("demo.json")));
    QCOMPARE(serverList(), QList<int>({1, 2, 3}));

    QVERIFY(join());

    auto *button = qobject_cast<CAttendeesButton *>(toolbar()->button("m_pBtnAttendees"));
    QTRY_COMPARE_WITH_TIMEOUT(button->countText(), QString("3"), kdtest::kStateWaitMs);
    // The engine's answer whether the organiser may manage has come back.
    QVERIFY(QThreadPool::globalInstance()->waitForDone(10000));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(buttonShown("m_pBtnAttendees"));
    QVERIFY(!buttonShown("m_pBtnConfMngt"));

    QVERIFY(hangUp());
    // Demo's seeded entry was taken over by the join and goes with the leave.
    QTRY_COMPARE_WITH_TIMEOUT(serverList(), QList<int>({2, 3}), kdtest::kStateWaitMs);
}

void TestToolbarInCall::memberSeesItselfAmongAttendees()
{
    QVERIFY(m_fixture.signIn("lchen", "Harbour#2026", serverSeed("demo.json")));
    QVERIFY(join());
    QTRY_COMPARE_WITH_TIMEOUT(serverList(), QList<int>({1, 2, 3, 4}), kdtest::kStateWaitMs);

    QTRY_VERIFY_WITH_TIMEOUT(buttonShown("m_pBtnAttendees"), kdtest::kStateWaitMs);
    QVERIFY(!buttonShown("m_pBtnConfMngt"));
    auto *button = qobject_cast<CAttendeesButton *>(toolbar()->button("m_pBtnAttendees"));
    QTRY_COMPARE_WITH_TIMEOUT(button->countText(), QString("4"), kdtest::kStateWaitMs);
    QTest::mouseClick(button, Qt::LeftButton);
    QPointer<kd_app::views::CAttendessWidgets> window = toolbar()->attendeesWindow();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->tabText(true), QString("Video(3)"));
    QCOMPARE(window->tabText(false), QString("Audio(1)"));
    QVERIFY2(calltoolbar::attendeeNames(window->videoList()).contains(QString::fromUtf8("陈丽 (Li Chen)")),
             qPrintable(calltoolbar::attendeeNames(window->videoList()).join(", ")));
    QCOMPARE(calltoolbar::attendeeNames(window->audioList()), QStringList{"James Okafor"});

    QVERIFY(hangUp());
    QTRY_VERIFY(!window);
    QTRY_COMPARE_WITH_TIMEOUT(serverList(), QList<int>({1, 2, 3}), kdtest::kStateWaitMs);
}

KD_OWN_XVFB_TEST_MAIN(TestToolbarInCall)

#include "tst_toolbarincall.moc"
