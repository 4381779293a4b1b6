#include "cportalroutes.h"

#include <httplib.h>

#include <QJsonObject>
#include <QWebChannel>

#include "cconfreply.h"
#include "cconfstore.h"

// Outside any namespace, as the resource compiler names it.
static void initPortalResources()
{
    Q_INIT_RESOURCE(portal);
}

namespace confserver {

namespace {

// The web-channel client script comes from the Qt WebChannel library
// itself, so it always matches the channel the client speaks.
const CServedFile kFiles[] = {
    {"conferences", ":/confserver/web/conferences.html", "text/html; charset=utf-8"},
    {"contact", ":/confserver/web/contact.html", "text/html; charset=utf-8"},
    {"confControl", ":/confserver/web/confcontrol.html", "text/html; charset=utf-8"},
    {"reservation", ":/confserver/web/reservation.html", "text/html; charset=utf-8"},
    {"portal.js", ":/confserver/web/portal.js", "application/javascript; charset=utf-8"},
    {"portal.css", ":/confserver/web/portal.css", "text/css; charset=utf-8"},
    {"qwebchannel.js", CPortalRoutes::kWebChannelScript, "application/javascript; charset=utf-8"},
};

} // namespace

void CPortalRoutes::keepWebChannelScript()
{
    // The script is a resource of the library: keep it linked in.
    static const char *const webChannelClass = QWebChannel::staticMetaObject.className();
    (void)webChannelClass;
}

void CPortalRoutes::install(httplib::Server &server, CConfStore &store)
{
    keepWebChannelScript();
    initPortalResources();

    server.Get(R"((/(?:[^/]+/)*)([A-Za-z.]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        const QString suffix = store.features().value.toObject().value("urlSuffixForPC").toString();
        const std::string folder = request.matches[1].str();
        const std::string name = request.matches[2].str();
        if (suffix.isEmpty() || folder != suffix.toStdString()) {
            response.status = 404;
            return;
        }
        sendServedFile(response, kFiles, name);
    });
}

} // namespace confserver
