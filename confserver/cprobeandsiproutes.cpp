#include "cprobeandsiproutes.h"

#include <httplib.h>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include "cconfreply.h"
#include "cconfstore.h"

namespace confserver {

namespace {

// The most a probe carries either way.
constexpr long long kMaxProbeBytes = 1024 * 1024;

} // namespace

void installProbeAndSipRoutes(httplib::Server &server, CConfStore &store)
{
    const std::string engine = "/api/engine/v1";
    server.Get(engine + "/ping", [](const httplib::Request &request, httplib::Response &response) {
        if (!request.has_param("size")) {
            const QJsonObject pong{{"pong", true}, {"time", QDateTime::currentMSecsSinceEpoch()}};
            response.set_content(QJsonDocument(pong).toJson(QJsonDocument::Compact).toStdString(),
                                 "application/json;charset=UTF-8");
            return;
        }
        bool number = false;
        const long long size = QString::fromStdString(request.get_param_value("size")).toLongLong(&number);
        if (!number || size < 0 || size > kMaxProbeBytes) {
            sendError(response, codes::kInvalidParameter, QStringLiteral("size must be 0 to 1048576"));
            return;
        }
        response.set_content(std::string(size_t(size), 'p'), "application/octet-stream");
    });
    server.Post(engine + "/ping", [](const httplib::Request &request, httplib::Response &response) {
        if (request.body.size() > size_t(kMaxProbeBytes)) {
            sendError(response, codes::kInvalidParameter, QStringLiteral("a probe carries at most 1048576 bytes"));
            return;
        }
        const QJsonObject received{{"received", qint64(request.body.size())}};
        response.set_content(QJsonDocument(received).toJson(QJsonDocument::Compact).toStdString(),
                             "application/json;charset=UTF-8");
    });
    server.Post(engine + "/sip/register", [&store](const httplib::Request &request, httplib::Response &response) {
        sendResult(response, store.registerSip(QByteArray::fromStdString(request.body)));
    });
    server.Post(engine + "/sip/unregister", [&store](const httplib::Request &request, httplib::Response &response) {
        sendResult(response, store.unregisterSip(QByteArray::fromStdString(request.body)));
    });
}

} // namespace confserver
