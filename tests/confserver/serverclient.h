#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QUrl>

// One answer of the local server, as the tests read it.
struct CReply
{
    int status = 0;
    QByteArray body;
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
    QJsonArray array() const { return QJsonDocument::fromJson(body).array(); }
    int errorCode() const { return json().value("errorCode").toInt(); }
};

// Sends one request to the server at `base` and waits for its answer.
class CServerClient
{
public:
    CReply call(const QString &base, const QByteArray &verb, const QString &path, const QByteArray &body = QByteArray())
    {
        QNetworkRequest request(QUrl(base + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
        QNetworkReply *reply = m_manager.sendCustomRequest(request, verb, body);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        if (!reply->isFinished()) {
            finished.wait(5000);
        }
        reply->deleteLater();
        return CReply{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
    }

private:
    QNetworkAccessManager m_manager;
};
