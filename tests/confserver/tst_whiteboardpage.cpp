// The whiteboard page in a real browser against the local server: what the
// client's commands do to the board, strokes passing between two pages, the
// token's expiry, and the page's calls on the client's bridge object.

#include <functional>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QHttpMultiPart>
#include <QImage>
#include <QJsonDocument>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "statewait.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "cwhiteboards.h"
#include "webpagetest.h"

using confserver::CConfServer;
using confserver::CConfStore;

// What the client's bridge object does for the page: it counts the calls.
class CBridge : public QObject
{
    Q_OBJECT

public:
    int connected = 0;
    int expired = 0;
    int cacheCleared = 0;
    QStringList logs;

public slots:
    void boardConnected() { ++connected; }
    void tokenExpired() { ++expired; }
    void clearCache() { ++cacheCleared; }
    void webLog(const QString &text) { logs << text; }
};

// One whiteboard page in its own view, as the client shows it.
class CBoardPage
{
public:
    explicit CBoardPage(bool withBridge = true, QSize size = QSize(1280, 720))
    {
        m_view.resize(size);
        if (withBridge) {
            m_channel.registerObject(QStringLiteral("qtWebObj"), &bridge);
            m_view.page()->setWebChannel(&m_channel);
        }
        m_view.show();
    }

    bool open(const QString &base, const QString &jwt)
    {
        QUrl url(base + "/acs/index.html");
        url.setQuery(QStringLiteral("jwt=") + QString::fromLatin1(QUrl::toPercentEncoding(jwt)));
        m_view.load(url);
        return waitUntil([this] { return state().value("connected").toBool(); }, 15000);
    }

    QVariant run(const QString &script) { return runScript(m_view.page(), script); }
    QJsonObject state() { return QJsonObject::fromVariantMap(run("window.boardState ? boardState() : {}").toMap()); }
    int strokeCount() { return state().value("strokes").toArray().size(); }

    QImage picture()
    {
        const QString url = run("exportPicture()").toString();
        return QImage::fromData(QByteArray::fromBase64(url.section(',', 1).toLatin1()), "PNG");
    }

    // A press, moves and a release of the left button through the view, as a
    // user draws; the browser orders input by its time stamps.
    void drag(const QList<QPoint> &points)
    {
        static QElapsedTimer clock;
        if (!clock.isValid()) {
            clock.start();
        }
        QWidget *target = m_view.focusProxy();
        const auto send = [target](QEvent::Type type, const QPoint &at, Qt::MouseButton button,
                                   Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
            event.setTimestamp(ulong(1000 + clock.elapsed()));
            QCoreApplication::sendEvent(target, &event);
            QTest::qWait(10);
        };
        // A view fresh on the screen may not take input yet: press again until the page draws.
        for (int attempt = 0; attempt < 3 && !state().value("drawing").toBool(); ++attempt) {
            if (attempt > 0) {
                send(QEvent::MouseButtonRelease, points.first(), Qt::LeftButton, Qt::NoButton);
            }
            send(QEvent::MouseButtonPress, points.first(), Qt::LeftButton, Qt::LeftButton);
            waitUntil([this] { return state().value("drawing").toBool(); }, 1000);
        }
        for (const QPoint &point : points.mid(1)) {
            send(QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
        }
        send(QEvent::MouseButtonRelease, points.last(), Qt::LeftButton, Qt::NoButton);
        // Presses apart in time, so that two strokes are not one double click.
        QTest::qWait(50);
    }

    CBridge bridge;

private:
    QWebEngineView m_view;
    QWebChannel m_channel;
};

class TestWhiteboardPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void connectsOnce();
    void commands_data();
    void commands();
    void strokeReachesAnotherPage();
    void undoTakesOnlyOwnStroke();
    void eraserIsUndoable();
    void uploadedBackgroundIsFitted();
    void expiredTokenIsToldOnce();
    void disconnectStopsPolling();
    void ownStrokeCountsOnceWhileBeingSaved();
    void plainBrowserIsABoard();
    void pictureIsReadOnlyAsTheBackground();
    void largeBoardArrivesInParts();

private:
    QString acsToken(int userId, const QString &device);
    // The status of a request of the board's API with the token.
    int sendAs(const QString &jwt, const QByteArray &verb, const QString &path, const QByteArray &body);
    int uploadPicture(const QString &jwt, const QImage &picture);
    QString base() const { return m_server->baseUrl(); }

    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    QNetworkAccessManager m_manager;
};

void TestWhiteboardPage::initTestCase()
{
    QVERIFY(m_store.loadSeedFile(QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json")));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
}

// Every test starts with a blank white board. (The meeting's picture stays:
// the one test that needs none runs before the upload.)
void TestWhiteboardPage::init()
{
    m_server->clearFaults();
    m_server->whiteboards().setLimits(confserver::CBoardLimits());
    const QString jwt = acsToken(1, "0");
    QCOMPARE(sendAs(jwt, "POST", "/acs/clear", QByteArray()), 200);
    QCOMPARE(sendAs(jwt, "PUT", "/acs/background", R"({"background": "white"})"), 200);
}

int TestWhiteboardPage::sendAs(const QString &jwt, const QByteArray &verb, const QString &path, const QByteArray &body)
{
    QNetworkRequest request(QUrl(base() + path));
    request.setRawHeader("Authorization", "Bearer " + jwt.toLatin1());
    request.setHeader(QNetworkRequest::ContentTypeHeader, "application/json");
    QNetworkReply *reply = m_manager.sendCustomRequest(request, verb, body);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished()) {
        finished.wait(10000);
    }
    reply->deleteLater();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

int TestWhiteboardPage::uploadPicture(const QString &jwt, const QImage &picture)
{
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    picture.save(&png, "PNG");
    auto *form = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentTypeHeader, QVariant("image/jpg;"));
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QVariant("form-data; name=\"file\"; filename=\"background.jpg\""));
    part.setBody(png.data());
    form->append(part);
    QNetworkRequest request(QUrl(base() + "/acs/upload"));
    request.setHeader(QNetworkRequest::CookieHeader,
                      QVariant::fromValue(QList<QNetworkCookie>{QNetworkCookie("jwt", jwt.toUtf8())}));
    QNetworkReply *reply = m_manager.post(request, form);
    form->setParent(reply);
    QSignalSpy finished(reply, &QNetworkReply::finished);
    if (!reply->isFinished()) {
        finished.wait(10000);
    }
    reply->deleteLater();
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

QString TestWhiteboardPage::acsToken(int userId, const QString &device)
{
    const QString token = m_store.issueToken(userId);
    return m_store.acsToken(token, QStringLiteral("80001"), device)
        .value.toObject()
        .value("acsJsonWebToken")
        .toString();
}

void TestWhiteboardPage::connectsOnce()
{
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(1, "1")));
    QTRY_COMPARE(page.bridge.connected, 1);
    const QJsonObject state = page.state();
    QCOMPARE(state.value("tool").toString(), QStringLiteral("pencil"));
    QCOMPARE(state.value("width").toInt(), 1);
    QCOMPARE(state.value("background").toString(), QStringLiteral("white"));
    QVERIFY(!state.value("started").toBool());
    QVERIFY(page.bridge.logs.join('\n').contains("board connected"));
    QCOMPARE(page.bridge.expired, 0);
    // A failed poll and its retry do not announce the board again.
    m_server->addFault(confserver::CFault{"/acs/board", confserver::CFault::Kind::Status, 503, 1});
    page.run("window.startBoard()");
    QTRY_VERIFY(page.bridge.logs.join('\n').contains("board request failed: status 503"));
    QTRY_VERIFY(page.state().value("connected").toBool());
    QTest::qWait(200);
    QCOMPARE(page.bridge.connected, 1);
}

void TestWhiteboardPage::commands_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected"); // the field as compact JSON
    QTest::addColumn<QString>("logged");   // a log line's beginning, or empty

    const QString black = "window.changeColor('{\"r\":0,\"g\":0,\"b\":0,\"a\":1}')";
    QTest::newRow("colour") << black << "window.changeColor('{\"r\":255,\"g\":64,\"b\":255,\"a\":1}')"
                            << "color"
                            << R"({"a":1,"b":255,"g":64,"r":255})"
                            << "";
    QTest::newRow("colour not JSON") << black << "window.changeColor('{r:255}')"
                                     << "color"
                                     << R"({"a":1,"b":0,"g":0,"r":0})"
                                     << "changeColor ignored";
    QTest::newRow("colour out of range") << black << "window.changeColor('{\"r\":256,\"g\":0,\"b\":0,\"a\":1}')"
                                         << "color"
                                         << R"({"a":1,"b":0,"g":0,"r":0})"
                                         << "changeColor ignored";
    QTest::newRow("width 3") << "window.lineWight(1)"
                             << "window.lineWight(3)"
                             << "width"
                             << "3"
                             << "";
    QTest::newRow("width 5") << "window.lineWight(2)"
                             << "window.lineWight(5)"
                             << "width"
                             << "2"
                             << "lineWight ignored";
    QTest::newRow("width 0") << "window.lineWight(2)"
                             << "window.lineWight(0)"
                             << "width"
                             << "2"
                             << "lineWight ignored";
    QTest::newRow("marker") << "window.pencil('pencil')"
                            << "window.pencil('nitePen')"
                            << "tool"
                            << "\"nitePen\""
                            << "";
    QTest::newRow("pen") << "window.eraser()"
                         << "window.pencil('pencil')"
                         << "tool"
                         << "\"pencil\""
                         << "";
    QTest::newRow("unknown pen") << "window.pencil('pencil')"
                                 << "window.pencil('brush')"
                                 << "tool"
                                 << "\"pencil\""
                                 << "pencil ignored";
    QTest::newRow("eraser") << "window.pencil('pencil')"
                            << "window.eraser()"
                            << "tool"
                            << "\"eraser\""
                            << "";
    QTest::newRow("black") << "window.changeBackground('white')"
                           << "window.changeBackground('black')"
                           << "background"
                           << "\"black\""
                           << "";
    QTest::newRow("unknown background") << "window.changeBackground('white')"
                                        << "window.changeBackground('blue')"
                                        << "background"
                                        << "\"white\""
                                        << "changeBackground ignored";
    QTest::newRow("picture before an upload") << "window.changeBackground('white')"
                                              << "window.changeBackground('img')"
                                              << "background"
                                              << "\"white\""
                                              << "changeBackground failed";
    QTest::newRow("start") << ""
                           << "window.startBoard()"
                           << "started"
                           << "true"
                           << "";
}

void TestWhiteboardPage::commands()
{
    QFETCH(QString, setup);
    QFETCH(QString, command);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    QFETCH(QString, logged);
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(1, "1")));
    page.run(setup);
    // A change the server has to take settles with the board's next revision.
    QTest::qWait(100);
    page.bridge.logs.clear();
    page.run(command);
    const auto fieldText = [&page, &field] {
        const QJsonValue value = page.state().value(field);
        return value.isObject() ? QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact))
                                : QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
                                      .mid(1)
                                      .chopped(1);
    };
    QTRY_COMPARE(fieldText(), expected);
    if (!logged.isEmpty()) {
        QTRY_VERIFY(std::any_of(page.bridge.logs.begin(), page.bridge.logs.end(),
                                [&logged](const QString &line) { return line.startsWith(logged); }));
    }
    QTest::qWait(100);
    QCOMPARE(fieldText(), expected);
}

void TestWhiteboardPage::strokeReachesAnotherPage()
{
    CBoardPage sender;
    // The receiver's view is half as large: the same board, scaled.
    CBoardPage receiver(true, QSize(640, 360));
    QVERIFY(sender.open(base(), acsToken(1, "1")));
    QVERIFY(receiver.open(base(), acsToken(2, "2")));
    sender.run("window.changeColor('{\"r\":255,\"g\":0,\"b\":0,\"a\":1}'); window.lineWight(4)");

    sender.drag({QPoint(200, 360), QPoint(400, 360), QPoint(600, 360), QPoint(800, 360)});
    QTRY_COMPARE_WITH_TIMEOUT(sender.strokeCount(), 1, kPageRoundTripMs);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(waitUntil([&receiver] { return receiver.strokeCount() == 1; }, 5000));
    QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
    QTRY_VERIFY(sender.state().value("strokes").toArray()[0].toObject().value("id").isDouble());
    QCOMPARE(receiver.state().value("strokes"), sender.state().value("strokes"));
    const QJsonObject stroke = receiver.state().value("strokes").toArray()[0].toObject();
    QCOMPARE(stroke.value("tool").toString(), QStringLiteral("pencil"));
    QCOMPARE(stroke.value("width").toInt(), 4);

    // The stroke runs across the middle of both pictures, at their own scale.
    QTest::qWait(100);
    const QImage big = sender.picture();
    const QImage small = receiver.picture();
    QCOMPARE(big.size(), QSize(1280, 720));
    QCOMPARE(small.size(), QSize(640, 360));
    QCOMPARE(QColor(big.pixel(500, 360)), QColor(255, 0, 0));
    QCOMPARE(QColor(small.pixel(250, 180)), QColor(255, 0, 0));
    QCOMPARE(QColor(small.pixel(250, 100)), QColor(Qt::white));
}

void TestWhiteboardPage::undoTakesOnlyOwnStroke()
{
    CBoardPage alice;
    CBoardPage bob;
    QVERIFY(alice.open(base(), acsToken(1, "1")));
    QVERIFY(bob.open(base(), acsToken(2, "2")));
    alice.drag({QPoint(100, 100), QPoint(300, 100)});
    QTRY_COMPARE_WITH_TIMEOUT(bob.strokeCount(), 1, kPageRoundTripMs);
    bob.drag({QPoint(100, 300), QPoint(300, 300)});
    QTRY_COMPARE_WITH_TIMEOUT(alice.strokeCount(), 2, kPageRoundTripMs);

    alice.run("window.undoLastOperation()");
    QTRY_COMPARE_WITH_TIMEOUT(bob.strokeCount(), 1, kPageRoundTripMs);
    QTRY_COMPARE_WITH_TIMEOUT(alice.strokeCount(), 1, kPageRoundTripMs);
    QCOMPARE(alice.state().value("strokes").toArray()[0].toObject().value("points").toArray()[1].toDouble(), 300 * 1.5);
    // Nothing of Alice's is left to undo.
    alice.run("window.undoLastOperation()");
    QTRY_VERIFY(alice.bridge.logs.join('\n').contains("nothing of this participant to undo"));
    QCOMPARE(bob.strokeCount(), 1);

    bob.run("window.clearProject()");
    QTRY_COMPARE_WITH_TIMEOUT(alice.strokeCount(), 0, kPageRoundTripMs);
    QTRY_COMPARE_WITH_TIMEOUT(bob.strokeCount(), 0, kPageRoundTripMs);
}

void TestWhiteboardPage::eraserIsUndoable()
{
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(1, "1")));
    page.run("window.lineWight(4)");
    page.drag({QPoint(100, 200), QPoint(400, 200)});
    QTRY_COMPARE_WITH_TIMEOUT(page.strokeCount(), 1, kPageRoundTripMs);
    page.run("window.eraser()");
    page.drag({QPoint(250, 100), QPoint(250, 300)});
    QTRY_COMPARE_WITH_TIMEOUT(page.strokeCount(), 2, kPageRoundTripMs);
    QTRY_COMPARE(page.state().value("strokes").toArray()[1].toObject().value("tool").toString(),
                 QStringLiteral("eraser"));
    QTest::qWait(100);
    QCOMPARE(QColor(page.picture().pixel(250, 200)), QColor(Qt::white));
    QCOMPARE(QColor(page.picture().pixel(150, 200)), QColor(Qt::black));

    page.run("window.undoLastOperation()");
    QTRY_COMPARE_WITH_TIMEOUT(page.strokeCount(), 1, kPageRoundTripMs);
    QTest::qWait(100);
    QCOMPARE(QColor(page.picture().pixel(250, 200)), QColor(Qt::black));
}

void TestWhiteboardPage::uploadedBackgroundIsFitted()
{
    const QString jwt = acsToken(1, "1");
    CBoardPage sender;
    CBoardPage receiver;
    QVERIFY(sender.open(base(), jwt));
    QVERIFY(receiver.open(base(), acsToken(2, "2")));

    // A square green picture: fitted into the 16:9 board it leaves white on both sides.
    QImage square(100, 100, QImage::Format_RGB32);
    square.fill(QColor(0, 160, 0));
    QCOMPARE(uploadPicture(jwt, square), 200);

    sender.run("window.changeBackground('img')");
    for (CBoardPage *page : {&sender, &receiver}) {
        QTRY_COMPARE(page->state().value("background").toString(), QStringLiteral("img"));
        QTRY_VERIFY(page->state().value("pictureLoaded").toBool());
        QTest::qWait(100);
        const QImage picture = page->picture();
        QCOMPARE(QColor(picture.pixel(640, 360)), QColor(0, 160, 0));
        QCOMPARE(QColor(picture.pixel(100, 360)), QColor(Qt::white));
    }
}

void TestWhiteboardPage::expiredTokenIsToldOnce()
{
    const QString jwt = acsToken(1, "1");
    CBoardPage page;
    QVERIFY(page.open(base(), jwt));
    m_store.expireAcsToken(jwt);
    QTRY_COMPARE_WITH_TIMEOUT(page.bridge.expired, 1, kdtest::kStateWaitMs);
    QVERIFY(page.state().value("expired").toBool());
    QVERIFY(!page.state().value("connected").toBool());
    QCOMPARE(page.run("document.getElementById('notice').hidden").toBool(), false);
    QCOMPARE(page.run("document.getElementById('notice').textContent").toString(), QStringLiteral("session expired"));
    page.run("window.undoLastOperation(); window.clearProject()");
    page.drag({QPoint(100, 100), QPoint(200, 100)});
    QTest::qWait(300);
    QCOMPARE(page.bridge.expired, 1);
    QCOMPARE(page.strokeCount(), 0);
    for (const QString &line : page.bridge.logs) {
        QVERIFY2(!line.contains(jwt), qPrintable(line));
    }
}

// The board may bring a stroke of the page back before the server's answer
// to its saving arrives (the order is the network's): the page still shows
// it once.
void TestWhiteboardPage::ownStrokeCountsOnceWhileBeingSaved()
{
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(1, "1")));
    page.run(R"(
        (function () {
            var plain = window.fetch;
            window.fetch = function (path, init) {
                var reply = plain(path, init);
                if (init && init.method === 'POST' && String(path).indexOf('strokes') >= 0) {
                    return reply.then(function (answer) {
                        return new Promise(function (done) { setTimeout(function () { done(answer); }, 1500); });
                    });
                }
                return reply;
            };
        })())");
    page.drag({QPoint(100, 100), QPoint(200, 100), QPoint(300, 150)});
    const auto idsShown = [&page] {
        int count = 0;
        for (const QJsonValue &stroke : page.state().value("strokes").toArray()) {
            count += stroke.toObject().value("id").isDouble() ? 1 : 0;
        }
        return count;
    };
    // Back with the board, the answer still on its way.
    QVERIFY(waitUntil([&] { return idsShown() > 0; }, kPageRoundTripMs));
    QCOMPARE(page.strokeCount(), 1);
    QTest::qWait(1500);
    QCOMPARE(page.strokeCount(), 1);
    QCOMPARE(idsShown(), 1);
}

void TestWhiteboardPage::disconnectStopsPolling()
{
    CBoardPage page;
    CBoardPage other;
    QVERIFY(page.open(base(), acsToken(1, "1")));
    QVERIFY(other.open(base(), acsToken(2, "2")));
    page.run("window.disconnect()");
    QTRY_COMPARE(page.bridge.cacheCleared, 1);
    QVERIFY(!page.state().value("connected").toBool());
    QTest::qWait(100);
    const size_t polls = m_server->requestsTo("/acs/board").size();
    other.drag({QPoint(100, 100), QPoint(200, 100)});
    QTRY_COMPARE_WITH_TIMEOUT(other.strokeCount(), 1, kPageRoundTripMs);
    QTest::qWait(500);
    QCOMPARE(page.strokeCount(), 0);
    // Only the other page asked meanwhile: one answer for its stroke, one new wait.
    QVERIFY(m_server->requestsTo("/acs/board").size() <= polls + 2);
    page.run("window.clearProject()");
    QTest::qWait(200);
    QCOMPARE(other.strokeCount(), 1);
    page.run("window.disconnect()");
    QTRY_VERIFY(page.bridge.logs.join('\n').contains("disconnect ignored"));
    QCOMPARE(page.bridge.cacheCleared, 1);
}

void TestWhiteboardPage::plainBrowserIsABoard()
{
    CBoardPage plain(false);
    QVERIFY(plain.open(base(), acsToken(1, "1")));
    plain.drag({QPoint(100, 100), QPoint(200, 100)});
    QTRY_COMPARE_WITH_TIMEOUT(plain.strokeCount(), 1, kPageRoundTripMs);
    QTRY_VERIFY(plain.state().value("strokes").toArray()[0].toObject().value("id").isDouble());
}

// A picture costs a page the memory of all its pixels: it is read only
// while it is the background.
void TestWhiteboardPage::pictureIsReadOnlyAsTheBackground()
{
    const QString jwt = acsToken(1, "1");
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(2, "2")));
    const size_t asked = m_server->requestsTo("/acs/background").size();
    QImage picture(160, 90, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 160));
    QCOMPARE(uploadPicture(jwt, picture), 200);
    // Strokes drawn after the upload reach the page: it has read the board since.
    for (int i = 1; i <= 2; ++i) {
        QCOMPARE(sendAs(jwt, "POST", "/acs/strokes", R"({"tool": "eraser", "width": 2, "points": [5, 5]})"), 200);
        QTRY_COMPARE_WITH_TIMEOUT(page.strokeCount(), i, kPageRoundTripMs);
    }
    QVERIFY(!page.state().value("pictureLoaded").toBool());
    QCOMPARE(m_server->requestsTo("/acs/background").size(), asked);

    QCOMPARE(sendAs(jwt, "PUT", "/acs/background", R"({"background": "img"})"), 200);
    QTRY_VERIFY_WITH_TIMEOUT(page.state().value("pictureLoaded").toBool(), kPageRoundTripMs);
    QCOMPARE(sendAs(jwt, "PUT", "/acs/background", R"({"background": "black"})"), 200);
    QTRY_VERIFY_WITH_TIMEOUT(!page.state().value("pictureLoaded").toBool(), kPageRoundTripMs);
}

// A board larger than one answer reaches a page whole, part by part.
void TestWhiteboardPage::largeBoardArrivesInParts()
{
    confserver::CBoardLimits limits;
    limits.pointsPerAnswer = 2;
    m_server->whiteboards().setLimits(limits);
    const QString jwt = acsToken(1, "1");
    for (int i = 0; i < 3; ++i) {
        const QByteArray stroke =
            QStringLiteral(R"({"tool": "eraser", "width": 2, "points": [%1, 5, %1, 9]})").arg(10 * (i + 1)).toUtf8();
        QCOMPARE(sendAs(jwt, "POST", "/acs/strokes", stroke), 200);
    }
    CBoardPage page;
    QVERIFY(page.open(base(), acsToken(2, "2")));
    QTRY_COMPARE_WITH_TIMEOUT(page.strokeCount(), 3, kPageRoundTripMs);
    const QJsonArray strokes = page.state().value("strokes").toArray();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(strokes.at(i).toObject().value("points").toArray().at(0).toInt(), 10 * (i + 1));
    }
    int parts = 0;
    for (const std::string &target : m_server->requestsTo("/acs/board")) {
        parts += target.find("after=") != std::string::npos ? 1 : 0;
    }
    QVERIFY2(parts >= 2, qPrintable(QString::number(parts)));
}

int main(int argc, char **argv)
{
    const COwnBrowserData browserData;
    QApplication app(argc, argv);
    TestWhiteboardPage test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_whiteboardpage.moc"
