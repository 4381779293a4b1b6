#include "curlpixmap.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "helpers/clogformat.h"
#include "models/ctrustedcertificates.h"

namespace kd_app {
namespace models {

QMap<QString, QPixmap> g_urlPixmapCache;

const QString CUrlPixmap::kDefaultKey = QStringLiteral("default");

namespace {

constexpr int kIdleWaitMs = 10;
const char *const kQueuedUrlProperty = "kdQueuedUrl";

} // namespace

CUrlPixmap *CUrlPixmap::getInstance()
{
    static CUrlPixmap *instance = [] {
        auto *made = new CUrlPixmap();
        // Pictures and the worker must be gone before the application object
        // that they depend on.
        qAddPostRoutine([] {
            getInstance()->shutDown();
            g_urlPixmapCache.clear();
        });
        return made;
    }();
    return instance;
}

CUrlPixmap::CUrlPixmap() = default;

CUrlPixmap::~CUrlPixmap()
{
    shutDown();
}

void CUrlPixmap::shutDown()
{
    m_bStop = true;
    if (isRunning()) {
        quit();
        wait();
    }
}

void CUrlPixmap::appendUrl(const QString &url)
{
    {
        QMutexLocker lock(&m_queueMutex);
        m_urlQueue.append(url);
    }
    start(QThread::InheritPriority);
}

QPixmap CUrlPixmap::defaultPixmap()
{
    if (!g_urlPixmapCache.contains(kDefaultKey)) {
        g_urlPixmapCache.insert(kDefaultKey, QPixmap(QStringLiteral(":/resources/images/default_user_header.jpg")));
    }
    return g_urlPixmapCache.value(kDefaultKey);
}

QPixmap CUrlPixmap::cachedPixmap(const QString &url)
{
    const auto found = g_urlPixmapCache.constFind(url);
    return found != g_urlPixmapCache.constEnd() ? found.value() : defaultPixmap();
}

void CUrlPixmap::run()
{
    m_bStop = false;
    if (!m_pNetworkManager) {
        m_pWaitTimer = new QTimer();
        m_pWaitTimer->setSingleShot(true);
        m_pNetworkManager = new QNetworkAccessManager();
        // Replies are read on this thread, which owns them; only their data
        // crosses to the graphical thread.
        connect(
            m_pNetworkManager, &QNetworkAccessManager::finished, m_pNetworkManager,
            [this](QNetworkReply *reply) { slot_ReplyFinished(reply); }, Qt::DirectConnection);
    }
    while (!m_bStop) {
        for (;;) {
            QString url;
            {
                QMutexLocker lock(&m_queueMutex);
                if (m_urlQueue.isEmpty()) {
                    break;
                }
                url = m_urlQueue.takeFirst();
            }
            fetch(url);
        }
        // Idle in an event loop, not a plain sleep, so a reply that came in
        // after its wait ended is still received.
        QEventLoop idle;
        QTimer::singleShot(kIdleWaitMs, &idle, &QEventLoop::quit);
        idle.exec();
    }
    delete m_pNetworkManager;
    m_pNetworkManager = nullptr;
    m_pWaitTimer->stop();
    delete m_pWaitTimer;
    m_pWaitTimer = nullptr;
}

void CUrlPixmap::fetch(const QString &url)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setSslConfiguration(CTrustedCertificates::sslConfiguration());
    QNetworkReply *reply = m_pNetworkManager->get(request);
    reply->setProperty(kQueuedUrlProperty, url);
    QEventLoop loop;
    connect(m_pWaitTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    m_pWaitTimer->start(kDownloadWaitMs);
    loop.exec();
    m_pWaitTimer->stop();
}

void CUrlPixmap::slot_ReplyFinished(QNetworkReply *reply)
{
    const QVariant queuedUrl = reply->property(kQueuedUrlProperty);
    const QString url = queuedUrl.isValid() ? queuedUrl.toString() : reply->url().toString();
    const bool ok = reply->error() == QNetworkReply::NoError;
    if (!ok) {
        // Not the error text: it quotes the whole address, and participant
        // addresses carry the sign-in token.
        KD_WARN << "avatar download failed:" << reply->error() << reply->url().adjusted(QUrl::RemoveQuery).toString();
    }
    const QByteArray data = ok ? reply->readAll() : QByteArray();
    reply->deleteLater();
    QMetaObject::invokeMethod(
        this, [this, url, ok, data] { storeDownload(url, ok, data); }, Qt::QueuedConnection);
}

void CUrlPixmap::replacePixmap(const QString &url, const QPixmap &pixmap)
{
    if (url.isEmpty() || pixmap.isNull()) {
        return;
    }
    g_urlPixmapCache.insert(url, pixmap);
    emit signal_downloadFinished(url);
}

void CUrlPixmap::storeDownload(const QString &url, bool ok, const QByteArray &data)
{
    if (ok) {
        m_lastPixmap = QPixmap();
        m_lastPixmap.loadFromData(data);
        g_urlPixmapCache.insert(url, m_lastPixmap);
    } else {
        m_lastPixmap = defaultPixmap();
    }
    emit signal_downloadFinished(url);
}

} // namespace models
} // namespace kd_app
