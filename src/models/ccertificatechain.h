#pragma once

#include <QList>
#include <QSslCertificate>
#include <QString>

namespace kd_app {
namespace models {

// Whether a server's certificate chain, as a browser received it, is one
// to trust for a host: it must lead to one of the trusted authorities and
// name the host, as a TLS client would check it.
class CCertificateChain
{
public:
    CCertificateChain() = delete;

    // Trusted: the system's authorities and "rootca.pem" of the application
    // folder (CTrustedCertificates).
    static bool verifies(const QList<QSslCertificate> &chain, const QString &host);
    // Trusted: the given authorities, and the system's when asked.
    static bool verifies(const QList<QSslCertificate> &chain, const QString &host,
                         const QList<QSslCertificate> &authorities, bool systemAuthorities);
};

} // namespace models
} // namespace kd_app
