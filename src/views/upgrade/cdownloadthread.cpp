#include "cdownloadthread.h"

#include <memory>

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

#include "helpers/cappconfigutils.h"
#include "helpers/cappversion.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/cloginmanager.h"
#include "views/base/alertdlg.h"
#include "views/cmaindlgmanager.h"
#include "views/upgrade/cdownloadmanager.h"
#include "views/upgrade/cupdategetjson.h"
#include "views/upgrade/cupdatemessagewidget.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;

namespace {

constexpr unsigned long kPollMs = 10;
// Longer texts are no version, whatever they hold.
constexpr int kMaxVersionLength = 64;
const char kServerQueryTemplate[] = "%1://%2:%3/api/rest/v2.0/latestAppVersion?appType=linux";
// The desktop's opener hands a package to its software installer.
const char kOpener[] = "xdg-open";

} // namespace

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

void CDownloadThread::setAppConfig(const helpers::CAppConfigUtils *config)
{
    m_pAppConfig = config;
}

CUpdateMessageWidget *CDownloadThread::updateMessageWidget() const
{
    return m_updateMessageWidget.data();
}

const helpers::CAppConfigUtils &CDownloadThread::appConfig() const
{
    return m_pAppConfig ? *m_pAppConfig : helpers::CAppConfigUtils::instance();
}

// ---- rules -----------------------------------------------------------------

bool CDownloadThread::isNewerVersion(const QString &remote, const QString &local)
{
    if (remote == local || remote.isEmpty() || local.isEmpty()) {
        return false;
    }
    const QStringList remoteParts = remote.split(QLatin1Char('.'));
    const QStringList localParts = local.split(QLatin1Char('.'));
    const int common = qMin(remoteParts.size(), localParts.size());
    for (int i = 0; i < common; ++i) {
        // A part that is no number reads as 0 (toInt gives 0 then).
        const int r = remoteParts.at(i).toInt();
        const int l = localParts.at(i).toInt();
        if (r != l) {
            return r > l;
        }
    }
    return remoteParts.size() > common;
}

bool CDownloadThread::isVersionText(const QString &version)
{
    static const QRegularExpression digitsAndDots(QStringLiteral("\\A[0-9]+(\\.[0-9]+)*\\z"));
    return version.size() <= kMaxVersionLength && digitsAndDots.match(version).hasMatch();
}

QString CDownloadThread::packageAddress(const QString &downloadUrl, bool appInfoForm, bool https, const QString &server,
                                        int port)
{
    if (appInfoForm || downloadUrl.startsWith(QLatin1String("https://")) ||
        downloadUrl.startsWith(QLatin1String("http://"))) {
        return downloadUrl;
    }
    return (https ? QStringLiteral("https://") : QStringLiteral("http://")) + server + QLatin1Char(':') +
           QString::number(port) + downloadUrl;
}

QString CDownloadThread::serverQueryAddress(bool https, const QString &server, int port)
{
    return QString::fromLatin1(kServerQueryTemplate)
        .arg(https ? QStringLiteral("https") : QStringLiteral("http"), server)
        .arg(port);
}

QString CDownloadThread::appInfoQueryAddress(const helpers::CAppConfigUtils &config)
{
    QString address = config.getSoftwareUpdateAddress() + QLatin1Char('/') + config.getSoftwareUpdateFlag() +
                      QLatin1Char('/') + config.getSoftwareUpdateBundleId() + QLatin1Char('/');
    const QString prefix = config.getSoftwareUpdateAppInfoPrefix();
    if (!prefix.isEmpty()) {
        address += prefix + QLatin1Char('.');
    }
    return address + config.getSoftwareUpdateAppInfo();
}

// ---- graphical thread ------------------------------------------------------

void CDownloadThread::Tstart(bool wantNdm, bool force)
{
    const bool useNdm = !appConfig().getSoftwareUpdateAddress().trimmed().isEmpty();
    KD_LOG << "wantNdm:" << wantNdm << "force:" << force << "m_useNDMinfoFlag:" << useNdm;
    if (!force && wantNdm != useNdm) {
        return;
    }
    Tquit();
    // Copied while the thread stands still: the worker reads these, never the
    // login manager, whose values the graphical thread changes at any time.
    const models::CLoginManager &login = models::CLoginManager::getInstance();
    const helpers::CUserConfigUtils *config = helpers::CUserConfigUtils::getInstance();
    m_server = login.getSdkServerAddress();
    m_useHttps = config ? config->isUseHttps() : true;
    m_port = login.getPort();
    m_useNDMinfoFlag = useNdm;
    startRun();
}

void CDownloadThread::startRun()
{
    m_quit = false;
    start(QThread::InheritPriority);
}

void CDownloadThread::Tquit()
{
    KD_LOG << "running:" << isRunning();
    m_quit = true;
    if (isRunning()) {
        // Ends the thread's event loops too: the check's wait and the download.
        quit();
        wait();
    }
}

void CDownloadThread::slot_updateMessage(bool toUpdate)
{
    KD_LOG << "toUpdate:" << toUpdate;
    if (!toUpdate) {
        return;
    }
    if (m_quit) {
        // The run was asked to stop meanwhile (Cancel, exit): offer nothing.
        KD_LOG << "stopped, no offer";
        return;
    }
    if (!m_updateMessageWidget) {
        m_updateMessageWidget = new CUpdateMessageWidget(nullptr);
        connect(m_updateMessageWidget, &CUpdateMessageWidget::signal_DownLoad, this, &CDownloadThread::slot_DownLoad);
        connect(m_updateMessageWidget, &CUpdateMessageWidget::signal_Cancel, this, &CDownloadThread::slot_Cancel);
        connect(m_updateMessageWidget, &CUpdateMessageWidget::signal_Yes, this, &CDownloadThread::slot_Yes);
        connect(m_updateMessageWidget, &CUpdateMessageWidget::signal_No, this, &CDownloadThread::slot_No);
    }
    m_updateMessageWidget->showUpdateMessage(tr("The latest software is found (%1)").arg(m_version));
}

void CDownloadThread::slot_DownLoad()
{
    KD_LOG;
    QMutexLocker lock(&m_mutex);
    m_downloadRequested = true;
}

void CDownloadThread::slot_Cancel()
{
    {
        QMutexLocker lock(&m_mutex);
        m_downloadRequested = false;
    }
    m_quit = true;
    bool aborted = false;
    if (isRunning()) {
        QMutexLocker lock(&m_mutex);
        if (m_downloadManager) {
            KD_LOG << "abort manager";
            // The reply belongs to the upgrade thread: the abort runs there.
            QMetaObject::invokeMethod(m_downloadManager, &CDownloadManager::abortCurrent, Qt::QueuedConnection);
            aborted = true;
        }
    }
    if (!aborted) {
        if (m_updateMessageWidget) {
            KD_LOG << "close message widget";
            m_updateMessageWidget->close();
            m_updateMessageWidget = nullptr;
        } else {
            KD_WARN << "m_updateMessageWidget is null";
        }
    }
    KD_LOG << "done";
}

void CDownloadThread::slot_Yes()
{
    if (m_pOpener) {
        KD_LOG << "the opener has the package already";
        return;
    }
    Tquit();
    const QString path = m_packagePath;
    KD_LOG << "start:" << kOpener << path;
    if (path.isEmpty()) {
        openerDone(false);
        return;
    }
    // The path is the opener's one argument, never part of a command line.
    m_pOpener = std::make_unique<QProcess>();
    m_pOpener->setStandardOutputFile(QProcess::nullDevice());
    connect(m_pOpener.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            KD_WARN << "Failed to start the opener";
            openerDone(false);
        }
    });
    connect(m_pOpener.get(), QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [this](int exitCode, QProcess::ExitStatus status) {
                KD_LOG << "opener exit code:" << exitCode << "status:" << status
                       << "says:" << CLogFormat::oneLine(QString::fromLocal8Bit(m_pOpener->readAllStandardError()));
                openerDone(status == QProcess::NormalExit && exitCode == 0);
            });
    m_pOpener->start(QLatin1String(kOpener), {path});
}

void CDownloadThread::openerDone(bool taken)
{
    if (m_pOpener) {
        // Called from its own signal.
        m_pOpener.release()->deleteLater();
    }
    if (taken) {
        if (m_updateMessageWidget) {
            m_updateMessageWidget->close();
            m_updateMessageWidget = nullptr;
        }
        CMainDlgManager::getInstance()->exitApp();
        return;
    }
    KD_WARN << "Failed to execute upgrade";
    QString text = tr("Failed to execute upgrade.");
    const QString kept = keepPackage();
    if (!kept.isEmpty()) {
        text +=
            QLatin1Char('\n') +
            tr("The upgrade package is saved in %1, you can install it yourself.").arg(QDir::toNativeSeparators(kept));
    }
    AlertDlg::information(nullptr, tr("Prompt"), text);
}

QString CDownloadThread::keepPackage()
{
    if (m_bPackageKept || m_packagePath.isEmpty()) {
        return m_packagePath;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        KD_WARN << "no download folder:" << folder;
        return m_packagePath;
    }
    const QFileInfo package(m_packagePath);
    QString target = folder + QLatin1Char('/') + package.fileName();
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n) {
        target =
            folder + QLatin1Char('/') + package.completeBaseName() + QStringLiteral(" (%1).").arg(n) + package.suffix();
    }
    if (!QFile::copy(m_packagePath, target)) {
        KD_WARN << "cannot keep the package in" << target;
        return m_packagePath;
    }
    KD_LOG << "package kept:" << target;
    CDownloadManager::removePackage(m_packagePath);
    m_packagePath = target;
    m_bPackageKept = true;
    return m_packagePath;
}

void CDownloadThread::slot_No()
{
    KD_LOG;
    if (m_pOpener) {
        KD_LOG << "the opener has the package already";
        return;
    }
    Tquit();
    if (!m_bPackageKept) {
        CDownloadManager::removePackage(m_packagePath);
    }
    m_packagePath.clear();
    m_bPackageKept = false;
    if (m_updateMessageWidget) {
        m_updateMessageWidget->close();
        m_updateMessageWidget = nullptr;
    }
}

void CDownloadThread::downloadProgress(qint64 bytesReceived, qint64 bytesTotal, int time)
{
    if (m_updateMessageWidget) {
        m_updateMessageWidget->updateProgress(bytesReceived, bytesTotal, time);
    }
}

void CDownloadThread::downloadFinished(bool succeed)
{
    KD_LOG << "succeed" << succeed;
    bool downloading = false;
    bool checksumDiffered = false;
    {
        QMutexLocker lock(&m_mutex);
        downloading = m_downloadManager != nullptr;
        if (succeed && m_downloadManager) {
            m_packagePath = m_downloadManager->getPackagePath();
            m_bPackageKept = false;
        }
        checksumDiffered = m_downloadManager && m_downloadManager->checksumDiffered();
    }
    if (m_updateMessageWidget) {
        m_updateMessageWidget->downfinish(succeed, checksumDiffered ? tr("The package does not match its checksum.")
                                                                    : QString());
    }
    if (succeed || !downloading) {
        return;
    }
    // A fresh check: with a newer version the offer comes back, and
    // Download can be pressed again.
    Tquit();
    startRun();
}

void CDownloadThread::slot_Install()
{
}

void CDownloadThread::slot_setActiveParent()
{
    KD_LOG;
}

// ---- worker thread ---------------------------------------------------------

void CDownloadThread::run()
{
    checkForUpdate();
    {
        QMutexLocker lock(&m_mutex);
        m_downloadRequested = false;
    }
    if (m_quit) {
        // Cut short by a new check or the exit: its answer is that run's to give.
        KD_LOG << "check stopped, no answer";
        return;
    }
    const bool newer = m_hasNewVersion;
    emit signal_updateMessage(newer);
    while (newer && !m_quit) {
        bool requested = false;
        {
            QMutexLocker lock(&m_mutex);
            requested = m_downloadRequested;
        }
        if (requested) {
            runDownload();
            return;
        }
        msleep(kPollMs);
    }
}

void CDownloadThread::checkForUpdate()
{
    m_hasNewVersion = false;
    QString remote;
    const QString local = QLatin1String(helpers::kAppVersion);
    const QString url =
        m_useNDMinfoFlag ? appInfoQueryAddress(appConfig()) : serverQueryAddress(m_useHttps, m_server, m_port);
    KD_LOG << "Update Url: " << url;
    CUpdateGetJson *query = CUpdateGetJson::getInstance();
    const bool ok = query->sendRequest(url);
    KD_LOG << "request app info:" << ok;
    const QString version = m_useNDMinfoFlag ? query->getNdmVersion() : query->getVersion();
    if (ok && !version.isEmpty() && !isVersionText(version)) {
        KD_WARN << "refused version:" << CLogFormat::oneLine(version);
    } else if (ok) {
        KD_LOG << "m_useNDMinfoFlag:" << m_useNDMinfoFlag;
        m_version = version;
        m_downurl = m_useNDMinfoFlag ? query->getNdmDownloadUrl() : query->getDownloadUrl();
        KD_LOG << "m_version:" << m_version << ", m_downurl:" << m_downurl;
        remote = m_version;
    }
    m_hasNewVersion = isNewerVersion(remote, local);
}

void CDownloadThread::runDownload()
{
    const QString address = packageAddress(m_downurl, m_useNDMinfoFlag, m_useHttps, m_server, m_port);
    KD_LOG << "upgrade package download url:" << address;
    auto manager = std::make_unique<CDownloadManager>();
    connect(manager.get(), &CDownloadManager::signal_downloadProgress, this, &CDownloadThread::downloadProgress);
    connect(manager.get(), &CDownloadManager::signal_finished, this, &CDownloadThread::downloadFinished);
    connect(manager.get(), &CDownloadManager::finished, this, &CDownloadThread::slot_Install);
    {
        QMutexLocker lock(&m_mutex);
        m_downloadManager = manager.get();
    }
    manager->addDownload(QUrl(address, QUrl::TolerantMode));
    exec();
    {
        QMutexLocker lock(&m_mutex);
        m_downloadManager = nullptr;
    }
}

} // namespace views
} // namespace kd_app
