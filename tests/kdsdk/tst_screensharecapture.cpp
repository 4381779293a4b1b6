#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QtTest>

#include "statewait.h"
#include "annfixture.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "ownxvfb.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

namespace {

const QColor kDesktop(30, 140, 90);
const QColor kOwnFrame(200, 40, 160);

// What the shared screen shows: one flat colour over all of it.
class Desktop : public QWidget
{
public:
    Desktop() : QWidget(nullptr, Qt::FramelessWindowHint) {}

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), kDesktop); }
};

QImage pictureOf(const kd::sdk::KDContentFrame &frame)
{
    return QImage(frame.pixels.data(), frame.width, frame.height, frame.bytesPerLine, QImage::Format(frame.format))
        .copy();
}

} // namespace

// The engine's own capture of a shared screen, on a private X server: it
// grabs while a screen source is sent in a call, stops with the sending or
// the call, gives way to frames the application hands over itself (type 3)
// and comes back when a screen source is set again.
class TestScreenShareCapture : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void capturesUntilStopped_data();
    void capturesUntilStopped();
    void ownFramesTakeOverAndScreenResumes();

private:
    void shareTheScreen();
    // The capture count stays put for several grab periods.
    bool captureHasStopped();

    Desktop m_desktop;
    CKDSdkManager *m_manager = nullptr;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestScreenShareCapture::initTestCase()
{
    m_desktop.setGeometry(QGuiApplication::primaryScreen()->geometry());
    m_desktop.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_desktop));
}

void TestScreenShareCapture::init()
{
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    annfixture::addServerAndAnn(m_control);
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "4001";
    meeting.name = "Review";
    m_control->addMeeting(meeting);
    QVERIFY(annfixture::signInAnn(m_manager));
    QVERIFY(annfixture::connectCall(m_manager, "4001"));
}

void TestScreenShareCapture::cleanup()
{
    CKDSdkManager::releaseInstance();
}

void TestScreenShareCapture::shareTheScreen()
{
    const std::vector<KDContentSourceInfo> sources = m_manager->getContentSourceList();
    QVERIFY(!sources.empty());
    QCOMPARE(sources.front().type, 0);
    QVERIFY(m_manager->setLocalContentSource(sources.front()));
    QVERIFY(m_manager->sendContent());
    const uint64_t before = m_control->contentFramesCaptured();
    QTRY_VERIFY_WITH_TIMEOUT(m_control->contentFramesCaptured() >= before + 2, kdtest::kStateWaitMs);
    const QImage frame = pictureOf(m_control->latestContentFrame());
    QCOMPARE(frame.size(), QGuiApplication::primaryScreen()->geometry().size());
    QCOMPARE(frame.pixelColor(frame.rect().center()), kDesktop);
}

bool TestScreenShareCapture::captureHasStopped()
{
    // A grab under way when the capture was told to stop may still land.
    QTest::qWait(3 * 100);
    const uint64_t settled = m_control->contentFramesCaptured();
    QTest::qWait(5 * 100);
    return m_control->contentFramesCaptured() == settled;
}

void TestScreenShareCapture::capturesUntilStopped_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("stop sending") << "stopContent";
    QTest::newRow("hang up") << "hangUp";
    QTest::newRow("far end hangs up") << "remote";
}

void TestScreenShareCapture::capturesUntilStopped()
{
    QFETCH(QString, end);
    shareTheScreen();
    if (end == "stopContent") {
        QVERIFY(m_manager->stopContent());
    } else if (end == "hangUp") {
        QVERIFY(m_manager->hangUp());
    } else {
        m_control->injectRemoteHangUp(0);
    }
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QVERIFY(captureHasStopped());
    // Setting the screen again without sending grabs nothing.
    const std::vector<KDContentSourceInfo> sources = m_manager->getContentSourceList();
    m_manager->setLocalContentSource(sources.front());
    QVERIFY(captureHasStopped());
}

void TestScreenShareCapture::ownFramesTakeOverAndScreenResumes()
{
    shareTheScreen();
    QImage own(64, 40, QImage::Format_RGB32);
    own.fill(kOwnFrame);
    KDContentSourceInfo info;
    info.type = 3;
    info.captureSize.width = own.width();
    info.captureSize.height = own.height();
    info.frameBytesPerLine = own.bytesPerLine();
    info.frameData = own.bits();
    info.framePixelFormat = KD_PIX_FMT_RGB32;
    const uint64_t taken = m_control->contentFramesTaken();
    QVERIFY(m_manager->setLocalContentSource(info));
    QCOMPARE(m_control->contentFramesTaken(), taken + 1);
    QVERIFY(captureHasStopped());
    // No grab of the screen replaced the application's frame.
    const QImage latest = pictureOf(m_control->latestContentFrame());
    QCOMPARE(latest.size(), own.size());
    QCOMPARE(latest.pixelColor(10, 10), kOwnFrame);

    // A screen source again: the engine grabs it once more.
    const std::vector<KDContentSourceInfo> sources = m_manager->getContentSourceList();
    const uint64_t captured = m_control->contentFramesCaptured();
    QVERIFY(m_manager->setLocalContentSource(sources.front()));
    QTRY_VERIFY_WITH_TIMEOUT(m_control->contentFramesCaptured() >= captured + 2, kdtest::kStateWaitMs);
    const QImage resumed = pictureOf(m_control->latestContentFrame());
    QCOMPARE(resumed.size(), QGuiApplication::primaryScreen()->geometry().size());
    QCOMPARE(resumed.pixelColor(resumed.rect().center()), kDesktop);
}

KD_OWN_XVFB_TEST_MAIN(TestScreenShareCapture)
#include "tst_screensharecapture.moc"
