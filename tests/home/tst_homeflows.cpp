#include <functional>

#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QToolButton>
#include <QSpinBox>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "homefixture.h"
#include "ownxvfb.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/conferences/cconferenceitemwidget.h"
#include "views/conferences/cconferencesdetailpage.h"
#include "views/conferences/cconferenceslistwidget.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/conferences/cconferencesmyroompage.h"
#include "views/conferences/cconferencesschedulepage.h"
#include "views/conferences/cconferencesselectuserpage.h"
#include "views/conferences/cconferencestablemodel.h"
#include "views/conferences/cconferencestableview.h"
#include "views/conferences/cconferenceswidget.h"
#include "views/contacts/ccontactsadddelegate.h"
#include "views/contacts/ccontactsaddlistmodel.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactslistview.h"
#include "views/contacts/ccontactswidget.h"
#include "views/home/chomedlg.h"
#include "views/home/cjoinconfdlg.h"

using kd_app::models::CCallController;
using kd_app::models::CLoginManager;
using kd_app::models::CUCMApiManager;
using kd_app::views::CConferencesWidget;
using kd_app::views::CContactsWidget;
using kd_app::views::CHomeDlg;
using kd_app::views::CLayoutBackgroundDlg;
namespace enums = kd_app::enums;

namespace {

CHomeDlg *home()
{
    return CHomeDlg::getInstance();
}

CConferencesWidget *meetings()
{
    return home()->conferencesPage();
}

CConferencesListWidget *rows()
{
    return meetings()->mainPage()->listWidget();
}

// "join end edit delete" of a row, 1 for a button shown.
QString rowButtons(int index)
{
    QString shown;
    for (const char *name : {"pBtn_join", "pBtn_end", "pBtn_edit", "pBtn_delete"}) {
        shown += child<QPushButton>(rows()->rowAt(index), name)->isHidden() ? '0' : '1';
    }
    return shown;
}

int rowOfMeeting(int id)
{
    for (int index = 0; index < rows()->count(); ++index) {
        if (rows()->rowAt(index)->conference().id == id) {
            return index;
        }
    }
    return -1;
}

// What the join dialog showed when it opened; it is then answered with
// "Video Join".
struct CJoinSeen
{
    bool opened = false;
    QString number;
    QString password;
    bool numberEnabled = true;
};

void answerJoinDialog(CJoinSeen *seen)
{
    QTimer::singleShot(50, [seen] {
        auto *dialog = qobject_cast<kd_app::views::CJoinConfDlg *>(QApplication::activeModalWidget());
        if (!dialog) {
            answerJoinDialog(seen);
            return;
        }
        seen->opened = true;
        auto *combo = child<QComboBox>(dialog, "m_pCmbBoxConfNumber");
        seen->number = combo->currentText();
        seen->numberEnabled = combo->isEnabled();
        seen->password = child<QLineEdit>(dialog, "m_pEditPassword")->text();
        child<QPushButton>(dialog, "m_pBtnVideoJoin")->click();
    });
}

QJsonObject serverMeeting(confserver::CConfStore &store, int id)
{
    const QString token = CLoginManager::getInstance().getLoginToken();
    for (const QJsonValue &value : store.meetings(token).value.toArray()) {
        if (value.toObject().value("id").toInt() == id) {
            return value.toObject();
        }
    }
    return QJsonObject();
}

QList<int> invitees(const QJsonObject &meeting)
{
    QList<int> ids;
    for (const QJsonValue &user : meeting.value("users").toArray()) {
        ids << user.toObject().value("id").toInt();
    }
    return ids;
}

void click(QWidget *widget, const QPoint &at = QPoint())
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at.isNull() ? widget->rect().center() : at);
}

// Clicks a cell of a participants grid.
void clickCell(CConferencestableview *grid, int position)
{
    const QModelIndex cell = grid->model()->index(position / 8, position % 8);
    click(grid->viewport(), grid->visualRect(cell).center());
}

QStringList gridNames(CConferencestableview *grid)
{
    QStringList names;
    for (int position = 0; position < 64; ++position) {
        const QVariant name = grid->model()->index(position / 8, position % 8).data(CConferencesTablemodel::NameRole);
        if (name.isValid()) {
            names << name.toString();
        }
    }
    return names;
}

// A widget drawn with its picture (a button's icon) rather than as a blank
// square: a good part of it is neither white nor see-through.
bool drawnInColour(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            coloured += pixel.alpha() > 128 && pixel.saturation() > 80 ? 1 : 0;
        }
    }
    return coloured * 4 > image.width() * image.height();
}

} // namespace

// What a user of the demo server does in the home window, by mouse and keyboard.
class TestHomeFlows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void everyKindOfMeetingIsListed();
    void scheduleThroughTheForm();
    void scheduleWithAnExpiredToken();
    void editingOnlyTheTitleKeepsDurationAndInvitees_data();
    void editingOnlyTheTitleKeepsDurationAndInvitees();
    void immediateStartsTheMeeting();
    void deleteAndEndAsk();
    void joinFromRowDetailAndMyRoom_data();
    void joinFromRowDetailAndMyRoom();
    void contactsSearchAddDeleteAndCall();
    void hoverMarkOnTheScheduleGridOnly();

private:
    void openMeetings();

    CHomeFixture m_fixture;
};

void TestHomeFlows::initTestCase()
{
    QVERIFY(m_fixture.start(serverSeed("demo.json")));
}

void TestHomeFlows::init()
{
    QVERIFY(m_fixture.signIn("demo", "Demo2026!", serverSeed("demo.json")));
    QTRY_VERIFY(home()->isVisible());
    openMeetings();
}

void TestHomeFlows::cleanup()
{
    m_fixture.server().clearFaults();
    m_fixture.signOut();
}

void TestHomeFlows::openMeetings()
{
    QListView *menu = child<QListView>(home(), "m_pLvMenus");
    click(menu->viewport(), menu->visualRect(menu->model()->index(0, 0)).center());
    QTRY_COMPARE(home()->currentPage(), static_cast<QWidget *>(meetings()));
    QTRY_COMPARE(rows()->count(), 9);
}

void TestHomeFlows::everyKindOfMeetingIsListed()
{
    const struct
    {
        int id;
        const char *badge;
        const char *buttons;
    } expected[] = {
        {1, "Ongoing", "1100"},  // own, running
        {2, "Schedule", "0000"}, // someone else's, with a password
        {3, "Schedule", "0011"}, // own
        {5, "Ongoing", "1000"},  // someone else's, running
        {6, "Ongoing", "1000"},  // being started
        {7, "Schedule", "0011"}, // own, a whole day long
        {8, "Fixed", "1000"},    // own permanent room
        {9, "Fixed", "1000"},    // someone else's permanent room
    };
    for (const auto &meeting : expected) {
        const int index = rowOfMeeting(meeting.id);
        QVERIFY(index >= 0);
        QCOMPARE(child<QLabel>(rows()->rowAt(index), "label_kind")->text(), QString(meeting.badge));
        QCOMPARE(rowButtons(index), QString(meeting.buttons));
    }
    QCOMPARE(child<QLabel>(meetings()->mainPage(), "label_meetingid_value")->text(), QString("9006001"));
}

void TestHomeFlows::scheduleThroughTheForm()
{
    click(child<QWidget>(meetings()->mainPage(), "schedule_widget"));
    CConferencesSchedulePage *form = meetings()->schedulePage();
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(form));
    QLineEdit *title = child<QLineEdit>(form, "lineEdit_meetingtitle");
    QCOMPARE(title->text(), QString("Dana Demo's meeting"));
    title->selectAll();
    QTest::keyClicks(title, "Freight planning");
    child<QSpinBox>(form, "timeEdit_duration")->setValue(45);
    QTest::keyClicks(child<QLineEdit>(form, "lineEdit_password"), "12ab34");
    CConferencestableview *grid = form->participantsGrid();
    QCOMPARE(gridNames(grid), QStringList({"Dana Demo", "Add"}));

    // The add cell opens the picker; Back keeps the invitees, Ok takes the ticks.
    clickCell(grid, 1);
    CConferencesSelectuserPage *picker = meetings()->selectuserPage();
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(picker));
    CContactsAddListview *users = picker->contactsPage()->usersList();
    QTRY_VERIFY(users->model()->rowCount() >= 30);
    users->slot_selectUserItem(users->model()->index(1, 0));
    click(child<QToolButton>(picker, "back_Btn"));
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(form));
    QCOMPARE(gridNames(grid), QStringList({"Dana Demo", "Add"}));
    clickCell(grid, 1);
    // The picker opens on the form's invitees again.
    QCOMPARE(picker->getSelectedUsers(), QList<int>({1}));
    users->slot_selectUserItem(users->model()->index(1, 0));
    click(child<QPushButton>(picker, "pBtn_ok"));
    QCOMPARE(gridNames(grid), QStringList({"Dana Demo", "Marta Kowalski", "Add"}));
    // A click on a user cell takes the user out again.
    clickCell(grid, 0);
    QCOMPARE(gridNames(grid), QStringList({"Marta Kowalski", "Add"}));

    QSignalSpy added(CUCMApiManager::getInstance(), &CUCMApiManager::signal_addConference_succeed);
    click(child<QPushButton>(form, "pBtn_schedule"));
    QTRY_COMPARE(added.count(), 1);
    QTRY_COMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
    QTRY_COMPARE(rows()->count(), 10);
    const QJsonObject made = serverMeeting(m_fixture.store(), rows()->rowAt(9)->conference().id);
    QCOMPARE(made.value("name").toString(), QString("Freight planning"));
    QCOMPARE(qint64(made.value("duration").toDouble()), qint64(45 * 60 * 1000));
    QCOMPARE(made.value("confPassword").toString(), QString("1234"));
    QCOMPARE(invitees(made), QList<int>({2}));

    // The new row, made long after the first fill, is drawn by the row's
    // own sheet like the others: a white badge, the sizes of its scale.
    rows()->scrollToBottom();
    QTRY_VERIFY(rows()->rowAt(9)->isVisible());
    QWidget *scheduled = rows()->rowAt(9);
    QWidget *older = rows()->rowAt(rowOfMeeting(7));
    for (const char *name : {"label_kind", "label_name", "label_meetingid"}) {
        QCOMPARE(child<QWidget>(scheduled, name)->font().pixelSize(), child<QWidget>(older, name)->font().pixelSize());
        QCOMPARE(child<QWidget>(scheduled, name)->palette().color(QPalette::WindowText),
                 child<QWidget>(older, name)->palette().color(QPalette::WindowText));
    }
    QCOMPARE(child<QWidget>(scheduled, "label_kind")->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(drawnInColour(child<QWidget>(scheduled, "pBtn_edit")));
}

// The server refuses the form with 1010: the client renews its token without
// a word, and the user finds the form as written and sends it again.
void TestHomeFlows::scheduleWithAnExpiredToken()
{
    click(child<QWidget>(meetings()->mainPage(), "schedule_widget"));
    CConferencesSchedulePage *form = meetings()->schedulePage();
    QLineEdit *title = child<QLineEdit>(form, "lineEdit_meetingtitle");
    title->selectAll();
    QTest::keyClicks(title, "Budget review");
    QTest::keyClicks(child<QLineEdit>(form, "lineEdit_password"), "5566");
    auto *description = child<QPlainTextEdit>(form, "plainTextEdit_description");
    QTest::keyClicks(description, "Quarter figures");
    CConferencestableview *grid = form->participantsGrid();
    clickCell(grid, 1);
    CContactsAddListview *users = meetings()->selectuserPage()->contactsPage()->usersList();
    QTRY_VERIFY(users->model()->rowCount() >= 30);
    users->slot_selectUserItem(users->model()->index(1, 0));
    click(child<QPushButton>(meetings()->selectuserPage(), "pBtn_ok"));
    const QStringList invited = gridNames(grid);
    QCOMPARE(invited, QStringList({"Dana Demo", "Marta Kowalski", "Add"}));

    CLoginManager &login = CLoginManager::getInstance();
    const QString token = login.getLoginToken();
    m_fixture.store().expireToken(token);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QSignalSpy renewed(&login, &CLoginManager::sigLoginTokenChanged);
    QSignalSpy fetched(CUCMApiManager::getInstance(), &CUCMApiManager::signal_getConferences_succeed);
    QSignalSpy added(CUCMApiManager::getInstance(), &CUCMApiManager::signal_addConference_succeed);
    click(child<QPushButton>(form, "pBtn_schedule"));
    QTRY_COMPARE(renewed.count(), 1);
    QVERIFY(login.getLoginToken() != token);
    // The list is fetched with the new token behind the form.
    QTRY_VERIFY(fetched.count() >= 1);
    QCOMPARE(answerer.answered(), 0);
    QCOMPARE(added.count(), 0);
    QCOMPARE(rows()->count(), 9);
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(form));
    QCOMPARE(title->text(), QString("Budget review"));
    QCOMPARE(child<QLineEdit>(form, "lineEdit_password")->text(), QString("5566"));
    QCOMPARE(description->toPlainText(), QString("Quarter figures"));
    QCOMPARE(gridNames(grid), invited);

    click(child<QPushButton>(form, "pBtn_schedule"));
    QTRY_COMPARE(added.count(), 1);
    QTRY_COMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
    QTRY_COMPARE(rows()->count(), 10);
    const QJsonObject made = serverMeeting(m_fixture.store(), rows()->rowAt(9)->conference().id);
    QCOMPARE(made.value("name").toString(), QString("Budget review"));
    QCOMPARE(made.value("confPassword").toString(), QString("5566"));
    QCOMPARE(made.value("remarks").toString(), QString("Quarter figures"));
    QCOMPARE(invitees(made), QList<int>({1, 2}));
    QCOMPARE(answerer.answered(), 0);
}

void TestHomeFlows::editingOnlyTheTitleKeepsDurationAndInvitees_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("usersFail");
    QTest::newRow("a meeting of a whole day") << 7 << false;
    QTest::newRow("while the users cannot be read") << 3 << true;
}

void TestHomeFlows::editingOnlyTheTitleKeepsDurationAndInvitees()
{
    QFETCH(int, id);
    QFETCH(bool, usersFail);
    const QJsonObject before = serverMeeting(m_fixture.store(), id);
    if (usersFail) {
        CUCMApiManager::getInstance()->clearUserList();
        m_fixture.server().addFault(confserver::CFault{"/users", confserver::CFault::Kind::Http500, 0, -1});
    }
    click(child<QPushButton>(rows()->rowAt(rowOfMeeting(id)), "pBtn_edit"));
    CConferencesSchedulePage *form = meetings()->schedulePage();
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(form));
    QCOMPARE(child<QLabel>(form, "label")->text(), QString("Edit meeting"));
    if (usersFail) {
        // Invitees the page cannot name keep their cells, under their numbers.
        QCOMPARE(gridNames(form->participantsGrid()), QStringList({"1", "3", "Add"}));
    }
    QLineEdit *title = child<QLineEdit>(form, "lineEdit_meetingtitle");
    title->selectAll();
    QTest::keyClicks(title, "Renamed");
    click(child<QPushButton>(form, "pBtn_schedule"));
    QTRY_COMPARE(serverMeeting(m_fixture.store(), id).value("name").toString(), QString("Renamed"));
    const QJsonObject after = serverMeeting(m_fixture.store(), id);
    QCOMPARE(after.value("duration"), before.value("duration"));
    QCOMPARE(after.value("startTime"), before.value("startTime"));
    QCOMPARE(invitees(after), invitees(before));
    QTRY_COMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
}

void TestHomeFlows::immediateStartsTheMeeting()
{
    meetings()->slot_MeetingDetail_clicked(rowOfMeeting(3));
    CConferencesDetailPage *detail = meetings()->detailPage();
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(detail));
    click(child<QToolButton>(detail, "tBtn_callnow"));
    QTRY_COMPARE(serverMeeting(m_fixture.store(), 3).value("status").toString(), QString("ONGOING"));
    QTRY_COMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
    QTRY_COMPARE(child<QLabel>(rows()->rowAt(rowOfMeeting(3)), "label_kind")->text(), QString("Ongoing"));
}

void TestHomeFlows::deleteAndEndAsk()
{
    const struct
    {
        int id;
        const char *button;
        const char *question;
    } cases[] = {{3, "pBtn_delete", "Are you sure to delete meeting?"},
                 {1, "pBtn_end", "Are you sure to terminate meeting?"}};
    for (const auto &action : cases) {
        {
            CAlertAnswerer answerer(QMessageBox::Cancel);
            click(child<QPushButton>(rows()->rowAt(rowOfMeeting(action.id)), action.button));
            QCOMPARE(answerer.texts(), QStringList{action.question});
        }
        QCOMPARE(serverMeeting(m_fixture.store(), action.id).isEmpty(), false);
        CAlertAnswerer answerer(QMessageBox::Ok);
        click(child<QPushButton>(rows()->rowAt(rowOfMeeting(action.id)), action.button));
        QTRY_COMPARE(serverMeeting(m_fixture.store(), action.id).isEmpty(), true);
        QTRY_COMPARE(rowOfMeeting(action.id), -1);
    }
}

void TestHomeFlows::joinFromRowDetailAndMyRoom_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("password");
    QTest::newRow("a row") << "row"
                           << "80005"
                           << "";
    QTest::newRow("the detail page") << "detail"
                                     << "80001"
                                     << "";
    QTest::newRow("my room") << "room"
                             << "9006001"
                             << "";
}

void TestHomeFlows::joinFromRowDetailAndMyRoom()
{
    QFETCH(QString, from);
    QFETCH(QString, number);
    QFETCH(QString, password);
    CJoinSeen seen;
    answerJoinDialog(&seen);
    if (from == "row") {
        click(child<QPushButton>(rows()->rowAt(rowOfMeeting(5)), "pBtn_join"));
    } else if (from == "detail") {
        meetings()->slot_MeetingDetail_clicked(rowOfMeeting(1));
        click(child<QToolButton>(meetings()->detailPage(), "tBtn_confjoin"));
    } else {
        click(child<QPushButton>(meetings()->mainPage(), "pBtn_confjoin"));
    }
    QTRY_VERIFY(seen.opened);
    QCOMPARE(seen.number, number);
    QCOMPARE(seen.password, password);
    QVERIFY(!seen.numberEnabled);
    CCallController &calls = CCallController::getInstance();
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QTRY_VERIFY(CLayoutBackgroundDlg::getInstance()->isVisible());
    QVERIFY(!home()->isVisible());
    calls.hangUp();
    QTRY_VERIFY(home()->isVisible());
    // Joining from the detail page left it for the list.
    QCOMPARE(meetings()->currentPage(), static_cast<QWidget *>(meetings()->mainPage()));
}

void TestHomeFlows::contactsSearchAddDeleteAndCall()
{
    QListView *menu = child<QListView>(home(), "m_pLvMenus");
    click(menu->viewport(), menu->visualRect(menu->model()->index(1, 0)).center());
    CContactsWidget *contacts = home()->contactsPage();
    QTRY_COMPARE(home()->currentPage(), static_cast<QWidget *>(contacts));
    CContactsListview *list = contacts->contactsList();
    QTRY_COMPARE(list->model()->rowCount(), 3 + 7);
    QCOMPARE(list->currentRow(), 3);

    // Add: search the organisation, press "Add", see "Added" and a new row.
    click(list->viewport(), list->visualRect(list->model()->index(0, 0)).center());
    QTRY_COMPARE(child<QStackedWidget>(contacts, "stackedWidget")->currentWidget()->objectName(), QString("page_add"));
    QLineEdit *search = child<QLineEdit>(contacts, "lineEdit");
    QTest::keyClicks(search, "berg");
    CContactsAddListview *users = contacts->usersList();
    QStringList found;
    for (int row = 0; row < users->model()->rowCount(); ++row) {
        found << users->model()->index(row, 0).data(Qt::UserRole).toString();
    }
    QCOMPARE(found, QStringList({"Sofia Bergström", "Anna Berg", "Annabel Berglund", "Björn Åberg", "Bjorn Aberg",
                                 "Sofia Berg"}));
    const QModelIndex sofia = users->model()->index(0, 0);
    QCOMPARE(sofia.data(CContactsAddListmodel::AddedRole).toBool(), false);
    const QRect button = users->addDelegate()->buttonRect(users->visualRect(sofia));
    click(users->viewport(), button.center());
    QTRY_COMPARE(sofia.data(CContactsAddListmodel::AddedRole).toBool(), true);
    QTRY_COMPARE(list->model()->rowCount(), 3 + 8);
    QCOMPARE(list->contactAt(3 + 7).text, QString("Sofia Bergström"));

    // Delete the new contact: its details, the delete button, OK.
    list->setCurrentIndex(list->model()->index(3 + 7, 0));
    {
        CAlertAnswerer answerer(QMessageBox::Ok);
        click(child<QPushButton>(contacts, "pBt_delete"));
        QCOMPARE(answerer.texts(), QStringList{"Sure you want to delete contact?"});
    }
    QTRY_COMPARE(list->model()->rowCount(), 3 + 7);
    QTRY_COMPARE(sofia.data(CContactsAddListmodel::AddedRole).toBool(), false);

    // A video call to a contact replaces the home window by the call window.
    list->setCurrentIndex(list->model()->index(4, 0));
    QCOMPARE(list->currentContact().contact.callNumber, QString("6002"));
    click(child<QPushButton>(contacts, "pBt_video"));
    CCallController &calls = CCallController::getInstance();
    QTRY_COMPARE_WITH_TIMEOUT(calls.getCallStatus(), enums::Connected, kdtest::kStateWaitMs);
    QCOMPARE(calls.getPeerNameOrConfNumber(), QString("6002"));
    QTRY_VERIFY(CLayoutBackgroundDlg::getInstance()->isVisible());
    QVERIFY(!home()->isVisible());
    calls.hangUp();
    QTRY_VERIFY(home()->isVisible());
}

// The remove mark shows under the mouse on the schedule page's grid, and not
// on the detail page's, which only shows the participants.
void TestHomeFlows::hoverMarkOnTheScheduleGridOnly()
{
    const auto darkenedUnderTheMouse = [](CConferencestableview *grid) {
        const QRect cell = grid->visualRect(grid->model()->index(0, 0));
        const QPoint avatar = cell.topLeft() + QPoint(16, 16);
        const auto moveTo = [grid](const QPoint &at) {
            QCursor::setPos(grid->viewport()->mapToGlobal(at));
            QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(grid->viewport(), &move);
            QTest::qWait(100);
        };
        // Away from every cell first: the grid's last column stays empty.
        moveTo(grid->viewport()->rect().bottomRight() - QPoint(5, 5));
        const QColor before = grid->viewport()->grab().toImage().pixelColor(avatar);
        moveTo(avatar);
        const QColor after = grid->viewport()->grab().toImage().pixelColor(avatar);
        return after.lightness() + 15 < before.lightness();
    };
    meetings()->slot_MeetingDetail_clicked(rowOfMeeting(7));
    CConferencestableview *detailGrid = meetings()->detailPage()->participantsGrid();
    QTRY_VERIFY(detailGrid->isVisible());
    QVERIFY(!darkenedUnderTheMouse(detailGrid));
    meetings()->slot_Edit_clicked(rowOfMeeting(7));
    CConferencestableview *scheduleGrid = meetings()->schedulePage()->participantsGrid();
    QTRY_VERIFY(scheduleGrid->isVisible());
    QVERIFY(darkenedUnderTheMouse(scheduleGrid));
}

KD_OWN_XVFB_TEST_MAIN(TestHomeFlows)
#include "tst_homeflows.moc"
