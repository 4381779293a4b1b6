#include "cuserconfigutils.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QUuid>

#include "app/cplatform.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"

namespace kd_app {
namespace helpers {

QString CUserConfigUtils::m_qstrUserConfigPath;
QString CUserConfigUtils::m_qstrAppPath;
QString CUserConfigUtils::m_qstrAppName;
QMutex CUserConfigUtils::m_creationLock;
CUserConfigUtils *CUserConfigUtils::m_pInstance = nullptr;

namespace {

// Stored names of the login states 0 to 5, in their order.
const char *const kLoginStatusNames[] = {"NotLogin",    "LoggedIn",          "LoggingIn",
                                         "LoginFailed", "AnonymousLoggedIn", "AnonymousLoggingIn"};
constexpr int kLoginStatusNameCount = sizeof(kLoginStatusNames) / sizeof(kLoginStatusNames[0]);
constexpr int kConfigFileVersion = 2;

bool isTrueText(const char *value)
{
    return QString::fromUtf8(value).toLower() == QLatin1String("true");
}

QString appDataVariable()
{
    return QProcessEnvironment::systemEnvironment().value(QStringLiteral("appdata"));
}

} // namespace

CUserConfigUtils::CUserConfigUtils(const QString &filePath)
{
    KD_LOG << "filePath:" << filePath;
    const QByteArray localPath = filePath.toLocal8Bit();
    if (!m_configUtils.load(localPath.constData())) {
        if (m_configUtils.isDamaged()) {
            KD_WARN << "Config file is damaged, keeping what was read:" << filePath;
        } else {
            KD_LOG << "Failed to open CUserConfigUtils";
            if (m_configUtils.create(localPath.constData())) {
                CPlatform::makePrivateFile(filePath);
                loadConfigFromOldConfigFile();
            } else {
                KD_LOG << "Failed to create CUserConfigUtils";
            }
        }
    }
    if (QFileInfo::exists(filePath)) {
        CPlatform::makePrivateFile(filePath);
    }
    upgradeLayout();
}

CUserConfigUtils::~CUserConfigUtils() = default;

void CUserConfigUtils::upgradeLayout()
{
    if (m_configUtils.getInt(m_szSectionConfig, m_szConfigFileVersion, 0) >= kConfigFileVersion) {
        return;
    }
    // Keys of older layouts that must not carry their old meaning.
    m_configUtils.setString(m_szSectionConfig, "JoinConfDisplayName", "");
    m_configUtils.setString(m_szSectionConfig, "ScreenPicPath", "");
    m_configUtils.setString(m_szSectionSipSetting, "ScreenName", "");
    m_configUtils.setInt(m_szSectionConfig, m_szConfigFileVersion, kConfigFileVersion);
    m_configUtils.save();
}

void CUserConfigUtils::initInstance(const char *appFullName)
{
    parseAppNameAndPath(appFullName);
    if (m_pInstance) {
        return;
    }
    QMutexLocker locker(&m_creationLock);
    if (m_pInstance) {
        return;
    }
    const QString folder = getUserConfigPath() + QStringLiteral("/Brivana/Config");
    if (!QFileInfo(folder).isDir()) {
        CPlatform::makePrivateFolder(folder);
    } else {
        CPlatform::tightenPrivateFolder(folder);
    }
    const QString file = folder + QStringLiteral("/config.ini");
    KD_LOG << "userConfigPath:" << file;
    m_pInstance = new CUserConfigUtils(file);
}

CUserConfigUtils *CUserConfigUtils::getInstance()
{
    return m_pInstance;
}

void CUserConfigUtils::releaseInstance()
{
    QMutexLocker locker(&m_creationLock);
    if (!m_pInstance) {
        return;
    }
    KD_LOG << "CUserConfigUtils::releaseInstance";
    delete m_pInstance;
    m_pInstance = nullptr;
}

void CUserConfigUtils::parseAppNameAndPath(const char *appFullName)
{
    if (!appFullName) {
        m_qstrAppName.clear();
        m_qstrAppPath.clear();
        return;
    }
    const QString fullName = QString::fromLocal8Bit(appFullName);
    const int separator = fullName.lastIndexOf(QDir::separator());
    m_qstrAppName = separator <= 0 ? fullName : fullName.mid(separator + 1);
    // The folder holds the trusted certificates, sounds and images. Started
    // by name through PATH the command line names no folder, and the working
    // folder is whatever the user stands in: take the executable's own.
    m_qstrAppPath = CPlatform::executableFolder();
    const int dot = m_qstrAppName.indexOf(QLatin1Char('.'));
    if (dot > 0) {
        m_qstrAppName.truncate(dot);
    }
    KD_LOG << "m_qstrAppName:" << m_qstrAppName;
    KD_LOG << "m_qstrAppPath:" << m_qstrAppPath;
}

QString CUserConfigUtils::getUserConfigPath()
{
    if (!m_qstrUserConfigPath.isEmpty()) {
        return m_qstrUserConfigPath;
    }
    const QString appData = appDataVariable();
    if (appData.isEmpty()) {
        m_qstrUserConfigPath = m_qstrAppPath;
    } else {
        QString folder = appData;
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
        folder += QLatin1Char('/') + m_qstrAppName;
        if (!QFileInfo(folder).isDir()) {
            CPlatform::makePrivateFolder(folder);
        } else {
            // Made open by an older version or by hand: it holds passwords,
            // tokens and logs.
            CPlatform::tightenPrivateFolder(folder);
        }
        m_qstrUserConfigPath = QFileInfo(folder).isDir() ? folder : m_qstrAppPath;
    }
    KD_LOG << "m_qstrUserConfigPath:" << m_qstrUserConfigPath;
    return m_qstrUserConfigPath;
}

QString CUserConfigUtils::getHeadPicPath()
{
    if (m_qstrHeadPicPath.isEmpty()) {
        m_qstrHeadPicPath = getUserConfigPath() + QLatin1Char('/') + QLatin1String(m_szHeadPicName);
    }
    return m_qstrHeadPicPath;
}

void CUserConfigUtils::loadConfigFromOldConfigFile()
{
    KD_LOG << "Load config from old config file";
    QString appData = appDataVariable();
    if (appData.isEmpty()) {
        KD_LOG << "appdata is null";
        return;
    }
    appData.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const int position = appData.indexOf(QLatin1String("AppData"), 0, Qt::CaseInsensitive);
    if (position < 0) {
        KD_LOG << "not found string appdata";
        return;
    }
    const QString oldFile = appData.left(position) + QStringLiteral("AppData/LocalLow/Brivana/Config/config.ini");
    KD_LOG << "localLowConfig:" << oldFile;
    if (!CGeneralUtils::isFile(oldFile)) {
        KD_LOG << "There is no old config file";
    }
    CConfigUtils oldConfig;
    if (!oldConfig.load(oldFile.toUtf8().constData())) {
        KD_WARN << "Failed to open old config file";
        return;
    }

    auto copyText = [&](const char *section, const char *key) {
        m_configUtils.setString(section, key, oldConfig.getString(section, key, ""));
        m_configUtils.save();
    };
    auto copySwitch = [&](const char *section, const char *key) {
        m_configUtils.setString(section, key, isTrueText(oldConfig.getString(section, key, "")) ? "true" : "false");
        m_configUtils.save();
    };
    const char *config = m_szSectionConfig;
    copyText(config, m_szIp);
    m_configUtils.setInt(config, m_szPort, oldConfig.getInt(config, m_szPort, 0));
    m_configUtils.save();
    copyText(config, m_szUser);
    copyText(config, m_szPassword);
    copySwitch(config, m_szSetBw2m);
    copySwitch(config, m_szSupport1080P);
    setDeviceSn(QString::fromUtf8(oldConfig.getString(config, m_szDeviceSn, "")));
    m_configUtils.setInt(config, m_szRememberMe, oldConfig.getInt(config, m_szRememberMe, 1) == 1 ? 1 : 0);
    m_configUtils.save();
    copySwitch(config, m_szAutoAnswer);
    copySwitch(config, m_szAutoCaptureWin);
    copySwitch(config, m_szOpenNewWinInContentStream);
    copySwitch(config, m_szOpenHighFrameRateVideo);
    copyText(config, m_szLanguage);
    const char *sip = m_szSectionSipSetting;
    copyText(sip, m_szTransportProtocol);
    copySwitch(sip, m_szEnableRegistration);
    copyText(sip, m_szProxyServerAddress);
    copyText(sip, m_szDomain);
    copyText(sip, m_szSignInAddress);
    copyText(sip, m_szAuthenticationUserName);
    copyText(sip, m_szAuthenticationPassword);
}

QByteArray CUserConfigUtils::value(const char *section, const char *key) const
{
    QMutexLocker locker(&m_storeLock);
    std::string stored;
    return m_configUtils.getValue(section, key, &stored) ? QByteArray::fromStdString(stored) : QByteArray();
}

int CUserConfigUtils::number(const char *section, const char *key, int defaultValue) const
{
    QMutexLocker locker(&m_storeLock);
    return m_configUtils.getInt(section, key, defaultValue);
}

void CUserConfigUtils::storeValue(const char *section, const char *key, const QByteArray &value)
{
    QMutexLocker locker(&m_storeLock);
    m_configUtils.setValue(section, key, value.toStdString());
    m_configUtils.save();
}

void CUserConfigUtils::storeNumber(const char *section, const char *key, int value)
{
    QMutexLocker locker(&m_storeLock);
    m_configUtils.setInt(section, key, value);
    m_configUtils.save();
}

QString CUserConfigUtils::text(const char *section, const char *key) const
{
    // Whole, a zero byte included: what was set reads back unchanged.
    const QByteArray stored = value(section, key);
    return QString::fromUtf8(stored.constData(), stored.size());
}

void CUserConfigUtils::setText(const char *section, const char *key, const QString &value)
{
    storeValue(section, key, value.toUtf8());
}

bool CUserConfigUtils::isOnByDefault(const char *section, const char *key) const
{
    return text(section, key).toLower() != QLatin1String("false");
}

bool CUserConfigUtils::isOffByDefault(const char *section, const char *key) const
{
    return isTrueText(value(section, key).constData());
}

void CUserConfigUtils::setSwitch(const char *section, const char *key, bool on)
{
    storeValue(section, key, on ? "true" : "false");
}

bool CUserConfigUtils::isFlag(const char *section, const char *key, int defaultValue) const
{
    return number(section, key, defaultValue) == 1;
}

void CUserConfigUtils::setFlag(const char *section, const char *key, bool on)
{
    storeNumber(section, key, on ? 1 : 0);
}

QString CUserConfigUtils::base64Text(const char *section, const char *key) const
{
    const QByteArray decoded = QByteArray::fromBase64(value(section, key));
    return QString::fromUtf8(decoded.constData(), decoded.size());
}

void CUserConfigUtils::setBase64Text(const char *section, const char *key, const QString &value)
{
    storeValue(section, key, value.toUtf8().toBase64());
}

bool CUserConfigUtils::isDisableCameraOnJoinConf() const
{
    return isOffByDefault(m_szSectionConfig, m_szDisableCameraOnJoinConf);
}

void CUserConfigUtils::setDisableCameraOnJoinConf(bool disable)
{
    setSwitch(m_szSectionConfig, m_szDisableCameraOnJoinConf, disable);
}

bool CUserConfigUtils::isDisableMicOnJoinConf() const
{
    return isOnByDefault(m_szSectionConfig, m_szDisableMicOnJoinConf);
}

void CUserConfigUtils::setDisableMicOnJoinConf(bool disable)
{
    setSwitch(m_szSectionConfig, m_szDisableMicOnJoinConf, disable);
}

bool CUserConfigUtils::isDisablePrompt() const
{
    return isOnByDefault(m_szSectionConfig, m_szDisablePrompt);
}

void CUserConfigUtils::setDisablePrompt(bool disable)
{
    setSwitch(m_szSectionConfig, m_szDisablePrompt, disable);
}

QString CUserConfigUtils::getIp() const
{
    return text(m_szSectionConfig, m_szIp);
}

void CUserConfigUtils::setIp(const QString &ip)
{
    setText(m_szSectionConfig, m_szIp, ip);
}

bool CUserConfigUtils::isUseHttps() const
{
    return isOnByDefault(m_szSectionConfig, m_szUseHttps);
}

void CUserConfigUtils::setUseHttps(bool useHttps)
{
    setSwitch(m_szSectionConfig, m_szUseHttps, useHttps);
}

int CUserConfigUtils::getPort() const
{
    return number(m_szSectionConfig, m_szPort, 0);
}

void CUserConfigUtils::setPort(int port)
{
    storeNumber(m_szSectionConfig, m_szPort, port);
}

QString CUserConfigUtils::getUser() const
{
    return text(m_szSectionConfig, m_szUser);
}

void CUserConfigUtils::setUser(const QString &user)
{
    setText(m_szSectionConfig, m_szUser, user);
}

QString CUserConfigUtils::getPassword() const
{
    return text(m_szSectionConfig, m_szPassword);
}

void CUserConfigUtils::setPassword(const QString &password)
{
    setText(m_szSectionConfig, m_szPassword, password);
}

QString CUserConfigUtils::getJoinConfServerAddress() const
{
    return text(m_szSectionConfig, m_szJoinConfServerAddress);
}

void CUserConfigUtils::setJoinConfServerAddress(const QString &address)
{
    setText(m_szSectionConfig, m_szJoinConfServerAddress, address);
}

QString CUserConfigUtils::getJoinConfNumber() const
{
    return text(m_szSectionConfig, m_szJoinConfNumber);
}

void CUserConfigUtils::setJoinConfNumber(const QString &number)
{
    setText(m_szSectionConfig, m_szJoinConfNumber, number);
}

QString CUserConfigUtils::getJoinConfDisplayName() const
{
    return base64Text(m_szSectionConfig, m_szJoinConfDisplayNameUtf8);
}

void CUserConfigUtils::setJoinConfDisplayName(const QString &name)
{
    setBase64Text(m_szSectionConfig, m_szJoinConfDisplayNameUtf8, name);
}

QString CUserConfigUtils::getJoinConfPassword() const
{
    return text(m_szSectionConfig, m_szJoinConfPassword);
}

void CUserConfigUtils::setJoinConfPassword(const QString &password)
{
    setText(m_szSectionConfig, m_szJoinConfPassword, password);
}

bool CUserConfigUtils::isSetBw2m() const
{
    return isOffByDefault(m_szSectionConfig, m_szSetBw2m);
}

void CUserConfigUtils::setBw2m(bool set)
{
    setSwitch(m_szSectionConfig, m_szSetBw2m, set);
}

QString CUserConfigUtils::getDeviceSn()
{
    const QString stored = text(m_szSectionConfig, m_szDeviceSn);
    if (!stored.isEmpty()) {
        return stored;
    }
    QString deviceSn = QUuid::createUuid().toString();
    deviceSn.remove(QLatin1Char('{')).remove(QLatin1Char('}')).remove(QLatin1Char('-'));
    setDeviceSn(deviceSn);
    return deviceSn;
}

void CUserConfigUtils::setDeviceSn(const QString &deviceSn)
{
    setText(m_szSectionConfig, m_szDeviceSn, deviceSn);
}

bool CUserConfigUtils::getRememberMe() const
{
    return isFlag(m_szSectionConfig, m_szRememberMe, 1);
}

void CUserConfigUtils::setRememberMe(bool remember)
{
    setFlag(m_szSectionConfig, m_szRememberMe, remember);
}

bool CUserConfigUtils::isAutoAnswer() const
{
    return isOffByDefault(m_szSectionConfig, m_szAutoAnswer);
}

void CUserConfigUtils::setAutoAnswer(bool autoAnswer)
{
    setSwitch(m_szSectionConfig, m_szAutoAnswer, autoAnswer);
}

bool CUserConfigUtils::isAutoCaptureWin() const
{
    return isOffByDefault(m_szSectionConfig, m_szAutoCaptureWin);
}

void CUserConfigUtils::setAutoCaptureWin(bool autoCapture)
{
    setSwitch(m_szSectionConfig, m_szAutoCaptureWin, autoCapture);
}

bool CUserConfigUtils::isOpenNewWinInContentStream() const
{
    return isOffByDefault(m_szSectionConfig, m_szOpenNewWinInContentStream);
}

void CUserConfigUtils::setOpenNewWinInContentStream(bool openNewWin)
{
    setSwitch(m_szSectionConfig, m_szOpenNewWinInContentStream, openNewWin);
}

QString CUserConfigUtils::getScreenPicPath()
{
    if (text(m_szSectionConfig, m_szScreenPicPathUtf8).isEmpty()) {
        setScreenPicPath(QStandardPaths::writableLocation(QStandardPaths::DownloadLocation));
    }
    return base64Text(m_szSectionConfig, m_szScreenPicPathUtf8);
}

void CUserConfigUtils::setScreenPicPath(const QString &path)
{
    setBase64Text(m_szSectionConfig, m_szScreenPicPathUtf8, path);
}

QString CUserConfigUtils::getLanguage() const
{
    return text(m_szSectionConfig, m_szLanguage);
}

void CUserConfigUtils::setLanguage(const QString &language)
{
    setText(m_szSectionConfig, m_szLanguage, language);
}

enums::LoginStatus CUserConfigUtils::getLoginStatus() const
{
    const QByteArray stored = value(m_szSectionConfig, m_szLoginStatus);
    for (int status = 0; status < kLoginStatusNameCount; ++status) {
        if (stored == kLoginStatusNames[status]) {
            return static_cast<enums::LoginStatus>(status);
        }
    }
    return enums::NotLogin;
}

void CUserConfigUtils::setLoginStatus(enums::LoginStatus status)
{
    // A status without a stored name is written as its number, which reads
    // back as NotLogin like every other unknown text.
    const bool named = status >= 0 && status < kLoginStatusNameCount;
    const QString name = named ? QString::fromLatin1(kLoginStatusNames[status]) : QString::number(status);
    setText(m_szSectionConfig, m_szLoginStatus, name);
}

bool CUserConfigUtils::isFullScreenOnCallConnected() const
{
    return isOffByDefault(m_szSectionConfig, m_szFullScreenOnCallConnected);
}

void CUserConfigUtils::setFullScreenOnCallConnected(bool fullScreen)
{
    setSwitch(m_szSectionConfig, m_szFullScreenOnCallConnected, fullScreen);
}

bool CUserConfigUtils::getAINoiseReduction() const
{
    return isFlag(m_szSectionConfig, m_szAINoiseReduction, 1);
}

void CUserConfigUtils::setAINoiseReduction(bool on)
{
    setFlag(m_szSectionConfig, m_szAINoiseReduction, on);
}

bool CUserConfigUtils::isEnableHardEncode() const
{
    return isOffByDefault(m_szSectionConfig, m_szEnableHardEncode);
}

void CUserConfigUtils::setEnableHardEncode(bool enable)
{
    setSwitch(m_szSectionConfig, m_szEnableHardEncode, enable);
}

bool CUserConfigUtils::isEnableHardDecode() const
{
    return isOffByDefault(m_szSectionConfig, m_szEnableHardDecode);
}

void CUserConfigUtils::setEnableHardDecode(bool enable)
{
    setSwitch(m_szSectionConfig, m_szEnableHardDecode, enable);
}

bool CUserConfigUtils::getIsConfRunning() const
{
    return isFlag(m_szSectionConfRunningStatus, m_szIsConfRunning, 0);
}

void CUserConfigUtils::setIsConfRunning(bool running)
{
    setFlag(m_szSectionConfRunningStatus, m_szIsConfRunning, running);
}

QString CUserConfigUtils::getConfId() const
{
    return text(m_szSectionConfRunningStatus, m_szConfId);
}

void CUserConfigUtils::setConfId(const QString &confId)
{
    setText(m_szSectionConfRunningStatus, m_szConfId, confId);
}

QStringList CUserConfigUtils::getConfIds() const
{
    // The count comes from the file: a damaged or hostile value must not make
    // every join dialog build millions of entries. The history holds five.
    constexpr int kMaxConfIds = 100;
    QStringList confIds;
    const int count = qMin(number(m_szSectionConferenceIdsSetting, m_szConfIdsCount, 0), kMaxConfIds);
    for (int index = 0; index < count; ++index) {
        const QByteArray key = m_szConfIdsPrefix + QByteArray::number(index);
        confIds.append(text(m_szSectionConferenceIdsSetting, key.constData()));
    }
    return confIds;
}

void CUserConfigUtils::setConfIds(const QStringList &confIds)
{
    QMutexLocker locker(&m_storeLock);
    m_configUtils.setInt(m_szSectionConferenceIdsSetting, m_szConfIdsCount, confIds.size());
    for (int index = 0; index < confIds.size(); ++index) {
        const QByteArray key = m_szConfIdsPrefix + QByteArray::number(index);
        m_configUtils.setValue(m_szSectionConferenceIdsSetting, key.constData(), confIds.at(index).toStdString());
    }
    m_configUtils.save();
}

QString CUserConfigUtils::getTransportProtocol() const
{
    const QString protocol = text(m_szSectionSipSetting, m_szTransportProtocol);
    return protocol.trimmed().isEmpty() ? QStringLiteral("TCP") : protocol;
}

void CUserConfigUtils::setTransportProtocol(const QString &protocol)
{
    setText(m_szSectionSipSetting, m_szTransportProtocol, protocol);
}

QString CUserConfigUtils::getScreenName() const
{
    return base64Text(m_szSectionSipSetting, m_szScreenNameUtf8);
}

void CUserConfigUtils::setScreenName(const QString &name)
{
    setBase64Text(m_szSectionSipSetting, m_szScreenNameUtf8, name);
}

bool CUserConfigUtils::isEnableRegistration() const
{
    return isOffByDefault(m_szSectionSipSetting, m_szEnableRegistration);
}

void CUserConfigUtils::setEnableRegistration(bool enable)
{
    setSwitch(m_szSectionSipSetting, m_szEnableRegistration, enable);
}

QString CUserConfigUtils::getProxyServerAddress() const
{
    return text(m_szSectionSipSetting, m_szProxyServerAddress);
}

void CUserConfigUtils::setProxyServerAddress(const QString &address)
{
    setText(m_szSectionSipSetting, m_szProxyServerAddress, address);
}

QString CUserConfigUtils::getDomain() const
{
    return text(m_szSectionSipSetting, m_szDomain);
}

void CUserConfigUtils::setDomain(const QString &domain)
{
    setText(m_szSectionSipSetting, m_szDomain, domain);
}

QString CUserConfigUtils::getSignInAddress() const
{
    return text(m_szSectionSipSetting, m_szSignInAddress);
}

void CUserConfigUtils::setSignInAddress(const QString &address)
{
    setText(m_szSectionSipSetting, m_szSignInAddress, address);
}

QString CUserConfigUtils::getAuthenticationUserName() const
{
    return text(m_szSectionSipSetting, m_szAuthenticationUserName);
}

void CUserConfigUtils::setAuthenticationUserName(const QString &name)
{
    setText(m_szSectionSipSetting, m_szAuthenticationUserName, name);
}

QString CUserConfigUtils::getAuthenticationPassword() const
{
    return text(m_szSectionSipSetting, m_szAuthenticationPassword);
}

void CUserConfigUtils::setAuthenticationPassword(const QString &password)
{
    setText(m_szSectionSipSetting, m_szAuthenticationPassword, password);
}

} // namespace helpers
} // namespace kd_app
