#pragma once

#include <atomic>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QUrl>

class QNetworkReply;

namespace kd_app {
namespace views {

// Fetches upgrade packages one after another into folders of their own
// under the temporary folder. Only HTTPS addresses are fetched, so that the
// package and the checksum published beside it ("<address>.sha256") both
// come from the server the version reply named; only a 200 answer counts,
// a package is bounded in size and a transfer that stalls is given up. A
// package counts as downloaded only when its SHA-256 equals that checksum;
// otherwise, and after any failure, the file and its folder go. Lives in the
// upgrade thread: every slot runs there.
class CDownloadManager : public QObject
{
    Q_OBJECT

public:
    // A package may not be larger, whatever the server announces.
    static constexpr qint64 kMaxPackageBytes = qint64(1) << 30;
    // A transfer with no byte for this long is given up.
    static constexpr int kStallMs = 30000;

    CDownloadManager();
    ~CDownloadManager() override;

    // Tests set smaller limits.
    void setLimits(qint64 maxPackageBytes, int stallMs);
    void addDownload(const QUrl &url);
    // The last part of the address's decoded path when it is a plain file
    // name ending in ".deb" (no separator, not hidden); "download.deb"
    // otherwise, so that the desktop's opener only ever gets a package.
    static QString targetFileName(const QUrl &url);
    // The file being, or last, written. Safe from any thread.
    QString getPackagePath() const;
    // Ends the download in progress as a failure; also one not yet started.
    void abortCurrent();
    // Deletes a downloaded package and the folder made for it.
    static void removePackage(const QString &packagePath);
    // Whether the last download failed because the package differs from
    // its published checksum. Safe from any thread.
    bool checksumDiffered() const { return m_bChecksumDiffered; }

signals:
    void signal_downloadProgress(qlonglong bytesReceived, qlonglong bytesTotal, int time);
    void signal_finished(bool succeed);
    void finished();

public slots:
    void startNextDownload();
    void downloadProgress(qlonglong bytesReceived, qlonglong bytesTotal);
    void downloadFinished();
    void downloadReadyRead();

private:
    void checksumReadyRead();
    void checksumFinished();
    void setPackagePath(const QString &path);
    // Ends the current download: the file goes unless it was verified.
    void endDownload(bool succeed, const QString &why);
    QNetworkReply *get(const QUrl &url);
    // Gives the current reply up; its finish then takes the failure path.
    void abortCurrentWith(const QString &why);
    // False (after giving the reply up) when the answer is no 200 or
    // announces more than a package may have.
    bool acceptHeaders();

    QNetworkAccessManager m_networkManager;
    QQueue<QUrl> m_urlQueue;
    QNetworkReply *m_currentReply = nullptr;
    QFile m_packageFile;
    QElapsedTimer m_transferTime;
    QString m_packagePath;
    mutable QMutex m_pathLock;
    QUrl m_currentUrl;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    qint64 m_nWritten = 0;
    QString m_abortReason;    // why the current reply was given up; empty: it was not
    bool m_bChecking = false; // the current reply is the checksum's
    std::atomic<bool> m_bChecksumDiffered{false};
    qint64 m_nMaxPackageBytes = kMaxPackageBytes;
    int m_nStallMs = kStallMs;
};

} // namespace views
} // namespace kd_app
