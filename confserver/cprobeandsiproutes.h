#pragma once

namespace httplib {
class Server;
} // namespace httplib

namespace confserver {

class CConfStore;

// The engine's probes of the server (no token needed) and the registration
// of SIP accounts against the users' SIP credentials, under "/api/engine/v1/".
void installProbeAndSipRoutes(httplib::Server &server, CConfStore &store);

} // namespace confserver
