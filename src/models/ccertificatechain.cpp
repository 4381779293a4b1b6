#include "ccertificatechain.h"

#include <memory>

#include <openssl/x509.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <QHostAddress>

#include "models/ctrustedcertificates.h"

namespace kd_app {
namespace models {

namespace {

struct X509Free
{
    void operator()(X509 *certificate) const { X509_free(certificate); }
};
using X509Ptr = std::unique_ptr<X509, X509Free>;

X509Ptr toX509(const QSslCertificate &certificate)
{
    const QByteArray der = certificate.toDer();
    const unsigned char *data = reinterpret_cast<const unsigned char *>(der.constData());
    return X509Ptr(d2i_X509(nullptr, &data, der.size()));
}

} // namespace

bool CCertificateChain::verifies(const QList<QSslCertificate> &chain, const QString &host)
{
    static const QList<QSslCertificate> own = QSslCertificate::fromPath(CTrustedCertificates::rootCaPath(), QSsl::Pem);
    return verifies(chain, host, own, true);
}

bool CCertificateChain::verifies(const QList<QSslCertificate> &chain, const QString &host,
                                 const QList<QSslCertificate> &authorities, bool systemAuthorities)
{
    if (chain.isEmpty() || host.isEmpty()) {
        return false;
    }
    const X509Ptr leaf = toX509(chain.first());
    if (!leaf) {
        return false;
    }
    std::unique_ptr<X509_STORE, decltype(&X509_STORE_free)> store(X509_STORE_new(), &X509_STORE_free);
    if (systemAuthorities) {
        X509_STORE_set_default_paths(store.get());
    }
    for (const QSslCertificate &authority : authorities) {
        const X509Ptr certificate = toX509(authority);
        if (certificate) {
            X509_STORE_add_cert(store.get(), certificate.get());
        }
    }
    std::unique_ptr<STACK_OF(X509), void (*)(STACK_OF(X509) *)> intermediates(
        sk_X509_new_null(), [](STACK_OF(X509) * stack) { sk_X509_pop_free(stack, X509_free); });
    for (int i = 1; i < chain.size(); ++i) {
        X509Ptr certificate = toX509(chain.at(i));
        if (certificate && sk_X509_push(intermediates.get(), certificate.get()) > 0) {
            certificate.release();
        }
    }
    std::unique_ptr<X509_STORE_CTX, decltype(&X509_STORE_CTX_free)> context(X509_STORE_CTX_new(), &X509_STORE_CTX_free);
    if (!context || X509_STORE_CTX_init(context.get(), store.get(), leaf.get(), intermediates.get()) != 1) {
        return false;
    }
    X509_VERIFY_PARAM *parameters = X509_STORE_CTX_get0_param(context.get());
    X509_VERIFY_PARAM_set_purpose(parameters, X509_PURPOSE_SSL_SERVER);
    const QByteArray name = host.toUtf8();
    const bool named = QHostAddress(host).isNull()
                           ? X509_VERIFY_PARAM_set1_host(parameters, name.constData(), size_t(name.size())) == 1
                           : X509_VERIFY_PARAM_set1_ip_asc(parameters, name.constData()) == 1;
    return named && X509_verify_cert(context.get()) == 1;
}

} // namespace models
} // namespace kd_app
