#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QSpinBox>
#include <QtTest>

#include "statewait.h"
#include "models/cmeetingrules.h"
#include "views/conferences/cconferenceitemwidget.h"
#include "views/conferences/cconferencesdetailpage.h"
#include "views/conferences/cconferenceslistwidget.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/conferences/cconferencesmyroompage.h"
#include "views/conferences/cconferencesschedulepage.h"
#include "views/conferences/cconferencestoolbtn.h"

using kd_app::models::CMeetingRules;

namespace {

constexpr qint64 kMinute = 60 * 1000;

ucmconferenceData meeting(int id, int numericId, const QString &status, int applicantId)
{
    ucmconferenceData record;
    record.id = id;
    record.numericId = numericId;
    record.status = status;
    record.applicantId = applicantId;
    record.name = QString("Meeting %1").arg(id);
    record.applicantDisplayName = QString("Person %1").arg(applicantId);
    record.startTime = QDateTime(QDate(2026, 5, 4), QTime(9, 30)).toMSecsSinceEpoch();
    record.duration = 30 * kMinute;
    return record;
}

// Own scheduled meetings 1 to count.
QList<ucmconferenceData> scheduledMeetings(int count)
{
    QList<ucmconferenceData> list;
    for (int i = 0; i < count; ++i) {
        list << meeting(i + 1, 80001 + i, "SCHEDULED", 0);
    }
    return list;
}

void showAtScaleOne(CConferencesMainPage &page)
{
    page.updateDpi(1.0);
    page.resize(680, 520);
    page.show();
}

template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(name);
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

// What a row shows of its buttons, "join end edit delete" as 1 and 0.
QString buttons(QWidget *row)
{
    QString shown;
    for (const char *name : {"pBtn_join", "pBtn_end", "pBtn_edit", "pBtn_delete"}) {
        shown += child<QPushButton>(row, name)->isHidden() ? '0' : '1';
    }
    return shown;
}

// "schedule ongoing join end": which of the detail page's action groups show.
QString actions(QWidget *page)
{
    QString shown;
    for (const char *name : {"widget_schedule", "widget_ongoing", "tBtn_confjoin", "tBtn_delete"}) {
        shown += child<QWidget>(page, name)->isHidden() ? '0' : '1';
    }
    return shown;
}

class FixedClockSchedulePage : public CConferencesSchedulePage
{
public:
    QDateTime now;

protected:
    QDateTime currentDateTime() const override { return now; }
};

} // namespace

class TestConferencePages : public QObject
{
    Q_OBJECT

private slots:
    void rowShowsKindBadgeAndButtons_data();
    void rowShowsKindBadgeAndButtons();
    void rowOfUnknownKindKeepsWhatItShowed();
    void refreshReusesRowsAndScrollPosition();
    void longListShowsTheRowsScrolledTo();
    void listFollowsGrowingAndShrinkingLists();
    void rowSignalsCarryTheirIndex();
    void myRoomJoinCarriesTheNumber();
    void detailActionsOverOpenings_data();
    void detailActionsOverOpenings();
    void detailShowsDurationsOfADayAndMore();
    void scheduleResetOffersTheNextFiveMinutes_data();
    void scheduleResetOffersTheNextFiveMinutes();
    void schedulePasswordAcceptsTwelveDigits_data();
    void schedulePasswordAcceptsTwelveDigits();
    void scheduleRoundTripsAnEdit();
    void scheduleKeepsAStartBeforeToday();
    void scheduleHoldsADurationOfADayOrMore();
    void scheduleNowTakesTheCurrentTime();
    void scheduleTitleByMode();
    void tilesByKindAndScale_data();
    void tilesByKindAndScale();
};

void TestConferencePages::rowShowsKindBadgeAndButtons_data()
{
    QTest::addColumn<int>("numericId");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("applicant");
    QTest::addColumn<QString>("badge");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("timeShown");
    // The signed-in user is 0 in this test (no one signed in).
    QTest::newRow("own scheduled") << 80001 << "SCHEDULED" << 0 << "Schedule"
                                   << "0011" << true;
    QTest::newRow("other's scheduled") << 80001 << "SCHEDULED" << 5 << "Schedule"
                                       << "0000" << true;
    QTest::newRow("own running") << 80001 << "ONGOING" << 0 << "Ongoing"
                                 << "1100" << true;
    QTest::newRow("other's launching") << 80001 << "LAUNCHING" << 5 << "Ongoing"
                                       << "1000" << true;
    QTest::newRow("own room") << 8201000 << "ONGOING" << 0 << "Fixed"
                              << "1000" << false;
    QTest::newRow("other's room") << 8209999 << "SCHEDULED" << 5 << "Fixed"
                                  << "1000" << false;
}

void TestConferencePages::rowShowsKindBadgeAndButtons()
{
    QFETCH(int, numericId);
    QFETCH(QString, status);
    QFETCH(int, applicant);
    QFETCH(QString, badge);
    QFETCH(QString, shown);
    QFETCH(bool, timeShown);
    CConferencesMainPage page;
    page.setConferences({meeting(1, numericId, status, applicant)});
    CConferenceItemWidget *row = page.listWidget()->rowAt(0);
    QVERIFY(row);
    QCOMPARE(child<QLabel>(row, "label_kind")->text(), badge);
    QCOMPARE(buttons(row), shown);
    QCOMPARE(child<QLabel>(row, "label_time")->text().isEmpty(), !timeShown);
    QCOMPARE(child<QLabel>(row, "label_time_title")->text(), QString("Time:"));
    QCOMPARE(child<QLabel>(row, "label_meetingid")->text(), QString::number(numericId));
    QCOMPARE(child<QLabel>(row, "label_applicant")->text(), QString("Person %1").arg(applicant));
    QVERIFY(row->styleSheet().contains("background: #4381ff;") == (badge == "Schedule"));
}

void TestConferencePages::rowOfUnknownKindKeepsWhatItShowed()
{
    CConferenceItemWidget row;
    row.setConference(CMeetingRules::Ongoing, 0, meeting(1, 80001, "ONGOING", 0));
    row.setConference(7, 0, meeting(1, 80001, "ONGOING", 0));
    QCOMPARE(child<QLabel>(&row, "label_kind")->text(), QString("Ongoing"));
    QCOMPARE(buttons(&row), QString("1100"));
    QVERIFY(row.styleSheet().contains("background: %1;"));
}

void TestConferencePages::refreshReusesRowsAndScrollPosition()
{
    CConferencesMainPage page;
    showAtScaleOne(page);
    QList<ucmconferenceData> list = scheduledMeetings(60);
    page.setConferences(list);
    CConferencesListWidget *rows = page.listWidget();
    QCOMPARE(rows->count(), 60);
    QTRY_VERIFY(rows->verticalScrollBar()->maximum() > 0);
    rows->verticalScrollBar()->setValue(rows->verticalScrollBar()->maximum() / 2);
    const int scrolled = rows->verticalScrollBar()->value();
    QWidget *tenth = rows->rowAt(10);

    // The 15-s refresh with the same meetings, one of them changed.
    list[10].name = "Renamed";
    page.setConferences(list);
    QCOMPARE(rows->rowAt(10), tenth);
    QCOMPARE(child<QLabel>(tenth, "label_name")->text(), QString("Renamed"));
    QCOMPARE(rows->verticalScrollBar()->value(), scrolled);
    for (int i = 0; i < rows->count(); ++i) {
        QVERIFY(rows->rowAt(i));
    }
}

void TestConferencePages::longListShowsTheRowsScrolledTo()
{
    CConferencesMainPage page;
    showAtScaleOne(page);
    QList<ucmconferenceData> list = scheduledMeetings(2000);
    page.setConferences(list);
    CConferencesListWidget *rows = page.listWidget();
    const auto made = [rows] { return rows->viewport()->findChildren<CConferenceItemWidget *>().size(); };
    QTRY_VERIFY(rows->verticalScrollBar()->maximum() > 0);
    QVERIFY2(made() > 0 && made() < 100, qPrintable(QString::number(made())));

    // A meeting far down changes before the user ever scrolled to it.
    list[1998].name = "Renamed far down";
    page.setConferences(list);
    rows->verticalScrollBar()->setValue(rows->verticalScrollBar()->maximum());
    QTRY_VERIFY(rows->rowAt(1999)->isVisible());
    for (int index : {1998, 1999}) {
        CConferenceItemWidget *row = rows->rowAt(index);
        QVERIFY(row->isVisible());
        QCOMPARE(row->geometry(), rows->visualItemRect(rows->item(index)));
        QCOMPARE(row->conference().id, index + 1);
    }
    QCOMPARE(child<QLabel>(rows->rowAt(1998), "label_name")->text(), QString("Renamed far down"));
    QVERIFY(!rows->rowAt(1000)->isVisible());
    QVERIFY(!rows->rowAt(0)->isVisible());

    // Rows of meetings gone go with them.
    page.setConferences(list.mid(0, 3));
    QCOMPARE(rows->count(), 3);
    QTRY_COMPARE(made(), 3);
    QTRY_VERIFY(rows->rowAt(0)->isVisible());
}

void TestConferencePages::listFollowsGrowingAndShrinkingLists()
{
    CConferencesMainPage page;
    page.setConferences({meeting(1, 80001, "SCHEDULED", 0), meeting(2, 80002, "ONGOING", 0)});
    page.setConferences({meeting(3, 80003, "ONGOING", 5)});
    CConferencesListWidget *rows = page.listWidget();
    QCOMPARE(rows->count(), 1);
    QCOMPARE(rows->rowAt(0)->conference().id, 3);
    QCOMPARE(buttons(rows->rowAt(0)), QString("1000"));
    page.setConferences({meeting(3, 80003, "ONGOING", 5), meeting(4, 8205000, "", 0), meeting(5, 1, "", 0)});
    QCOMPARE(rows->count(), 3);
    QCOMPARE(rows->rowAt(1)->kind(), int(CMeetingRules::Fixed));
    QCOMPARE(rows->rowAt(2)->kind(), int(CMeetingRules::Scheduled));
    page.setConferences({});
    QCOMPARE(rows->count(), 0);
}

void TestConferencePages::rowSignalsCarryTheirIndex()
{
    CConferencesMainPage page;
    page.setConferences({meeting(1, 80001, "SCHEDULED", 0), meeting(2, 80002, "ONGOING", 0)});
    QSignalSpy details(&page, &CConferencesMainPage::signal_MeetingDetail_clicked);
    QSignalSpy joins(&page, &CConferencesMainPage::signal_Join_clicked);
    QSignalSpy ends(&page, &CConferencesMainPage::signal_Delete_clicked);
    QSignalSpy edits(&page, &CConferencesMainPage::signal_Edit_clicked);
    QSignalSpy deletes(&page, &CConferencesMainPage::signal_DeleteEdit_clicked);
    CConferenceItemWidget *second = page.listWidget()->rowAt(1);
    QTest::mouseClick(second, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseClick(second, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    child<QPushButton>(second, "pBtn_join")->click();
    child<QPushButton>(second, "pBtn_end")->click();
    child<QPushButton>(page.listWidget()->rowAt(0), "pBtn_edit")->click();
    child<QPushButton>(page.listWidget()->rowAt(0), "pBtn_delete")->click();
    QCOMPARE(details.count(), 1);
    QCOMPARE(details.first().first().toInt(), 1);
    QCOMPARE(joins.first().first().toInt(), 1);
    QCOMPARE(ends.first().first().toInt(), 1);
    QCOMPARE(edits.first().first().toInt(), 0);
    QCOMPARE(deletes.first().first().toInt(), 0);
    QCOMPARE(page.listWidget()->indexOfItemWidget(nullptr), -1);
    QCOMPARE(page.listWidget()->indexOfItemWidget(&page), -1);
}

void TestConferencePages::myRoomJoinCarriesTheNumber()
{
    CConferencesMainPage list;
    CConferencesMyroomPage room;
    QSignalSpy fromList(&list, &CConferencesMainPage::signal_ConfJoin_clicked);
    QSignalSpy fromRoom(&room, &CConferencesMyroomPage::signal_ConfJoin_clicked);
    child<QPushButton>(&list, "pBtn_confjoin")->click();
    child<QPushButton>(&room, "pBtn_confjoin")->click();
    list.setMyRoomId("9006001");
    room.setMyRoomId("9006001");
    child<QPushButton>(&list, "pBtn_confjoin")->click();
    child<QPushButton>(&room, "pBtn_confjoin")->click();
    QCOMPARE(fromList.at(0).first().toString(), QString());
    QCOMPARE(fromRoom.at(0).first().toString(), QString());
    QCOMPARE(fromList.at(1).first().toString(), QString("9006001"));
    QCOMPARE(fromRoom.at(1).first().toString(), QString("9006001"));
    QCOMPARE(child<QLabel>(&room, "label_meetingid_value")->text(), QString("9006001"));
    QVERIFY(child<QWidget>(&list, "myroom_widget")->isHidden());
}

void TestConferencePages::detailActionsOverOpenings_data()
{
    QTest::addColumn<QList<int>>("kinds");
    QTest::addColumn<QList<int>>("notMine");
    QTest::addColumn<QString>("shown");
    const int scheduled = CMeetingRules::Scheduled;
    const int ongoing = CMeetingRules::Ongoing;
    const int fixed = CMeetingRules::Fixed;
    QTest::newRow("own scheduled") << QList<int>{scheduled} << QList<int>{0} << "1011";
    QTest::newRow("other's scheduled") << QList<int>{scheduled} << QList<int>{1} << "0011";
    QTest::newRow("own ongoing") << QList<int>{ongoing} << QList<int>{0} << "0111";
    QTest::newRow("other's ongoing") << QList<int>{ongoing} << QList<int>{1} << "0110";
    QTest::newRow("own room") << QList<int>{fixed} << QList<int>{0} << "0110";
    QTest::newRow("other's ongoing after own ongoing") << QList<int>{ongoing, ongoing} << QList<int>{0, 1} << "0110";
    QTest::newRow("own ongoing after other's") << QList<int>{ongoing, ongoing} << QList<int>{1, 0} << "0111";
    QTest::newRow("own scheduled after a room") << QList<int>{fixed, scheduled} << QList<int>{0, 0} << "1010";
}

void TestConferencePages::detailActionsOverOpenings()
{
    QFETCH(QList<int>, kinds);
    QFETCH(QList<int>, notMine);
    QFETCH(QString, shown);
    CConferencesDetailPage page;
    for (int i = 0; i < kinds.size(); ++i) {
        page.setType(kinds.at(i));
        page.setNotMine(notMine.at(i));
    }
    QCOMPARE(actions(&page), shown);
}

void TestConferencePages::detailShowsDurationsOfADayAndMore()
{
    CConferencesDetailPage page;
    QLabel *duration = child<QLabel>(&page, "label_duration_value");
    page.setDuration(90 * kMinute);
    QCOMPARE(duration->text(), QString("01:30"));
    page.setDuration(24 * 60 * kMinute);
    QCOMPARE(duration->text(), QString("24:00"));
    page.setDuration((36 * 60 + 30) * kMinute);
    QCOMPARE(duration->text(), QString("36:30"));
    page.setStartTime(QDateTime(QDate(2026, 5, 4), QTime(9, 30)).toMSecsSinceEpoch());
    QCOMPARE(child<QLabel>(&page, "label_starttime_value")->text(), QString("2026/05/04 09:30"));

    QSignalSpy edits(&page, &CConferencesDetailPage::signal_Edit_clicked);
    page.setConferenceId(42);
    child<QToolButton>(&page, "tBtn_edit")->click();
    QCOMPARE(edits.first().first().toInt(), 42);
}

void TestConferencePages::scheduleResetOffersTheNextFiveMinutes_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("start");
    const QDate day = QDate::currentDate();
    QTest::newRow("morning") << QDateTime(day, QTime(9, 58, 41)) << QDateTime(day, QTime(10, 0, 41));
    QTest::newRow("23:57 starts tomorrow") << QDateTime(day, QTime(23, 57)) << QDateTime(day.addDays(1), QTime(0, 0));
}

void TestConferencePages::scheduleResetOffersTheNextFiveMinutes()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, start);
    FixedClockSchedulePage page;
    page.setPassword("1234");
    page.setDescription("old");
    page.now = now;
    page.setMode(CConferencesSchedulePage::NewMeeting);
    QDateEdit *date = child<QDateEdit>(&page, "dateEdit");
    QCOMPARE(date->date(), start.date());
    QCOMPARE(date->minimumDate(), start.date());
    QCOMPARE(child<QTimeEdit>(&page, "timeEdit")->time().toString("HH:mm"), start.time().toString("HH:mm"));
    QCOMPARE(page.getDuration(), 60 * kMinute);
    QCOMPARE(page.getPassword(), QString());
    QCOMPARE(page.getDescription(), QString());
    QVERIFY(child<QWidget>(&page, "widget_meetingid")->isHidden());
    QCOMPARE(child<QLabel>(&page, "label")->text(), QString("Schedule meeting"));
}

void TestConferencePages::schedulePasswordAcceptsTwelveDigits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("digits") << "4711"
                            << "4711";
    QTest::newRow("twelve digits") << "123456789012"
                                   << "123456789012";
    QTest::newRow("a thirteenth digit") << "1234567890123"
                                        << "123456789012";
    QTest::newRow("letters") << "12ab3"
                             << "123";
    QTest::newRow("blank") << " 5"
                           << "5";
}

void TestConferencePages::schedulePasswordAcceptsTwelveDigits()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    CConferencesSchedulePage page;
    QLineEdit *password = child<QLineEdit>(&page, "lineEdit_password");
    QTest::keyClicks(password, typed);
    QCOMPARE(password->text(), kept);
    // A value given by the meeting is shown as it is.
    page.setPassword("pw-from-server");
    QCOMPARE(page.getPassword(), QString("pw-from-server"));
}

void TestConferencePages::scheduleRoundTripsAnEdit()
{
    CConferencesSchedulePage page;
    page.setMode(CConferencesSchedulePage::EditMeeting);
    const qint64 start = QDateTime(QDate::currentDate().addDays(3), QTime(14, 25)).toMSecsSinceEpoch();
    page.setTitle("  Weekly  ");
    page.setStartTime(start);
    page.setDuration(95 * kMinute);
    page.setNumericId(80004);
    page.setPassword(" 4711 ");
    page.setDescription(" Bring figures ");
    page.setConferenceId(4);
    QCOMPARE(page.getTitle(), QString("Weekly"));
    QCOMPARE(page.getStartTime(), start);
    QCOMPARE(page.getDuration(), 95 * kMinute);
    QCOMPARE(page.getNumericId(), 80004);
    QCOMPARE(page.getPassword(), QString("4711"));
    QCOMPARE(page.getDescription(), QString("Bring figures"));
    QCOMPARE(page.getConferenceId(), 4);
    QCOMPARE(page.getMode(), int(CConferencesSchedulePage::EditMeeting));
    QVERIFY(!child<QWidget>(&page, "widget_meetingid")->isHidden());
    QCOMPARE(child<QLabel>(&page, "label")->text(), QString("Edit meeting"));
    child<QLineEdit>(&page, "lineEdit_meetingid")->setText("x");
    QCOMPARE(page.getNumericId(), 0);
    child<QSpinBox>(&page, "timeEdit_duration")->setValue(0);
    QCOMPARE(page.getDuration(), qint64(0));
}

void TestConferencePages::scheduleKeepsAStartBeforeToday()
{
    CConferencesSchedulePage page;
    page.setMode(CConferencesSchedulePage::EditMeeting);
    const QDateTime yesterday(QDate::currentDate().addDays(-1), QTime(8, 0));
    page.setStartTime(yesterday.toMSecsSinceEpoch());
    QCOMPARE(page.getStartTime(), yesterday.toMSecsSinceEpoch());
    // Later than today it is today that bounds the choice.
    page.setStartTime(QDateTime(QDate::currentDate().addDays(5), QTime(8, 0)).toMSecsSinceEpoch());
    QCOMPARE(child<QDateEdit>(&page, "dateEdit")->minimumDate(), QDate::currentDate());
}

void TestConferencePages::scheduleHoldsADurationOfADayOrMore()
{
    FixedClockSchedulePage page;
    page.now = QDateTime::currentDateTime();
    page.setMode(CConferencesSchedulePage::EditMeeting);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QSpinBox *editor = child<QSpinBox>(&page, "timeEdit_duration");
    const qint64 day = 24 * 60 * kMinute;
    page.setDuration(day);
    QCOMPARE(editor->text(), QString("24:00"));
    QCOMPARE(page.getDuration(), day);
    page.setDuration(day + 90 * kMinute);
    QCOMPARE(editor->text(), QString("25:30"));
    QCOMPARE(page.getDuration(), day + 90 * kMinute);

    // Typed: what the editor shows counts from now on.
    auto *text = editor->findChild<QLineEdit *>();
    editor->setFocus();
    text->selectAll();
    QTest::keyClicks(editor, "36:15");
    QTest::keyClick(editor, Qt::Key_Tab);
    QCOMPARE(editor->text(), QString("36:15"));
    QCOMPARE(page.getDuration(), (36 * 60 + 15) * kMinute);
    // The arrow steps the part the cursor is in: hours past 23 too.
    page.setDuration(23 * 60 * kMinute + 59 * kMinute);
    editor->setFocus();
    text->setCursorPosition(0);
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(editor->text(), QString("24:59"));
    text->setCursorPosition(text->text().size());
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(editor->text(), QString("25:00"));
    QCOMPARE(page.getDuration(), 25 * 60 * kMinute);

    page.setDuration(day);
    page.setMode(CConferencesSchedulePage::NewMeeting);
    QCOMPARE(page.getDuration(), 60 * kMinute);
    QCOMPARE(editor->text(), QString("01:00"));
    page.setDuration(45 * kMinute);
    QCOMPARE(page.getDuration(), 45 * kMinute);
}

void TestConferencePages::scheduleNowTakesTheCurrentTime()
{
    FixedClockSchedulePage page;
    page.now = QDateTime(QDate::currentDate(), QTime(10, 0));
    page.setMode(CConferencesSchedulePage::NewMeeting);
    page.now = QDateTime(QDate::currentDate(), QTime(10, 17));
    QCheckBox *now = child<QCheckBox>(&page, "checkBox_now");
    QDateEdit *date = child<QDateEdit>(&page, "dateEdit");
    QTimeEdit *time = child<QTimeEdit>(&page, "timeEdit");
    now->setChecked(true);
    QCOMPARE(time->time(), QTime(10, 17));
    QVERIFY(!date->isEnabled() && !time->isEnabled());
    page.now = QDateTime(QDate::currentDate(), QTime(10, 40));
    now->setChecked(false);
    QVERIFY(date->isEnabled() && time->isEnabled());
    QCOMPARE(time->time(), QTime(10, 17));
    now->setChecked(true);
    page.setMode(CConferencesSchedulePage::EditMeeting);
    QVERIFY(!now->isChecked());
    QVERIFY(date->isEnabled() && time->isEnabled());
}

void TestConferencePages::scheduleTitleByMode()
{
    CConferencesSchedulePage page;
    QLineEdit *title = child<QLineEdit>(&page, "lineEdit_meetingtitle");
    page.setMode(CConferencesSchedulePage::NewMeeting);
    page.setTitle("Dana");
    QCOMPARE(title->text(), QString("Dana's meeting"));
    page.setMode(CConferencesSchedulePage::EditMeeting);
    page.setTitle("Dana's review");
    QCOMPARE(title->text(), QString("Dana's review"));
    page.setMode(5);
    page.setTitle("ignored");
    QCOMPARE(title->text(), QString("Dana's review"));
    QCOMPARE(page.getMode(), 5);
}

void TestConferencePages::tilesByKindAndScale_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("font");
    QTest::newRow("my room") << 0 << 1.0 << "My room" << 30 << "icon_myroom.png"
                             << "14px";
    QTest::newRow("schedule at 1.5") << 1 << 1.5 << "Schedule meeting" << 45 << "icon_schedule-1.5x.png"
                                     << "21px";
    QTest::newRow("join at 2") << 2 << 2.0 << "Join meeting" << 60 << "icon_topjoin-2x.png"
                               << "28px";
    QTest::newRow("unknown kind") << 3 << 1.0 << "" << 30 << ""
                                  << "14px";
}

void TestConferencePages::tilesByKindAndScale()
{
    QFETCH(int, kind);
    QFETCH(double, scale);
    QFETCH(QString, text);
    QFETCH(int, icon);
    QFETCH(QString, image);
    QFETCH(QString, font);
    CConferencesToolBtn tile;
    tile.setType(kind);
    tile.updateDpi(scale);
    QList<QLabel *> labels = tile.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 2);
    QLabel *picture = child<QLabel>(&tile, "m_pIcon");
    QLabel *caption = child<QLabel>(&tile, "m_pText");
    QCOMPARE(caption->text(), text);
    QCOMPARE(picture->size(), QSize(icon, icon));
    QCOMPARE(picture->styleSheet().isEmpty(), image.isEmpty());
    QVERIFY2(image.isEmpty() || picture->styleSheet().contains(image), qPrintable(picture->styleSheet()));
    QVERIFY(caption->styleSheet().contains(font));
    QSignalSpy clicked(&tile, &CConferencesToolBtn::signal_clicked);
    QTest::mouseClick(&tile, Qt::RightButton);
    QTest::mouseClick(&tile, Qt::LeftButton);
    QCOMPARE(clicked.count(), 1);
}

QTEST_MAIN(TestConferencePages)
#include "tst_conferencepages.moc"
