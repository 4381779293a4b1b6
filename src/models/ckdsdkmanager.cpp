#include "ckdsdkmanager.h"

#include "helpers/clogformat.h"
#include "models/ckdsdkeventobserver.h"

using namespace kd::engine;

namespace kd_app {
namespace models {

namespace {

void *handle(WId id)
{
    return reinterpret_cast<void *>(id);
}

} // namespace

// An error-code result: a warning with the code when it is not 0.
#define KD_WARN_RST(rst)                                                                                               \
    if ((rst) != 0) {                                                                                                  \
        KD_WARN << "Failed, rst:" << (rst);                                                                            \
    }

// The printf-style failure warning: "Failed to <method>, rst: <code>".
#define KD_WARN_RST_F(method, rst)                                                                                     \
    if ((rst) != 0) {                                                                                                  \
        qWarning("Failed to " method ", rst: %d", (rst));                                                              \
    }

std::atomic<CKDSdkManager *> CKDSdkManager::s_pInstance{nullptr};

void CKDSdkManager::initInstance()
{
    KD_LOG;
    if (s_pInstance.load()) {
        return;
    }
    s_pInstance.store(new CKDSdkManager());
}

void CKDSdkManager::releaseInstance()
{
    KD_LOG;
    CKDSdkManager *instance = s_pInstance.load();
    if (!instance) {
        return;
    }
    delete instance;
    s_pInstance.store(nullptr);
}

CKDSdkManager *CKDSdkManager::getInstance()
{
    return s_pInstance.load();
}

CKDSdkManager::CKDSdkManager()
{
    KD_LOG;
    createKDEngine();
}

CKDSdkManager::~CKDSdkManager()
{
    KD_LOG;
    if (m_pAVEngine) {
        KD_LOG << "invoke release and unregisterEventHandler";
        m_pAVEngine->release();
        m_pAVEngine->unregisterEventHandler(m_pEventObserver);
        deleteAVEngine(m_pAVEngine);
        m_pAVEngine = nullptr;
    }
    // Only now, with the engine gone, can no callback reach the observer.
    delete m_pEventObserver;
    m_pEventObserver = nullptr;
    KD_LOG << "done";
}

void CKDSdkManager::createKDEngine()
{
    KD_LOG;
    qRegisterMetaType<std::string>("std::string");
    qRegisterMetaType<KDError>("kd::engine::KDError");
    qRegisterMetaType<KDWarn>("kd::engine::KDWarn");
    qRegisterMetaType<KDUserInfo>("kd::engine::KDUserInfo");
    qRegisterMetaType<KDCallInfo>("kd::engine::KDCallInfo");
    qRegisterMetaType<KDContentInfo>("kd::engine::KDContentInfo");
    qRegisterMetaType<KDWhiteBoardInfo>("kd::engine::KDWhiteBoardInfo");
    qRegisterMetaType<KDRegisterInfo>("kd::engine::KDRegisterInfo");
    qRegisterMetaType<KD_DEVICE_TYPE>("kd::engine::KD_DEVICE_TYPE");
    qRegisterMetaType<KDVolume>("kd::engine::KDVolume");
    qRegisterMetaType<KDDevice>("kd::engine::KDDevice");
    // Without it the content-source status could not leave the engine's thread.
    qRegisterMetaType<KDVideoSize>("kd::engine::KDVideoSize");

    m_pEventObserver = new CKDSdkEventObserver();
    using O = CKDSdkEventObserver;
    using M = CKDSdkManager;
    connect(m_pEventObserver, &O::eventError, this, &M::eventError);
    connect(m_pEventObserver, &O::eventWarn, this, &M::eventWarn);
    connect(m_pEventObserver, &O::eventLoginSucceed, this, &M::eventLoginSucceed);
    connect(m_pEventObserver, &O::eventRegisterInfo, this, &M::eventRegisterInfo);
    connect(m_pEventObserver, &O::eventDownloadUserImageComplete, this, &M::eventDownloadUserImageComplete);
    connect(m_pEventObserver, &O::eventUploadUserImageComplete, this, &M::eventUploadUserImageComplete);
    connect(m_pEventObserver, &O::eventNetworkState, this, &M::eventNetworkState);
    connect(m_pEventObserver, &O::eventNetworkQuality, this, &M::eventNetworkQuality);
    connect(m_pEventObserver, &O::eventCallConnected, this, &M::eventCallConnected);
    connect(m_pEventObserver, &O::eventCallState, this, &M::eventCallState);
    connect(m_pEventObserver, &O::eventCallPeerConnected, this, &M::eventCallPeerConnected);
    connect(m_pEventObserver, &O::eventCallEnd, this, &M::eventCallEnd);
    connect(m_pEventObserver, &O::eventContent, this, &M::eventContent);
    connect(m_pEventObserver, &O::eventMuteSpeakingDetected, this, &M::eventMuteSpeakingDetected);
    connect(m_pEventObserver, &O::eventMicMutedShow, this, &M::eventMicMutedShow);
    connect(m_pEventObserver, &O::eventWaitQueue, this, &M::eventWaitQueue);
    connect(m_pEventObserver, &O::eventUploadFeedback, this, &M::eventUploadFeedback);
    connect(m_pEventObserver, &O::eventContentSourceStatusChange, this, &M::eventContentSourceStatusChange);
    connect(m_pEventObserver, &O::eventSIPRegister, this, &M::eventSIPRegister);
    connect(m_pEventObserver, &O::eventSIPForceClear, this, &M::eventSIPForceClear);
    connect(m_pEventObserver, &O::eventCallIncoming, this, &M::eventCallIncoming);
    connect(m_pEventObserver, &O::eventVolume, this, &M::eventVolume);
    connect(m_pEventObserver, &O::eventDeviceAdded, this, &M::eventDeviceAdded);
    connect(m_pEventObserver, &O::eventDeviceRemoved, this, &M::eventDeviceRemoved);
    connect(m_pEventObserver, &O::eventCurrentDeviceChanged, this, &M::eventCurrentDeviceChanged);
    connect(m_pEventObserver, &O::eventVideoMutedShow, this, &M::eventVideoMutedShow);

    m_pAVEngine = createAVEngine();
    // A library that could not start leaves the wrapper without an engine
    // rather than crashing the program at start-up.
    if (!m_pAVEngine) {
        KD_WARN << "createAVEngine returned no engine";
        return;
    }
    m_pAVEngine->registerEventHandler(m_pEventObserver);
}

// ---- set-up ---------------------------------------------------------------

void CKDSdkManager::setLog(int level, const char *log_path, const char *log_file_name, unsigned max_file_size)
{
    KD_LOG << "level:" << level << ", log_path:" << log_path << ", log_file_name:" << log_file_name
           << ", max_file_size:" << max_file_size;
    m_pAVEngine->setLog(level, log_path, log_file_name, max_file_size);
    KD_LOG << "done";
}

void CKDSdkManager::enableLog(bool enable)
{
    KD_LOG << enable;
    m_pAVEngine->enableLog(enable);
    KD_LOG << "done";
}

bool CKDSdkManager::initialize(const char *config_path, const char *config_file_name)
{
    KD_LOG << "config_path:" << config_path << ", config_file_name:" << config_file_name;
    const int rst = m_pAVEngine->initialize(config_path, config_file_name);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::setRootCA(const char *path)
{
    KD_LOG << path;
    const int rst = m_pAVEngine->setRootCA(path);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::enableWhiteBoard(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableWhiteBoard(enable);
    KD_WARN_RST_F("enableWhiteBoard", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::setUserAgent(const char *company, const char *version)
{
    KD_LOG << "company:" << company << ", version:" << version;
    const int rst = m_pAVEngine->setUserAgent(company, version);
    KD_WARN_RST_F("setUserAgent", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::enableSecure(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableSecure(enable);
    KD_WARN_RST_F("enableSecure", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::enablePreview(bool enable)
{
    KD_LOG << enable;
    if (!m_pAVEngine) {
        KD_WARN << "m_pAVEngine is nullptr";
        return false;
    }
    const int rst = m_pAVEngine->enablePreview(enable);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::setBandwidth(unsigned kbps)
{
    qInfo("CKDSdkManager::setBandwidth: %u", kbps);
    const int rst = m_pAVEngine->setBandwidth(kbps);
    KD_WARN_RST_F("setBandwidth", rst);
    qInfo("setBandwidth done");
    return rst == 0;
}

unsigned CKDSdkManager::getBandwidth()
{
    qInfo("CKDSdkManager::getBandwidth");
    const unsigned kbps = m_pAVEngine->getBandwidth();
    qInfo("getBandwidth done: %u", kbps);
    return kbps;
}

// ---- account and sign-in --------------------------------------------------

bool CKDSdkManager::getFeature(const char *server, unsigned port, AVFeature &feature)
{
    KD_LOG << "server:" << server << ", port:" << port;
    const int rst = m_pAVEngine->getFeature(server, port, feature);
    if (rst == 0) {
        KD_LOG << "feature, version:" << QString::fromStdString(feature.version)
               << ", apiEnabled:" << feature.apiEnabled << ", appServerType"
               << QString::fromStdString(feature.appServerType)
               << ", enableChangePassword: " << feature.enableChangePassword
               << ", passwordEncryptionWithAES:" << feature.passwordEncryptionWithAES;
    }
    KD_WARN_RST(rst);
    KD_LOG << "done, rst:" << rst;
    // 9: the server answered without a feature record; signing in still works.
    return rst == 0 || rst == 9;
}

std::string CKDSdkManager::encryptPassword(int type, const char *text)
{
    KD_LOG << "type:" << type;
    std::string cipher = m_pAVEngine->encryptPassword(type, text);
    KD_LOG << "done";
    return cipher;
}

bool CKDSdkManager::avlogin(const char *server, unsigned port, const char *username, const char *password)
{
    KD_LOG << "server:" << server << ", port:" << port << ", username" << username;
    const int rst = m_pAVEngine->avlogin(server, port, username, password);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::avlogout()
{
    KD_LOG;
    const int rst = m_pAVEngine->avlogout();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

std::string CKDSdkManager::encryptPassword(int type, const char *text, const char *key)
{
    KD_LOG << "type:" << type << ", key:" << key;
    std::string cipher = m_pAVEngine->encryptPassword(type, text, key);
    KD_LOG << "done";
    return cipher;
}

std::string CKDSdkManager::descryptPassword(int type, const char *text, const char *key, const char *iv)
{
    KD_LOG << "type:" << type << ", key:" << key << ", iv:" << iv;
    std::string plain = m_pAVEngine->descryptPassword(type, text, key, iv);
    KD_LOG << "done";
    return plain;
}

bool CKDSdkManager::getUserInfo(KDUserInfo &info)
{
    KD_LOG;
    const int rst = m_pAVEngine->getUserInfo(info);
    KD_WARN_RST(rst);
    if (rst == 0) {
        KD_LOG << "userId:" << info.userId << "username:" << QString::fromStdString(info.username)
               << "displayName:" << QString::fromStdString(info.displayName)
               << "org:" << QString::fromStdString(info.org)
               << "orgPortAllocMode:" << QString::fromStdString(info.orgPortAllocMode)
               << "orgPortCount:" << info.orgPortCount << "email:" << QString::fromStdString(info.email)
               << "cellphone:" << QString::fromStdString(info.cellphone)
               << "telephone:" << QString::fromStdString(info.telephone) << "deviceId:" << info.deviceId
               << "dept:" << QString::fromStdString(info.dept) << "everChangedPasswd:" << info.everChangedPasswd
               << "passwordChangeRequired:" << info.passwordChangeRequired
               << "customizedH5UrlPrefix:" << QString::fromStdString(info.customizedH5UrlPrefix)
               << "token:" << helpers::CLogFormat::masked(QString::fromStdString(info.token))
               << "sorvelVersion:" << QString::fromStdString(info.sorvelVersion)
               << "specifiedUpgradingServerAddress:" << QString::fromStdString(info.specifiedUpgradingServerAddress)
               << "serverTime:" << info.serverTime << "callNumber:" << QString::fromStdString(info.callNumber)
               << "appServerType:" << QString::fromStdString(info.appServerType)
               << "urlSuffixForMobile:" << QString::fromStdString(info.urlSuffixForMobile)
               << "urlSuffixForPC:" << QString::fromStdString(info.urlSuffixForPC)
               << "contactWebPage:" << info.contactWebPage << "p2pCall:" << info.p2pCall
               << "chatInConference:" << info.chatInConference
               << "switchingToAudioConference:" << info.switchingToAudioConference
               << "sitenameIsChangeable:" << info.sitenameIsChangeable << "vmr:" << QString::fromStdString(info.vmr)
               << "sipUserName:" << QString::fromStdString(info.sipUserName);
    }
    return rst == 0;
}

std::string CKDSdkManager::getDisplayName()
{
    KD_LOG;
    std::string name = m_pAVEngine->getDisplayName();
    KD_LOG << "done:" << QString::fromStdString(name);
    return name;
}

bool CKDSdkManager::changeDisplayName(const char *display_name)
{
    qInfo("CKDSdkManager::changeDisplayName, display_name: %s", display_name ? display_name : "");
    const int rst = m_pAVEngine->changeDisplayName(display_name);
    KD_WARN_RST_F("changeDisplayName", rst);
    qInfo("changeDisplayName done");
    return rst == 0;
}

KDPasswordPolicy CKDSdkManager::getPasswordPolicy()
{
    KD_LOG;
    KDPasswordPolicy policy = m_pAVEngine->getPasswordPolicy();
    KD_LOG << "done, typeCount:" << policy.typeCount << ", minLength:" << policy.minLength
           << ", maxLength:" << policy.maxLength << ", specialChars:" << QString::fromStdString(policy.specialChars);
    return policy;
}

bool CKDSdkManager::validatePassword(const char *password)
{
    KD_LOG;
    // A non-zero answer names the broken rule; it is an answer, not a failure.
    const int rst = m_pAVEngine->validatePassword(password);
    KD_LOG << "done, passwordJustRule:" << rst;
    return rst == 0;
}

bool CKDSdkManager::changePassword(const char *oldPassword, const char *newPassword)
{
    qInfo("CKDSdkManager::changePassword");
    const std::string oldCipher = m_pAVEngine->encodePassword(oldPassword);
    const std::string newCipher = m_pAVEngine->encodePassword(newPassword);
    const int rst = m_pAVEngine->changePassword(oldCipher.c_str(), newCipher.c_str());
    KD_WARN_RST_F("changePassword", rst);
    qInfo("changePassword done");
    return rst == 0;
}

bool CKDSdkManager::downloadUserImage(const char *path)
{
    qInfo("CKDSdkManager::downloadUserImage, path: %s", path ? path : "");
    const int rst = m_pAVEngine->downloadUserImage(path);
    KD_WARN_RST_F("downloadUserImage", rst);
    qInfo("downloadUserImage done");
    return rst == 0;
}

bool CKDSdkManager::uploadUserImage(const char *path)
{
    KD_LOG << path;
    const int rst = m_pAVEngine->uploadUserImage(path);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::getRegisterInfo(int type, KDRegisterInfo &info)
{
    KD_LOG << "type:" << type;
    const int rst = m_pAVEngine->getRegisterInfo(type, info);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::registerSIPServer(const char *domain, const char *displayName, const char *username,
                                      const char *password, const char *protocol)
{
    KD_LOG << "domain:" << domain << ", displayName:" << displayName << ", username" << username << ", protocol"
           << protocol;
    const int rst = m_pAVEngine->registerSIPServer(domain, displayName, username, password, protocol);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::unregisterSIPServer()
{
    KD_LOG;
    const int rst = m_pAVEngine->unregisterSIPServer();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

// ---- call -----------------------------------------------------------------

bool CKDSdkManager::setUserImage(const char *background_file_path, const char *user_image_path)
{
    KD_LOG << "background_file_path:" << background_file_path << ", user_image_path:" << user_image_path;
    const int rst = m_pAVEngine->setUserImage(background_file_path, user_image_path);
    KD_WARN_RST_F("setUserImage", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::dialOut(const char *number, bool enable_video)
{
    KD_LOG << "number:" << helpers::CLogFormat::maskedDialString(QString::fromUtf8(number))
           << ", enable_video:" << enable_video;
    const int rst = m_pAVEngine->dialOut(number, enable_video);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::acceptCall(bool enable_video)
{
    KD_LOG << "enable_video:" << enable_video;
    const int rst = m_pAVEngine->acceptCall(enable_video);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::hangUp()
{
    KD_LOG;
    const int rst = m_pAVEngine->hangUp();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::declineCall()
{
    KD_LOG;
    const int rst = m_pAVEngine->declineCall();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::conferenceControllable()
{
    KD_LOG;
    const bool controllable = m_pAVEngine->conferenceControllable();
    KD_LOG << "done. controllable:" << controllable;
    return controllable;
}

bool CKDSdkManager::requestRemoteUnmute(bool request)
{
    qInfo("CKDSdkManager::requestRemoteUnmute: %d", request);
    const int rst = m_pAVEngine->requestRemoteUnmute(request);
    KD_WARN_RST_F("requestRemoteUnmute", rst);
    qInfo("requestRemoteUnmute done");
    return rst == 0;
}

bool CKDSdkManager::sendDTMF(char key)
{
    KD_LOG << key;
    const int rst = m_pAVEngine->sendDTMF(key);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::getStats(KDStats &stats)
{
    qInfo("CKDSdkManager::getStats");
    const int rst = m_pAVEngine->getStats(stats);
    KD_WARN_RST_F("getStats", rst);
    qInfo("getStats done");
    return rst == 0;
}

// ---- devices and audio ----------------------------------------------------

std::vector<KDDevice> CKDSdkManager::getDevices(KD_DEVICE_TYPE type)
{
    qInfo("CKDSdkManager::getDevices, type: %d", int(type));
    std::vector<KDDevice> devices = m_pAVEngine->getDevices(type);
    qInfo("getDevices done");
    return devices;
}

KDDevice CKDSdkManager::getDevice(KD_DEVICE_TYPE type)
{
    qInfo("CKDSdkManager::getDevice, type: %d", int(type));
    KDDevice device = m_pAVEngine->getDevice(type);
    qInfo("getDevice done");
    return device;
}

void CKDSdkManager::setDevice(KD_DEVICE_TYPE type, unsigned id)
{
    qInfo("CKDSdkManager::setDevice, type: %d, id: %u", int(type), id);
    m_pAVEngine->setDevice(type, id);
    qInfo("setDevice done");
}

bool CKDSdkManager::enableMicMeter(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableMicMeter(enable);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

float CKDSdkManager::getMicVolume()
{
    KD_LOG;
    const float level = m_pAVEngine->getMicVolume();
    KD_LOG << "done:" << level;
    return level;
}

bool CKDSdkManager::setAudioFile(const QString &path)
{
    KD_LOG << path;
    const QByteArray localPath = path.toLocal8Bit();
    const int rst = m_pAVEngine->setAudioFile(localPath.constData());
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::startAudioPlay(int kind)
{
    KD_LOG;
    const int rst = m_pAVEngine->startAudioPlay(kind);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::stopAudioPlay()
{
    KD_LOG;
    const int rst = m_pAVEngine->stopAudioPlay();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::isAudioPlaying()
{
    KD_LOG;
    const bool playing = m_pAVEngine->isAudioPlaying();
    KD_LOG << "done" << playing;
    return playing;
}

KDVolume CKDSdkManager::getVolume(KD_DEVICE_TYPE type)
{
    KD_LOG << type;
    KDVolume volume = m_pAVEngine->getVolume(type);
    KD_LOG << "mute, volume:" << volume.mute << volume.volume;
    return volume;
}

bool CKDSdkManager::setVolume(KD_DEVICE_TYPE type, const KDVolume &vol)
{
    KD_LOG << type << vol.mute << vol.volume;
    const int rst = m_pAVEngine->setVolume(type, vol);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::micEnabled()
{
    qInfo("CKDSdkManager::micEnabled");
    const bool enabled = m_pAVEngine->micEnabled();
    qInfo("micEnabled done: %d", enabled);
    return enabled;
}

bool CKDSdkManager::enableMic(bool enable)
{
    qInfo("CKDSdkManager::enableMic: %d", enable);
    const int rst = m_pAVEngine->enableMic(enable);
    KD_WARN_RST_F("enableMic", rst);
    qInfo("enableMic done");
    return rst == 0;
}

bool CKDSdkManager::enableNoiseSuppression(bool enable)
{
    KD_LOG << "enable:" << enable;
    m_pAVEngine->enableNoiseSuppression(enable ? 2 : 0);
    KD_LOG << "done";
    return true;
}

// ---- video ----------------------------------------------------------------

bool CKDSdkManager::setRenderType(int type)
{
    KD_LOG << type;
    const int rst = m_pAVEngine->setRenderType(type);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

int CKDSdkManager::getRenderType()
{
    KD_LOG;
    const int type = m_pAVEngine->getRenderType();
    KD_LOG << "done, type:" << type;
    return type;
}

bool CKDSdkManager::setLocalVideoWindow(WId id)
{
    qInfo("CKDSdkManager::setLocalVideoWindow, id: %p", handle(id));
    const int rst = m_pAVEngine->setLocalVideoWindow(handle(id));
    KD_WARN_RST_F("setLocalVideoWindow", rst);
    qInfo("setLocalVideoWindow done");
    return rst == 0;
}

bool CKDSdkManager::setRemoteVideoWindow(WId id)
{
    KD_LOG << handle(id);
    const int rst = m_pAVEngine->setRemoteVideoWindow(handle(id));
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::setRemoteContentWindow(WId id)
{
    qInfo("CKDSdkManager::setRemoteContentWindow, id: %p", handle(id));
    const int rst = m_pAVEngine->setRemoteContentWindow(handle(id));
    KD_WARN_RST_F("setRemoteContentWindow", rst);
    qInfo("setRemoteContentWindow done");
    return rst == 0;
}

bool CKDSdkManager::setLocalContentWindow(WId id, int mode)
{
    KD_LOG << "id:" << handle(id) << ", mode:" << mode;
    const int rst = m_pAVEngine->setLocalContentWindow(handle(id), mode);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::repaintVideo()
{
    KD_LOG;
    const int rst = m_pAVEngine->repaintVideo();
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::cameraEnabled()
{
    qInfo("CKDSdkManager::cameraEnabled");
    const bool enabled = m_pAVEngine->cameraEnabled();
    qInfo("cameraEnabled done: %d", enabled);
    return enabled;
}

bool CKDSdkManager::enableCamera(bool enable)
{
    qInfo("CKDSdkManager::enableCamera: %d", enable);
    const int rst = m_pAVEngine->enableCamera(enable);
    KD_WARN_RST_F("enableCamera", rst);
    qInfo("enableCamera done");
    return rst == 0;
}

bool CKDSdkManager::highFPSEnabled()
{
    qInfo("CKDSdkManager::highFPSEnabled");
    const bool enabled = m_pAVEngine->highFPSEnabled();
    qInfo("highFPSEnabled done: %d", enabled);
    return enabled;
}

bool CKDSdkManager::enableHighFPS(bool enable)
{
    qInfo("CKDSdkManager::enableHighFPS: %d", enable);
    const int rst = m_pAVEngine->enableHighFPS(enable);
    KD_WARN_RST_F("enableHighFPS", rst);
    qInfo("enableHighFPS done");
    return rst == 0;
}

bool CKDSdkManager::enableHD(bool enable)
{
    qInfo("CKDSdkManager::enableHD: %d", enable);
    const int rst = m_pAVEngine->enableHD(enable);
    KD_WARN_RST_F("enableHD", rst);
    qInfo("enableHD done");
    return rst == 0;
}

bool CKDSdkManager::HDEnabled()
{
    qInfo("CKDSdkManager::HDEnabled");
    const bool enabled = m_pAVEngine->HDEnabled();
    qInfo("HDEnabled done: %d", enabled);
    return enabled;
}

namespace {

// Every media kind in both directions, as the engine numbers them.
const int kCodingTargets[6][2] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}, {3, 2}};

} // namespace

bool CKDSdkManager::enableHardDecoder(bool enable)
{
    KD_LOG << "enable:" << enable;
    for (const auto &target : kCodingTargets) {
        m_pAVEngine->setHardwareDecoder(target[0], target[1], enable ? 2 : 1);
    }
    KD_LOG << "done";
    return true;
}

bool CKDSdkManager::enableHardEncoder(bool enable)
{
    KD_LOG << "enable:" << enable;
    for (const auto &target : kCodingTargets) {
        m_pAVEngine->setHardwareEncoder(target[0], target[1], enable ? 2 : 1);
    }
    KD_LOG << "done";
    return true;
}

// ---- content --------------------------------------------------------------

// The entry line belongs to the calling wrapper, so it carries that wrapper's
// name and line rather than this helper's.
void CKDSdkManager::logContentSource(const char *method, int line, const KDContentSourceInfo &info)
{
    qInfo().noquote() << method << line << "info:"
                      << "type:" << info.type << ", windowTitle:" << QString::fromLocal8Bit(info.windowTitle.c_str())
                      << ", windowId" << info.windowId << ", keepRatio:" << info.keepRatio
                      << ", captureX:" << info.captureX << ", captureY:" << info.captureY
                      << ", captureSize:" << info.captureSize.width << info.captureSize.height
                      << ", valid:" << info.valid;
}

std::vector<KDContentSourceInfo> CKDSdkManager::getContentSourceList()
{
    KD_LOG;
    std::vector<KDContentSourceInfo> sources = m_pAVEngine->getContentSourceList();
    for (size_t i = 0; i < sources.size(); ++i) {
        const KDContentSourceInfo &info = sources[i];
        KD_LOG << "ContentSourceInfo" << i << "type:" << info.type
               << ", windowTitle:" << QString::fromLocal8Bit(info.windowTitle.c_str()) << ", windowId" << info.windowId
               << ", keepRatio:" << info.keepRatio << ", captureX:" << info.captureX << ", captureY:" << info.captureY
               << ", captureSize:" << info.captureSize.width << info.captureSize.height << ", valid:" << info.valid;
    }
    KD_LOG << "done, size" << sources.size();
    return sources;
}

bool CKDSdkManager::getContentSourceBitmap(const KDContentSourceInfo &info, int bitmapType, int maxWidth, int maxHeight,
                                           KDBitmap *bitmap)
{
    logContentSource(KD_LOG_NAME, __LINE__, info);
    const int rst = m_pAVEngine->getContentSourceBitmap(info, bitmapType, maxWidth, maxHeight, bitmap);
    KD_LOG << "bitmapType:" << bitmapType << ", maxWidth:" << maxWidth << ", maxHeight:" << maxHeight
           << ", bitmap:" << (bitmap ? static_cast<void *>(bitmap->data) : nullptr) << (bitmap ? bitmap->width : 0)
           << (bitmap ? bitmap->height : 0);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

void CKDSdkManager::releaseContentSourceBitmap(KDBitmap *bitmap)
{
    KD_LOG << "bitmap:" << (bitmap ? static_cast<void *>(bitmap->data) : nullptr);
    m_pAVEngine->releaseContentSourceBitmap(bitmap);
    KD_LOG << "done";
}

bool CKDSdkManager::setLocalContentSource(const KDContentSourceInfo &info)
{
    logContentSource(KD_LOG_NAME, __LINE__, info);
    const int rst = m_pAVEngine->setLocalContentSource(info);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::sendContent()
{
    KD_LOG;
    const int rst = m_pAVEngine->sendContent();
    KD_WARN_RST_F("sendContent", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::sendWhiteBoard()
{
    KD_LOG;
    const int rst = m_pAVEngine->sendWhiteBoard();
    KD_WARN_RST_F("sendWhiteBoard", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::stopContent()
{
    KD_LOG;
    const int rst = m_pAVEngine->stopContent();
    KD_WARN_RST_F("stopContent", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::enableContentAudio(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableContentAudio(enable);
    KD_WARN_RST_F("enableContentAudio", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::contentAudioEnabled()
{
    KD_LOG;
    const bool enabled = m_pAVEngine->contentAudioEnabled();
    KD_LOG << "done:" << enabled;
    return enabled;
}

bool CKDSdkManager::enableContentHighFPS(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableContentHighFPS(enable);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::enableContent(bool enable)
{
    KD_LOG << enable;
    const int rst = m_pAVEngine->enableContent(enable);
    KD_WARN_RST(rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::contentEnabled()
{
    KD_LOG;
    const bool enabled = m_pAVEngine->contentEnabled();
    KD_LOG << "enabled:" << enabled;
    return enabled;
}

// ---- feedback and diagnostics ---------------------------------------------

bool CKDSdkManager::uploadFeedbackfile(const QString &path, const QString &contact, const QString &description)
{
    KD_LOG << "path:" << path;
    std::vector<std::string> files{path.toLocal8Bit().toStdString()};
    const int rst = m_pAVEngine->uploadFeedbackFiles(files, contact.toStdString(), description.toStdString());
    KD_WARN_RST_F("uploadFeedbackfile", rst);
    KD_LOG << "done";
    return rst == 0;
}

bool CKDSdkManager::uploadFeedbackFilesWithAddress(const QString &path, const QString &contact,
                                                   const QString &description, const QString &address)
{
    KD_LOG << "path:" << path;
    std::vector<std::string> files{path.toLocal8Bit().toStdString()};
    const int rst = m_pAVEngine->uploadFeedbackFilesWithAddress(files, contact.toStdString(), description.toStdString(),
                                                                address.toStdString());
    KD_WARN_RST_F("uploadFeedbackFilesWithAddress", rst);
    KD_LOG << "done";
    return rst == 0;
}

KDDiag CKDSdkManager::getDiag()
{
    KD_LOG;
    KDDiag diag = m_pAVEngine->getDiag();
    KD_LOG << "done, advice:" << diag.advice << ", adviceParam" << QString::fromStdString(diag.adviceParam);
    return diag;
}

std::string CKDSdkManager::getDiagString()
{
    KD_LOG;
    std::string text = m_pAVEngine->getDiagString();
    KD_LOG << "done";
    return text;
}

} // namespace models
} // namespace kd_app
