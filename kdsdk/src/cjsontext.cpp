#include "cjsontext.h"

#include <nlohmann/json.hpp>

namespace kd {
namespace sdk {

QJsonDocument CJsonText::parse(const QByteArray &text, QJsonParseError *error)
{
    const nlohmann::json json = nlohmann::json::parse(text.cbegin(), text.cend(), nullptr, false);
    if (json.is_discarded()) {
        error->error = QJsonParseError::IllegalValue;
        error->offset = 0;
        return QJsonDocument();
    }
    const std::string once = json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return QJsonDocument::fromJson(QByteArray::fromStdString(once), error);
}

} // namespace sdk
} // namespace kd
