#include "cconfreply.h"

#include <httplib.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cconfstore.h"

namespace confserver {

namespace {

constexpr const char *kJson = "application/json;charset=UTF-8";

int httpStatusOf(int errorCode)
{
    switch (errorCode) {
    case codes::kInvalidToken:
    case codes::kWrongCredentials:
    case codes::kInvalidLogin:
        return 401;
    case codes::kNoPermission:
    case codes::kAccountLocked:
    case codes::kAccountUnused:
        return 403;
    case codes::kMeetingMissing:
    case codes::kMeetingUnavailable:
        return 404;
    case codes::kBoardFull:
        return 413;
    case codes::kTooManyAttempts:
    case codes::kDrawnEnough:
        return 429;
    default:
        return 400;
    }
}

} // namespace

void sendError(httplib::Response &response, int code, const QString &info)
{
    const QJsonObject body{{"errorCode", code}, {"errorInfo", info}};
    response.status = httpStatusOf(code);
    response.set_content(QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson);
}

void sendResult(httplib::Response &response, const CResult &result)
{
    if (result.isError()) {
        sendError(response, result.errorCode, result.errorInfo);
        return;
    }
    if (result.noContent) {
        response.status = 204;
        return;
    }
    const QJsonDocument document =
        result.value.isArray() ? QJsonDocument(result.value.toArray()) : QJsonDocument(result.value.toObject());
    response.status = 200;
    response.set_content(document.toJson(QJsonDocument::Compact).toStdString(), kJson);
}

void sendResource(httplib::Response &response, const QString &resource, const char *contentType)
{
    QFile file(resource);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (bytes.isEmpty()) {
        sendNotFound(response);
        return;
    }
    response.status = 200;
    // An answer kept by the browser would outlive a fixed server.
    response.set_header("Cache-Control", "no-store");
    response.set_content(bytes.toStdString(), contentType);
}

void sendNotFound(httplib::Response &response)
{
    response.status = 404;
}

} // namespace confserver
