#pragma once

#include <QString>

namespace kd_app {
namespace models {

// One pending join request taken from a join link on the command line. It
// waits here until the login window or the window manager carries it out.
class CUrlJoinConfArgsParser
{
public:
    static CUrlJoinConfArgsParser *getInstance();

    // The link as the process received it (in the local 8-bit encoding).
    bool parse(const char *arg);
    void clear();

    QString m_qstrServerAddress;
    QString m_qstrConfNumber;
    bool m_bIsAudioOnly = false;
    QString m_qstrPassword;
    QString m_qstrSipServerAddress;
    int m_joinConfProtocol = 0;
    bool m_bIsValid = false;

private:
    CUrlJoinConfArgsParser() = default;
};

} // namespace models
} // namespace kd_app
