#include <QtTest>

#include "models/cmeetingrules.h"

using kd_app::models::CMeetingRules;

class TestMeetingRules : public QObject
{
    Q_OBJECT

private slots:
    void kind_data();
    void kind();
    void notMine_data();
    void notMine();
    void durationText_data();
    void durationText();
    void nextStart_data();
    void nextStart();
};

void TestMeetingRules::kind_data()
{
    QTest::addColumn<int>("numericId");
    QTest::addColumn<QString>("status");
    QTest::addColumn<int>("kind");
    QTest::newRow("first room, running") << 8201000 << "ONGOING" << int(CMeetingRules::Fixed);
    QTest::newRow("last room") << 8209999 << "SCHEDULED" << int(CMeetingRules::Fixed);
    QTest::newRow("below the rooms") << 8200999 << "ONGOING" << int(CMeetingRules::Ongoing);
    QTest::newRow("above the rooms") << 8210000 << "LAUNCHING" << int(CMeetingRules::Ongoing);
    QTest::newRow("negative number") << -5 << "SCHEDULED" << int(CMeetingRules::Scheduled);
    QTest::newRow("running") << 80001 << "ONGOING" << int(CMeetingRules::Ongoing);
    QTest::newRow("launching") << 80001 << "LAUNCHING" << int(CMeetingRules::Ongoing);
    QTest::newRow("lower case is not running") << 80001 << "ongoing" << int(CMeetingRules::Scheduled);
    QTest::newRow("scheduled") << 80001 << "SCHEDULED" << int(CMeetingRules::Scheduled);
    QTest::newRow("no status") << 80001 << "" << int(CMeetingRules::Scheduled);
}

void TestMeetingRules::kind()
{
    QFETCH(int, numericId);
    QFETCH(QString, status);
    QFETCH(int, kind);
    ucmconferenceData meeting;
    meeting.numericId = numericId;
    meeting.status = status;
    QCOMPARE(CMeetingRules::kindOf(meeting), kind);
}

void TestMeetingRules::notMine_data()
{
    QTest::addColumn<quint64>("userId");
    QTest::addColumn<int>("applicantId");
    QTest::addColumn<int>("flag");
    QTest::newRow("own") << quint64(7) << 7 << 0;
    QTest::newRow("someone else's") << quint64(7) << 8 << 1;
    QTest::newRow("low 32 bits decide") << (quint64(1) << 32 | 7) << 7 << 0;
}

void TestMeetingRules::notMine()
{
    QFETCH(quint64, userId);
    QFETCH(int, applicantId);
    QFETCH(int, flag);
    QCOMPARE(CMeetingRules::notMineFlag(userId, applicantId), flag);
}

void TestMeetingRules::durationText_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    const qint64 minute = 60 * 1000;
    QTest::newRow("nothing") << qint64(0) << "00:00";
    QTest::newRow("90 minutes") << 90 * minute << "01:30";
    QTest::newRow("seconds are cut") << 90 * minute + 59999 << "01:30";
    QTest::newRow("longest day") << (23 * 60 + 59) * minute << "23:59";
    QTest::newRow("a whole day") << 24 * 60 * minute << "24:00";
    QTest::newRow("a day and a half") << (36 * 60 + 30) * minute << "36:30";
    QTest::newRow("negative") << -minute << "";
}

void TestMeetingRules::durationText()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(CMeetingRules::durationText(ms), text);
}

void TestMeetingRules::nextStart_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("start");
    const QDate day(2026, 3, 14);
    QTest::newRow("09:58:41") << QDateTime(day, QTime(9, 58, 41)) << QDateTime(day, QTime(10, 0, 41));
    QTest::newRow("10:00") << QDateTime(day, QTime(10, 0)) << QDateTime(day, QTime(10, 5));
    QTest::newRow("10:04") << QDateTime(day, QTime(10, 4)) << QDateTime(day, QTime(10, 5));
    QTest::newRow("10:05") << QDateTime(day, QTime(10, 5)) << QDateTime(day, QTime(10, 10));
    QTest::newRow("10:09") << QDateTime(day, QTime(10, 9, 59)) << QDateTime(day, QTime(10, 10, 59));
    QTest::newRow("23:55 is the next day") << QDateTime(day, QTime(23, 55)) << QDateTime(day.addDays(1), QTime(0, 0));
    QTest::newRow("23:59") << QDateTime(day, QTime(23, 59, 30)) << QDateTime(day.addDays(1), QTime(0, 0, 30));
}

void TestMeetingRules::nextStart()
{
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, start);
    QCOMPARE(CMeetingRules::nextStart(now), start);
}

QTEST_MAIN(TestMeetingRules)
#include "tst_meetingrules.moc"
