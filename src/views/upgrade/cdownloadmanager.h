#pragma once

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
// under the temporary folder. A package counts as downloaded only when its
// SHA-256 equals the checksum published beside it ("<address>.sha256",
// fetched the same way); otherwise, and after any failure, the file and its
// folder go. Lives in the upgrade thread: every slot runs there.
class CDownloadManager : public QObject
{
    Q_OBJECT

public:
    CDownloadManager();
    ~CDownloadManager() override;

    void addDownload(const QUrl &url);
    // The last part of the address's decoded path when it is a plain file
    // name; "download.deb" otherwise (empty, ".", "..", or a separator
    // that a "%2F" turned into).
    static QString targetFileName(const QUrl &url);
    // The file being, or last, written. Safe from any thread.
    QString getPackagePath() const;
    // Ends the download in progress as a failure; also one not yet started.
    void abortCurrent();
    // Deletes a downloaded package and the folder made for it.
    static void removePackage(const QString &packagePath);

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
    void checksumFinished();
    void setPackagePath(const QString &path);
    // Ends the current download: the file goes unless it was verified.
    void endDownload(bool succeed, const QString &why);
    QNetworkReply *get(const QUrl &url);

    QNetworkAccessManager m_networkManager;
    QQueue<QUrl> m_urlQueue;
    QNetworkReply *m_currentReply = nullptr;
    QFile m_packageFile;
    QElapsedTimer m_transferTime;
    QString m_packagePath;
    mutable QMutex m_pathLock;
    QUrl m_currentUrl;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    bool m_bWriteFailed = false;
    bool m_bChecking = false; // the current reply is the checksum's
};

} // namespace views
} // namespace kd_app
