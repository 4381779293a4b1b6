#pragma once

#include <QSslConfiguration>
#include <QString>

namespace kd_app {
namespace models {

// The TLS settings of our own HTTPS requests: the peer is verified against
// the system's authorities plus "rootca.pem" of the application folder, the
// authority of the organisation's own servers.
class CTrustedCertificates
{
public:
    CTrustedCertificates() = delete;

    // Made once; safe to call from any thread.
    static QSslConfiguration sslConfiguration();
    static QString rootCaPath();
};

} // namespace models
} // namespace kd_app
