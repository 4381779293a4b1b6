#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "homefixture.h"
#include "views/conferences/cconferencesdetailpage.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/conferences/cconferencesmyroompage.h"
#include "views/conferences/cconferencesschedulepage.h"
#include "views/conferences/cconferencesselectuserpage.h"
#include "views/conferences/cconferenceswidget.h"
#include "views/home/chomedlg.h"

using kd_app::models::CLoginManager;
using kd_app::models::CUCMApiManager;
using kd_app::views::CConferencesWidget;
using kd_app::views::CHomeDlg;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM"},
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice", "vmr": "9001"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"}
    ],
    "contacts": [{"ownerId": 1, "userId": 2}],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Standup", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 2]},
        {"id": 2, "numericId": 70002, "name": "Review", "startInMinutes": 60, "status": "SCHEDULED",
         "applicantId": 1, "userIds": [1]}
    ]
})";

CConferencesWidget *meetings()
{
    return CHomeDlg::getInstance()->conferencesPage();
}

QListWidget *rows()
{
    return child<QListWidget>(meetings()->mainPage(), "listWidget");
}

} // namespace

// The native meetings page moving between its pages and asking the local
// server for the list.
class TestConferencesWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void renewedTokenByPage_data();
    void renewedTokenByPage();
    void timerTicksFetchOnlyOnTheList();
    void showingAgainReturnsToTheListAndFetches();
    void rowIndexOutsideTheList_data();
    void rowIndexOutsideTheList();

private:
    // Goes to a page as its button would.
    void open(const QString &page);

    CHomeFixture m_fixture;
};

void TestConferencesWidget::initTestCase()
{
    QVERIFY(m_fixture.start(kSeed));
}

void TestConferencesWidget::init()
{
    QVERIFY(m_fixture.signIn("alice", "Alice2026!", kSeed));
    QTRY_VERIFY(meetings() && meetings()->isVisible());
    QTRY_COMPARE(rows()->count(), 2);
}

void TestConferencesWidget::cleanup()
{
    m_fixture.signOut();
}

void TestConferencesWidget::open(const QString &page)
{
    if (page == "detail") {
        meetings()->slot_MeetingDetail_clicked(1);
    } else if (page == "my room") {
        meetings()->slot_myroom_clicked();
    } else if (page == "schedule") {
        meetings()->slot_schedule_clicked();
    } else if (page == "select users") {
        meetings()->slot_schedule_clicked();
        meetings()->slot_adduser_clicked({1});
    }
}

void TestConferencesWidget::renewedTokenByPage_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("stays");
    QTest::newRow("list") << "list" << true;
    QTest::newRow("detail") << "detail" << false;
    QTest::newRow("my room") << "my room" << false;
    // A meeting being written or users being chosen are not thrown away.
    QTest::newRow("schedule") << "schedule" << true;
    QTest::newRow("select users") << "select users" << true;
}

void TestConferencesWidget::renewedTokenByPage()
{
    QFETCH(QString, page);
    QFETCH(bool, stays);
    open(page);
    QWidget *before = meetings()->currentPage();
    QLineEdit *title = child<QLineEdit>(meetings()->schedulePage(), "lineEdit_meetingtitle");
    title->setText("Budget talk");
    QSignalSpy fetched(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getConferences_succeed);
    emit CLoginManager::getInstance().sigLoginTokenChanged();
    QVERIFY(fetched.wait(kdtest::kStateWaitMs));
    QCOMPARE(meetings()->currentPage(), stays ? before : static_cast<QWidget *>(meetings()->mainPage()));
    QCOMPARE(title->text(), QString("Budget talk"));
}

void TestConferencesWidget::timerTicksFetchOnlyOnTheList()
{
    QVERIFY(meetings()->refreshTimer().isActive());
    QCOMPARE(meetings()->refreshTimer().interval(), CConferencesWidget::kRefreshIntervalMs);
    QSignalSpy fetched(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getConferences_succeed);
    // The sign-in's own fetches answer first.
    while (fetched.wait(1000)) {
    }
    fetched.clear();
    for (const char *page : {"detail", "my room", "schedule", "select users"}) {
        open(page);
        meetings()->slot_updatePage();
    }
    QTest::qWait(300);
    QCOMPARE(fetched.count(), 0);
    meetings()->slot_back_clicked();
    meetings()->slot_updatePage();
    QVERIFY(fetched.wait(kdtest::kStateWaitMs));
}

void TestConferencesWidget::showingAgainReturnsToTheListAndFetches()
{
    open("detail");
    QSignalSpy fetched(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getConferences_succeed);
    meetings()->hide();
    QVERIFY(!meetings()->refreshTimer().isActive());
    meetings()->show();
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
    QVERIFY(fetched.wait(kdtest::kStateWaitMs));
    QVERIFY(meetings()->refreshTimer().isActive());
}

// Rows are counted in the cached list; an index past its end names no
// meeting, exactly like a negative one.
void TestConferencesWidget::rowIndexOutsideTheList_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("negative") << -1;
    QTest::newRow("one past the end") << 2;
    QTest::newRow("far past the end") << 1000;
}

void TestConferencesWidget::rowIndexOutsideTheList()
{
    QFETCH(int, row);
    QSignalSpy joins(meetings(), &CConferencesWidget::sigUCMJoinConf);
    CAlertAnswerer answerer(QMessageBox::Ok, 10);
    meetings()->slot_MeetingDetail_clicked(row);
    meetings()->slot_Join_clicked(row);
    meetings()->slot_Edit_clicked(row);
    meetings()->slot_Delete_clicked(row);
    meetings()->slot_DeleteEdit_clicked(row);
    QTest::qWait(100);
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
    QCOMPARE(joins.count(), 0);
    QCOMPARE(answerer.answered(), 0);
    QCOMPARE(CUCMApiManager::getInstance()->getConferenceList().size(), 2);
}

QTEST_MAIN(TestConferencesWidget)
#include "tst_conferenceswidget.moc"
