#pragma once

#include <atomic>

#include <QMap>
#include <QMutex>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QThread>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace kd_app {
namespace models {

// Avatar pictures by the address they were asked for, plus the default
// avatar under "default". Written and read on the graphical thread only.
extern QMap<QString, QPixmap> g_urlPixmapCache;

// Downloads avatar pictures one at a time on its own thread and keeps them
// in g_urlPixmapCache; signal_downloadFinished names the address once its
// download has ended, successfully or not.
class CUrlPixmap : public QThread
{
    Q_OBJECT

public:
    static constexpr int kDownloadWaitMs = 2000;
    static const QString kDefaultKey;

    static CUrlPixmap *getInstance();
    ~CUrlPixmap() override;

    void appendUrl(const QString &url);
    // A picture that changed on the server under the same address (the
    // user's own upload): cached in place of the old one, and every list
    // showing that address hears of it as of a finished download.
    void replacePixmap(const QString &url, const QPixmap &pixmap);
    // The cached picture of an address, or the default avatar.
    static QPixmap cachedPixmap(const QString &url);

signals:
    void signal_downloadFinished(QString strUrl);

public slots:
    // Any thread may hand over a finished reply; the cache is filled on the
    // graphical thread.
    void slot_ReplyFinished(QNetworkReply *reply);

protected:
    void run() override;

private:
    CUrlPixmap();
    void fetch(const QString &url);
    // Graphical thread: decodes and caches what the worker received.
    void storeDownload(const QString &url, bool ok, const QByteArray &data);
    static QPixmap defaultPixmap();
    void shutDown();

    QNetworkAccessManager *m_pNetworkManager = nullptr;
    QPixmap m_lastPixmap;
    QStringList m_urlQueue;
    QMutex m_queueMutex;
    std::atomic<bool> m_bStop{false};
    QTimer *m_pWaitTimer = nullptr;
};

} // namespace models
} // namespace kd_app
