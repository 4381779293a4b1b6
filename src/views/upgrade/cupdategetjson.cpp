#include "cupdategetjson.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include "helpers/clogformat.h"
#include "models/ctrustedcertificates.h"

namespace kd_app {
namespace views {

CUpdateGetJson::CUpdateGetJson() = default;

CUpdateGetJson::~CUpdateGetJson() = default;

CUpdateGetJson *CUpdateGetJson::getInstance()
{
    // Never deleted: it belongs to the upgrade thread, which may be gone by
    // the time static objects are destroyed.
    static CUpdateGetJson *instance = new CUpdateGetJson();
    return instance;
}

bool CUpdateGetJson::sendRequest(const QString &url)
{
    QNetworkRequest request{QUrl(url, QUrl::TolerantMode)};
    request.setAttribute(QNetworkRequest::HttpPipeliningAllowedAttribute, true);
    request.setSslConfiguration(models::CTrustedCertificates::sslConfiguration());
    QNetworkReply *reply = m_networkManager.get(request);

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int timeoutMs = s_replyTimeoutMs.load();
    timer.start(timeoutMs);
    if (!reply->isFinished()) {
        // Also ended by the thread's quit: a stop request cuts the wait short.
        loop.exec();
    }
    const bool complete = reply->isFinished();
    if (!complete) {
        KD_WARN << "No whole reply within" << timeoutMs << "ms, or the check was stopped";
        reply->abort();
    }
    KD_LOG << "response status code:" << reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toString();
    const QByteArray body = complete ? reply->readAll() : QByteArray();
    if (reply->error() != QNetworkReply::NoError) {
        KD_LOG << "error:" << reply->errorString();
    }
    reply->deleteLater();
    KD_LOG << "Url return:" << helpers::CLogFormat::oneLine(QString::fromUtf8(body));
    if (!complete) {
        return false;
    }

    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError) {
        return false;
    }
    const QJsonObject answer = document.object();
    m_platform = answer.value(QLatin1String("PLATFORM")).toString();
    m_ndmVersion = answer.value(QLatin1String("VERSION")).toString();
    m_ndmDownloadUrl = answer.value(QLatin1String("DOWNLOAD_URL")).toString();
    m_serverVersion = answer.value(QLatin1String("version")).toString();
    m_serverDownloadUrl = answer.value(QLatin1String("downloadUrl")).toString();
    return true;
}

} // namespace views
} // namespace kd_app
