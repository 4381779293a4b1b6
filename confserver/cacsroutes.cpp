#include "cacsroutes.h"

#include <algorithm>
#include <chrono>
#include <memory>

#include <httplib.h>

#include <QBuffer>
#include <QImageReader>
#include <QJsonObject>

#include "cavatarimage.h"
#include "cconfreply.h"
#include "cconfstore.h"
#include "cmultipartform.h"
#include "cportalroutes.h"
#include "cwhiteboards.h"

// Outside any namespace, as the resource compiler names it.
static void initAcsResources()
{
    Q_INIT_RESOURCE(acs);
}

namespace confserver {

namespace {

// A page's wait for the next change is answered after this long at most,
// and looks at its token this often meanwhile.
constexpr int kLongestWaitMs = 20000;
constexpr std::chrono::milliseconds kTokenCheck(250);

const CServedFile kFiles[] = {
    {"index.html", ":/confserver/acs/index.html", "text/html; charset=utf-8"},
    {"board.js", ":/confserver/acs/board.js", "application/javascript; charset=utf-8"},
    {"board.css", ":/confserver/acs/board.css", "text/css; charset=utf-8"},
    {"qwebchannel.js", CPortalRoutes::kWebChannelScript, "application/javascript; charset=utf-8"},
};

QByteArray cookieValue(const httplib::Request &request, const QByteArray &name)
{
    for (size_t i = 0, count = request.get_header_value_count("Cookie"); i < count; ++i) {
        const QByteArray header = QByteArray::fromStdString(request.get_header_value("Cookie", i));
        for (const QByteArray &pair : header.split(';')) {
            const int equals = pair.indexOf('=');
            if (equals > 0 && pair.left(equals).trimmed() == name) {
                return pair.mid(equals + 1).trimmed();
            }
        }
    }
    return QByteArray();
}

QString cookieJwt(const httplib::Request &request)
{
    return QString::fromLatin1(cookieValue(request, "jwt"));
}

// A page sends its token as "Authorization: Bearer ..."; a picture's
// address may carry it in the query instead, and the browser sends the
// upload's cookie along.
QString jwtOf(const httplib::Request &request)
{
    const std::string authorization = request.get_header_value("Authorization");
    const std::string bearer = "Bearer ";
    if (authorization.compare(0, bearer.size(), bearer) == 0) {
        return QString::fromStdString(authorization.substr(bearer.size())).trimmed();
    }
    if (request.has_param("jwt")) {
        return QString::fromStdString(request.get_param_value("jwt"));
    }
    return cookieJwt(request);
}

void sendExpired(httplib::Response &response)
{
    sendError(response, codes::kInvalidToken, QStringLiteral("Invalid or expired whiteboard token"));
}

qint64 numberParam(const httplib::Request &request, const char *name)
{
    return QString::fromStdString(request.get_param_value(name)).toLongLong();
}

// "image/png" or "image/jpeg" for a picture of those kinds, whatever the
// upload says it is; empty for anything else. *tooLarge tells a picture
// larger than a page should decode, from its header alone.
QByteArray pictureType(const QByteArray &bytes, bool *tooLarge)
{
    QByteArray type;
    if (bytes.startsWith("\x89PNG\r\n\x1a\n")) {
        type = "png";
    } else if (bytes.startsWith("\xff\xd8\xff")) {
        type = "jpeg";
    } else {
        return QByteArray();
    }
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, type);
    const QSize size = reader.size();
    *tooLarge = size.width() > CAvatarImage::kMaxSide || size.height() > CAvatarImage::kMaxSide;
    return size.isValid() && !size.isEmpty() ? "image/" + type : QByteArray();
}

void sendUploadRefusal(httplib::Response &response, int status)
{
    switch (status) {
    case 413:
        sendError(response, codes::kOutOfRange, QStringLiteral("The picture is larger than 10 MB"));
        break;
    case 422:
        sendError(response, codes::kOutOfRange,
                  QStringLiteral("The picture is larger than %1 x %1 pixels").arg(CAvatarImage::kMaxSide));
        break;
    default:
        sendError(response, codes::kInvalidParameter, QStringLiteral("The upload is not a PNG or JPEG picture"));
        break;
    }
    response.status = status;
}

// The upload's form, taken apart; the status to answer.
int readUpload(const httplib::Request &request, CWhiteboards &boards, int meeting, CBackgroundUpload *upload)
{
    const QByteArray formType = QByteArray::fromStdString(request.get_header_value(CAcsRoutes::kFormTypeHeader));
    std::vector<CFormPart> parts;
    if (!CMultipartForm::parse(CMultipartForm::boundaryOf(formType), QByteArray::fromStdString(request.body), &parts)) {
        return 400;
    }
    const auto file = std::find_if(parts.begin(), parts.end(),
                                   [](const CFormPart &part) { return part.dispositionParameter("name") == "file"; });
    if (file == parts.end()) {
        return 400;
    }
    upload->partHeaders = file->headers;
    upload->partName = QString::fromUtf8(file->dispositionParameter("name"));
    upload->fileName = QString::fromUtf8(file->dispositionParameter("filename"));
    upload->bytes = file->body;
    if (file->body.size() > CWhiteboards::kMaxPictureBytes) {
        return 413;
    }
    bool tooLarge = false;
    const QByteArray type = pictureType(file->body, &tooLarge);
    if (type.isEmpty()) {
        return 400;
    }
    if (tooLarge) {
        return 422;
    }
    boards.setPicture(meeting, file->body, type);
    return 200;
}

} // namespace

const char CAcsRoutes::kUploadPath[] = "/acs/upload";
const char CAcsRoutes::kFormTypeHeader[] = "X-Confserver-Form-Type";

void CAcsRoutes::keepFormRaw(const httplib::Request &request)
{
    if (request.path != kUploadPath || !request.has_header("Content-Type")) {
        return;
    }
    // The request object itself is not const; the library hands it to this
    // hook read-only because hooks seldom change it.
    auto &headers = const_cast<httplib::Request &>(request).headers;
    const std::string type = request.get_header_value("Content-Type");
    headers.erase("Content-Type");
    headers.emplace(kFormTypeHeader, type);
}

void CAcsRoutes::install(httplib::Server &server, CConfStore &store, CWhiteboards &boards,
                         const std::function<bool()> &stopping)
{
    CPortalRoutes::keepWebChannelScript();
    initAcsResources();
    server.Get(R"(/acs/(index\.html|board\.js|board\.css|qwebchannel\.js))",
               [](const httplib::Request &request, httplib::Response &response) {
                   sendServedFile(response, kFiles, request.matches[1].str());
               });

    // Runs a board request for the token's meeting, or answers 401.
    const auto withGrant = [&store](const httplib::Request &request, httplib::Response &response,
                                    const std::function<void(const CAcsGrant &)> &handle) {
        CAcsGrant grant;
        if (!store.acsGrant(jwtOf(request), &grant)) {
            sendExpired(response);
            return;
        }
        handle(grant);
    };

    // ?since=revision&epoch=...&wait=ms: what changed since that revision,
    // answered at once when something did, else at the next change or
    // after the wait.
    server.Get("/acs/board", [&store, &boards, stopping, withGrant](const httplib::Request &request,
                                                                    httplib::Response &response) {
        withGrant(request, response, [&](const CAcsGrant &grant) {
            const qint64 since = numberParam(request, "since");
            const QString epoch = QString::fromStdString(request.get_param_value("epoch"));
            const qint64 waitMs = std::clamp<qint64>(numberParam(request, "wait"), 0, kLongestWaitMs);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
            const QString jwt = jwtOf(request);
            // Every waiting page holds a worker: waits are counted per token
            // and on the whole, so that they leave workers for everybody else.
            const qint64 wait = waitMs > 0 ? boards.beginWait(jwt) : -1;
            if (wait == 0) {
                sendError(response, codes::kTooManyAttempts, QStringLiteral("Too many pages wait, ask again later"));
                return;
            }
            const auto endWait = [&boards, wait](void *) { boards.endWait(wait); };
            const std::unique_ptr<void, decltype(endWait)> waiting(wait > 0 ? &boards : nullptr, endWait);
            while (wait > 0 && std::chrono::steady_clock::now() < deadline && !stopping()) {
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
                if (boards.waitForChange(grant.meetingNumber, since, epoch, std::min(left, kTokenCheck), wait)) {
                    break;
                }
                if (!store.acsGrant(jwt)) {
                    sendExpired(response);
                    return;
                }
            }
            sendResult(response,
                       CResult::ok(boards.board(grant.meetingNumber, since, epoch, numberParam(request, "after"))));
        });
    });
    server.Post("/acs/strokes", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response, [&](const CAcsGrant &grant) {
            sendResult(response, boards.addStroke(grant.meetingNumber, grant.participant(),
                                                  QByteArray::fromStdString(request.body)));
        });
    });
    server.Post("/acs/undo", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response, [&](const CAcsGrant &grant) {
            sendResult(response, boards.undo(grant.meetingNumber, grant.participant()));
        });
    });
    server.Post("/acs/clear", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response,
                  [&](const CAcsGrant &grant) { sendResult(response, boards.clear(grant.meetingNumber)); });
    });
    server.Post("/acs/start", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response,
                  [&](const CAcsGrant &grant) { sendResult(response, boards.start(grant.meetingNumber)); });
    });
    server.Put("/acs/background", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response, [&](const CAcsGrant &grant) {
            sendResult(response, boards.setBackground(grant.meetingNumber, QByteArray::fromStdString(request.body)));
        });
    });
    server.Get("/acs/background", [&boards, withGrant](const httplib::Request &request, httplib::Response &response) {
        withGrant(request, response, [&](const CAcsGrant &grant) {
            QByteArray type;
            const QByteArray picture = boards.picture(grant.meetingNumber, &type);
            if (picture.isEmpty()) {
                response.status = 404;
                return;
            }
            response.set_header("Cache-Control", "no-store");
            response.set_content(picture.toStdString(), type.toStdString());
        });
    });
    // The picture travels as the form part "file", whatever type and name
    // the part gives; the token comes as the cookie "jwt".
    server.Post(kUploadPath, [&store, &boards](const httplib::Request &request, httplib::Response &response) {
        CAcsGrant grant;
        const QString jwt = cookieJwt(request);
        if (!store.acsGrant(jwt, &grant)) {
            sendExpired(response);
            return;
        }
        CBackgroundUpload upload;
        upload.cookieJwt = jwt;
        upload.status = readUpload(request, boards, grant.meetingNumber, &upload);
        boards.recordUpload(upload);
        if (upload.status != 200) {
            sendUploadRefusal(response, upload.status);
            return;
        }
        sendResult(response, CResult::ok(QJsonObject()));
    });
}

} // namespace confserver
