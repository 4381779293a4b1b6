#include "cmediadevices.h"

#include <cmath>

#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include "caudioio.h"
#include "ccameracapture.h"
#include "ccamerawatch.h"
#include "cmediathread.h"
#include "csoundserverwatch.h"
#include "csystemdevices.h"
#include "cwavinfo.h"
#include "kdsdkcontrol.h"

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

// Where the system cannot tell device changes, plugging a headset in shows
// up within about this long.
constexpr int kPollIntervalMs = 30000;
// Qt's own lists follow the sound server within moments.
constexpr int kSettleIntervalMs = 100;
constexpr int kSettleTries = 50;

bool wantsSystemDevices()
{
    const QByteArray choice = qgetenv("KDSDK_DEVICES");
    if (choice == "synthetic") {
        return false;
    }
    if (!choice.isEmpty() && choice != "system") {
        qWarning("kdsdk: unknown device choice \"%s\", using the system's devices", choice.constData());
    }
    return QCoreApplication::instance() != nullptr;
}

// "KDSDK_DEVICE_WATCH=none" polls as where the system tells no device
// changes, "sound" follows the sound server only.
bool mayWatch(const char *what)
{
    const QByteArray choice = qgetenv("KDSDK_DEVICE_WATCH");
    return choice.isNull() || choice.split(',').contains(what);
}

// The names of the sound server's own devices in a list.
std::set<std::string> namesOf(const std::vector<CSystemDevice> &devices)
{
    std::set<std::string> names;
    for (const CSystemDevice &device : devices) {
        names.insert(device.name);
    }
    return names;
}

// A speaking-like level that moves with time.
float generatedLevel()
{
    const double t = double(QDateTime::currentMSecsSinceEpoch() % 100000) / 1000.0;
    return float(0.25 + 0.2 * std::sin(t * 5.0) * std::sin(t * 1.3));
}

} // namespace

CMediaDevices::CMediaDevices(CDeviceManager::Raise raise)
    : m_devices(std::make_unique<CDeviceManager>(std::move(raise))), m_pollIntervalMs(kPollIntervalMs)
{
    if (!wantsSystemDevices()) {
        return;
    }
    m_media = std::make_unique<CMediaThread>();
    m_media->run([this] {
        QObject *context = m_media->context();
        m_audio = new CAudioIo(context);
        m_pollTimer = new QTimer(context);
        QObject::connect(m_pollTimer, &QTimer::timeout, context, [this] {
            pollUnfollowed();
            // The sound server may have come (back) meanwhile.
            watch();
        });
        m_settleTimer = new QTimer(context);
        m_settleTimer->setSingleShot(true);
        m_settleTimer->setInterval(kSettleIntervalMs);
        QObject::connect(m_settleTimer, &QTimer::timeout, context, [this] { settleSound(); });
        m_listed = CSystemDeviceLister::list();
        m_devices->applySystem(m_listed, false);
        watch();
    });
}

void CMediaDevices::watch()
{
    QObject *context = m_media->context();
    if (!m_cameraWatch && mayWatch("cameras")) {
        m_cameraWatch = new CCameraWatch([this] { poll(); }, context);
        if (!m_cameraWatch->start()) {
            delete m_cameraWatch;
            m_cameraWatch = nullptr;
        }
    }
    m_camerasFollowed = m_cameraWatch != nullptr;
    if (!m_soundWatch && mayWatch("sound")) {
        const auto changed = [this](const CSoundServerDevices &devices) {
            m_soundFollowed = true;
            m_serverSpeakers = devices.speakers;
            m_serverMicrophones = devices.microphones;
            m_settleTries = kSettleTries;
            settleSound();
            updatePolling();
        };
        const auto lost = [this] {
            m_soundFollowed = false;
            updatePolling();
        };
        m_soundWatch = new CSoundServerWatch(changed, lost, context);
    }
    if (m_soundWatch && !m_soundWatch->connected() && !m_soundWatch->start()) {
        m_soundFollowed = false;
    }
    updatePolling();
}

void CMediaDevices::updatePolling()
{
    // While connecting, the sound server tells soon whether it is there.
    const bool soundPending = m_soundWatch && m_soundWatch->connecting();
    const bool soundPolled = !m_soundFollowed && !soundPending;
    const bool camerasPolled = !m_camerasFollowed;
    if (!(soundPolled || camerasPolled) || m_pollIntervalMs <= 0 || isShutDown()) {
        m_pollTimer->stop();
        return;
    }
    logPolling(soundPolled, &m_soundPollingLogged, "the sound server");
    logPolling(camerasPolled, &m_cameraPollingLogged, "the device manager");
    if (!m_pollTimer->isActive() || m_pollTimer->interval() != m_pollIntervalMs) {
        m_pollTimer->start(m_pollIntervalMs);
    }
}

void CMediaDevices::logPolling(bool polled, bool *logged, const char *teller) const
{
    if (!polled || *logged) {
        return;
    }
    *logged = true;
    qInfo("kdsdk: %s cannot tell device changes here; reading the device lists every %d s", teller,
          m_pollIntervalMs / 1000);
}

void CMediaDevices::settleSound()
{
    const CSystemDevices listed = CSystemDeviceLister::list();
    apply(listed);
    const bool agrees = namesOf(listed.lists[KD_DEVICE_SPEAKER]) == m_serverSpeakers &&
                        namesOf(listed.lists[KD_DEVICE_MIC]) == m_serverMicrophones;
    if (!agrees && --m_settleTries > 0) {
        m_settleTimer->start();
    }
}

CMediaDevices::~CMediaDevices()
{
    shutDown();
    m_media.reset();
}

void CMediaDevices::shutDown()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutDown) {
            return;
        }
        m_shutDown = true;
        m_meterOn = false;
        m_cameraWanted = false;
        m_syntheticEnd = Clock::time_point();
    }
    if (m_media) {
        m_media->run([this] {
            m_pollTimer->stop();
            m_settleTimer->stop();
            delete m_soundWatch;
            m_soundWatch = nullptr;
            delete m_cameraWatch;
            m_cameraWatch = nullptr;
            m_audio->stopPlayback();
            m_audio->stopMeter();
            updateCamera();
        });
    }
}

bool CMediaDevices::currentIsSystem(int type, std::string *key) const
{
    const KDDevice device = m_devices->current(type);
    *key = m_devices->systemKey(type, device.id);
    return m_media && !key->empty();
}

void CMediaDevices::poll()
{
    if (!isShutDown()) {
        apply(CSystemDeviceLister::list());
    }
}

void CMediaDevices::pollUnfollowed()
{
    if (isShutDown()) {
        return;
    }
    CSystemDevices listed = m_listed;
    if (!m_soundFollowed) {
        CSystemDeviceLister::listSound(&listed);
    }
    if (!m_camerasFollowed) {
        CSystemDeviceLister::listCameras(&listed);
    }
    apply(listed);
}

bool CMediaDevices::isShutDown() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shutDown;
}

void CMediaDevices::apply(const CSystemDevices &listed)
{
    if (isShutDown()) {
        return;
    }
    m_listed = listed;
    m_devices->applySystem(listed);
    updateMeter();
    updateCamera();
}

void CMediaDevices::pollNow()
{
    if (m_media) {
        m_media->run([this] { poll(); });
    }
}

void CMediaDevices::setPollInterval(int milliseconds)
{
    if (!m_media) {
        return;
    }
    m_media->run([this, milliseconds] {
        m_pollIntervalMs = milliseconds;
        m_pollTimer->stop();
        updatePolling();
    });
}

int CMediaDevices::select(int type, unsigned id)
{
    const int rc = m_devices->select(type, id);
    if (rc == KD_OK && type == KD_DEVICE_MIC && m_media) {
        m_media->post([this] { updateMeter(); });
    }
    if (rc == KD_OK && type == KD_DEVICE_CAMERA && m_media) {
        m_media->post([this] { updateCamera(); });
    }
    return rc;
}

int CMediaDevices::updateMeter()
{
    bool on = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        on = m_meterOn && !m_shutDown;
    }
    std::string key;
    const QAudioDeviceInfo microphone = on && currentIsSystem(KD_DEVICE_MIC, &key)
                                            ? CSystemDeviceLister::audioDevice(KD_DEVICE_MIC, key)
                                            : QAudioDeviceInfo();
    const QString name = microphone.isNull() ? QString() : microphone.deviceName();
    if (name == m_meterDevice) {
        return KD_OK;
    }
    m_audio->stopMeter();
    m_meterDevice.clear();
    if (microphone.isNull()) {
        return on && !key.empty() ? KD_ERR_GENERIC : KD_OK;
    }
    if (!m_audio->startMeter(microphone)) {
        return KD_ERR_GENERIC;
    }
    m_meterDevice = name;
    return KD_OK;
}

int CMediaDevices::enableMeter(bool enable)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutDown) {
            return KD_OK;
        }
        m_meterOn = enable;
    }
    int rc = KD_OK;
    if (m_media) {
        m_media->run([this, &rc] { rc = updateMeter(); });
    }
    return rc;
}

void CMediaDevices::setCameraSink(std::function<void(const QImage &)> sink)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cameraSink = std::move(sink);
}

void CMediaDevices::setCameraWanted(bool wanted)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutDown || m_cameraWanted == wanted) {
            return;
        }
        m_cameraWanted = wanted;
    }
    if (m_media) {
        m_media->post([this] { updateCamera(); });
    }
}

void CMediaDevices::updateCamera()
{
    bool wanted = false;
    std::function<void(const QImage &)> sink;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        wanted = m_cameraWanted && !m_shutDown;
        sink = m_cameraSink;
    }
    std::string key;
    const QCameraInfo camera =
        wanted && currentIsSystem(KD_DEVICE_CAMERA, &key) ? CSystemDeviceLister::camera(key) : QCameraInfo();
    if (m_camera && !camera.isNull() && m_camera->camera() == camera) {
        return;
    }
    delete m_camera;
    m_camera = nullptr;
    if (!camera.isNull()) {
        m_camera = new CCameraCapture(camera, sink, m_media->context());
    }
}

float CMediaDevices::micLevel()
{
    if (m_devices->current(KD_DEVICE_MIC).id == KDDevice().id) {
        return 0.0f;
    }
    std::string key;
    const bool system = currentIsSystem(KD_DEVICE_MIC, &key);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_meterOn) {
        return 0.0f;
    }
    if (system) {
        return m_audio->level();
    }
    return m_syntheticLevel >= 0.0f || std::isnan(m_syntheticLevel) ? m_syntheticLevel : generatedLevel();
}

void CMediaDevices::setSyntheticMicLevel(float level)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_syntheticLevel = level;
}

int CMediaDevices::setAudioFile(const std::string &path)
{
    const double seconds = wavDurationSeconds(QString::fromLocal8Bit(path.c_str()));
    if (seconds < 0) {
        return KD_ERR_FILE;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_audioFile = path;
    m_audioSeconds = seconds;
    return KD_OK;
}

int CMediaDevices::startPlay()
{
    std::string file;
    double seconds = 0.0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_shutDown || m_audioFile.empty()) {
            return KD_ERR_FILE;
        }
        file = m_audioFile;
        seconds = m_audioSeconds;
    }
    stopPlay();
    std::string key;
    if (!currentIsSystem(KD_DEVICE_SPEAKER, &key)) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_syntheticEnd = Clock::now() + std::chrono::microseconds(int64_t(seconds * 1e6));
        return KD_OK;
    }
    CWavData wav;
    if (!readWav(QString::fromLocal8Bit(file.c_str()), &wav)) {
        return KD_ERR_FILE;
    }
    int rc = KD_OK;
    m_media->run(
        [this, &rc, &wav, &key] { rc = m_audio->play(CSystemDeviceLister::audioDevice(KD_DEVICE_SPEAKER, key), wav); });
    std::lock_guard<std::mutex> lock(m_mutex);
    m_systemPlayback = rc == KD_OK;
    return rc;
}

int CMediaDevices::stopPlay()
{
    bool system = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_syntheticEnd = Clock::time_point();
        system = m_systemPlayback;
        m_systemPlayback = false;
    }
    if (system) {
        m_media->run([this] { m_audio->stopPlayback(); });
    }
    return KD_OK;
}

bool CMediaDevices::isPlaying()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_systemPlayback) {
        return m_audio->isPlaying();
    }
    return Clock::now() < m_syntheticEnd;
}

} // namespace sdk
} // namespace kd
