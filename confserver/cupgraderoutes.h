#pragma once

#include <functional>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace confserver {

class CConfStore;
struct CResult;

// What the client's upgrade asks of a server: the conference server's
// "latestAppVersion" query, the app-info form of a separate update service
// ("/appinfo/{flag}/{bundleId}/{name}") and the package download with its
// published checksum ("/download/{name}", "/download/{name}.sha256").
class CUpgradeRoutes
{
public:
    CUpgradeRoutes() = delete;

    using Sender = std::function<void(httplib::Response &, const CResult &)>;

    // tls: the scheme of the whole addresses the server hands out.
    static void install(httplib::Server &server, CConfStore &store, bool tls, const Sender &send);
};

} // namespace confserver
