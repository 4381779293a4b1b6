#pragma once

#include <cstddef>
#include <string>

#include <QString>

namespace httplib {
struct Response;
} // namespace httplib

namespace confserver {

struct CResult;

// Answers in the API's form: the value as JSON, nothing (204), or the
// error body {"errorCode", "errorInfo"} with the status its code has.
void sendResult(httplib::Response &response, const CResult &result);
void sendError(httplib::Response &response, int code, const QString &info);
// Answers a file compiled into the server (pages, scripts, sheets), never
// kept by the browser; 404 when there is no such resource.
void sendResource(httplib::Response &response, const QString &resource, const char *contentType);
void sendNotFound(httplib::Response &response);

// A file the server answers from its resources under a name of its own.
struct CServedFile
{
    const char *name;
    const char *resource;
    const char *contentType;
};

// Answers the file of that name among `files`; 404 when there is none.
template <std::size_t N>
void sendServedFile(httplib::Response &response, const CServedFile (&files)[N], const std::string &name)
{
    for (const CServedFile &file : files) {
        if (name == file.name) {
            sendResource(response, QString::fromLatin1(file.resource), file.contentType);
            return;
        }
    }
    sendNotFound(response);
}

} // namespace confserver
