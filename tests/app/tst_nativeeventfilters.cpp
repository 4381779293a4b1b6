#include <QtTest>

#include "app/cnativeeventfilters.h"

using kd_app::CNativeEventFilters;

class TestNativeEventFilters : public QObject
{
    Q_OBJECT

private slots:
    void sysCommands_data();
    void sysCommands();
    void x11EventsPass();
};

void TestNativeEventFilters::sysCommands_data()
{
    QTest::addColumn<uint>("message");
    QTest::addColumn<quintptr>("wParam");
    QTest::addColumn<bool>("swallowed");
    QTest::newRow("screen saver") << 0x0112u << quintptr(0xF140) << true;
    QTest::newRow("monitor power") << 0x0112u << quintptr(0xF170) << true;
    QTest::newRow("screen saver, low bits set") << 0x0112u << quintptr(0xF142) << false;
    QTest::newRow("monitor power, low bits set") << 0x0112u << quintptr(0xF171) << false;
    QTest::newRow("other system command") << 0x0112u << quintptr(0xF060) << false;
    QTest::newRow("other message, same wParam") << 0x0111u << quintptr(0xF140) << false;
}

void TestNativeEventFilters::sysCommands()
{
    QFETCH(uint, message);
    QFETCH(quintptr, wParam);
    QFETCH(bool, swallowed);
    QCOMPARE(CNativeEventFilters::isSwallowedSysCommand(message, wParam), swallowed);
}

void TestNativeEventFilters::x11EventsPass()
{
    CNativeEventFilters filter;
    char event[64] = {};
    long result = 7;
    QVERIFY(!filter.nativeEventFilter("xcb_generic_event_t", event, &result));
    QCOMPARE(result, 7L);
}

QTEST_GUILESS_MAIN(TestNativeEventFilters)
#include "tst_nativeeventfilters.moc"
