// Replies of the conference-management server's REST API, read into the
// client's records as the API manager does.

#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "models/ucmdata.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    const QJsonDocument document = QJsonDocument::fromJson(body);
    const QString server = QStringLiteral("https://127.0.0.1:8443");
    const QString token = QStringLiteral("0123456789abcdef");
    if (document.isArray()) {
        const QJsonArray array = document.array();
        ucmReadList<ucmuserData>(array, server);
        ucmReadList<ucmcontactData>(array, server);
        ucmReadList<ucmconferenceData>(array);
        ucmReadList<ucmParticipantData>(array, server, token);
    } else if (document.isObject()) {
        const QJsonObject object = document.object();
        ucmuserData user;
        user.readJson(object, server);
        ucmcontactData contact;
        contact.readJson(object, server);
        ucmconferenceData conference;
        conference.readJson(object);
        ucmParticipantData participant;
        participant.readJson(object, server, token);
    }
    return 0;
}
