#include <utility>

#include <QtTest>

#include "engine/kdtypes.h"

using namespace kd::engine;

namespace {

template <typename T> QVariant v(const T &value)
{
    return QVariant::fromValue(value);
}

QVariant s(const std::string &text)
{
    return QString::fromStdString(text);
}

KDError filledError()
{
    KDError error;
    error.type = 2;
    error.action = "avlogin";
    error.code = 4;
    error.msg = "wrong password";
    error.params = {"a", "b", "c"};
    return error;
}

} // namespace

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void copyIsDeepAndMoveEmptiesSource();
    void statsAlwaysHoldThirtyTwoStreams();
};

void TestRecords::values_data()
{
    QTest::addColumn<QVariant>("actual");
    QTest::addColumn<QVariant>("expected");

    // Defaults the client relies on.
    QTest::newRow("call contentEnabled") << v(KDCallInfo().contentEnabled) << v(true);
    QTest::newRow("call err.type") << v(KDCallInfo().err.type) << v(5);
    QTest::newRow("call svcCallType") << v(KDCallInfo().svcCallType) << v(0);
    QTest::newRow("error type") << v(KDError().type) << v(5);
    QTest::newRow("error code") << v(KDError().code) << v(0);
    QTest::newRow("device id") << v(KDDevice().id) << v(4294967295u);
    QTest::newRow("content dir") << v(KDContentInfo().dir) << v(1);
    QTest::newRow("content type") << v(KDContentInfo().type) << v(2);
    QTest::newRow("source pixel format") << v(KDContentSourceInfo().framePixelFormat) << v(13);
    QTest::newRow("source window") << v(KDContentSourceInfo().windowId == nullptr) << v(true);
    QTest::newRow("feature change password") << v(AVFeature().enableChangePassword) << v(true);
    QTest::newRow("feature AES") << v(AVFeature().passwordEncryptionWithAES) << v(false);
    QTest::newRow("stream width") << v(KDStreamStats().width) << v(0);
    QTest::newRow("diag item status") << v(KDDiag().call.streams[2].media[1].items[2].status) << v(0);

    // clear() puts back the defaults, and leaves alone what it must not touch.
    KDCallInfo call;
    call.isAudioOnly = true;
    call.contentEnabled = false;
    call.peer = "far";
    call.password = "pw";
    call.err = filledError();
    call.svcCallType = 2;
    call.svcCallAction = 9;
    call.reserved = 8;
    call.clear();
    QTest::newRow("call clear flags") << v(call.isAudioOnly || !call.contentEnabled) << v(false);
    QTest::newRow("call clear peer") << s(call.peer + call.password) << s("");
    QTest::newRow("call clear err") << v(call.err.type * 100 + call.err.code + int(call.err.params.size())) << v(500);
    QTest::newRow("call clear svcCallType") << v(call.svcCallType) << v(0);
    QTest::newRow("call clear keeps svcCallAction") << v(call.svcCallAction) << v(9);
    QTest::newRow("call clear keeps reserved") << v(call.reserved) << v(8);

    KDRegisterInfo registration;
    registration.type = 1;
    registration.state = 4;
    registration.useInternalServer = true;
    registration.internalServer = "in";
    registration.externalServer = "out";
    registration.transProtocol = 2;
    registration.reserved = 7;
    registration.reservedText = "x";
    registration.clear();
    QTest::newRow("register clear state")
        << v(registration.type + registration.state + registration.transProtocol) << v(0);
    QTest::newRow("register clear servers") << s(registration.internalServer + registration.externalServer) << s("");
    QTest::newRow("register clear internal flag") << v(registration.useInternalServer) << v(false);
    QTest::newRow("register clear keeps reserved") << v(registration.reserved) << v(7);
    QTest::newRow("register clear keeps reservedText") << s(registration.reservedText) << s("x");

    KDDevice device;
    device.id = 3;
    device.type = 2;
    device.name = "cam";
    device.clear();
    QTest::newRow("device clear id") << v(device.id) << v(4294967295u);
    QTest::newRow("device clear name") << s(device.name) << s("");

    KDContentSourceInfo source;
    source.type = 3;
    source.windowTitle = "screen";
    source.valid = true;
    source.frameBytesPerLine = 12;
    source.captureSize.width = 4;
    source.framePixelFormat = 5;
    source.keepRatio = true;
    source.clear();
    QTest::newRow("source clear format") << v(source.framePixelFormat) << v(13);
    QTest::newRow("source clear size") << v(source.captureSize.width + int(source.keepRatio)) << v(0);
    QTest::newRow("source clear keeps type") << v(source.type) << v(3);
    QTest::newRow("source clear keeps title") << s(source.windowTitle) << s("screen");
    QTest::newRow("source clear keeps valid") << v(source.valid) << v(true);
    QTest::newRow("source clear keeps line") << v(source.frameBytesPerLine) << v(12);

    KDContentInfo content;
    content.enabled = true;
    content.dir = 0;
    content.type = 3;
    content.senderName = "x";
    content.clear();
    QTest::newRow("content clear") << v(content.dir * 10 + content.type + int(content.enabled)) << v(12);

    AVFeature feature;
    feature.enableChangePassword = false;
    feature.version = "2";
    feature.clear();
    QTest::newRow("feature clear") << v(feature.enableChangePassword && feature.version.empty()) << v(true);

    KDPasswordPolicy policy;
    policy.minLength = 8;
    policy.specialChars = "#";
    policy.clear();
    QTest::newRow("policy clear") << v(policy.minLength + int(policy.specialChars.size())) << v(0);

    KDVolume volume;
    volume.mute = 1;
    volume.volume = 2.5f;
    volume.clear();
    QTest::newRow("volume clear") << v(volume.mute + volume.volume) << v(0.0f);
}

void TestRecords::values()
{
    QFETCH(QVariant, actual);
    QFETCH(QVariant, expected);
    QCOMPARE(actual, expected);
}

void TestRecords::copyIsDeepAndMoveEmptiesSource()
{
    KDError original = filledError();
    KDError copy = original;
    copy.params[0] = "changed";
    copy.action = "other";
    QCOMPARE(original.params.size(), size_t(3));
    QCOMPARE(original.params[0], std::string("a"));
    QCOMPARE(original.action, std::string("avlogin"));

    KDError moved = std::move(original);
    QCOMPARE(moved.params.size(), size_t(3));
    QVERIFY(original.params.empty());
    QVERIFY(original.action.empty());
    QCOMPARE(original.code, 4);

    KDError &self = moved;
    moved = self;
    QCOMPARE(moved.params.size(), size_t(3));
    QCOMPARE(moved.msg, std::string("wrong password"));
}

void TestRecords::statsAlwaysHoldThirtyTwoStreams()
{
    KDStats stats;
    stats.count = 3;
    QCOMPARE(int(sizeof(stats.streams) / sizeof(stats.streams[0])), 32);
    stats.streams[31].codec = "last";
    const KDStats copy = stats;
    QCOMPARE(copy.streams[31].codec, std::string("last"));
}

QTEST_APPLESS_MAIN(TestRecords)
#include "tst_records.moc"
