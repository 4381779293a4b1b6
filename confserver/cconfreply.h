#pragma once

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

} // namespace confserver
