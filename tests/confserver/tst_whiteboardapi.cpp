#include <QBuffer>
#include <QElapsedTimer>
#include <QHttpMultiPart>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QSslConfiguration>
#include <QSslError>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "cwhiteboards.h"
#include "serverclient.h"

using confserver::CBackgroundUpload;
using confserver::CBoardLimits;
using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using confserver::CWhiteboards;

namespace {

const QByteArray kSeed = R"({
    "users": [
        {"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice"},
        {"id": 2, "name": "bob", "password": "Bob2026!", "displayName": "Bob"},
        {"id": 3, "name": "carol", "password": "Carol2026!", "displayName": "Carol"}
    ],
    "meetings": [
        {"id": 1, "numericId": 70001, "name": "Board", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 2], "participants": [{"userId": 2}]},
        {"id": 2, "numericId": 70002, "name": "Other board", "startInMinutes": -5, "status": "ONGOING",
         "applicantId": 1, "userIds": [1, 3], "participants": [{"userId": 3}]}
    ]
})";

QByteArray pictureBytes(const char *format, const QSize &size = QSize(64, 36))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(67, 129, 255));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonObject stroke(const QString &tool, int width, const QJsonArray &points)
{
    return QJsonObject{{"tool", tool},
                       {"width", width},
                       {"color", QJsonObject{{"r", 255}, {"g", 64}, {"b", 255}, {"a", 1}}},
                       {"points", points}};
}

} // namespace

// The whiteboard routes under "/acs/": who may use a board, strokes passing
// between two participants, the background and its upload, the page's files.
class TestWhiteboardApi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pageFilesNeedNoToken_data();
    void pageFilesNeedNoToken();
    void tokens_data();
    void tokens();
    void waitingPageLearnsOfExpiry();
    void waitsAreCountedPerTokenAndInAll();
    void boardsAreBoundedAndAnsweredInParts();
    void strokesReachTheOtherParticipant();
    void undoTakesOnlyOwnStrokes();
    void boardsAreApartPerMeeting();
    void refusesBadStrokes_data();
    void refusesBadStrokes();
    void backgroundAndStart();
    void uploads_data();
    void uploads();
    void uploadKeepsTheFormAsSent();
    void statusFault();
    void selfSignedPairIsNotTrusted_data();
    void selfSignedPairIsNotTrusted();

private:
    enum class Via { Bearer, Query, Cookie, None };
    CReply send(const QByteArray &verb, const QString &path, const QString &jwt, Via via = Via::Bearer,
                const QByteArray &body = QByteArray());
    // *signIn: the sign-in token it was issued for.
    QString acsToken(int userId, int meeting, const QString &device = QStringLiteral("42"), QString *signIn = nullptr);
    // Starts a wait for the board's next change, as a page does.
    QNetworkReply *startWait(const QString &jwt);
    CReply upload(const QByteArray &bytes, const QString &cookieJwt, const QByteArray &name = "file");
    qint64 revisionOf(const QString &jwt);

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    QNetworkAccessManager m_manager;
};

void TestWhiteboardApi::initTestCase()
{
    QVERIFY(m_store.loadSeed(kSeed));
}

// Every test starts with blank boards.
void TestWhiteboardApi::init()
{
    QVERIFY(m_store.loadSeed(kSeed));
    // Idle connections to the old server would hold its stop up.
    m_manager.clearConnectionCache();
    m_server.reset();
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

CReply TestWhiteboardApi::send(const QByteArray &verb, const QString &path, const QString &jwt, Via via,
                               const QByteArray &body)
{
    QUrl url(m_server->baseUrl() + path);
    if (via == Via::Query) {
        QUrlQuery query(url);
        query.addQueryItem("jwt", QString::fromLatin1(QUrl::toPercentEncoding(jwt)));
        url.setQuery(query);
    }
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    if (via == Via::Bearer) {
        request.setRawHeader("Authorization", "Bearer " + jwt.toLatin1());
    } else if (via == Via::Cookie) {
        request.setRawHeader("Cookie", "theme=dark; jwt=" + jwt.toLatin1());
    }
    // A GET carries no body: the server would not read it.
    QNetworkReply *reply = verb == "GET" ? m_manager.get(request) : m_manager.sendCustomRequest(request, verb, body);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished()) {
        finished.wait(10000);
    }
    reply->deleteLater();
    return CReply{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

QNetworkReply *TestWhiteboardApi::startWait(const QString &jwt)
{
    const QJsonObject board = send("GET", "/acs/board", jwt).json();
    QNetworkRequest request(QUrl(m_server->baseUrl() + QStringLiteral("/acs/board?since=%1&epoch=%2&wait=20000")
                                                           .arg(qint64(board.value("revision").toDouble()))
                                                           .arg(board.value("epoch").toString())));
    request.setRawHeader("Authorization", "Bearer " + jwt.toLatin1());
    return m_manager.get(request);
}

QString TestWhiteboardApi::acsToken(int userId, int meeting, const QString &device, QString *signIn)
{
    const QString token = m_store.issueToken(userId);
    if (signIn) {
        *signIn = token;
    }
    const CReply reply = send("GET",
                              QStringLiteral("/api/rest/v2.0/acsToken?token=%1&confNumericId=%2&deviceId=%3")
                                  .arg(token)
                                  .arg(meeting)
                                  .arg(device),
                              QString(), Via::None);
    return reply.json().value("acsJsonWebToken").toString();
}

CReply TestWhiteboardApi::upload(const QByteArray &bytes, const QString &cookieJwt, const QByteArray &name)
{
    // The form as the client builds it: a fixed type and file name, whatever the picture is.
    auto *form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentTypeHeader, QVariant("image/jpg;"));
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QVariant("form-data; name=\"" + name + "\"; filename=\"background.jpg\""));
    part.setBody(bytes);
    form->append(part);
    QNetworkRequest request(QUrl(m_server->baseUrl() + "/acs/upload"));
    if (!cookieJwt.isEmpty()) {
        request.setHeader(QNetworkRequest::CookieHeader,
                          QVariant::fromValue(QList<QNetworkCookie>{QNetworkCookie("jwt", cookieJwt.toUtf8())}));
    }
    QNetworkReply *reply = m_manager.post(request, form);
    form->setParent(reply);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished()) {
        finished.wait(20000);
    }
    reply->deleteLater();
    return CReply{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll()};
}

qint64 TestWhiteboardApi::revisionOf(const QString &jwt)
{
    return qint64(send("GET", "/acs/board", jwt).json().value("revision").toDouble());
}

void TestWhiteboardApi::pageFilesNeedNoToken_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("contains");
    QTest::newRow("page") << "/acs/index.html" << 200 << QByteArray("text/html; charset=utf-8")
                          << QByteArray("<canvas id=\"board\">");
    QTest::newRow("script") << "/acs/board.js" << 200 << QByteArray("application/javascript; charset=utf-8")
                            << QByteArray("window.undoLastOperation");
    QTest::newRow("sheet") << "/acs/board.css" << 200 << QByteArray("text/css; charset=utf-8") << QByteArray("#board");
    QTest::newRow("web channel") << "/acs/qwebchannel.js" << 200 << QByteArray("application/javascript; charset=utf-8")
                                 << QByteArray("QWebChannel = function");
    QTest::newRow("unknown file") << "/acs/other.html" << 404 << QByteArray() << QByteArray();
}

void TestWhiteboardApi::pageFilesNeedNoToken()
{
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, contains);
    QNetworkReply *reply = m_manager.get(QNetworkRequest(QUrl(m_server->baseUrl() + path)));
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(kdtest::kStateWaitMs));
    reply->deleteLater();
    QCOMPARE(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), status);
    if (status == 200) {
        QCOMPARE(reply->header(QNetworkRequest::ContentTypeHeader).toByteArray(), type);
        QCOMPARE(reply->rawHeader("Cache-Control"), QByteArray("no-store"));
        QVERIFY(reply->readAll().contains(contains));
    }
}

void TestWhiteboardApi::tokens_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("via");
    QTest::addColumn<int>("status");
    QTest::newRow("issued, bearer") << "issued" << int(Via::Bearer) << 200;
    QTest::newRow("issued, query") << "issued" << int(Via::Query) << 200;
    QTest::newRow("issued, cookie") << "issued" << int(Via::Cookie) << 200;
    QTest::newRow("none") << "issued" << int(Via::None) << 401;
    QTest::newRow("unknown") << "unknown" << int(Via::Bearer) << 401;
    QTest::newRow("altered signature") << "altered" << int(Via::Bearer) << 401;
    QTest::newRow("a sign-in token") << "login" << int(Via::Bearer) << 401;
    QTest::newRow("expired") << "expired" << int(Via::Bearer) << 401;
    QTest::newRow("meeting ended") << "ended" << int(Via::Bearer) << 401;
    QTest::newRow("meeting terminated") << "terminated" << int(Via::Query) << 401;
    QTest::newRow("holder left the meeting") << "left" << int(Via::Bearer) << 401;
    QTest::newRow("holder signed out") << "signed out" << int(Via::Bearer) << 401;
    QTest::newRow("holder joined and stays") << "joined" << int(Via::Bearer) << 200;
}

void TestWhiteboardApi::tokens()
{
    QFETCH(QString, kind);
    QFETCH(int, via);
    QFETCH(int, status);
    // The invited member: who stops being one on leaving.
    QString signIn;
    QString jwt = acsToken(kind == "left" || kind == "signed out" || kind == "joined" ? 2 : 1, 70001,
                           QStringLiteral("42"), &signIn);
    QCOMPARE(jwt.count('.'), 2);
    if (kind == "left" || kind == "joined") {
        const CReply joined =
            send("POST", "/api/engine/v1/meetings/70001/join?token=" + signIn, QString(), Via::None, "{}");
        QCOMPARE(joined.status, 200);
        if (kind == "left") {
            const QJsonObject leave{{"participantId", joined.json().value("participantId")}};
            QCOMPARE(send("POST", "/api/engine/v1/meetings/70001/leave", QString(), Via::None, json(leave)).status,
                     200);
        }
    } else if (kind == "signed out") {
        m_store.expireToken(signIn);
    } else if (kind == "unknown") {
        jwt = "eyJhbGciOiJIUzI1NiJ9.e30.c2lnbmF0dXJl";
    } else if (kind == "altered") {
        jwt.chop(1);
    } else if (kind == "login") {
        jwt = m_store.issueToken(1);
    } else if (kind == "expired") {
        m_store.expireAcsToken(jwt);
    } else if (kind == "ended") {
        QVERIFY(m_store.setMeetingStatus(1, "ENDED"));
    } else if (kind == "terminated") {
        QCOMPARE(send("PUT", "/api/rest/v2.0/meetings/1/control/terminate?token=" + m_store.issueToken(1), QString(),
                      Via::None)
                     .status,
                 204);
    }
    const Via how = Via(via);
    for (const QString &path : {QStringLiteral("/acs/board"), QStringLiteral("/acs/strokes")}) {
        const QByteArray verb = path.endsWith("board") ? "GET" : "POST";
        const QByteArray body = verb == "POST" ? json(stroke("pencil", 1, {10, 10, 20, 20})) : QByteArray();
        const CReply reply = send(verb, path, jwt, how, body);
        QVERIFY2(reply.status == status, qPrintable(path + ": " + QString::number(reply.status)));
        if (status == 401) {
            QCOMPARE(reply.errorCode(), 1010);
        }
    }
    // The sign-in token is untouched by the whiteboard token's expiry.
    if (kind == "expired") {
        QCOMPARE(send("GET", "/acs/board", acsToken(1, 70001, "43")).status, 200);
    }
}

void TestWhiteboardApi::waitingPageLearnsOfExpiry()
{
    const QString jwt = acsToken(1, 70001);
    const QJsonObject board = send("GET", "/acs/board", jwt).json();
    QTimer::singleShot(200, [this, jwt] { m_store.expireAcsToken(jwt); });
    QElapsedTimer clock;
    clock.start();
    const CReply waited = send("GET",
                               QStringLiteral("/acs/board?since=%1&epoch=%2&wait=10000")
                                   .arg(qint64(board.value("revision").toDouble()))
                                   .arg(board.value("epoch").toString()),
                               jwt);
    QCOMPARE(waited.status, 401);
    QCOMPARE(waited.errorCode(), 1010);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
}

// Each waiting page holds a worker: a token has a few waits, the server a
// bounded number, and ordinary requests still pass.
void TestWhiteboardApi::waitsAreCountedPerTokenAndInAll()
{
    CBoardLimits limits;
    limits.waitsPerHolder = 2;
    limits.waits = 3;
    m_server->whiteboards().setLimits(limits);
    const QString jwt = acsToken(1, 70001, "1");
    std::vector<QNetworkReply *> replies;
    for (int i = 0; i < 2; ++i) {
        replies.push_back(startWait(jwt));
        QTRY_COMPARE_WITH_TIMEOUT(m_server->whiteboards().waiting(), i + 1, kdtest::kStateWaitMs);
    }
    QVERIFY(!replies.front()->isFinished());
    // A third wait of the same token: the oldest is answered now, not after its 20 s.
    replies.push_back(startWait(jwt));
    QTRY_VERIFY_WITH_TIMEOUT(replies.front()->isFinished(), kdtest::kStateWaitMs);
    QCOMPARE(replies.front()->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    QCOMPARE(m_server->whiteboards().waiting(), 2);
    QVERIFY(!replies.at(1)->isFinished());

    replies.push_back(startWait(acsToken(2, 70001, "2")));
    QTRY_COMPARE_WITH_TIMEOUT(m_server->whiteboards().waiting(), 3, kdtest::kStateWaitMs);
    const QJsonObject board = send("GET", "/acs/board", jwt).json();
    const CReply refused = send("GET",
                                QStringLiteral("/acs/board?since=%1&epoch=%2&wait=20000")
                                    .arg(qint64(board.value("revision").toDouble()))
                                    .arg(board.value("epoch").toString()),
                                acsToken(1, 70001, "3"));
    QCOMPARE(refused.status, 429);
    QCOMPARE(send("POST", "/acs/strokes", jwt, Via::Bearer, json(stroke("pencil", 1, {1, 1}))).status, 200);
    for (QNetworkReply *reply : replies) {
        reply->abort();
        reply->deleteLater();
    }
}

// A board holds a bounded number of strokes and points, each participant
// a share of them, and a large board is answered in parts.
void TestWhiteboardApi::boardsAreBoundedAndAnsweredInParts()
{
    CBoardLimits limits;
    limits.strokesPerBoard = 4;
    limits.strokesPerParticipant = 3;
    limits.pointsPerParticipant = 5;
    limits.pointsPerAnswer = 2;
    m_server->whiteboards().setLimits(limits);
    const QString alice = acsToken(1, 70001, "1");
    const QString bob = acsToken(2, 70001, "2");
    const QByteArray twoPoints = json(stroke("pencil", 1, {10, 10, 20, 20}));
    const QByteArray onePoint = json(stroke("pencil", 1, {30, 30}));
    const struct
    {
        const QString &who;
        const QByteArray &body;
        int status;
    } draws[] = {
        {alice, twoPoints, 200}, {alice, twoPoints, 200}, {alice, twoPoints, 429}, // 6 points of 5
        {alice, onePoint, 200},  {alice, onePoint, 429},                           // a fourth stroke of 3
        {bob, twoPoints, 200},   {bob, onePoint, 413},                             // a fifth of the board's 4
    };
    for (const auto &draw : draws) {
        const CReply reply = send("POST", "/acs/strokes", draw.who, Via::Bearer, draw.body);
        QCOMPARE(reply.status, draw.status);
    }
    // Undone strokes make room again.
    QCOMPARE(send("POST", "/acs/undo", bob, Via::Bearer).status, 200);
    QCOMPARE(send("POST", "/acs/strokes", bob, Via::Bearer, onePoint).status, 200);

    QJsonArray strokes;
    QJsonObject part = send("GET", "/acs/board", alice).json();
    const QJsonArray ids = part.value("ids").toArray();
    QCOMPARE(ids.size(), 4);
    int parts = 1;
    strokes = part.value("strokes").toArray();
    while (part.value("more").toBool() && parts < 10) {
        const qint64 last = qint64(strokes.last().toObject().value("id").toDouble());
        part = send("GET", QStringLiteral("/acs/board?after=%1").arg(last), alice).json();
        for (const QJsonValue &value : part.value("strokes").toArray()) {
            strokes.append(value);
        }
        ++parts;
    }
    QCOMPARE(parts, 3); // 2 points an answer at most: 2, 2, then 1 + 1
    QCOMPARE(strokes.size(), ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        QCOMPARE(strokes.at(i).toObject().value("id"), ids.at(i));
    }
}

void TestWhiteboardApi::strokesReachTheOtherParticipant()
{
    const QString sender = acsToken(1, 70001);
    const QString receiver = acsToken(2, 70001);
    QCOMPARE(send("POST", "/acs/strokes", sender, Via::Bearer, json(stroke("pencil", 1, {1, 1}))).status, 200);
    const CReply first = send("GET", "/acs/board", receiver);
    QCOMPARE(first.status, 200);
    QVERIFY(first.json().value("full").toBool());
    QCOMPARE(first.json().value("strokes").toArray().size(), 1);
    QCOMPARE(first.json().value("width").toInt(), CWhiteboards::kWidth);
    QCOMPARE(first.json().value("height").toInt(), CWhiteboards::kHeight);
    const qint64 revision = qint64(first.json().value("revision").toDouble());
    const QString epoch = first.json().value("epoch").toString();

    // The receiver waits; the sender's stroke wakes it at once.
    const QJsonObject drawn = stroke("nitePen", 3, {100.5, 200, 300, 400.25, 1919, 1079});
    QElapsedTimer clock;
    QTimer::singleShot(100, [&] {
        clock.start();
        const CReply posted = send("POST", "/acs/strokes", sender, Via::Bearer, json(drawn));
        QCOMPARE(posted.status, 200);
    });
    const CReply changed =
        send("GET", QStringLiteral("/acs/board?since=%1&epoch=%2&wait=10000").arg(revision).arg(epoch), receiver);
    QCOMPARE(changed.status, 200);
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    const QJsonObject board = changed.json();
    QVERIFY(!board.value("full").toBool());
    QCOMPARE(board.value("ids").toArray().size(), 2);
    const QJsonArray strokes = board.value("strokes").toArray();
    QCOMPARE(strokes.size(), 1);
    QJsonObject received = strokes[0].toObject();
    QCOMPARE(received.take("id").toDouble(), board.value("ids").toArray()[1].toDouble());
    QCOMPARE(received, drawn);

    // Nothing new: a wait ends empty-handed after its time.
    const qint64 now = qint64(board.value("revision").toDouble());
    clock.restart();
    const CReply quiet =
        send("GET", QStringLiteral("/acs/board?since=%1&epoch=%2&wait=300").arg(now).arg(epoch), receiver);
    QVERIFY(clock.elapsed() >= 250);
    QCOMPARE(quiet.json().value("strokes").toArray().size(), 0);
    QCOMPARE(quiet.json().value("ids").toArray().size(), 2);
}

void TestWhiteboardApi::undoTakesOnlyOwnStrokes()
{
    const QString alice = acsToken(1, 70001);
    const QString bob = acsToken(2, 70001);
    const auto draw = [this](const QString &jwt, const QString &tool) {
        return send("POST", "/acs/strokes", jwt, Via::Bearer, json(stroke(tool, 2, {5, 5, 50, 50})))
            .json()
            .value("id")
            .toDouble();
    };
    const double aliceFirst = draw(alice, "pencil");
    const double bobs = draw(bob, "pencil");
    const double aliceEraser = draw(alice, "eraser");
    QVERIFY(aliceFirst > 0 && bobs > aliceFirst && aliceEraser > bobs);

    // Alice's newest first (her eraser stroke), then her pen, then nothing of hers.
    QCOMPARE(send("POST", "/acs/undo", alice).json().value("undone").toDouble(), aliceEraser);
    QCOMPARE(send("POST", "/acs/undo", alice).json().value("undone").toDouble(), aliceFirst);
    const CReply none = send("POST", "/acs/undo", alice);
    QCOMPARE(none.status, 200);
    QVERIFY(none.json().value("undone").isNull());
    QCOMPARE(send("GET", "/acs/board", bob).json().value("ids").toArray(), QJsonArray{bobs});

    // The same user on another device is another participant.
    QVERIFY(send("POST", "/acs/undo", acsToken(2, 70001, "7")).json().value("undone").isNull());

    QCOMPARE(send("POST", "/acs/clear", alice).status, 200);
    QCOMPARE(send("GET", "/acs/board", bob).json().value("ids").toArray(), QJsonArray());
    QVERIFY(send("POST", "/acs/undo", bob).json().value("undone").isNull());
}

void TestWhiteboardApi::boardsAreApartPerMeeting()
{
    const QString here = acsToken(1, 70001);
    const QString there = acsToken(1, 70002);
    QCOMPARE(send("POST", "/acs/strokes", here, Via::Bearer, json(stroke("pencil", 1, {1, 1}))).status, 200);
    QCOMPARE(send("GET", "/acs/board", here).json().value("ids").toArray().size(), 1);
    QCOMPARE(send("GET", "/acs/board", there).json().value("ids").toArray().size(), 0);
    // Whoever is not in the meeting gets no token for its board.
    QVERIFY(acsToken(3, 70001).isEmpty());
}

void TestWhiteboardApi::refusesBadStrokes_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    const QByteArray colour = R"("color": {"r": 1, "g": 2, "b": 3, "a": 1})";
    QTest::newRow("pencil") << R"({"tool": "pencil", "width": 4, "points": [0, 0, 1920, 1080], )" + colour + "}" << 200;
    QTest::newRow("eraser without colour") << QByteArray(R"({"tool": "eraser", "width": 1, "points": [3, 3]})") << 200;
    QTest::newRow("unknown tool") << R"({"tool": "brush", "width": 1, "points": [3, 3], )" + colour + "}" << 400;
    QTest::newRow("width 0") << R"({"tool": "pencil", "width": 0, "points": [3, 3], )" + colour + "}" << 400;
    QTest::newRow("width 5") << R"({"tool": "pencil", "width": 5, "points": [3, 3], )" + colour + "}" << 400;
    QTest::newRow("width 2.5") << R"({"tool": "pencil", "width": 2.5, "points": [3, 3], )" + colour + "}" << 400;
    QTest::newRow("off the board") << R"({"tool": "pencil", "width": 1, "points": [1921, 3], )" + colour + "}" << 400;
    QTest::newRow("negative") << R"({"tool": "pencil", "width": 1, "points": [3, -1], )" + colour + "}" << 400;
    QTest::newRow("odd points") << R"({"tool": "pencil", "width": 1, "points": [3, 3, 4], )" + colour + "}" << 400;
    QTest::newRow("no points") << R"({"tool": "pencil", "width": 1, "points": [], )" + colour + "}" << 400;
    QTest::newRow("text point") << R"({"tool": "pencil", "width": 1, "points": ["3", 3], )" + colour + "}" << 400;
    QTest::newRow("pen without colour") << QByteArray(R"({"tool": "pencil", "width": 1, "points": [3, 3]})") << 400;
    QTest::newRow("red 256") << QByteArray(
                                    R"({"tool": "pencil", "width": 1, "points": [3, 3],
                                        "color": {"r": 256, "g": 2, "b": 3, "a": 1}})")
                             << 400;
    QTest::newRow("alpha 2") << QByteArray(
                                    R"({"tool": "nitePen", "width": 1, "points": [3, 3],
                                        "color": {"r": 1, "g": 2, "b": 3, "a": 2}})")
                             << 400;
    QTest::newRow("not an object") << QByteArray("[1, 2]") << 400;
}

void TestWhiteboardApi::refusesBadStrokes()
{
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    const QString jwt = acsToken(1, 70001);
    const qint64 before = revisionOf(jwt);
    const CReply reply = send("POST", "/acs/strokes", jwt, Via::Bearer, body);
    QCOMPARE(reply.status, status);
    QCOMPARE(revisionOf(jwt) != before, status == 200);
}

void TestWhiteboardApi::backgroundAndStart()
{
    const QString jwt = acsToken(1, 70001);
    QJsonObject board = send("GET", "/acs/board", jwt).json();
    QCOMPARE(board.value("background").toString(), QStringLiteral("white"));
    QVERIFY(!board.value("started").toBool());

    QCOMPARE(send("PUT", "/acs/background", jwt, Via::Bearer, R"({"background": "black"})").status, 200);
    QCOMPARE(send("POST", "/acs/start", jwt).status, 200);
    // A picture first, then it can be shown.
    QCOMPARE(send("PUT", "/acs/background", jwt, Via::Bearer, R"({"background": "img"})").status, 400);
    QCOMPARE(send("PUT", "/acs/background", jwt, Via::Bearer, R"({"background": "pink"})").status, 400);
    QCOMPARE(send("GET", "/acs/background", jwt).status, 404);
    board = send("GET", "/acs/board", acsToken(2, 70001)).json();
    QCOMPARE(board.value("background").toString(), QStringLiteral("black"));
    QVERIFY(board.value("started").toBool());
    QCOMPARE(board.value("pictureVersion").toInt(), 0);

    QCOMPARE(upload(pictureBytes("PNG"), jwt).status, 200);
    QCOMPARE(send("PUT", "/acs/background", jwt, Via::Bearer, R"({"background": "img"})").status, 200);
    board = send("GET", "/acs/board", jwt).json();
    QCOMPARE(board.value("background").toString(), QStringLiteral("img"));
    QCOMPARE(board.value("pictureVersion").toInt(), 1);
}

void TestWhiteboardApi::uploads_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("cookie"); // "jwt", "expired", "login" or empty
    QTest::addColumn<QByteArray>("partName");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("servedType");
    const QByteArray png = pictureBytes("PNG");
    const QByteArray jpeg = pictureBytes("JPEG");
    QTest::newRow("PNG") << png << "jwt" << QByteArray("file") << 200 << QByteArray("image/png");
    QTest::newRow("JPEG") << jpeg << "jwt" << QByteArray("file") << 200 << QByteArray("image/jpeg");
    QTest::newRow("text") << QByteArray("just some words\r\n") << "jwt" << QByteArray("file") << 400 << QByteArray();
    QTest::newRow("PNG signature only") << png.left(8) + QByteArray(100, 'x') << "jwt" << QByteArray("file") << 400
                                        << QByteArray();
    QTest::newRow("a GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14) << "jwt" << QByteArray("file")
                           << 400 << QByteArray();
    QTest::newRow("empty") << QByteArray() << "jwt" << QByteArray("file") << 400 << QByteArray();
    QByteArray large = png;
    large.append(QByteArray(CWhiteboards::kMaxPictureBytes + 1 - png.size(), '\0'));
    QTest::newRow("over 10 MB") << large << "jwt" << QByteArray("file") << 413 << QByteArray();
    QByteArray largest = png;
    largest.append(QByteArray(CWhiteboards::kMaxPictureBytes - png.size(), '\0'));
    QTest::newRow("exactly 10 MB") << largest << "jwt" << QByteArray("file") << 200 << QByteArray("image/png");
    // A few bytes can describe a picture of gigabytes: its size is read from its header.
    QTest::newRow("wider than 4096") << pictureBytes("PNG", QSize(4097, 2)) << "jwt" << QByteArray("file") << 422
                                     << QByteArray();
    QTest::newRow("taller than 4096") << pictureBytes("JPEG", QSize(2, 4097)) << "jwt" << QByteArray("file") << 422
                                      << QByteArray();
    QTest::newRow("4096 wide") << pictureBytes("PNG", QSize(4096, 2)) << "jwt" << QByteArray("file") << 200
                               << QByteArray("image/png");
    QTest::newRow("another part name") << png << "jwt" << QByteArray("picture") << 400 << QByteArray();
    QTest::newRow("no cookie") << png << "" << QByteArray("file") << 401 << QByteArray();
    QTest::newRow("expired token") << png << "expired" << QByteArray("file") << 401 << QByteArray();
    QTest::newRow("sign-in token") << png << "login" << QByteArray("file") << 401 << QByteArray();
}

void TestWhiteboardApi::uploads()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, cookie);
    QFETCH(QByteArray, partName);
    QFETCH(int, status);
    QFETCH(QByteArray, servedType);
    const QString jwt = acsToken(1, 70001);
    QString sent;
    if (cookie == "jwt") {
        sent = jwt;
    } else if (cookie == "expired") {
        sent = acsToken(1, 70001, "9");
        m_store.expireAcsToken(sent);
    } else if (cookie == "login") {
        sent = m_store.issueToken(1);
    }
    const CReply reply = upload(bytes, sent, partName);
    QCOMPARE(reply.status, status);
    if (status == 401) {
        QCOMPARE(reply.errorCode(), 1010);
    }
    // Only an accepted picture replaces the background; the board's readers see it.
    QNetworkRequest request(QUrl(m_server->baseUrl() + "/acs/background"));
    request.setRawHeader("Authorization", "Bearer " + acsToken(2, 70001).toLatin1());
    QNetworkReply *served = m_manager.get(request);
    QSignalSpy finished(served, &QNetworkReply::finished);
    QVERIFY(finished.wait(kdtest::kStateWaitMs));
    served->deleteLater();
    const int servedStatus = served->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 200) {
        QCOMPARE(servedStatus, 404);
        return;
    }
    QCOMPARE(servedStatus, 200);
    QCOMPARE(served->header(QNetworkRequest::ContentTypeHeader).toByteArray(), servedType);
    QCOMPARE(served->readAll(), bytes);
}

void TestWhiteboardApi::uploadKeepsTheFormAsSent()
{
    const QString jwt = acsToken(1, 70001);
    const QByteArray png = pictureBytes("PNG");
    QCOMPARE(upload(png, jwt).status, 200);
    const CBackgroundUpload received = m_server->whiteboards().lastUpload();
    QCOMPARE(int(received.partHeaders.size()), 2);
    QCOMPARE(received.partHeaders[0].first, QByteArray("Content-Type"));
    QCOMPARE(received.partHeaders[0].second, QByteArray("image/jpg;"));
    QCOMPARE(received.partHeaders[1].first, QByteArray("Content-Disposition"));
    QCOMPARE(received.partHeaders[1].second, QByteArray("form-data; name=\"file\"; filename=\"background.jpg\""));
    QCOMPARE(received.partName, QStringLiteral("file"));
    QCOMPARE(received.fileName, QStringLiteral("background.jpg"));
    QCOMPARE(received.bytes, png);
    QCOMPARE(received.cookieJwt, jwt);
    QCOMPARE(received.status, 200);

    // A refused upload is kept as well, with what was answered.
    QCOMPARE(upload("not a picture", jwt).status, 400);
    QCOMPARE(m_server->whiteboards().lastUpload().bytes, QByteArray("not a picture"));
    QCOMPARE(m_server->whiteboards().lastUpload().status, 400);
}

void TestWhiteboardApi::statusFault()
{
    const QString jwt = acsToken(1, 70001);
    CFault fault;
    QVERIFY(CFault::parse("/acs/:status:503:1", &fault));
    m_server->addFault(fault);
    const CReply refused = send("GET", "/acs/board", jwt);
    QCOMPARE(refused.status, 503);
    QVERIFY(refused.body.isEmpty());
    QCOMPARE(send("GET", "/acs/board", jwt).status, 200);
    // The page itself is hit too.
    QVERIFY(CFault::parse("/acs/index.html:status:204", &fault));
    m_server->addFault(fault);
    QCOMPARE(send("GET", "/acs/index.html", QString(), Via::None).status, 204);
}

void TestWhiteboardApi::selfSignedPairIsNotTrusted_data()
{
    QTest::addColumn<bool>("selfSigned");
    QTest::newRow("test authority") << false;
    QTest::newRow("self-signed") << true;
}

void TestWhiteboardApi::selfSignedPairIsNotTrusted()
{
    QFETCH(bool, selfSigned);
    CConfServer server(m_store, true, selfSigned ? CConfServer::selfSignedCertPath() : CConfServer::defaultCertPath(),
                       selfSigned ? CConfServer::selfSignedKeyPath() : CConfServer::defaultKeyPath());
    QVERIFY(server.start());
    QNetworkRequest request(QUrl(server.baseUrl() + "/acs/index.html"));
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates(QSslCertificate::fromPath(QString::fromStdString(CConfServer::rootCaPath())));
    request.setSslConfiguration(tls);
    QNetworkReply *reply = m_manager.get(request);
    QSignalSpy errors(reply, &QNetworkReply::sslErrors);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    QVERIFY(finished.wait(kdtest::kStateWaitMs));
    reply->deleteLater();
    // An idle connection would hold the server's stop up.
    m_manager.clearConnectionCache();
    QCOMPARE(reply->error() == QNetworkReply::NoError, !selfSigned);
    QCOMPARE(errors.isEmpty(), !selfSigned);
    if (selfSigned) {
        const auto sslErrors = errors.first().first().value<QList<QSslError>>();
        QVERIFY(std::any_of(sslErrors.begin(), sslErrors.end(),
                            [](const QSslError &error) { return error.error() == QSslError::SelfSignedCertificate; }));
    }
}

QTEST_GUILESS_MAIN(TestWhiteboardApi)
#include "tst_whiteboardapi.moc"
