#include "cavengine.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <sstream>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QThread>

#include "cpasswordcipher.h"

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

// One log line whatever the arguments hold: names and addresses come from
// outside, and a line end in them must not start a forged line.
QByteArray oneLine(const std::string &text)
{
    QByteArray line;
    line.reserve(int(text.size()));
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            line += c;
        } else if (c == '\t') {
            line += c;
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else {
            line += "\\x" + QByteArray::number(byte, 16).rightJustified(2, '0');
        }
    }
    return line;
}

std::string str(const char *text)
{
    return text ? std::string(text) : std::string();
}

std::string flag(bool value)
{
    return value ? "1" : "0";
}

std::string splitPassword(const std::string &number, std::string *password)
{
    // "1001*secret@host" dials meeting 1001 on host with the password secret.
    const size_t at = number.find('@');
    const std::string head = number.substr(0, at);
    const std::string tail = at == std::string::npos ? std::string() : number.substr(at);
    const size_t star = head.find('*');
    if (star == std::string::npos) {
        password->clear();
        return number;
    }
    *password = head.substr(star + 1);
    return head.substr(0, star) + tail;
}

std::string meetingKey(const std::string &number)
{
    return number.substr(0, number.find('@'));
}

// Runs on the graphical thread and waits for it; directly when already there.
void onGuiThread(const std::function<void()> &work)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        work();
        return;
    }
    QMetaObject::invokeMethod(app, work, Qt::BlockingQueuedConnection);
}

} // namespace

CAVEngine::CAVEngine(std::unique_ptr<IBackend> backend) : m_backend(std::move(backend)), m_presence(*m_backend)
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        m_renderer = std::make_unique<CVideoRenderer>();
        m_renderer->moveToThread(app->thread());
    }
    const QByteArray latency = qgetenv("KDSDK_EVENT_LATENCY_MS");
    if (!latency.isEmpty()) {
        m_latencyMs = latency.toInt();
    }
    m_deadlines = std::make_unique<CDeadlines>();
    m_diagnosis = std::make_unique<CDiagnosis>(
        [this](const std::string &host, unsigned port, size_t upload, size_t download,
               std::chrono::milliseconds limit) { return m_backend->ping(host, port, upload, download, limit); });
    m_media = std::make_unique<CMediaDevices>([this](CDeviceManager::Event event) { raise(std::move(event)); });
    m_media->setCameraSink([this](const QImage &picture) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_cameraFrame = picture;
        }
        publishScene();
    });
    m_screenCapture = std::make_unique<CScreenCapture>([this](const QImage &frame) { takeCapturedFrame(frame); });
    for (KDVolume &volume : m_volumes) {
        volume.volume = 1.0f;
    }
    m_localName = QSysInfo::machineHostName().toStdString();
    m_accountRegistration.type = KD_CALL_TYPE_ACCOUNT;
    m_sipRegistration.type = KD_CALL_TYPE_SIP;
    m_backend->setTransport(m_secure, m_rootCA);
    publishScene();
}

CAVEngine::~CAVEngine()
{
    m_deadlines->stop();
    m_screenCapture->stop();
    release();
    m_dispatcher.stop();
    writeLog("deleteAVEngine");
    std::function<void(const std::string &)> listener;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        listener = m_operationListener;
    }
    if (listener) {
        listener("deleteAVEngine");
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (unsigned char *data : m_bitmaps) {
        delete[] data;
    }
    m_bitmaps.clear();
    QCoreApplication *app = QCoreApplication::instance();
    if (m_renderer && app && QThread::currentThread() != app->thread()) {
        m_renderer.release()->deleteLater();
    }
}

// ---- plumbing -------------------------------------------------------------

int CAVEngine::enter(const char *operation, const std::string &args)
{
    int code = KD_OK;
    std::function<void(const std::string &)> listener;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        listener = m_operationListener;
        if (m_operations.size() >= KD_OPERATION_RECORD_LIMIT) {
            m_operations.pop_front();
        }
        m_operations.push_back(KDOperationRecord{operation, args});
        auto failure = m_failures.find(operation);
        if (failure != m_failures.end() && !failure->second.empty()) {
            code = failure->second.front();
            failure->second.pop_front();
        }
    }
    writeLog(std::string(operation) + "(" + args + ")" + (code ? " -> forced " + std::to_string(code) : ""));
    if (listener) {
        listener(operation);
    }
    waitIfDelayed(operation);
    return code;
}

void CAVEngine::writeLog(const std::string &line)
{
    std::lock_guard<std::mutex> lock(m_logMutex);
    if (!m_logEnabled || !m_logFile.isOpen()) {
        return;
    }
    if (m_logMaxSize > 0 && unsigned(m_logFile.size()) >= m_logMaxSize) {
        // Keep one older file so a long session never fills the disk.
        const QString path = m_logFile.fileName();
        const QString older = path.left(path.size() - 4) + QStringLiteral(".1.log");
        m_logFile.close();
        QFile::remove(older);
        QFile::rename(path, older);
        m_logFile.open(QIODevice::WriteOnly | QIODevice::Append);
    }
    const QByteArray stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")).toUtf8();
    m_logFile.write(stamp + " [" + QByteArray::number(qulonglong(quintptr(QThread::currentThreadId()))) + "] " +
                    oneLine(line) + '\n');
    m_logFile.flush();
}

void CAVEngine::post(std::function<void()> task)
{
    int latency = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        latency = m_latencyMs;
    }
    m_dispatcher.post(std::move(task), latency);
}

void CAVEngine::deliver(const Event &event)
{
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    if (m_handler && !m_released) {
        event(*m_handler);
    }
}

void CAVEngine::raise(std::function<void(IAVEventHandler &)> event)
{
    post([this, event] { deliver(event); });
}

void CAVEngine::raiseError(const std::string &action, const COutcome &outcome)
{
    writeLog("error " + action + " " + outcome.describe());
    const KDError error = outcome.toError(action);
    deliver([error](IAVEventHandler &handler) {
        KDError copy = error;
        handler.onError(copy);
    });
}

void CAVEngine::publishScene()
{
    if (!m_renderer) {
        return;
    }
    CVideoScene scene;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        scene.localName = QString::fromStdString(m_signedIn ? m_user.displayName : m_localName);
        if (m_phase == CallPhase::Connected) {
            for (const std::string &name : m_meeting.participants) {
                scene.participants << QString::fromStdString(name);
            }
        }
        scene.localContentFrame = m_contentFrame;
        scene.contentSender = QString::fromStdString(m_remoteSender);
        scene.cameraOn = m_cameraOn;
        // Outside a call the preview decides; in a call the self-view stays.
        scene.localPictureOn = m_phase == CallPhase::Connected || m_preview;
        scene.cameraFrame = m_cameraFrame;
    }
    const KDDevice camera = m_media->devices().current(KD_DEVICE_CAMERA);
    scene.cameraName = QString::fromStdString(camera.name);
    const std::vector<KDDevice> cameras = m_media->devices().devices(KD_DEVICE_CAMERA);
    for (size_t i = 0; i < cameras.size(); ++i) {
        if (cameras[i].id == camera.id) {
            scene.cameraIndex = int(i);
        }
    }
    m_media->setCameraWanted(scene.localPictureOn && scene.cameraOn);
    m_renderer->setScene(scene);
}

void CAVEngine::saveConfig()
{
    std::string file;
    unsigned bandwidth = 0;
    int renderType = 0;
    bool hd = false;
    bool highFps = false;
    bool content = true;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        file = m_configFile;
        bandwidth = m_bandwidth;
        renderType = m_renderType;
        hd = m_hd;
        highFps = m_highFps;
        content = m_contentEnabled;
    }
    if (file.empty()) {
        return;
    }
    QSettings settings(QString::fromLocal8Bit(file.c_str()), QSettings::IniFormat);
    settings.setValue(QStringLiteral("video/bandwidth"), bandwidth);
    settings.setValue(QStringLiteral("video/renderType"), renderType);
    settings.setValue(QStringLiteral("video/hd"), hd);
    settings.setValue(QStringLiteral("video/highFps"), highFps);
    settings.setValue(QStringLiteral("content/enabled"), content);
    settings.sync();
}

// ---- set-up ---------------------------------------------------------------

int CAVEngine::setLog(int level, const char *log_path, const char *log_file_name, unsigned max_file_size)
{
    const int forced = enter("setLog", std::to_string(level) + "," + str(log_path) + "," + str(log_file_name) + "," +
                                           std::to_string(max_file_size));
    if (forced) {
        return forced;
    }
    const QString folder = QString::fromLocal8Bit(log_path ? log_path : "");
    const QString name = QString::fromLocal8Bit(log_file_name ? log_file_name : "");
    if (folder.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    if (!QDir().mkpath(folder)) {
        return KD_ERR_FILE;
    }
    std::lock_guard<std::mutex> lock(m_logMutex);
    m_logFile.close();
    m_logFile.setFileName(QDir(folder).filePath(name + QStringLiteral(".log")));
    m_logMaxSize = max_file_size;
    return m_logFile.open(QIODevice::WriteOnly | QIODevice::Append) ? KD_OK : KD_ERR_FILE;
}

int CAVEngine::enableLog(bool enable)
{
    {
        std::lock_guard<std::mutex> lock(m_logMutex);
        m_logEnabled = enable;
    }
    return enter("enableLog", flag(enable));
}

int CAVEngine::initialize(const char *config_path, const char *config_file_name)
{
    if (const int forced = enter("initialize", str(config_path) + "," + str(config_file_name))) {
        return forced;
    }
    const QString folder = QString::fromLocal8Bit(config_path ? config_path : "");
    const QString name = QString::fromLocal8Bit(config_file_name ? config_file_name : "");
    if (folder.isEmpty() || name.isEmpty() || !QDir().mkpath(folder)) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    const QString file = QDir(folder).filePath(name);
    QSettings settings(file, QSettings::IniFormat);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_configFile = file.toLocal8Bit().toStdString();
    m_bandwidth = settings.value(QStringLiteral("video/bandwidth"), m_bandwidth).toUInt();
    m_renderType = settings.value(QStringLiteral("video/renderType"), m_renderType).toInt();
    m_hd = settings.value(QStringLiteral("video/hd"), m_hd).toBool();
    m_highFps = settings.value(QStringLiteral("video/highFps"), m_highFps).toBool();
    m_contentEnabled = settings.value(QStringLiteral("content/enabled"), m_contentEnabled).toBool();
    return KD_OK;
}

int CAVEngine::setRootCA(const char *path)
{
    if (const int forced = enter("setRootCA", str(path))) {
        return forced;
    }
    if (!QFileInfo(QString::fromLocal8Bit(str(path).c_str())).isFile()) {
        return KD_ERR_FILE;
    }
    bool secure = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_rootCA = str(path);
        secure = m_secure;
    }
    m_backend->setTransport(secure, str(path));
    return KD_OK;
}

int CAVEngine::setUserImage(const char *background_file_path, const char *user_image_path)
{
    if (const int forced = enter("setUserImage", str(background_file_path) + "," + str(user_image_path))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_backgroundImage = str(background_file_path);
    m_userImage = str(user_image_path);
    return KD_OK;
}

int CAVEngine::enableWhiteBoard(bool enable)
{
    return store("enableWhiteBoard", flag(enable), m_whiteBoard, enable);
}

int CAVEngine::setUserAgent(const char *company, const char *version)
{
    if (const int forced = enter("setUserAgent", str(company) + "," + str(version))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_company = str(company);
    m_version = str(version);
    return KD_OK;
}

void CAVEngine::release()
{
    {
        std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
        if (m_released) {
            return;
        }
        m_released = true;
    }
    enter("release");
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase == CallPhase::Connected) {
            m_presence.owe(m_meeting);
            m_meeting = KDMeetingInfo();
        }
    }
    // Off the server's list before the network is cut.
    m_presence.leaveOwed();
    // A request waiting on a slow server would otherwise hold up the join below.
    m_backend->abort();
    m_diagnosis->stop();
    if (!m_dispatcher.isDispatcherThread()) {
        m_dispatcher.stop();
    }
    if (m_renderer) {
        m_renderer->clearAll();
    }
    m_media->shutDown();
}

int CAVEngine::enableSecure(bool enable)
{
    const int rc = store("enableSecure", flag(enable), m_secure, enable);
    if (rc == KD_OK) {
        std::string rootCA;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            rootCA = m_rootCA;
        }
        m_backend->setTransport(enable, rootCA);
    }
    return rc;
}

// ---- passwords ------------------------------------------------------------

std::string CAVEngine::encryptPassword(int type, const char *text, const char *key)
{
    if (enter("encryptPassword", std::to_string(type) + ",key") != KD_OK || type != 2 || !text) {
        return std::string();
    }
    return CPasswordCipher::encrypt(text, str(key), std::string());
}

std::string CAVEngine::encryptPassword(int type, const char *text)
{
    if (enter("encryptPassword", std::to_string(type)) != KD_OK || !text || (type != 0 && type != 1)) {
        return std::string();
    }
    return CPasswordCipher::wrapForTransport(type, text);
}

std::string CAVEngine::encodePassword(const char *text)
{
    if (enter("encodePassword") != KD_OK || !text) {
        return std::string();
    }
    return CPasswordCipher::wrapForTransport(1, text);
}

std::string CAVEngine::descryptPassword(int type, const char *text, const char *key, const char *iv)
{
    if (enter("descryptPassword", std::to_string(type)) != KD_OK || type != 2 || !text) {
        return std::string();
    }
    return CPasswordCipher::decrypt(text, str(key), str(iv));
}

int CAVEngine::validatePassword(const char *password)
{
    if (const int forced = enter("validatePassword")) {
        return forced;
    }
    return CPasswordCipher::checkPolicy(str(password), m_backend->passwordPolicy());
}

KDPasswordPolicy CAVEngine::getPasswordPolicy()
{
    enter("getPasswordPolicy");
    return m_backend->passwordPolicy();
}

int CAVEngine::changePassword(const char *oldPassword, const char *newPassword)
{
    if (const int forced = enter("changePassword")) {
        return forced;
    }
    const std::string oldPlain = CPasswordCipher::unwrapTransport(str(oldPassword));
    const std::string newPlain = CPasswordCipher::unwrapTransport(str(newPassword));
    if (const int rule = CPasswordCipher::checkPolicy(newPlain, m_backend->passwordPolicy())) {
        return rule;
    }
    std::string token;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        token = m_user.token;
    }
    const int rc = m_backend->changePassword(token, oldPlain, newPlain);
    if (rc == KD_OK) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_user.everChangedPasswd = true;
        m_user.passwordChangeRequired = false;
    }
    return rc;
}

// ---- devices and sound ----------------------------------------------------

std::vector<KDDevice> CAVEngine::getDevices(KD_DEVICE_TYPE type)
{
    enter("getDevices", std::to_string(type));
    return m_media->devices().devices(type);
}

KDDevice CAVEngine::getDevice(KD_DEVICE_TYPE type)
{
    enter("getDevice", std::to_string(type));
    return m_media->devices().current(type);
}

int CAVEngine::setDevice(KD_DEVICE_TYPE type, unsigned id)
{
    if (const int forced = enter("setDevice", std::to_string(type) + "," + std::to_string(id))) {
        return forced;
    }
    const int rc = m_media->select(type, id);
    if (rc == KD_OK && type == KD_DEVICE_CAMERA) {
        publishScene();
    }
    return rc;
}

int CAVEngine::enableMicMeter(bool enable)
{
    if (const int forced = enter("enableMicMeter", flag(enable))) {
        return forced;
    }
    return m_media->enableMeter(enable);
}

float CAVEngine::getMicVolume()
{
    enter("getMicVolume");
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_micOn) {
            return 0.0f;
        }
    }
    return m_media->micLevel();
}

int CAVEngine::setAudioFile(const char *path)
{
    if (const int forced = enter("setAudioFile", str(path))) {
        return forced;
    }
    return m_media->setAudioFile(str(path));
}

int CAVEngine::startAudioPlay(int kind)
{
    if (const int forced = enter("startAudioPlay", std::to_string(kind))) {
        return forced;
    }
    return m_media->startPlay();
}

int CAVEngine::stopAudioPlay()
{
    if (const int forced = enter("stopAudioPlay")) {
        return forced;
    }
    return m_media->stopPlay();
}

bool CAVEngine::isAudioPlaying()
{
    enter("isAudioPlaying");
    return m_media->isPlaying();
}

KDVolume CAVEngine::getVolume(KD_DEVICE_TYPE type)
{
    enter("getVolume", std::to_string(type));
    std::lock_guard<std::mutex> lock(m_mutex);
    return CDeviceManager::validType(type) ? m_volumes[type] : KDVolume();
}

int CAVEngine::setVolume(KD_DEVICE_TYPE type, const KDVolume &vol)
{
    if (const int forced = enter("setVolume", std::to_string(type) + "," + std::to_string(vol.mute) + "," +
                                                  std::to_string(vol.volume))) {
        return forced;
    }
    if (!CDeviceManager::validType(type) || !(vol.volume >= 0.0f && vol.volume <= 3.0f)) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_volumes[type] = vol;
    }
    raise([type, vol](IAVEventHandler &handler) {
        KDVolume copy = vol;
        handler.onVolume(type, copy);
    });
    return KD_OK;
}

bool CAVEngine::micEnabled()
{
    enter("micEnabled");
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_micOn && !m_hostMuted;
}

int CAVEngine::enableMic(bool enable)
{
    if (const int forced = enter("enableMic", flag(enable))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (enable && m_hostMuted) {
        // The host's mute holds until the host lifts it.
        return KD_ERR_NOT_PERMITTED;
    }
    m_micOn = enable;
    return KD_OK;
}

int CAVEngine::enableNoiseSuppression(int mode)
{
    return store("enableNoiseSuppression", std::to_string(mode), m_noiseSuppression, mode);
}

// ---- video ----------------------------------------------------------------

int CAVEngine::setRenderType(int type)
{
    if (const int forced = enter("setRenderType", std::to_string(type))) {
        return forced;
    }
    if (type < 0 || type > 2) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_renderType = type;
    }
    saveConfig();
    return KD_OK;
}

int CAVEngine::getRenderType()
{
    return read("getRenderType", m_renderType);
}

int CAVEngine::setLocalVideoWindow(KDWindowHandle window)
{
    return showStream("setLocalVideoWindow", std::to_string(quintptr(window)), CVideoRenderer::LocalVideo, window);
}

int CAVEngine::setRemoteVideoWindow(KDWindowHandle window)
{
    return showStream("setRemoteVideoWindow", std::to_string(quintptr(window)), CVideoRenderer::RemoteVideo, window);
}

int CAVEngine::setRemoteContentWindow(KDWindowHandle window)
{
    return showStream("setRemoteContentWindow", std::to_string(quintptr(window)), CVideoRenderer::RemoteContent,
                      window);
}

int CAVEngine::setLocalContentWindow(KDWindowHandle window, int mode)
{
    return showStream("setLocalContentWindow", std::to_string(quintptr(window)) + "," + std::to_string(mode),
                      CVideoRenderer::LocalContent, window);
}

int CAVEngine::showStream(const char *operation, const std::string &args, CVideoRenderer::Stream stream,
                          KDWindowHandle window)
{
    if (const int forced = enter(operation, args)) {
        return forced;
    }
    if (m_renderer) {
        m_renderer->setWindow(stream, window);
    }
    return KD_OK;
}

int CAVEngine::repaintVideo()
{
    if (const int forced = enter("repaintVideo")) {
        return forced;
    }
    if (m_renderer) {
        m_renderer->repaint();
    }
    return KD_OK;
}

int CAVEngine::enablePreview(bool enable)
{
    const int rc = store("enablePreview", flag(enable), m_preview, enable);
    if (rc == KD_OK) {
        publishScene();
    }
    return rc;
}

int CAVEngine::setBandwidth(unsigned kbps)
{
    if (const int forced = enter("setBandwidth", std::to_string(kbps))) {
        return forced;
    }
    if (kbps < 64 || kbps > 20480) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bandwidth = kbps;
    }
    saveConfig();
    return KD_OK;
}

unsigned CAVEngine::getBandwidth()
{
    return read("getBandwidth", m_bandwidth);
}

bool CAVEngine::cameraEnabled()
{
    return read("cameraEnabled", m_cameraOn);
}

int CAVEngine::enableCamera(bool enable)
{
    const int rc = store("enableCamera", flag(enable), m_cameraOn, enable);
    if (rc == KD_OK) {
        publishScene();
    }
    return rc;
}

bool CAVEngine::highFPSEnabled()
{
    return read("highFPSEnabled", m_highFps);
}

int CAVEngine::enableHighFPS(bool enable)
{
    const int rc = store("enableHighFPS", flag(enable), m_highFps, enable);
    if (rc == KD_OK) {
        saveConfig();
    }
    return rc;
}

int CAVEngine::enableHD(bool enable)
{
    const int rc = store("enableHD", flag(enable), m_hd, enable);
    if (rc == KD_OK) {
        saveConfig();
    }
    return rc;
}

bool CAVEngine::HDEnabled()
{
    return read("HDEnabled", m_hd);
}

int CAVEngine::setHardwareDecoder(int media, int direction, int mode)
{
    if (const int forced = enter("setHardwareDecoder", std::to_string(media) + "," + std::to_string(direction) + "," +
                                                           std::to_string(mode))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hardwareDecoder[{media, direction}] = mode;
    return KD_OK;
}

int CAVEngine::setHardwareEncoder(int media, int direction, int mode)
{
    if (const int forced = enter("setHardwareEncoder", std::to_string(media) + "," + std::to_string(direction) + "," +
                                                           std::to_string(mode))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hardwareEncoder[{media, direction}] = mode;
    return KD_OK;
}

// ---- content --------------------------------------------------------------

std::vector<KDContentSourceInfo> CAVEngine::getContentSourceList()
{
    // A listing that fails (on demand, in tests) lists nothing.
    if (enter("getContentSourceList") != KD_OK) {
        return {};
    }
    std::vector<KDContentSourceInfo> sources;
    const std::vector<KDContentSourceInfo> added = m_addedSources.list();
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        return added;
    }
    onGuiThread([&sources] {
        for (QScreen *screen : QGuiApplication::screens()) {
            KDContentSourceInfo info;
            info.type = 0;
            info.windowTitle = screen->name().trimmed().toLocal8Bit().toStdString();
            info.keepRatio = true;
            info.captureX = screen->geometry().x();
            info.captureY = screen->geometry().y();
            info.captureSize.width = screen->geometry().width();
            info.captureSize.height = screen->geometry().height();
            info.valid = true;
            sources.push_back(info);
        }
    });
    sources.insert(sources.end(), added.begin(), added.end());
    return sources;
}

int CAVEngine::getContentSourceBitmap(const KDContentSourceInfo &info, int bitmapType, int maxWidth, int maxHeight,
                                      KDBitmap *bitmap)
{
    if (const int forced = enter("getContentSourceBitmap", info.windowTitle + "," + std::to_string(bitmapType))) {
        return forced;
    }
    if (!bitmap || maxWidth <= 0 || maxHeight <= 0 || maxWidth > 4096 || maxHeight > 4096 ||
        (bitmapType != 0 && bitmapType != 1)) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    QImage picture = m_addedSources.picture(info, bitmapType);
    if (picture.isNull() && qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        onGuiThread([&picture, &info] {
            for (QScreen *screen : QGuiApplication::screens()) {
                if (screen->name().trimmed().toLocal8Bit().toStdString() == info.windowTitle) {
                    picture = screen->grabWindow(0).toImage();
                }
            }
        });
    }
    if (picture.isNull()) {
        // Nothing to grab (no such screen, or a platform without pixels):
        // a labelled picture still lets the user tell the sources apart.
        picture = QImage(320, 200, QImage::Format_RGB32);
        picture.fill(QColor(60, 70, 90));
        QPainter painter(&picture);
        painter.setPen(Qt::white);
        painter.drawText(picture.rect(), Qt::AlignCenter, QString::fromLocal8Bit(info.windowTitle.c_str()));
    }
    // The client wraps the pixels as a QImage without a line length, so every
    // line is padded to whole 32-bit words as QImage expects.
    picture = CContentSources::bitmapImage(picture, bitmapType, maxWidth, maxHeight);
    const int lineBytes = picture.bytesPerLine();
    unsigned char *data = new unsigned char[size_t(lineBytes) * size_t(picture.height())];
    for (int y = 0; y < picture.height(); ++y) {
        std::copy_n(picture.constScanLine(y), lineBytes, data + size_t(y) * size_t(lineBytes));
    }
    bitmap->width = picture.width();
    bitmap->height = picture.height();
    bitmap->data = data;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bitmaps.insert(data);
    return KD_OK;
}

int CAVEngine::releaseContentSourceBitmap(KDBitmap *bitmap)
{
    if (const int forced = enter("releaseContentSourceBitmap")) {
        return forced;
    }
    if (!bitmap) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    // Only pixels this engine handed out are freed, and each only once.
    if (m_bitmaps.erase(bitmap->data) == 0) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    delete[] bitmap->data;
    bitmap->data = nullptr;
    return KD_OK;
}

int CAVEngine::setLocalContentSource(const KDContentSourceInfo &info)
{
    if (const int forced = enter("setLocalContentSource", std::to_string(info.type) + "," + info.windowTitle)) {
        return forced;
    }
    QImage frame;
    if (info.type == 3) {
        if (const int rst = m_contentFrames.take(info, frame)) {
            return rst;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_contentSource = info;
        m_contentSource.frameData = nullptr;
        if (!frame.isNull()) {
            m_contentFrame = frame;
        }
    }
    if (!frame.isNull()) {
        publishScene();
    }
    // A screen source is captured here; frames of the application's own
    // (type 3) take over while they come.
    updateScreenCapture();
    return KD_OK;
}

int CAVEngine::sendContent()
{
    if (const int forced = enter("sendContent")) {
        return forced;
    }
    return startSending(2);
}

int CAVEngine::sendWhiteBoard()
{
    if (const int forced = enter("sendWhiteBoard")) {
        return forced;
    }
    return startSending(3);
}

int CAVEngine::startSending(int type)
{
    KDContentInfo info;
    info.dir = 0;
    info.type = type;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Connected) {
            return KD_ERR_NO_CALL;
        }
        const bool allowed = type == 3 ? m_whiteBoard : (m_contentEnabled && m_call.contentEnabled);
        if (!allowed) {
            return KD_ERR_NOT_PERMITTED;
        }
        const bool host =
            std::find(m_meeting.hosts.begin(), m_meeting.hosts.end(), m_user.username) != m_meeting.hosts.end();
        if (m_meeting.contentLocked && !host) {
            // The meeting lets only its hosts send; the refusal comes as an event.
            info.status = 3;
        } else {
            m_sendingType = type;
            info.enabled = true;
            info.senderName = m_signedIn ? m_user.displayName : m_localName;
            info.senderDeviceId = m_user.deviceId;
        }
    }
    updateScreenCapture();
    raise([info](IAVEventHandler &handler) {
        KDContentInfo copy = info;
        handler.onContent(copy);
    });
    return KD_OK;
}

int CAVEngine::stopContent()
{
    if (const int forced = enter("stopContent")) {
        return forced;
    }
    KDContentInfo info;
    info.dir = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_sendingType == 0) {
            return KD_OK;
        }
        info.type = m_sendingType;
        m_sendingType = 0;
        m_contentFrame = QImage();
    }
    updateScreenCapture();
    publishScene();
    raise([info](IAVEventHandler &handler) {
        KDContentInfo copy = info;
        handler.onContent(copy);
    });
    return KD_OK;
}

int CAVEngine::enableContentAudio(bool enable)
{
    return store("enableContentAudio", flag(enable), m_contentAudio, enable);
}

bool CAVEngine::contentAudioEnabled()
{
    return read("contentAudioEnabled", m_contentAudio);
}

int CAVEngine::enableContentHighFPS(bool enable)
{
    return store("enableContentHighFPS", flag(enable), m_contentHighFps, enable);
}

int CAVEngine::enableContent(bool enable)
{
    const int rc = store("enableContent", flag(enable), m_contentEnabled, enable);
    if (rc == KD_OK) {
        saveConfig();
    }
    return rc;
}

bool CAVEngine::contentEnabled()
{
    return read("contentEnabled", m_contentEnabled);
}

// ---- account --------------------------------------------------------------

int CAVEngine::getFeature(const char *server, unsigned port, AVFeature &feature)
{
    const std::string address = str(server);
    COutcome outcome = enter("getFeature", address + "," + std::to_string(port));
    if (outcome.ok()) {
        outcome = m_backend->getFeature(address, port, feature);
    }
    const int rc = outcome.result();
    if (!address.empty()) {
        noteServer(address, port, outcome);
    }
    if (rc != KD_OK && rc != KD_ERR_NO_FEATURE_RECORD) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_lastLoginError = rc;
            m_server = address;
        }
        post([this, outcome] { raiseError("getFeature", outcome); });
    }
    return rc;
}

int CAVEngine::avlogin(const char *server, unsigned port, const char *username, const char *password)
{
    const std::string address = str(server);
    const std::string user = str(username);
    const std::string secret = CPasswordCipher::unwrapTransport(str(password));
    int rc = enter("avlogin", address + "," + std::to_string(port) + "," + user);
    if (rc == KD_OK && (address.empty() || user.empty())) {
        rc = KD_ERR_INVALID_ARGUMENT;
    }
    if (rc == KD_OK) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_signingIn) {
            rc = KD_ERR_BUSY;
        } else {
            m_signingIn = true;
            m_server = address;
            m_port = port;
        }
    }
    if (rc != KD_OK) {
        post([this, rc] { raiseError("avlogin", COutcome(rc)); });
        return rc;
    }
    post([this, address, port, user, secret] {
        KDUserInfo info;
        const COutcome outcome = m_backend->signIn(address, port, user, secret, info);
        const int result = outcome.result();
        noteServer(address, port, outcome);
        KDRegisterInfo registration;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_signingIn = false;
            m_lastLoginError = result;
            if (result == KD_OK) {
                m_signedIn = true;
                m_user = info;
                m_accountRegistration.state = KD_REGISTER_OK;
                m_accountRegistration.externalServer = address;
                m_accountRegistration.internalServer = address;
            } else {
                m_accountRegistration.state = KD_REGISTER_NONE;
            }
            registration = m_accountRegistration;
        }
        if (result != KD_OK) {
            raiseError("avlogin", outcome);
            return;
        }
        publishScene();
        deliver([info](IAVEventHandler &handler) {
            KDUserInfo copy = info;
            handler.onLoginSucceed(copy);
        });
        startIncomingPolling();
        deliver([registration](IAVEventHandler &handler) {
            KDRegisterInfo copy = registration;
            handler.onRegisterInfo(copy);
        });
    });
    return KD_OK;
}

int CAVEngine::avlogout()
{
    if (const int forced = enter("avlogout")) {
        return forced;
    }
    std::string token;
    KDRegisterInfo registration;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        token = m_user.token;
        m_signedIn = false;
        m_user = KDUserInfo();
        m_accountRegistration.state = KD_REGISTER_NONE;
        registration = m_accountRegistration;
    }
    m_backend->signOut(token);
    m_diagnosis->forget();
    publishScene();
    raise([registration](IAVEventHandler &handler) {
        KDRegisterInfo copy = registration;
        handler.onRegisterInfo(copy);
    });
    return KD_OK;
}

int CAVEngine::getUserInfo(KDUserInfo &info)
{
    if (const int forced = enter("getUserInfo")) {
        return forced;
    }
    std::string token;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        token = m_user.token;
    }
    KDUserInfo fresh;
    const int rc = m_backend->refreshUser(token, fresh);
    if (rc != KD_OK) {
        return rc;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_user = fresh;
    info = fresh;
    return KD_OK;
}

std::string CAVEngine::getDisplayName()
{
    enter("getDisplayName");
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_signedIn ? m_user.displayName : m_localName;
}

int CAVEngine::changeDisplayName(const char *display_name)
{
    if (const int forced = enter("changeDisplayName", str(display_name))) {
        return forced;
    }
    const std::string name = str(display_name);
    if (name.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    std::string token;
    bool signedIn = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        signedIn = m_signedIn;
        token = m_user.token;
    }
    if (signedIn) {
        if (const int rc = m_backend->changeDisplayName(token, name)) {
            return rc;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (signedIn) {
            m_user.displayName = name;
        } else {
            m_localName = name;
        }
    }
    publishScene();
    return KD_OK;
}

int CAVEngine::downloadUserImage(const char *path)
{
    if (const int forced = enter("downloadUserImage", str(path))) {
        return forced;
    }
    const std::string target = str(path);
    std::string token;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        token = m_user.token;
    }
    if (target.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    post([this, token, target] {
        std::string bytes;
        COutcome outcome = m_backend->downloadUserImage(token, bytes);
        if (outcome.ok()) {
            // Written beside and renamed, so a reader never sees half a picture.
            const QString file = QString::fromLocal8Bit(target.c_str());
            QFile partial(file + QStringLiteral(".part"));
            const bool written = partial.open(QIODevice::WriteOnly) &&
                                 partial.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
            partial.close();
            QFile::remove(file);
            if (!written || !partial.rename(file)) {
                partial.remove();
                outcome = COutcome(KD_ERR_FILE);
            }
        }
        if (!outcome.ok()) {
            raiseError("downloadUserImage", outcome);
            return;
        }
        deliver([target](IAVEventHandler &handler) { handler.onDownloadUserImageComplete(target.c_str()); });
    });
    return KD_OK;
}

int CAVEngine::uploadUserImage(const char *path)
{
    if (const int forced = enter("uploadUserImage", str(path))) {
        return forced;
    }
    const std::string source = str(path);
    std::string token;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        token = m_user.token;
    }
    post([this, token, source] {
        const COutcome outcome = m_backend->uploadUserImage(token, source);
        if (!outcome.ok()) {
            raiseError("uploadUserImage", outcome);
            return;
        }
        deliver([source](IAVEventHandler &handler) { handler.onUploadUserImageComplete(source.c_str()); });
    });
    return KD_OK;
}

int CAVEngine::getRegisterInfo(int type, KDRegisterInfo &info)
{
    if (const int forced = enter("getRegisterInfo", std::to_string(type))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (type == KD_CALL_TYPE_ACCOUNT) {
        info = m_accountRegistration;
        return KD_OK;
    }
    if (type == KD_CALL_TYPE_SIP) {
        info = m_sipRegistration;
        return KD_OK;
    }
    return KD_ERR_INVALID_ARGUMENT;
}

// ---- call -----------------------------------------------------------------

int CAVEngine::dialOut(const char *number, bool enable_video)
{
    const std::string dialled = str(number);
    std::string password;
    const std::string plainNumber = splitPassword(dialled, &password);
    if (const int forced = enter("dialOut", plainNumber + "," + flag(enable_video))) {
        return forced;
    }
    if (meetingKey(plainNumber).empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Idle) {
            return KD_ERR_BUSY;
        }
        m_phase = CallPhase::Dialling;
        serial = ++m_callSerial;
        m_call.clear();
        m_call.svcCallAction = 0;
        m_call.conference_number = plainNumber;
        m_call.password = password;
        m_call.isAudioOnly = !enable_video;
        m_call.peer = meetingKey(plainNumber);
    }
    post([this, serial, plainNumber, password] {
        KDMeetingInfo meeting;
        const size_t at = plainNumber.find('@');
        const std::string server = at == std::string::npos ? std::string() : plainNumber.substr(at + 1);
        KDJoinRequest who;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            who.displayName = m_signedIn ? m_user.displayName : m_localName;
            who.video = !m_call.isAudioOnly;
        }
        const COutcome outcome = m_backend->joinMeeting(meetingKey(plainNumber), password, server, who, meeting);
        const int rc = outcome.result();
        noteCallServer(server, outcome);
        if (rc == KD_OK) {
            if (meeting.waitQueue > 0) {
                waitInQueue(serial, meeting, meeting.waitQueue);
            } else {
                connectDialled(serial, meeting);
            }
            return;
        }
        KDCallInfo info;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            // The user may have hung up while the meeting was looked up.
            if (m_phase != CallPhase::Dialling || m_callSerial != serial) {
                return;
            }
            m_phase = CallPhase::Idle;
            m_call.err = outcome.toError("onCallEnd");
            info = m_call;
        }
        publishScene();
        deliver([info](IAVEventHandler &handler) {
            KDCallInfo copy = info;
            handler.onCallEnd(copy);
        });
        // The call controller hears that the call is over; the user hears why.
        raiseError("onCallEnd", outcome);
    });
    return KD_OK;
}

// On the dispatcher: a dialled meeting was joined and the call connects,
// unless the user hung up meanwhile, which leaves the meeting at once.
void CAVEngine::connectDialled(uint64_t serial, const KDMeetingInfo &meeting)
{
    KDCallInfo info;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Dialling || m_callSerial != serial) {
            m_presence.owe(meeting);
            // Queued without the lock: posting takes it.
            lock.unlock();
            post([this] { m_presence.leaveOwed(); });
            return;
        }
        m_phase = CallPhase::Connected;
        m_meeting = meeting;
        if (m_meeting.participants.empty()) {
            m_meeting.participants.push_back(meeting.name);
        }
        m_call.peer = meeting.name;
        // A direct call is of the engine's call type 1; the peer is the person called.
        m_call.svcCallType = meeting.pointToPoint ? 1 : 0;
        m_callStart = Clock::now();
        // The microphone and camera keep what the user chose before
        // dialling ("Turn off Microphone" holds through the connect).
        m_hostMuted = false;
        info = m_call;
    }
    publishScene();
    m_diagnosis->setInCall(true);
    deliver([info](IAVEventHandler &handler) {
        KDCallInfo copy = info;
        handler.onCallConnected(copy);
    });
    startNetworkRating(serial);
}

int CAVEngine::acceptCall(bool enable_video)
{
    if (const int forced = enter("acceptCall", flag(enable_video))) {
        return forced;
    }
    KDCallInfo info;
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Incoming) {
            return KD_ERR_NO_CALL;
        }
        m_phase = CallPhase::Connected;
        m_call.isAudioOnly = m_call.isAudioOnly || !enable_video;
        m_meeting = KDMeetingInfo();
        m_meeting.number = m_call.conference_number;
        m_meeting.name = m_call.peer;
        m_meeting.participants.push_back(m_call.peer);
        m_callStart = Clock::now();
        m_hostMuted = false;
        info = m_call;
        serial = m_callSerial;
    }
    m_diagnosis->setInCall(true);
    publishScene();
    raise([info](IAVEventHandler &handler) {
        KDCallInfo copy = info;
        handler.onCallConnected(copy);
    });
    startNetworkRating(serial);
    return KD_OK;
}

void CAVEngine::endCall(int code, const std::string &msg)
{
    KDCallInfo info;
    bool signedIn = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        signedIn = m_signedIn;
        info = m_call;
        m_phase = CallPhase::Idle;
        ++m_callSerial;
        m_presence.owe(m_meeting);
        m_meeting = KDMeetingInfo();
        m_sendingType = 0;
        m_receivingType = 0;
        m_remoteSender.clear();
        m_contentFrame = QImage();
        m_hostMuted = false;
        m_call.clear();
    }
    updateScreenCapture();
    noteCallEnded(signedIn);
    info.err.clear();
    if (code) {
        info.err.type = KD_ERROR_TYPE_CALL;
        info.err.action = "onCallEnd";
        info.err.code = code;
        info.err.msg = msg;
    }
    publishScene();
    post([this] { m_presence.leaveOwed(); });
    raise([info](IAVEventHandler &handler) {
        KDCallInfo copy = info;
        handler.onCallEnd(copy);
    });
    if (code) {
        // Why the far end ended the call is for the user to read.
        const KDError reason = info.err;
        raise([reason](IAVEventHandler &handler) {
            KDError copy = reason;
            handler.onError(copy);
        });
    }
}

int CAVEngine::hangUp()
{
    if (const int forced = enter("hangUp")) {
        return forced;
    }
    // Whatever the state, the client hears that the call is over.
    endCall(KD_OK, std::string());
    return KD_OK;
}

int CAVEngine::declineCall()
{
    if (const int forced = enter("declineCall")) {
        return forced;
    }
    endCall(KD_OK, std::string());
    return KD_OK;
}

bool CAVEngine::conferenceControllable()
{
    enter("conferenceControllable");
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_phase != CallPhase::Connected) {
        return false;
    }
    // The server says so when it lists participants; the in-memory model
    // names the hosts.
    const std::vector<std::string> &hosts = m_meeting.hosts;
    return m_signedIn &&
           (m_meeting.controllable || std::find(hosts.begin(), hosts.end(), m_user.username) != hosts.end());
}

int CAVEngine::requestRemoteUnmute(bool request)
{
    if (const int forced = enter("requestRemoteUnmute", flag(request))) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_phase == CallPhase::Connected ? KD_OK : KD_ERR_NO_CALL;
}

int CAVEngine::getStats(KDStats &stats)
{
    if (const int forced = enter("getStats")) {
        return forced;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_phase != CallPhase::Connected) {
        return KD_ERR_NO_CALL;
    }
    if (m_calls.givenStats(stats)) {
        return KD_OK;
    }
    stats = KDStats();
    // Media travels encrypted exactly when the engine talks to its server over TLS.
    const bool encrypted = m_secure;
    const float rate = float(m_bandwidth);
    auto add = [&stats, encrypted](int media, int direction, const char *codec, float lineRate, int width, int height) {
        if (stats.count >= KDStats::kMaxStreams) {
            return;
        }
        KDStreamStats &stream = stats.streams[stats.count++];
        stream.mediaType = media;
        stream.direction = direction;
        stream.codec = codec;
        stream.lineRate = lineRate;
        stream.actualLineRate = lineRate * 0.93f;
        stream.frameRate = media == 0 ? 0.0f : 30.0f;
        stream.width = width;
        stream.height = height;
        stream.packetsLost = 0;
        stream.packetLostRate = 0.0f;
        stream.encrypted = encrypted;
    };
    add(0, 0, "OPUS", 64.0f, 0, 0);
    add(0, 1, "OPUS", 64.0f, 0, 0);
    if (!m_call.isAudioOnly) {
        const int height = m_hd ? 1080 : 720;
        add(1, 0, "H.264", rate, height * 16 / 9, height);
        for (size_t i = 0; i < m_meeting.participants.size() && i < 20; ++i) {
            add(1, 1, "H.264", rate / 2, 640, 360);
        }
    }
    if (m_sendingType != 0 || m_receivingType != 0) {
        add(m_sendingType == 3 || m_receivingType == 3 ? 3 : 2, m_sendingType != 0 ? 0 : 1, "H.264", 512.0f, 1920,
            1080);
    }
    return KD_OK;
}

int CAVEngine::sendDTMF(char key)
{
    if (const int forced = enter("sendDTMF", std::string(1, key))) {
        return forced;
    }
    if (!std::strchr("0123456789*#ABCD", key) || key == '\0') {
        return KD_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_phase == CallPhase::Connected ? KD_OK : KD_ERR_NO_CALL;
}

// ---- feedback and diagnostics ---------------------------------------------

int CAVEngine::uploadFeedbackFiles(std::vector<std::string> files, std::string contact, std::string description)
{
    return uploadFeedbackFilesWithAddress(std::move(files), std::move(contact), std::move(description), std::string());
}

int CAVEngine::uploadFeedbackFilesWithAddress(std::vector<std::string> files, std::string contact,
                                              std::string description, std::string address)
{
    std::string names;
    for (const std::string &file : files) {
        names += file + ";";
    }
    if (const int forced = enter("uploadFeedbackFiles", names + "," + address)) {
        return forced;
    }
    if (files.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    // Uploads run one after another on the dispatcher, in the order asked,
    // each ending with 100 or a negative value.
    post([this, files, contact, description, address] {
        bool signedIn = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            signedIn = m_signedIn;
        }
        if (address.empty() && !signedIn) {
            // Only an address of its own takes feedback without a sign-in.
            deliver([](IAVEventHandler &handler) { handler.onUploadFeedback(-KD_ERR_NOT_SIGNED_IN); });
            return;
        }
        m_backend->uploadFeedback(files, contact, description, address, [this](int progress) {
            deliver([progress](IAVEventHandler &handler) { handler.onUploadFeedback(progress); });
        });
    });
    return KD_OK;
}

// ---- handler registration -------------------------------------------------

int CAVEngine::registerEventHandler(IAVEventHandler *handler)
{
    if (const int forced = enter("registerEventHandler")) {
        return forced;
    }
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    m_handler = handler;
    return KD_OK;
}

int CAVEngine::unregisterEventHandler(IAVEventHandler *handler)
{
    enter("unregisterEventHandler");
    // Taking the lock waits for an event being delivered to finish, so the
    // handler is never called once this returns.
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    if (m_handler != handler) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    m_handler = nullptr;
    return KD_OK;
}

// ---- control --------------------------------------------------------------

void CAVEngine::setEventLatency(int milliseconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latencyMs = std::max(0, milliseconds);
}

bool CAVEngine::waitForIdle(int timeoutMs)
{
    return m_dispatcher.waitForIdle(timeoutMs);
}

void CAVEngine::failNext(const std::string &operation, int code)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failures[operation].push_back(code);
}

std::vector<KDOperationRecord> CAVEngine::operations() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<KDOperationRecord>(m_operations.begin(), m_operations.end());
}

uint64_t CAVEngine::contentFramesTaken() const
{
    return m_contentFrames.taken();
}

KDContentFrame CAVEngine::latestContentFrame() const
{
    return m_contentFrames.latest();
}

std::vector<KDRenderStats> CAVEngine::renderStats() const
{
    return m_renderer ? m_renderer->stats() : CVideoRenderer::noStats();
}

uint64_t CAVEngine::contentFramesCaptured() const
{
    return m_contentFrames.captured();
}

void CAVEngine::updateScreenCapture()
{
    bool capture = false;
    QRect area;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        capture = m_phase == CallPhase::Connected && m_sendingType == 2 && m_contentSource.type == 0;
        area = QRect(m_contentSource.captureX, m_contentSource.captureY, m_contentSource.captureSize.width,
                     m_contentSource.captureSize.height);
    }
    if (capture && !area.isEmpty()) {
        m_screenCapture->start(area);
    } else {
        m_screenCapture->stop();
    }
}

void CAVEngine::takeCapturedFrame(const QImage &frame)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // A frame grabbed just before the sending or the source changed.
        if (m_sendingType != 2 || m_contentSource.type != 0) {
            return;
        }
        m_contentFrame = frame;
        m_contentFrames.capture(frame);
    }
    publishScene();
}

void CAVEngine::clearOperations()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_operations.clear();
}

void CAVEngine::setOperationListener(std::function<void(const std::string &)> listener)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_operationListener = std::move(listener);
}

IAVEventHandler *CAVEngine::eventHandler()
{
    std::lock_guard<std::recursive_mutex> lock(m_handlerMutex);
    return m_handler;
}

void CAVEngine::addServer(const KDModelServer &server)
{
    m_backend->addServer(server);
}

void CAVEngine::addAccount(const KDModelAccount &account)
{
    m_backend->addAccount(account);
}

void CAVEngine::addMeeting(const KDModelMeeting &meeting)
{
    m_backend->addMeeting(meeting);
}

bool CAVEngine::loadModel(const std::string &jsonPath)
{
    return m_backend->loadModel(jsonPath);
}

void CAVEngine::injectIncomingCall(const std::string &peer, const std::string &number, bool audioOnly)
{
    KDCallInfo info;
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Idle) {
            return;
        }
        m_phase = CallPhase::Incoming;
        ++m_callSerial;
        m_call.clear();
        m_call.peer = peer;
        m_call.conference_number = number;
        m_call.isAudioOnly = audioOnly;
        m_call.svcCallType = 1;
        info = m_call;
        serial = m_callSerial;
    }
    raise([info](IAVEventHandler &handler) {
        KDCallInfo copy = info;
        handler.onCallIncoming(copy);
    });
    startRingTimeout(serial);
}

void CAVEngine::injectRemoteHangUp(int code)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase == CallPhase::Idle) {
            return;
        }
    }
    endCall(code, code ? "ended by the far end" : "");
}

void CAVEngine::injectRemoteContent(bool start, bool whiteboard, const std::string &senderName)
{
    KDContentInfo info;
    info.dir = 1;
    info.type = whiteboard ? 3 : 2;
    info.enabled = start;
    info.senderName = senderName;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Connected) {
            return;
        }
        m_receivingType = start ? info.type : 0;
        m_remoteSender = start ? senderName : std::string();
    }
    publishScene();
    raise([info](IAVEventHandler &handler) {
        KDContentInfo copy = info;
        handler.onContent(copy);
    });
}

void CAVEngine::injectError(const KDError &error)
{
    raise([error](IAVEventHandler &handler) {
        KDError copy = error;
        handler.onError(copy);
    });
}

void CAVEngine::injectWarning(int code, const std::string &msg)
{
    raise([code, msg](IAVEventHandler &handler) {
        KDWarn warn;
        warn.code = code;
        warn.msg = msg;
        handler.onWarn(warn);
    });
}

void CAVEngine::injectRegistrationState(int type, int state)
{
    KDRegisterInfo registration;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        KDRegisterInfo &target = type == KD_CALL_TYPE_SIP ? m_sipRegistration : m_accountRegistration;
        target.state = state;
        registration = target;
    }
    raise([registration](IAVEventHandler &handler) {
        KDRegisterInfo copy = registration;
        handler.onRegisterInfo(copy);
    });
}

void CAVEngine::injectDeviceAdded(const KDDevice &device)
{
    m_media->devices().add(device);
}

void CAVEngine::injectDeviceRemoved(int type, unsigned id)
{
    m_media->devices().remove(type, id);
}

void CAVEngine::setSyntheticMicLevel(float level)
{
    m_media->setSyntheticMicLevel(level);
}

void CAVEngine::pollDevices()
{
    m_media->pollNow();
}

void CAVEngine::setDevicePollInterval(int milliseconds)
{
    m_media->setPollInterval(milliseconds);
}

void CAVEngine::addContentSource(const KDContentSourceInfo &source)
{
    m_addedSources.add(source);
}

void CAVEngine::clearContentSources()
{
    m_addedSources.clear();
}

void CAVEngine::injectHostMute(bool muted)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hostMuted = muted;
        if (muted) {
            m_micOn = false;
        }
    }
    raise([muted](IAVEventHandler &handler) { handler.onMicMutedShow(muted ? 1 : 0); });
}

void CAVEngine::injectVideoMuted(int muted)
{
    raise([muted](IAVEventHandler &handler) { handler.onVideoMutedShow(muted); });
}

// ---- calls ----

void CAVEngine::setStats(const KDStats &stats)
{
    m_calls.setStats(stats);
}

void CAVEngine::clearStats()
{
    m_calls.clearStats();
}

void CAVEngine::injectWaitQueue(int size)
{
    raise([size](IAVEventHandler &handler) { handler.onWaitQueue(size); });
}

// ---- the library's entry points ------------------------------------------

namespace {

std::mutex &registryMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::vector<CAVEngine *> &liveEngines()
{
    static std::vector<CAVEngine *> engines;
    return engines;
}

std::atomic<bool> &refuseNextCreation()
{
    static std::atomic<bool> refuse{false};
    return refuse;
}

} // namespace

void failNextEngineCreation()
{
    refuseNextCreation().store(true);
}

IEngineControl *engineControl(IAVEngine *engine)
{
    std::lock_guard<std::mutex> lock(registryMutex());
    for (CAVEngine *live : liveEngines()) {
        if (live == engine) {
            return live;
        }
    }
    return nullptr;
}

IEngineControl *currentEngineControl()
{
    std::lock_guard<std::mutex> lock(registryMutex());
    return liveEngines().empty() ? nullptr : liveEngines().back();
}

} // namespace sdk
} // namespace kd

kd::engine::IAVEngine *createAVEngine()
{
    if (kd::sdk::refuseNextCreation().exchange(false)) {
        return nullptr;
    }
    auto *engine = new kd::sdk::CAVEngine(kd::sdk::createBackend());
    std::lock_guard<std::mutex> lock(kd::sdk::registryMutex());
    kd::sdk::liveEngines().push_back(engine);
    return engine;
}

void deleteAVEngine(kd::engine::IAVEngine *engine)
{
    if (!engine) {
        return;
    }
    auto *concrete = static_cast<kd::sdk::CAVEngine *>(engine);
    {
        std::lock_guard<std::mutex> lock(kd::sdk::registryMutex());
        auto &engines = kd::sdk::liveEngines();
        const auto found = std::find(engines.begin(), engines.end(), concrete);
        // An object this library did not make, or one already deleted, is left alone.
        if (found == engines.end()) {
            return;
        }
        engines.erase(found);
    }
    delete concrete;
}
