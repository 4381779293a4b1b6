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
constexpr int kHttpOk = 200;
// A checksum line names the package after its digits; more is no checksum.
constexpr qint64 kMaxChecksumBytes = 4096;
const char kDefaultFileName[] = "download.deb";
const char kPackageSuffix[] = ".deb";
const char kChecksumSuffix[] = ".sha256";
const char kSecureScheme[] = "https";
// Under the temporary folder; the package stays there at exit, so that the
// installer started on it can still read it.
const char kFolderTemplate[] = "/parvela-upgrade-XXXXXX";

QUrl checksumUrl(QUrl url)
{
    url.setPath(url.path(QUrl::FullyEncoded) + QLatin1String(kChecksumSuffix), QUrl::TolerantMode);
    return url;
}

bool isPlainPackageName(const QString &name)
{
    if (!name.endsWith(QLatin1String(kPackageSuffix)) || name.startsWith(QLatin1Char('.'))) {
        return false;
    }
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control) {
            return false;
        }
    }
    return true;
}

int httpStatus(const QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
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

void CDownloadManager::setLimits(qint64 maxPackageBytes, int stallMs)
{
    m_nMaxPackageBytes = maxPackageBytes;
    m_nStallMs = stallMs;
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
    return isPlainPackageName(name) ? name : QLatin1String(kDefaultFileName);
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
    // A redirect is an answer other than 200, never a way to another place.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    request.setSslConfiguration(models::CTrustedCertificates::sslConfiguration());
    request.setTransferTimeout(m_nStallMs);
    m_abortReason.clear();
    return m_networkManager.get(request);
}

void CDownloadManager::abortCurrentWith(const QString &why)
{
    m_abortReason = why;
    m_currentReply->abort();
}

bool CDownloadManager::acceptHeaders()
{
    if (!m_abortReason.isEmpty()) {
        return false;
    }
    const int status = httpStatus(m_currentReply);
    if (status != kHttpOk) {
        abortCurrentWith(QStringLiteral("the server answered %1").arg(status));
        return false;
    }
    const QVariant announced = m_currentReply->header(QNetworkRequest::ContentLengthHeader);
    const qint64 limit = m_bChecking ? kMaxChecksumBytes : m_nMaxPackageBytes;
    if (announced.isValid() && announced.toLongLong() > limit) {
        abortCurrentWith(QStringLiteral("%1 bytes announced, more than %2").arg(announced.toLongLong()).arg(limit));
        return false;
    }
    return true;
}

void CDownloadManager::startNextDownload()
{
    while (!m_urlQueue.isEmpty()) {
        m_currentUrl = m_urlQueue.dequeue();
        m_bChecksumDiffered = false;
        if (m_currentUrl.scheme() != QLatin1String(kSecureScheme)) {
            // Over plain HTTP anyone on the path could hand over a package
            // and the checksum to go with it.
            KD_WARN << "Failed to download: the package's address is not HTTPS:" << m_currentUrl.toDisplayString();
            setPackagePath(QString());
            endDownload(false, QStringLiteral("not HTTPS"));
            continue;
        }
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
        m_nWritten = 0;
        m_bChecking = false;
        m_currentReply = get(m_currentUrl);
        connect(m_currentReply, &QNetworkReply::metaDataChanged, this, &CDownloadManager::acceptHeaders);
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
    if (!m_currentReply || m_bChecking || !acceptHeaders()) {
        return;
    }
    const QByteArray data = m_currentReply->readAll();
    if (m_nWritten + data.size() > m_nMaxPackageBytes) {
        abortCurrentWith(QStringLiteral("more than %1 bytes").arg(m_nMaxPackageBytes));
        return;
    }
    m_hash.addData(data);
    m_nWritten += data.size();
    if (m_packageFile.write(data) != data.size()) {
        KD_WARN << "Failed to write the package:" << m_packageFile.errorString();
        abortCurrentWith(QStringLiteral("the file cannot be written"));
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
    const bool failed = reply->error() != QNetworkReply::NoError || !m_abortReason.isEmpty() ||
                        httpStatus(reply) != kHttpOk || m_packageFile.error() != QFileDevice::NoError;
    const QString why = m_abortReason.isEmpty() ? reply->errorString() : m_abortReason;
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
    connect(m_currentReply, &QNetworkReply::readyRead, this, &CDownloadManager::checksumReadyRead);
    connect(m_currentReply, &QNetworkReply::finished, this, &CDownloadManager::checksumFinished);
}

void CDownloadManager::checksumReadyRead()
{
    // Kept in the reply until it ends, so bounded here.
    if (m_currentReply && acceptHeaders() && m_currentReply->bytesAvailable() > kMaxChecksumBytes) {
        abortCurrentWith(QStringLiteral("a checksum of more than %1 bytes").arg(kMaxChecksumBytes));
    }
}

void CDownloadManager::checksumFinished()
{
    QNetworkReply *reply = m_currentReply;
    if (!reply) {
        return;
    }
    const QByteArray published = reply->readAll().trimmed().left(kChecksumDigits).toLower();
    const bool fetched =
        reply->error() == QNetworkReply::NoError && m_abortReason.isEmpty() && httpStatus(reply) == kHttpOk;
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
        m_bChecksumDiffered = true;
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
