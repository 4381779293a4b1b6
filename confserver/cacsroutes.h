#pragma once

#include <functional>
#include <string>

namespace httplib {
class Server;
struct Request;
} // namespace httplib

namespace confserver {

class CConfStore;
class CWhiteboards;

// The web whiteboard under "/acs/": its page ("index.html" with its script
// and sheet, and Qt WebChannel's client script), the board of each meeting
// that pages read and draw on, and the background picture upload. Every
// route but the page's files takes a whiteboard token that the REST API's
// "acsToken" issued (401 {"errorCode": 1010} otherwise).
class CAcsRoutes
{
public:
    CAcsRoutes() = delete;

    // The path of the background upload: its form is read raw (see keepFormRaw).
    static const char kUploadPath[];
    // The header the form's own Content-Type travels under to the upload.
    static const char kFormTypeHeader[];

    // stopping: true once the server is stopping, so waiting pages let go.
    static void install(httplib::Server &server, CConfStore &store, CWhiteboards &boards,
                        const std::function<bool()> &stopping);
    // Called before a request's body is read. The HTTP library would take a
    // multipart form apart itself and drop the parts' headers, which the
    // upload keeps as sent: its form type moves to another header so the
    // body arrives whole.
    static void keepFormRaw(const httplib::Request &request);
};

} // namespace confserver
