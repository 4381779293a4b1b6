#include "cupgraderoutes.h"

#include <httplib.h>

#include <QJsonObject>
#include <QUrl>

#include "cconfstore.h"

namespace confserver {

namespace {

const char kPlatform[] = "linux";
const char kDownloadPath[] = "/download/";

// "/download/<name>", or the whole address through which the request came.
QString downloadAddress(const CUpgradeOffer &offer, const httplib::Request &request, bool tls, bool absolute)
{
    if (offer.packageName.isEmpty()) {
        return QString();
    }
    const QString path = QLatin1String(kDownloadPath) + QString::fromUtf8(QUrl::toPercentEncoding(offer.packageName));
    if (!absolute) {
        return path;
    }
    const QString host = QString::fromStdString(request.get_header_value("Host"));
    return (tls ? QStringLiteral("https://") : QStringLiteral("http://")) + host + path;
}

} // namespace

void CUpgradeRoutes::install(httplib::Server &server, CConfStore &store, bool tls, const Sender &send)
{
    server.Get("/api/rest/v2.0/latestAppVersion", [&store, tls, send](const httplib::Request &request,
                                                                      httplib::Response &response) {
        if (request.get_param_value("appType") != kPlatform) {
            send(response, CResult::error(codes::kInvalidParameter, QStringLiteral("Unknown appType")));
            return;
        }
        const CUpgradeOffer offer = store.upgradeOffer();
        send(response,
             CResult::ok(QJsonObject{{"version", offer.version},
                                     {"downloadUrl", downloadAddress(offer, request, tls, offer.absoluteUrl)}}));
    });
    // An update service of its own knows no sign-in server to complete a
    // path with: its addresses are always whole.
    server.Get(R"(/appinfo/([^/]+)/([^/]+)/([^/]+))", [&store, tls, send](const httplib::Request &request,
                                                                          httplib::Response &response) {
        const CUpgradeOffer offer = store.upgradeOffer();
        send(response, CResult::ok(QJsonObject{{"PLATFORM", QLatin1String(kPlatform)},
                                               {"VERSION", offer.version},
                                               {"DOWNLOAD_URL", downloadAddress(offer, request, tls, true)}}));
    });
    server.Get(R"(/download/([^/]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        const CUpgradeOffer offer = store.upgradeOffer();
        const QString name = QString::fromStdString(request.matches[1].str());
        if (!offer.packageName.isEmpty() && name == offer.packageName) {
            response.set_content(offer.package.toStdString(), "application/vnd.debian.binary-package");
            return;
        }
        if (offer.checksumPublished && name == offer.packageName + QStringLiteral(".sha256")) {
            response.set_content(offer.checksumLine.toStdString(), "text/plain");
            return;
        }
        response.status = 404;
    });
}

} // namespace confserver
