#include <QtTest>

#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

// Frames that the application captures itself: which pixel formats the
// engine takes, what it keeps of them, and what its control interface shows.
class TestContentFrames : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void formats_data();
    void formats();
    void brokenRecordsAreRefused_data();
    void brokenRecordsAreRefused();
    void operationRecordKeepsTheNewest();

private:
    CKDSdkManager *m_manager = nullptr;
    kd::sdk::IEngineControl *m_control = nullptr;
};

namespace {

KDContentSourceInfo frameRecord(QImage &image, int formatCode)
{
    KDContentSourceInfo info;
    info.type = 3;
    info.captureSize.width = image.width();
    info.captureSize.height = image.height();
    info.frameBytesPerLine = int(image.bytesPerLine());
    info.frameData = image.bits();
    info.framePixelFormat = formatCode;
    return info;
}

} // namespace

void TestContentFrames::init()
{
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
}

void TestContentFrames::cleanup()
{
    CKDSdkManager::releaseInstance();
}

void TestContentFrames::formats_data()
{
    QTest::addColumn<int>("qtFormat");
    QTest::addColumn<int>("code");

    // An X11 grab is RGB32; the others are what a painter or a decoder gives.
    QTest::newRow("rgb32") << int(QImage::Format_RGB32) << int(KD_PIX_FMT_RGB32);
    QTest::newRow("argb32") << int(QImage::Format_ARGB32) << int(KD_PIX_FMT_ARGB32);
    QTest::newRow("argb32 premultiplied")
        << int(QImage::Format_ARGB32_Premultiplied) << int(KD_PIX_FMT_ARGB32_PREMULTIPLIED);
    QTest::newRow("rgb888") << int(QImage::Format_RGB888) << int(KD_PIX_FMT_RGB888);
}

void TestContentFrames::formats()
{
    QFETCH(int, qtFormat);
    QFETCH(int, code);

    QImage image(7, 3, QImage::Format(qtFormat));
    image.fill(QColor(10, 120, 230));
    image.setPixelColor(6, 2, QColor(250, 5, 40));
    QCOMPARE(m_control->contentFramesTaken(), uint64_t(0));
    QCOMPARE(m_control->latestContentFrame().width, 0);

    KDContentSourceInfo info = frameRecord(image, code);
    QVERIFY(m_manager->setLocalContentSource(info));
    // The engine copied the pixels: the caller may reuse its buffer at once.
    image.fill(Qt::black);

    QCOMPARE(m_control->contentFramesTaken(), uint64_t(1));
    const kd::sdk::KDContentFrame frame = m_control->latestContentFrame();
    QCOMPARE(frame.width, 7);
    QCOMPARE(frame.height, 3);
    QCOMPARE(frame.format, code);
    QCOMPARE(frame.pixels.size(), size_t(frame.bytesPerLine) * 3);
    const QImage kept(frame.pixels.data(), frame.width, frame.height, frame.bytesPerLine, QImage::Format(frame.format));
    QCOMPARE(kept.pixelColor(0, 0), QColor(10, 120, 230));
    QCOMPARE(kept.pixelColor(6, 2), QColor(250, 5, 40));
}

void TestContentFrames::brokenRecordsAreRefused_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("bytesPerLine");
    QTest::addColumn<bool>("pixels");
    QTest::addColumn<int>("width");

    QTest::newRow("mono format") << int(QImage::Format_Mono) << 32 << true << 8;
    QTest::newRow("rgb16 format") << int(QImage::Format_RGB16) << 32 << true << 8;
    QTest::newRow("format 0") << 0 << 32 << true << 8;
    QTest::newRow("format past the last") << int(QImage::NImageFormats) << 32 << true << 8;
    QTest::newRow("negative format") << -1 << 32 << true << 8;
    QTest::newRow("line too short") << int(KD_PIX_FMT_RGB32) << 31 << true << 8;
    QTest::newRow("no pixels") << int(KD_PIX_FMT_RGB32) << 32 << false << 8;
    QTest::newRow("no width") << int(KD_PIX_FMT_RGB32) << 32 << true << 0;
}

void TestContentFrames::brokenRecordsAreRefused()
{
    QFETCH(int, code);
    QFETCH(int, bytesPerLine);
    QFETCH(bool, pixels);
    QFETCH(int, width);

    QImage image(8, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    KDContentSourceInfo info = frameRecord(image, code);
    info.captureSize.width = width;
    info.frameBytesPerLine = bytesPerLine;
    if (!pixels) {
        info.frameData = nullptr;
    }
    QVERIFY(!m_manager->setLocalContentSource(info));
    QCOMPARE(m_control->contentFramesTaken(), uint64_t(0));
    QCOMPARE(m_control->latestContentFrame().width, 0);
}

// A capture adds ten records a second for as long as it runs; the record
// must not grow with it.
void TestContentFrames::operationRecordKeepsTheNewest()
{
    m_control->clearOperations();
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    KDContentSourceInfo info = frameRecord(image, KD_PIX_FMT_RGB32);
    const std::size_t calls = kd::sdk::KD_OPERATION_RECORD_LIMIT + 25;
    for (std::size_t i = 0; i < calls; ++i) {
        QVERIFY(m_manager->setLocalContentSource(info));
    }
    m_manager->getBandwidth();

    const std::vector<kd::sdk::KDOperationRecord> operations = m_control->operations();
    QCOMPARE(operations.size(), kd::sdk::KD_OPERATION_RECORD_LIMIT);
    QCOMPARE(operations.back().name, std::string("getBandwidth"));
    QCOMPARE(operations.front().name, std::string("setLocalContentSource"));
    QCOMPARE(m_control->contentFramesTaken(), uint64_t(calls));
}

QTEST_MAIN(TestContentFrames)
#include "tst_contentframes.moc"
