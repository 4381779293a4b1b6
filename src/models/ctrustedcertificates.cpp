#include "ctrustedcertificates.h"

#include <QCoreApplication>
#include <QSslCertificate>

#include "helpers/clogformat.h"

namespace kd_app {
namespace models {

QString CTrustedCertificates::rootCaPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/rootca.pem");
}

QSslConfiguration CTrustedCertificates::sslConfiguration()
{
    static const QSslConfiguration configuration = [] {
        QSslConfiguration made = QSslConfiguration::defaultConfiguration();
        const QList<QSslCertificate> own = QSslCertificate::fromPath(rootCaPath(), QSsl::Pem);
        KD_LOG << "rootca:" << rootCaPath() << "certificates:" << own.size();
        if (!own.isEmpty()) {
            made.setCaCertificates(made.caCertificates() + own);
        }
        made.setPeerVerifyMode(QSslSocket::VerifyPeer);
        return made;
    }();
    return configuration;
}

} // namespace models
} // namespace kd_app
