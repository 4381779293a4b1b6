#include "ibackend.h"

#include <QByteArray>

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

} // namespace sdk
} // namespace kd
