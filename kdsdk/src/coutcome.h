#pragma once

#include <string>

#include "engine/kdtypes.h"
#include "kdsdkcontrol.h"

namespace kd {
namespace sdk {

// How one piece of work on the conference-management side ended: the result
// code the engine's operation returns, and how the error event that reports
// it reads (type, code and words), so that the user is told who refused and
// why. Both backends describe their failures with it, so the client hears
// the same whichever backend served.
class COutcome
{
public:
    // Success.
    COutcome() = default;
    // The engine's own result code, with the event its kind of failure gives.
    COutcome(int result);

    // The server answered with its own error code and text.
    static COutcome refused(int serverCode, const std::string &serverText);
    // Nothing answered: refused connection, time-out, cut connection.
    static COutcome unreachable(const std::string &detail);
    static COutcome unresolved(const std::string &host);
    // Something answered, but not with the engine API.
    static COutcome invalidServer(const std::string &detail);
    // Something went wrong that has no better name.
    static COutcome failed(const std::string &detail);
    // The server's certificate does not verify, and why.
    static COutcome untrusted(const std::string &reason);

    bool ok() const { return m_result == KD_OK; }
    int result() const { return m_result; }
    int errorType() const { return m_type; }
    int errorCode() const { return m_code; }
    const std::string &text() const { return m_text; }

    kd::engine::KDError toError(const std::string &action) const;
    // One line for the engine's log.
    std::string describe() const;

private:
    COutcome(int result, int type, int code, const std::string &text);

    int m_result = KD_OK;
    int m_type = KD_ERROR_TYPE_OTHER;
    int m_code = 0;
    std::string m_text;
};

} // namespace sdk
} // namespace kd
