#include "curljoinconfargsparser.h"

#include <QRegExp>

#include "helpers/clogformat.h"

namespace kd_app {
namespace models {

namespace {

const char *const kServerLinkPattern = "^--url=parvela://(.+)/joinmeeting/(.+)/(.+)/(.+)$";
const char *const kSipLinkPattern = "^--url=brivana://joinmeeting/([^/]+)/([^/]+)/([^/]+)(/)?([^/]*)?$";

QString passwordOf(const QString &captured)
{
    return captured == QLatin1String("NO") ? QString() : captured;
}

} // namespace

CUrlJoinConfArgsParser *CUrlJoinConfArgsParser::getInstance()
{
    static CUrlJoinConfArgsParser parser;
    return &parser;
}

bool CUrlJoinConfArgsParser::parse(const char *arg)
{
    KD_LOG << "parse";
    clear();
    if (!arg) {
        return false;
    }
    // Decoded as the system's 8-bit encoding (UTF-8), so that a password
    // or a server name beyond ASCII reaches the engine as typed.
    const QString link = QString::fromLocal8Bit(arg);

    QRegExp serverLink(QString::fromLatin1(kServerLinkPattern));
    if (serverLink.exactMatch(link)) {
        m_qstrServerAddress = serverLink.cap(1);
        m_qstrConfNumber = serverLink.cap(2);
        m_bIsAudioOnly = serverLink.cap(3) == QLatin1String("1");
        m_qstrPassword = passwordOf(serverLink.cap(4));
        KD_LOG << "m_qstrServerAddress:" << m_qstrServerAddress << "m_qstrConfNumber:" << m_qstrConfNumber
               << "m_bIsAudioOnly:" << m_bIsAudioOnly
               << "m_qstrPassword:" << helpers::CLogFormat::masked(m_qstrPassword, 0);
        if (m_qstrServerAddress.isEmpty() || m_qstrConfNumber.isEmpty()) {
            KD_LOG << "Empty m_qstrServerAddress or m_qstrConfNumber";
            return false;
        }
        m_bIsValid = true;
        m_joinConfProtocol = 1;
        return true;
    }

    QRegExp sipLink(QString::fromLatin1(kSipLinkPattern));
    if (sipLink.exactMatch(link)) {
        m_qstrConfNumber = sipLink.cap(1);
        m_bIsAudioOnly = sipLink.cap(2) == QLatin1String("1");
        m_qstrPassword = passwordOf(sipLink.cap(3));
        m_qstrSipServerAddress = sipLink.cap(5);
        KD_LOG << "m_qstrConfNumber:" << m_qstrConfNumber << "m_bIsAudioOnly:" << m_bIsAudioOnly
               << "m_qstrPassword:" << helpers::CLogFormat::masked(m_qstrPassword, 0)
               << "m_qstrSipServerAddress:" << m_qstrSipServerAddress;
        if (m_qstrSipServerAddress.isEmpty() && m_qstrConfNumber.isEmpty()) {
            KD_LOG << "Empty m_qstrSipServerAddress and m_qstrConfNumber";
            return false;
        }
        m_bIsValid = true;
        m_joinConfProtocol = 2;
        return true;
    }

    KD_LOG << "Invalid url join conf arg";
    return false;
}

void CUrlJoinConfArgsParser::clear()
{
    KD_LOG << "clear";
    m_qstrServerAddress.clear();
    m_qstrConfNumber.clear();
    m_bIsAudioOnly = false;
    m_qstrPassword.clear();
    m_qstrSipServerAddress.clear();
    m_joinConfProtocol = 0;
    m_bIsValid = false;
}

} // namespace models
} // namespace kd_app
