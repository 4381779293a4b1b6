#pragma once

#include <QMutex>
#include <QString>
#include <QStringList>

#include "helpers/cconfigutils.h"
#include "helpers/enums.h"

namespace kd_app {
namespace helpers {

// The per-user settings file "config.ini" and the per-user folder. Every
// setter writes the whole file at once, so that a second instance reads the
// running one's state from it.
class CUserConfigUtils
{
public:
    explicit CUserConfigUtils(const QString &filePath);
    virtual ~CUserConfigUtils();

    CUserConfigUtils(const CUserConfigUtils &) = delete;
    CUserConfigUtils &operator=(const CUserConfigUtils &) = delete;

    static void initInstance(const char *appFullName);
    static CUserConfigUtils *getInstance();
    static void releaseInstance();
    static QString getUserConfigPath();
    static void parseAppNameAndPath(const char *appFullName);
    static QString getAppName() { return m_qstrAppName; }
    static QString getAppPath() { return m_qstrAppPath; }

    const char *getEngineConfigName() const { return m_szEngineConfigName; }
    const char *getEngineLogPrefix() const { return m_szEngineLogPrefix; }
    int getEngineLogMaxSize() const { return m_nEngineLogMaxSize; }
    QString getHeadPicPath();

    // Section "Config"
    bool isDisableCameraOnJoinConf() const;
    void setDisableCameraOnJoinConf(bool disable);
    bool isDisableMicOnJoinConf() const;
    void setDisableMicOnJoinConf(bool disable);
    bool isDisablePrompt() const;
    void setDisablePrompt(bool disable);
    QString getIp() const;
    void setIp(const QString &ip);
    bool isUseHttps() const;
    void setUseHttps(bool useHttps);
    int getPort() const;
    void setPort(int port);
    QString getUser() const;
    void setUser(const QString &user);
    QString getPassword() const;
    void setPassword(const QString &password);
    QString getJoinConfServerAddress() const;
    void setJoinConfServerAddress(const QString &address);
    QString getJoinConfNumber() const;
    void setJoinConfNumber(const QString &number);
    QString getJoinConfDisplayName() const;
    void setJoinConfDisplayName(const QString &name);
    QString getJoinConfPassword() const;
    void setJoinConfPassword(const QString &password);
    bool isSetBw2m() const;
    void setBw2m(bool set);
    QString getDeviceSn();
    void setDeviceSn(const QString &deviceSn);
    bool getRememberMe() const;
    void setRememberMe(bool remember);
    bool isAutoAnswer() const;
    void setAutoAnswer(bool autoAnswer);
    bool isAutoCaptureWin() const;
    void setAutoCaptureWin(bool autoCapture);
    bool isOpenNewWinInContentStream() const;
    void setOpenNewWinInContentStream(bool openNewWin);
    QString getScreenPicPath();
    void setScreenPicPath(const QString &path);
    QString getLanguage() const;
    void setLanguage(const QString &language);
    enums::LoginStatus getLoginStatus() const;
    void setLoginStatus(enums::LoginStatus status);
    bool isFullScreenOnCallConnected() const;
    void setFullScreenOnCallConnected(bool fullScreen);
    bool getAINoiseReduction() const;
    void setAINoiseReduction(bool on);
    bool isEnableHardEncode() const;
    void setEnableHardEncode(bool enable);
    bool isEnableHardDecode() const;
    void setEnableHardDecode(bool enable);

    // Section "ConfRunningStatus"
    bool getIsConfRunning() const;
    void setIsConfRunning(bool running);
    QString getConfId() const;
    void setConfId(const QString &confId);

    // Section "ConferenceIdsSetting"
    QStringList getConfIds() const;
    void setConfIds(const QStringList &confIds);

    // Section "SipSetting"
    QString getTransportProtocol() const;
    void setTransportProtocol(const QString &protocol);
    QString getScreenName() const;
    void setScreenName(const QString &name);
    bool isEnableRegistration() const;
    void setEnableRegistration(bool enable);
    QString getProxyServerAddress() const;
    void setProxyServerAddress(const QString &address);
    QString getDomain() const;
    void setDomain(const QString &domain);
    QString getSignInAddress() const;
    void setSignInAddress(const QString &address);
    QString getAuthenticationUserName() const;
    void setAuthenticationUserName(const QString &name);
    QString getAuthenticationPassword() const;
    void setAuthenticationPassword(const QString &password);

    void loadConfigFromOldConfigFile();

private:
    // The only ways to the store after construction: the login worker and
    // the upgrade check read from their own threads while the graphical
    // thread writes.
    QByteArray value(const char *section, const char *key) const;
    int number(const char *section, const char *key, int defaultValue) const;
    void storeValue(const char *section, const char *key, const QByteArray &value);
    void storeNumber(const char *section, const char *key, int value);

    QString text(const char *section, const char *key) const;
    void setText(const char *section, const char *key, const QString &value);
    bool isOnByDefault(const char *section, const char *key) const;
    bool isOffByDefault(const char *section, const char *key) const;
    void setSwitch(const char *section, const char *key, bool on);
    bool isFlag(const char *section, const char *key, int defaultValue) const;
    void setFlag(const char *section, const char *key, bool on);
    QString base64Text(const char *section, const char *key) const;
    void setBase64Text(const char *section, const char *key, const QString &value);
    void upgradeLayout();

    static QString m_qstrUserConfigPath;
    static QString m_qstrAppPath;
    static QString m_qstrAppName;
    static QMutex m_creationLock;
    static CUserConfigUtils *m_pInstance;

    const char *const m_szEngineConfigName = "parvelarc";
    const char *const m_szEngineLogPrefix = "kdsdk";
    const int m_nEngineLogMaxSize = 31457280;
    CConfigUtils m_configUtils;
    mutable QMutex m_storeLock;
    QString m_qstrHeadPicPath;

    const char *const m_szSectionConfig = "Config";
    const char *const m_szDisableCameraOnJoinConf = "DisableCameraOnJoinConf";
    const char *const m_szDisableMicOnJoinConf = "DisableMicOnJoinConf";
    const char *const m_szDisablePrompt = "DisablePrompt";
    const char *const m_szIp = "Ip";
    const char *const m_szUseHttps = "useHttps";
    const char *const m_szPort = "port";
    const char *const m_szUser = "User";
    const char *const m_szPassword = "Password";
    const char *const m_szJoinConfServerAddress = "JoinConfServerAddress";
    const char *const m_szJoinConfNumber = "JoinConfNumber";
    const char *const m_szJoinConfDisplayNameUtf8 = "JoinConfDisplayNameUtf8";
    const char *const m_szJoinConfPassword = "JoinConfPassword";
    const char *const m_szSetBw2m = "set_bw_2m";
    const char *const m_szSupport1080P = "support1080P";
    const char *const m_szDeviceSn = "DeviceSn";
    const char *const m_szRememberMe = "RememberMe";
    const char *const m_szAutoAnswer = "AntoAnswer";
    const char *const m_szAutoCaptureWin = "autoCaptureWin";
    const char *const m_szOpenNewWinInContentStream = "openNewWinInContentStream";
    const char *const m_szOpenHighFrameRateVideo = "openHighFrameRateVideo";
    const char *const m_szScreenPicPathUtf8 = "ScreenPicPathUtf8";
    const char *const m_szLanguage = "language";
    const char *const m_szLoginStatus = "LoginStatus";
    const char *const m_szFullScreenOnCallConnected = "FullScreenOnCallConnected";
    const char *const m_szConfigFileVersion = "ConfigFileVersion";
    const char *const m_szAINoiseReduction = "AINoiseReduction";
    const char *const m_szEnableHardEncode = "EnableHardEncode";
    const char *const m_szEnableHardDecode = "EnableHardDecode";
    const char *const m_szSectionConfRunningStatus = "ConfRunningStatus";
    const char *const m_szIsConfRunning = "IsConfRunning";
    const char *const m_szConfId = "ConfId";
    const char *const m_szSectionConferenceIdsSetting = "ConferenceIdsSetting";
    const char *const m_szConfIdsCount = "ConfIdsCount";
    const char *const m_szConfIdsPrefix = "ConfIds_";
    const char *const m_szSectionSipSetting = "SipSetting";
    const char *const m_szTransportProtocol = "TransportProtocol";
    const char *const m_szScreenNameUtf8 = "ScreenNameUtf8";
    const char *const m_szEnableRegistration = "EnableRegistration";
    const char *const m_szProxyServerAddress = "ProxyServerAddress";
    const char *const m_szDomain = "Domain";
    const char *const m_szSignInAddress = "SignInAddress";
    const char *const m_szAuthenticationUserName = "AuthenticationUserName";
    const char *const m_szAuthenticationPassword = "AuthenticationPassword";
    const char *const m_szHeadPicName = "header.jpg";
};

} // namespace helpers
} // namespace kd_app
