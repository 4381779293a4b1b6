#include "cjsonbody.h"

#include <QJsonArray>

#include <nlohmann/json.hpp>

namespace confserver {

namespace {

using Json = nlohmann::json;

QJsonValue toQt(const Json &json)
{
    switch (json.type()) {
    case Json::value_t::null:
        return QJsonValue(QJsonValue::Null);
    case Json::value_t::boolean:
        return json.get<bool>();
    case Json::value_t::number_integer:
        return double(json.get<std::int64_t>());
    case Json::value_t::number_unsigned:
        return double(json.get<std::uint64_t>());
    case Json::value_t::number_float:
        return json.get<double>();
    case Json::value_t::string:
        return QString::fromStdString(json.get_ref<const std::string &>());
    case Json::value_t::array: {
        QJsonArray array;
        for (const Json &item : json) {
            array.append(toQt(item));
        }
        return array;
    }
    case Json::value_t::object: {
        QJsonObject object;
        for (auto item = json.begin(); item != json.end(); ++item) {
            object.insert(QString::fromStdString(item.key()), toQt(item.value()));
        }
        return object;
    }
    case Json::value_t::binary:
    case Json::value_t::discarded:
        break;
    }
    return QJsonValue(QJsonValue::Undefined);
}

} // namespace

bool CJsonBody::parse(const QByteArray &body, QJsonValue *value)
{
    bool tooDeep = false;
    // The parser itself does not recurse, but turning its result into Qt
    // values does: the depth is checked while parsing.
    const Json::parser_callback_t depthCheck = [&tooDeep](int depth, Json::parse_event_t, Json &) {
        tooDeep = tooDeep || depth > kMaxDepth;
        return !tooDeep;
    };
    const Json json = Json::parse(body.cbegin(), body.cend(), depthCheck, false);
    if (tooDeep || json.is_discarded()) {
        return false;
    }
    *value = toQt(json);
    return true;
}

bool CJsonBody::parseObject(const QByteArray &body, QJsonObject *object)
{
    QJsonValue value;
    if (!parse(body, &value) || !value.isObject()) {
        return false;
    }
    *object = value.toObject();
    return true;
}

} // namespace confserver
