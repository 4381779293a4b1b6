#include "coutcome.h"

namespace kd {
namespace sdk {

namespace {

struct CEventOf
{
    int type;
    int code;
    const char *text;
};

// The event an engine result reports when nothing more precise is known.
// A refusal the model answers for a server comes out as that server's code.
CEventOf eventOf(int result)
{
    switch (result) {
    case KD_OK:
        return {KD_ERROR_TYPE_OTHER, 0, ""};
    case KD_ERR_INVALID_ARGUMENT:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_BAD_PARAMETER, "bad parameter"};
    case KD_ERR_SERVER_UNREACHABLE:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_SERVER_UNREACHABLE, "server unreachable"};
    case KD_ERR_AUTH_FAILED:
        return {KD_ERROR_TYPE_SERVER, KD_SERVER_ERROR_WRONG_CREDENTIALS, "Invalid username or password"};
    case KD_ERR_NOT_SIGNED_IN:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_NOT_SIGNED_IN, "not signed in"};
    case KD_ERR_NO_CALL:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_NOT_IN_CONFERENCE, "not in a call"};
    case KD_ERR_MEETING_NOT_FOUND:
        return {KD_ERROR_TYPE_SERVER, KD_SERVER_ERROR_MEETING_UNAVAILABLE, "The meeting does not exist or has ended"};
    case KD_ERR_MEETING_PASSWORD:
        return {KD_ERROR_TYPE_SERVER, KD_SERVER_ERROR_WRONG_MEETING_PASSWORD, "Wrong meeting password"};
    case KD_ERR_NO_FEATURE_RECORD:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_INVALID_SERVER, "the server has no engine API"};
    case KD_ERR_NOT_INITIALIZED:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_NOT_INITIALIZED, "engine not initialised"};
    case KD_ERR_REMOTE_HANGUP:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_REMOTE_HANGUP, "the far end hung up"};
    case KD_ERR_DECLINED:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_REMOTE_BUSY, "the far end declined"};
    case KD_ERR_UNTRUSTED_SERVER:
        return {KD_ERROR_TYPE_OTHER, KD_OTHER_ERROR_UNTRUSTED_CERTIFICATE, "The server's certificate is not trusted."};
    case KD_ERR_NAME_NOT_RESOLVED:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_NAME_NOT_RESOLVED, "the server's name does not resolve"};
    case KD_ERR_BUSY:
    case KD_ERR_FILE:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_INTERNAL, result == KD_ERR_BUSY ? "busy" : "file not usable"};
    default:
        return {KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_UNKNOWN, "failed"};
    }
}

// What the engine's operation returns when the server refused with its code.
int resultOfServerCode(int serverCode)
{
    switch (serverCode) {
    case KD_SERVER_ERROR_INVALID_TOKEN:
        return KD_ERR_NOT_SIGNED_IN;
    case 1020: // invalid parameter
    case 1021: // value out of range
    case 4020: // new password breaks the policy
        return KD_ERR_INVALID_ARGUMENT;
    case 1040: // no permission
    case KD_SERVER_ERROR_ACCOUNT_LOCKED:
    case KD_SERVER_ERROR_ACCOUNT_UNUSED:
        return KD_ERR_NOT_PERMITTED;
    case KD_SERVER_ERROR_WRONG_CREDENTIALS:
    case 2001: // wrong password
    case 4010: // wrong old password
        return KD_ERR_AUTH_FAILED;
    case 3010: // meeting does not exist
    case KD_SERVER_ERROR_MEETING_UNAVAILABLE:
        return KD_ERR_MEETING_NOT_FOUND;
    case 3020: // wrong meeting password
    case KD_SERVER_ERROR_WRONG_MEETING_PASSWORD:
    case KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED:
        return KD_ERR_MEETING_PASSWORD;
    default:
        return KD_ERR_GENERIC;
    }
}

} // namespace

COutcome::COutcome(int result) : m_result(result)
{
    const CEventOf event = eventOf(result);
    m_type = event.type;
    m_code = event.code;
    m_text = event.text;
}

COutcome::COutcome(int result, int type, int code, const std::string &text)
    : m_result(result), m_type(type), m_code(code), m_text(text)
{
}

COutcome COutcome::refused(int serverCode, const std::string &serverText)
{
    return COutcome(resultOfServerCode(serverCode), KD_ERROR_TYPE_SERVER, serverCode, serverText);
}

COutcome COutcome::unreachable(const std::string &detail)
{
    return COutcome(KD_ERR_SERVER_UNREACHABLE, KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_SERVER_UNREACHABLE,
                    "server unreachable: " + detail);
}

COutcome COutcome::unresolved(const std::string &host)
{
    return COutcome(KD_ERR_NAME_NOT_RESOLVED, KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_NAME_NOT_RESOLVED,
                    "the name \"" + host + "\" does not resolve to an address");
}

COutcome COutcome::invalidServer(const std::string &detail)
{
    return COutcome(KD_ERR_NO_FEATURE_RECORD, KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_INVALID_SERVER,
                    "the server has no engine API: " + detail);
}

COutcome COutcome::failed(const std::string &detail)
{
    return COutcome(KD_ERR_GENERIC, KD_ERROR_TYPE_ENGINE, KD_ENGINE_ERROR_UNKNOWN, detail);
}

COutcome COutcome::untrusted(const std::string &reason)
{
    // The user reads these words as they stand.
    return COutcome(KD_ERR_UNTRUSTED_SERVER, KD_ERROR_TYPE_OTHER, KD_OTHER_ERROR_UNTRUSTED_CERTIFICATE,
                    "The server's certificate is not trusted: " + reason + ".");
}

kd::engine::KDError COutcome::toError(const std::string &action) const
{
    kd::engine::KDError error;
    error.type = m_type;
    error.action = action;
    error.code = m_code;
    error.msg = m_text;
    return error;
}

std::string COutcome::describe() const
{
    return "result " + std::to_string(m_result) + ", type " + std::to_string(m_type) + ", code " +
           std::to_string(m_code) + ": " + m_text;
}

} // namespace sdk
} // namespace kd
