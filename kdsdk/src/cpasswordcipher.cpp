#include "cpasswordcipher.h"

#include <QByteArray>
#include <QCryptographicHash>

namespace kd {
namespace sdk {

namespace {

const char kTransportKey[] = "kdsdk-transport";

QByteArray keystream(const std::string &key, const std::string &iv, int length)
{
    QByteArray stream;
    for (quint32 block = 0; stream.size() < length; ++block) {
        QByteArray seed = QByteArray::fromStdString(key) + '\0' + QByteArray::fromStdString(iv);
        seed.append(reinterpret_cast<const char *>(&block), sizeof(block));
        stream += QCryptographicHash::hash(seed, QCryptographicHash::Sha256);
    }
    return stream.left(length);
}

QByteArray applyStream(const QByteArray &data, const std::string &key, const std::string &iv)
{
    const QByteArray stream = keystream(key, iv, data.size());
    QByteArray result = data;
    for (int i = 0; i < result.size(); ++i) {
        result[i] = char(result.at(i) ^ stream.at(i));
    }
    return result;
}

} // namespace

std::string CPasswordCipher::wrapForTransport(int type, const std::string &text)
{
    const QByteArray data = QByteArray::fromStdString(text);
    const QByteArray body = type == 1 ? applyStream(data, kTransportKey, std::string()) : data;
    return std::to_string(type) + "$" + body.toBase64().toStdString();
}

std::string CPasswordCipher::unwrapTransport(const std::string &wrapped)
{
    if (wrapped.size() < 2 || wrapped[1] != '$' || (wrapped[0] != '0' && wrapped[0] != '1')) {
        return wrapped;
    }
    const QByteArray body = QByteArray::fromBase64(QByteArray::fromStdString(wrapped.substr(2)));
    return (wrapped[0] == '1' ? applyStream(body, kTransportKey, std::string()) : body).toStdString();
}

std::string CPasswordCipher::encrypt(const std::string &text, const std::string &key, const std::string &iv)
{
    return applyStream(QByteArray::fromStdString(text), key, iv).toBase64().toStdString();
}

std::string CPasswordCipher::decrypt(const std::string &cipher, const std::string &key, const std::string &iv)
{
    return applyStream(QByteArray::fromBase64(QByteArray::fromStdString(cipher)), key, iv).toStdString();
}

int CPasswordCipher::checkPolicy(const std::string &password, const kd::engine::KDPasswordPolicy &policy)
{
    const int length = int(password.size());
    if (length < policy.minLength) {
        return 1;
    }
    if (policy.maxLength > 0 && length > policy.maxLength) {
        return 2;
    }
    bool lower = false;
    bool upper = false;
    bool digit = false;
    bool special = false;
    for (const char c : password) {
        if (c >= 'a' && c <= 'z') {
            lower = true;
        } else if (c >= 'A' && c <= 'Z') {
            upper = true;
        } else if (c >= '0' && c <= '9') {
            digit = true;
        } else if (policy.specialChars.find(c) != std::string::npos) {
            special = true;
        } else {
            return 4;
        }
    }
    const int classes = int(lower) + int(upper) + int(digit) + int(special);
    return classes < policy.typeCount ? 3 : 0;
}

} // namespace sdk
} // namespace kd
