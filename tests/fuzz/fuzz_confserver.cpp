// The local server's request handlers, called as its routes call them: the
// first byte picks the handler, the rest is the request body.

#include <cstddef>
#include <cstdint>

#include <QByteArray>
#include <QImage>
#include <QJsonValue>

#include "cavatarimage.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "cjsonbody.h"
#include "cmultipartform.h"
#include "cwhiteboards.h"

using namespace confserver;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Locked", "startInMinutes": -5, "status": "ONGOING",
         "confPassword": "4711", "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]}
    ]
})";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    // One store for the run; every input starts from the same seed, so a
    // crash reproduces from its input alone.
    static CConfStore *store = new CConfStore;
    store->loadSeed(kSeed);
    const QString token = store->issueToken(1);
    const QByteArray body(reinterpret_cast<const char *>(data) + 1, int(size - 1));
    const QString text = QString::fromUtf8(body);
    switch (data[0] % 14) {
    case 0: {
        QJsonValue value;
        CJsonBody::parse(body, &value);
        break;
    }
    case 1:
        store->login(body);
        break;
    case 2:
        store->addMeeting(token, body);
        break;
    case 3:
        store->editMeeting(token, QStringLiteral("1"), body);
        break;
    case 4:
        store->joinMeeting(token, QStringLiteral("70001"), body);
        break;
    case 5:
        store->checkMeetingPassword(QStringLiteral("70001"), body);
        break;
    case 6:
        store->addContact(token, body);
        break;
    case 7:
        store->changePassword(token, body);
        break;
    case 8: {
        QImage image;
        CAvatarImage::decode(body, &image);
        break;
    }
    case 9: {
        // A seed of its own: loading replaces everything.
        CConfStore seeded;
        seeded.loadSeed(body);
        break;
    }
    case 10: {
        CFault fault;
        CFault::parse(text, &fault);
        break;
    }
    case 11:
        // Route parameters as they come from the path and the query.
        store->meetingParticipants(text, text, text);
        store->acsToken(token, text, text);
        store->meetingInfo(text);
        store->user(token, text);
        break;
    case 12: {
        // An upload's form: the boundary is the body's first line.
        const int lineEnd = body.indexOf('\n');
        std::vector<CFormPart> parts;
        CMultipartForm::parse(body.left(lineEnd), body.mid(lineEnd + 1), &parts);
        for (const CFormPart &part : parts) {
            part.dispositionParameter("filename");
        }
        CMultipartForm::boundaryOf(body);
        break;
    }
    case 13: {
        static CWhiteboards *boards = new CWhiteboards;
        boards->addStroke(70001, QStringLiteral("1/1"), body);
        boards->setBackground(70001, body);
        boards->board(70001, 0, QString());
        boards->clear(70001);
        break;
    }
    }
    return 0;
}
