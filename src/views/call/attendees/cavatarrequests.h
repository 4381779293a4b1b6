#pragma once

#include <QSet>
#include <QString>

namespace kd_app {
namespace views {

// The avatar addresses the attendee lists asked the downloader for and that
// have not come back yet. The lists are refilled on every participant reply
// (every 10 s); asking again for what is still on its way would make the
// download queue grow without end against a slow avatar host.
class CAvatarRequests
{
public:
    CAvatarRequests() = delete;

    // Asks the downloader for the address unless it already waits for it.
    static void request(const QString &url);
    static bool isPending(const QString &url);

private:
    static QSet<QString> &pending();
};

} // namespace views
} // namespace kd_app
