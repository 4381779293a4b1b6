#include "cdownloadmanager.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include "helpers/clogformat.h"
#include "models/ctrustedcertificates.h"

namespace kd_app {
namespace views {

namespace {

constexpr int kStartDelayMs = 10;
constexpr int kChecksumDigits = 64;
const char kDefaultFileName[] = "download.deb";
const char kChecksumSuffix[] = ".sha256";
// Under the temporary folder; the package stays there at exit, so that the
// installer started on it can still read it.
const char kFolderTemplate[] = "/parvela-upgrade-XXXXXX";

QUrl checksumUrl(QUrl url)
{
    url.setPath(url.path(QUrl::FullyEncoded) + QLatin1String(kChecksumSuffix), QUrl::TolerantMode);
    return url;
}

} // namespace

CDownloadManager::CDownloadManager() = default;

CDownloadManager::~CDownloadManager()
{
    if (!m_currentReply) {
        return;
    }
    // Cut off (the upgrade thread stopped): nobody waits for an answer, and
    // a part of a package is nothing to keep.
    m_currentReply->disconnect(this);
    m_currentReply->abort();
    delete m_currentReply;
    m_currentReply = nullptr;
    m_packageFile.close();
    removePackage(getPackagePath());
}

void CDownloadManager::addDownload(const QUrl &url)
{
    if (m_urlQueue.isEmpty()) {
        QTimer::singleShot(kStartDelayMs, this, &CDownloadManager::startNextDownload);
    }
    m_urlQueue.enqueue(url);
}

QString CDownloadManager::targetFileName(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyDecoded);
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QChar(0))) {
        return QLatin1String(kDefaultFileName);
    }
    return name;
}

QString CDownloadManager::getPackagePath() const
{
    QMutexLocker lock(&m_pathLock);
    return m_packagePath;
}

void CDownloadManager::setPackagePath(const QString &path)
{
    QMutexLocker lock(&m_pathLock);
    m_packagePath = path;
}

void CDownloadManager::removePackage(const QString &packagePath)
{
    if (packagePath.isEmpty()) {
        return;
    }
    QFile::remove(packagePath);
    QDir().rmdir(QFileInfo(packagePath).path());
}

QNetworkReply *CDownloadManager::get(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::HttpPipeliningAllowedAttribute, true);
    request.setSslConfiguration(models::CTrustedCertificates::sslConfiguration());
    return m_networkManager.get(request);
}

void CDownloadManager::startNextDownload()
{
    while (!m_urlQueue.isEmpty()) {
        m_currentUrl = m_urlQueue.dequeue();
        QTemporaryDir folder(QDir::tempPath() + QLatin1String(kFolderTemplate));
        folder.setAutoRemove(false);
        const QString path =
            folder.isValid() ? folder.path() + QLatin1Char('/') + targetFileName(m_currentUrl) : QString();
        setPackagePath(path);
        KD_LOG << "Save upgrade package to:" << path;
        m_packageFile.setFileName(path);
        if (path.isEmpty() || !m_packageFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            KD_WARN << "Failed to open file" << path << m_packageFile.errorString();
            // Told as a failed download, so that the prompt leaves its
            // downloading state and offers the download again.
            endDownload(false, QStringLiteral("the file cannot be written"));
            continue;
        }
        m_hash.reset();
        m_bWriteFailed = false;
        m_bChecking = false;
        m_currentReply = get(m_currentUrl);
        connect(m_currentReply, &QNetworkReply::downloadProgress, this, &CDownloadManager::downloadProgress);
        connect(m_currentReply, &QNetworkReply::finished, this, &CDownloadManager::downloadFinished);
        connect(m_currentReply, &QNetworkReply::readyRead, this, &CDownloadManager::downloadReadyRead);
        m_transferTime.start();
        return;
    }
    emit finished();
}

void CDownloadManager::downloadReadyRead()
{
    if (!m_currentReply || m_bChecking) {
        return;
    }
    const QByteArray data = m_currentReply->readAll();
    m_hash.addData(data);
    if (!m_bWriteFailed && m_packageFile.write(data) != data.size()) {
        KD_WARN << "Failed to write the package:" << m_packageFile.errorString();
        m_bWriteFailed = true;
        m_currentReply->abort();
    }
}

void CDownloadManager::downloadProgress(qlonglong bytesReceived, qlonglong bytesTotal)
{
    emit signal_downloadProgress(bytesReceived, bytesTotal, int(m_transferTime.elapsed()));
}

void CDownloadManager::downloadFinished()
{
    QNetworkReply *reply = m_currentReply;
    if (!reply) {
        return;
    }
    downloadReadyRead();
    m_packageFile.close();
    const bool failed =
        reply->error() != QNetworkReply::NoError || m_bWriteFailed || m_packageFile.error() != QFileDevice::NoError;
    const QString why = m_bWriteFailed ? QStringLiteral("the file cannot be written") : reply->errorString();
    reply->deleteLater();
    m_currentReply = nullptr;
    if (failed) {
        KD_WARN << "Failed to download" << why;
        endDownload(false, why);
        startNextDownload();
        return;
    }
    // The package is whole; it counts once its checksum agrees.
    m_bChecking = true;
    m_currentReply = get(checksumUrl(m_currentUrl));
    connect(m_currentReply, &QNetworkReply::finished, this, &CDownloadManager::checksumFinished);
}

void CDownloadManager::checksumFinished()
{
    QNetworkReply *reply = m_currentReply;
    if (!reply) {
        return;
    }
    const QByteArray published = reply->readAll().trimmed().left(kChecksumDigits).toLower();
    const bool fetched = reply->error() == QNetworkReply::NoError;
    reply->deleteLater();
    m_currentReply = nullptr;
    m_bChecking = false;
    static const QRegularExpression digits(QStringLiteral("^[0-9a-f]{64}$"));
    const QByteArray actual = m_hash.result().toHex();
    if (!fetched || !digits.match(QString::fromLatin1(published)).hasMatch()) {
        KD_WARN << "Failed to download: no checksum published for the package";
        endDownload(false, QStringLiteral("no checksum"));
    } else if (published != actual) {
        KD_WARN << "Failed to download: the package's checksum differs, published:" << published
                << "received:" << actual;
        endDownload(false, QStringLiteral("checksum differs"));
    } else {
        KD_LOG << "checksum verified:" << actual;
        endDownload(true, QString());
    }
    startNextDownload();
}

void CDownloadManager::endDownload(bool succeed, const QString &why)
{
    if (!succeed) {
        KD_LOG << "discarding the package:" << why;
        m_packageFile.close();
        removePackage(getPackagePath());
    }
    emit signal_finished(succeed);
}

void CDownloadManager::abortCurrent()
{
    if (m_currentReply) {
        KD_LOG << "abort";
        m_currentReply->abort();
        return;
    }
    if (!m_urlQueue.isEmpty()) {
        // Asked before the request went out: it never will.
        KD_LOG << "abort before the start";
        m_urlQueue.clear();
        emit signal_finished(false);
    }
}

} // namespace views
} // namespace kd_app
