#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

namespace confserver {

// Reads request bodies. Bodies come from anyone who can reach the server,
// so they are not handed to QJsonDocument: its parser keeps memory for
// every repeated key of an object until the process ends. A repeated key
// here keeps its last value, as browsers do.
class CJsonBody
{
public:
    // Nesting deeper than this is refused rather than followed.
    static constexpr int kMaxDepth = 64;

    // False, leaving *value alone, when the text is not one JSON value.
    static bool parse(const QByteArray &body, QJsonValue *value);
    static bool parseObject(const QByteArray &body, QJsonObject *object);
};

} // namespace confserver
