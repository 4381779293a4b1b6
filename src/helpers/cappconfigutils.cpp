#include "cappconfigutils.h"

#include <QCoreApplication>

#include "helpers/clogformat.h"

namespace kd_app {
namespace helpers {

CAppConfigUtils::CAppConfigUtils(const QString &path)
{
    KD_LOG << "CAppConfigUtils::CAppConfigUtils:" << path;
    const QByteArray localPath = path.toLocal8Bit();
    if (m_configUtils.load(localPath.constData()) || m_configUtils.isDamaged()) {
        return;
    }
    KD_LOG << "Failed to open CAppConfigUtils";
    if (!m_configUtils.create(localPath.constData())) {
        KD_LOG << "Failed to create CAppConfigUtils";
    }
}

CAppConfigUtils &CAppConfigUtils::instance()
{
    static CAppConfigUtils appConfig(QCoreApplication::applicationDirPath() + QStringLiteral("/app-config.ini"));
    return appConfig;
}

QString CAppConfigUtils::text(const char *key) const
{
    return QString::fromUtf8(m_configUtils.getString(m_szSectionConfig, key, ""));
}

bool CAppConfigUtils::isOn(const char *key) const
{
    return text(key).toLower() == QLatin1String("true");
}

QString CAppConfigUtils::getConfInfoAddress() const
{
    return text(m_szConfInfoAddress);
}

QString CAppConfigUtils::getContactsAddress() const
{
    return text(m_szContactsAddress);
}

QString CAppConfigUtils::getConfManagementAddress() const
{
    return text(m_szConfManagementAddress);
}

bool CAppConfigUtils::isDisableAudioOnlyCall() const
{
    return isOn(m_szDisableAudioOnlyCall);
}

QString CAppConfigUtils::getDefaultLoginServerAddr() const
{
    return text(m_szDefaultLoginServerAddr);
}

QString CAppConfigUtils::getDefaultRegisterServerAddr() const
{
    return text(m_szDefaultRegisterServerAddr);
}

QString CAppConfigUtils::getUserAgentCompanyName() const
{
    return text(m_szUserAgentCompanyName);
}

bool CAppConfigUtils::isDovraneSpecialVersion() const
{
    return isOn(m_szIsDovraneSpecialVersion);
}

bool CAppConfigUtils::isDisableLoginSkipped() const
{
    return isOn(m_szDisableLoginSkipped);
}

bool CAppConfigUtils::isDisableGuestJoinMeeting() const
{
    return isOn(m_szDisableGuestJoinMeeting);
}

bool CAppConfigUtils::isDisableResourceMonitor() const
{
    return isOn(m_szDisableResourceMonitor);
}

QString CAppConfigUtils::getFeedbackAddress() const
{
    return text(m_szFeedbackAddress);
}

QString CAppConfigUtils::getSoftwareUpdateAddress() const
{
    return text(m_szSoftwareUpdateAddress);
}

QString CAppConfigUtils::getSoftwareUpdateFlag() const
{
    return text(m_szSoftwareUpdateFlag);
}

QString CAppConfigUtils::getSoftwareUpdateBundleId() const
{
    return text(m_szSoftwareUpdateBundleId);
}

QString CAppConfigUtils::getSoftwareUpdateAppInfo() const
{
    return text(m_szSoftwareUpdateAppInfo);
}

QString CAppConfigUtils::getSoftwareUpdateAppInfoPrefix() const
{
    return text(m_szSoftwareUpdateAppInfoPrefix);
}

} // namespace helpers
} // namespace kd_app
