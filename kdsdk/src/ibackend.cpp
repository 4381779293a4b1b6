#include "ibackend.h"

#include <QByteArray>
#include <QJsonValue>

#include "chttpbackend.h"
#include "cmodelbackend.h"

namespace kd {
namespace sdk {

std::unique_ptr<IBackend> createBackend()
{
    // The application signs in against the server the user typed; the model
    // is for tests and has to be asked for by name.
    const QByteArray kind = qgetenv("KDSDK_BACKEND");
    if (kind != "model") {
        if (!kind.isEmpty() && kind != "http") {
            qWarning("kdsdk: unknown backend \"%s\", using http", kind.constData());
        }
        return std::make_unique<CHttpBackend>();
    }
    auto model = std::make_unique<CModelBackend>();
    const QByteArray modelFile = qgetenv("KDSDK_MODEL_FILE");
    if (!modelFile.isEmpty()) {
        model->loadModel(modelFile.toStdString());
    }
    return model;
}

uint64_t jsonUnsigned(const QJsonValue &value)
{
    // 2^64 is exact as a double; NaN fails both tests.
    const double number = value.toDouble();
    return value.isDouble() && number >= 0 && number < 18446744073709551616.0 ? uint64_t(number) : 0;
}

int jsonInt(const QJsonValue &value)
{
    const double number = value.toDouble();
    return value.isDouble() && number >= -2147483648.0 && number < 2147483648.0 ? value.toInt() : 0;
}

} // namespace sdk
} // namespace kd
