#include "cdownloadthread.h"

#include <QMutexLocker>

#include "helpers/cappconfigutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/cloginmanager.h"

namespace kd_app {
namespace views {

CDownloadThread *CDownloadThread::getInstance()
{
    static CDownloadThread instance;
    return &instance;
}

CDownloadThread::CDownloadThread()
{
    connect(this, &CDownloadThread::signal_updateMessage, this, &CDownloadThread::slot_updateMessage);
}

CDownloadThread::~CDownloadThread()
{
    Tquit();
}

void CDownloadThread::Tstart(bool wantNdm, bool force)
{
    const models::CLoginManager &loginManager = models::CLoginManager::getInstance();
    const bool hasUpdateAddress = !helpers::CAppConfigUtils::instance().getSoftwareUpdateAddress().trimmed().isEmpty();
    KD_LOG << "wantNdm:" << wantNdm << "force:" << force << "update address configured:" << hasUpdateAddress;
    {
        QMutexLocker lock(&m_mutex);
        m_qstrServerAddress = loginManager.getServerUrl();
        helpers::CUserConfigUtils *config = helpers::CUserConfigUtils::getInstance();
        m_bUseHttps = config ? config->isUseHttps() : true;
        m_nPort = loginManager.getPort();
        m_bHasUpdateAddress = hasUpdateAddress;
    }
    if (!force && wantNdm != hasUpdateAddress) {
        return;
    }
    Tquit();
    m_bStop = false;
    start(QThread::InheritPriority);
}

void CDownloadThread::Tquit()
{
    m_bStop = true;
    if (isRunning()) {
        quit();
        wait();
    }
}

void CDownloadThread::run()
{
    QString server;
    bool hasUpdateAddress = false;
    {
        QMutexLocker lock(&m_mutex);
        server = m_qstrServerAddress;
        hasUpdateAddress = m_bHasUpdateAddress;
    }
    // This version has no upgrade service to ask: the check ends and says
    // that there is no newer version, so a check the user asked for is answered.
    KD_LOG << "upgrade check, server:" << server << "update address configured:" << hasUpdateAddress
           << "stopped:" << m_bStop.load();
    emit signal_updateMessage(false);
}

void CDownloadThread::slot_updateMessage(bool hasUpdate)
{
    KD_LOG << "hasUpdate:" << hasUpdate;
}

} // namespace views
} // namespace kd_app
