#pragma once

namespace httplib {
class Server;
} // namespace httplib

namespace confserver {

class CConfStore;

// The organisation's web portal for the desktop client: the pages
// "conferences", "contact", "confControl" and "reservation", their shared
// script and sheet, and the web-channel client script, all under the
// organisation's "urlSuffixForPC" (for example "/portal/conferences").
// The pages take the token and the meeting number from their address and
// read everything else from the REST API of the same server.
class CPortalRoutes
{
public:
    CPortalRoutes() = delete;

    static void install(httplib::Server &server, CConfStore &store);
    // The resource of Qt WebChannel's client script, which other pages of
    // the server load too; keepWebChannelScript keeps it linked in.
    static constexpr char kWebChannelScript[] = ":/qtwebchannel/qwebchannel.js";
    static void keepWebChannelScript();
};

} // namespace confserver
