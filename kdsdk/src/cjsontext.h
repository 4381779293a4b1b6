#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonParseError>

namespace kd {
namespace sdk {

// Reads JSON text from outside (server replies, model files). Qt 5.15's
// parser leaks memory on an object with a repeated key, so the text is read
// first by a parser without that fault and handed to Qt with every key once
// (the last value of a repeated key, as Qt would keep it).
class CJsonText
{
public:
    static QJsonDocument parse(const QByteArray &text, QJsonParseError *error);
};

} // namespace sdk
} // namespace kd
