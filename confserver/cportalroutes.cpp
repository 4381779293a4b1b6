#include "cportalroutes.h"

#include <httplib.h>

#include <QFile>
#include <QJsonObject>
#include <QWebChannel>

#include "cconfstore.h"

// Outside any namespace, as the resource compiler names it.
static void initPortalResources()
{
    Q_INIT_RESOURCE(portal);
}

namespace confserver {

namespace {

struct CPortalFile
{
    const char *name;
    const char *resource;
    const char *contentType;
};

// The web-channel client script comes from the Qt WebChannel library
// itself, so it always matches the channel the client speaks.
const CPortalFile kFiles[] = {
    {"conferences", ":/confserver/web/conferences.html", "text/html; charset=utf-8"},
    {"contact", ":/confserver/web/contact.html", "text/html; charset=utf-8"},
    {"confControl", ":/confserver/web/confcontrol.html", "text/html; charset=utf-8"},
    {"reservation", ":/confserver/web/reservation.html", "text/html; charset=utf-8"},
    {"portal.js", ":/confserver/web/portal.js", "application/javascript; charset=utf-8"},
    {"portal.css", ":/confserver/web/portal.css", "text/css; charset=utf-8"},
    {"qwebchannel.js", ":/qtwebchannel/qwebchannel.js", "application/javascript; charset=utf-8"},
};

QByteArray resourceBytes(const char *path)
{
    QFile file(QString::fromLatin1(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void CPortalRoutes::install(httplib::Server &server, CConfStore &store)
{
    // The web-channel script is a resource of the library: keep it linked in.
    static const char *const webChannelClass = QWebChannel::staticMetaObject.className();
    (void)webChannelClass;
    initPortalResources();

    server.Get(R"((/(?:[^/]+/)*)([A-Za-z.]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        const QString suffix = store.features().value.toObject().value("urlSuffixForPC").toString();
        const std::string folder = request.matches[1].str();
        const std::string name = request.matches[2].str();
        response.status = 404;
        if (suffix.isEmpty() || folder != suffix.toStdString()) {
            return;
        }
        for (const CPortalFile &file : kFiles) {
            if (name != file.name) {
                continue;
            }
            const QByteArray bytes = resourceBytes(file.resource);
            if (bytes.isEmpty()) {
                return;
            }
            response.status = 200;
            // An answer kept by the browser would outlive a fixed server.
            response.set_header("Cache-Control", "no-store");
            response.set_content(bytes.toStdString(), file.contentType);
            return;
        }
    });
}

} // namespace confserver
