#include "cavatarrequests.h"

#include <QCoreApplication>

#include "models/curlpixmap.h"

namespace kd_app {
namespace views {

using models::CUrlPixmap;

QSet<QString> &CAvatarRequests::pending()
{
    static QSet<QString> addresses = [] {
        // A finished download, successful or not, may be asked for again.
        QObject::connect(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished, QCoreApplication::instance(),
                         [](const QString &url) { pending().remove(url); });
        return QSet<QString>();
    }();
    return addresses;
}

void CAvatarRequests::request(const QString &url)
{
    QSet<QString> &waiting = pending();
    if (url.isEmpty() || waiting.contains(url)) {
        return;
    }
    waiting.insert(url);
    CUrlPixmap::getInstance()->appendUrl(url);
}

bool CAvatarRequests::isPending(const QString &url)
{
    return pending().contains(url);
}

} // namespace views
} // namespace kd_app
