#pragma once

#include <QString>

#include "helpers/cconfigutils.h"

namespace kd_app {
namespace helpers {

// Read-only view of "app-config.ini" in the application folder, written by
// whoever installs or customises the program, never by the program.
class CAppConfigUtils
{
public:
    explicit CAppConfigUtils(const QString &path);

    static CAppConfigUtils &instance();

    QString getConfInfoAddress() const;
    QString getContactsAddress() const;
    QString getConfManagementAddress() const;
    bool isDisableAudioOnlyCall() const;
    QString getDefaultLoginServerAddr() const;
    QString getDefaultRegisterServerAddr() const;
    QString getUserAgentCompanyName() const;
    bool isDovraneSpecialVersion() const;
    bool isDisableLoginSkipped() const;
    bool isDisableGuestJoinMeeting() const;
    bool isDisableResourceMonitor() const;
    QString getFeedbackAddress() const;
    QString getSoftwareUpdateAddress() const;
    QString getSoftwareUpdateFlag() const;
    QString getSoftwareUpdateBundleId() const;
    QString getSoftwareUpdateAppInfo() const;
    QString getSoftwareUpdateAppInfoPrefix() const;

private:
    QString text(const char *key) const;
    bool isOn(const char *key) const;

    CConfigUtils m_configUtils;
    const char *const m_szSectionConfig = "Config";
    const char *const m_szConfInfoAddress = "ConfInfoAddress";
    const char *const m_szContactsAddress = "ContactsAddress";
    const char *const m_szConfManagementAddress = "ConfManagementAddress";
    const char *const m_szDisableAudioOnlyCall = "DisableAudioOnlyCall";
    const char *const m_szDefaultLoginServerAddr = "DefaultLoginServerAddr";
    const char *const m_szDefaultRegisterServerAddr = "DefaultRegisterServerAddr";
    const char *const m_szUserAgentCompanyName = "UserAgentCompanyName";
    const char *const m_szIsDovraneSpecialVersion = "IsDovraneSpecialVersion";
    const char *const m_szDisableLoginSkipped = "DisableLoginSkipped";
    const char *const m_szDisableGuestJoinMeeting = "DisableGuestJoinMeeting";
    const char *const m_szDisableResourceMonitor = "DisableResourceMonitor";
    const char *const m_szFeedbackAddress = "FeedbackAddress";
    const char *const m_szSoftwareUpdateAddress = "SoftwareUpdateAddress";
    const char *const m_szSoftwareUpdateFlag = "SoftwareUpdateFlag";
    const char *const m_szSoftwareUpdateBundleId = "SoftwareUpdateBundleId";
    const char *const m_szSoftwareUpdateAppInfo = "SoftwareUpdateAppInfo";
    const char *const m_szSoftwareUpdateAppInfoPrefix = "SoftwareUpdateAppInfoPrefix";
};

} // namespace helpers
} // namespace kd_app
