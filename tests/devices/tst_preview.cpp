#include <QWidget>
#include <QtTest>

#include "statewait.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;

namespace {

const QColor kBackground(1, 2, 3);

std::unique_ptr<QWidget> videoWindow()
{
    auto window = std::make_unique<QWidget>();
    window->resize(280, 160);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, kBackground);
    window->setPalette(palette);
    window->show();
    window->winId();
    return window;
}

// The middle of the first colour bar of the local picture.
QColor firstBar(QWidget &window)
{
    return window.grab().toImage().pixelColor(window.width() / 14, window.height() / 2);
}

} // namespace

// The local picture in the local video window: outside a call only while the
// preview is on, in a call always; it tells the current camera apart.
class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void previewDecidesOutsideACall();
    void pictureNamesTheCurrentCamera();
    void previewOffKeepsTheSelfViewOfACall();

private:
    kd::sdk::IEngineControl *m_control = nullptr;
    CKDSdkManager *m_manager = nullptr;
};

void TestPreview::init()
{
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "5001";
    meeting.name = "Review";
    m_control->addMeeting(meeting);
}

void TestPreview::cleanup()
{
    CKDSdkManager::releaseInstance();
}

void TestPreview::previewDecidesOutsideACall()
{
    auto window = videoWindow();
    QVERIFY(m_manager->enablePreview(false));
    QVERIFY(m_manager->setLocalVideoWindow(window->winId()));
    // Nothing painted over the window while the preview is off.
    QTest::qWait(300);
    QCOMPARE(firstBar(*window), kBackground);

    QVERIFY(m_manager->enablePreview(true));
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), QColor(Qt::white), kdtest::kStateWaitMs);

    QVERIFY(m_manager->enablePreview(false));
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), kBackground, kdtest::kStateWaitMs);
}

void TestPreview::pictureNamesTheCurrentCamera()
{
    auto window = videoWindow();
    QVERIFY(m_manager->enablePreview(true));
    QVERIFY(m_manager->setLocalVideoWindow(window->winId()));
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), QColor(Qt::white), kdtest::kStateWaitMs);

    QSignalSpy added(m_manager, &CKDSdkManager::eventDeviceAdded);
    KDDevice usb;
    usb.type = KD_DEVICE_CAMERA;
    usb.name = "USB cam";
    m_control->injectDeviceAdded(usb);
    QTRY_COMPARE_WITH_TIMEOUT(added.count(), 1, kdtest::kStateWaitMs);
    m_manager->setDevice(KD_DEVICE_CAMERA, added.at(0).at(0).value<KDDevice>().id);
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), QColor(Qt::yellow), kdtest::kStateWaitMs);

    m_manager->setDevice(KD_DEVICE_CAMERA, m_manager->getDevices(KD_DEVICE_CAMERA).front().id);
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), QColor(Qt::white), kdtest::kStateWaitMs);
}

void TestPreview::previewOffKeepsTheSelfViewOfACall()
{
    QSignalSpy connected(m_manager, &CKDSdkManager::eventCallConnected);
    QVERIFY(m_manager->dialOut("5001", true));
    QTRY_COMPARE_WITH_TIMEOUT(connected.count(), 1, kdtest::kStateWaitMs);
    auto window = videoWindow();
    QVERIFY(m_manager->setLocalVideoWindow(window->winId()));
    QVERIFY(m_manager->enablePreview(true));
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), QColor(Qt::white), kdtest::kStateWaitMs);
    // A settings window closing during the call turns the preview off.
    QVERIFY(m_manager->enablePreview(false));
    QTest::qWait(300);
    QCOMPARE(firstBar(*window), QColor(Qt::white));

    QSignalSpy ended(m_manager, &CKDSdkManager::eventCallEnd);
    QVERIFY(m_manager->hangUp());
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kdtest::kStateWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(*window), kBackground, kdtest::kStateWaitMs);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
