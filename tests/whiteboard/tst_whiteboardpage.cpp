// The whiteboard page in its widget, against the local server's whiteboard
// as the demo user in meeting 80001 with the call's real whiteboard token:
// what each tool action does to the board, the sender's start, the page's
// life cycle, an expired token and what reaches the log.

#include <cstdio>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QWebEngineView>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "views/web/cwebpageenginecustomization.h"
#include "views/whiteboard/webwhiteboardjscontext.h"
#include "views/whiteboard/whiteboardwebwidget.h"
#include "webpagetest.h"
#include "whiteboardfixture.h"

using kd_app::views::CWebPageEngineCustomization;
using kd_app::views::WhiteBoardWebWidget;

namespace {

// Records how the page's functions are called: name, then each argument's
// JavaScript type and JSON form.
const char kRecordCalls[] = R"(
(function () {
    window.__calls = [];
    ['changeColor', 'lineWight', 'pencil', 'eraser', 'undoLastOperation', 'clearProject',
     'changeBackground', 'startBoard', 'disconnect'].forEach(function (name) {
        var original = window[name];
        if (original.__recorded) { return; }
        window[name] = function () {
            window.__calls.push(name + '(' + Array.prototype.map.call(arguments, function (a) {
                return typeof a + ':' + JSON.stringify(a);
            }).join(',') + ')');
            return original.apply(this, arguments);
        };
        window[name].__recorded = true;
    });
    return true;
})()
)";

QByteArray strokeBody()
{
    const QJsonObject stroke{{"tool", "pencil"},
                             {"width", 2},
                             {"color", QJsonObject{{"r", 0}, {"g", 0}, {"b", 0}, {"a", 1}}},
                             {"points", QJsonArray{100, 100, 300, 200}}};
    return QJsonDocument(stroke).toJson(QJsonDocument::Compact);
}

} // namespace

class TestWhiteBoardPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void commands_data();
    void commands();
    void undoAndClear();
    void senderStartsOncePerSwitch();
    void shownAgainKeepsConnectedPage();
    void releasedPageLoadsNothing();
    void pageReleasedBeforeItsFirstLoad();
    void releaseAllLeavesNoPageBehind();
    void viewWidth_data();
    void viewWidth();
    void pageLogOnOneLine();
    void disconnectStopsThePage();
    void expiredTokenAsksOnce();
    void tokenOnlyMasked();

private:
    QVariantMap boardState() { return runScript(m_pWidget->currentPage(), "window.boardState()").toMap(); }
    bool showConnected(WhiteBoardWebWidget *widget);
    // The strokes the server keeps on the meeting's board.
    int strokesOnServer()
    {
        return m_call.boards().board(CWhiteBoardCall::kMeeting, 0, QString())["ids"].toArray().size();
    }
    int pageLoads() { return int(m_call.server().requestsTo("/acs/index.html").size()); }
    int linesWith(const QString &text) { return m_pLog->all().filter(text).size(); }
    void drawStroke(int x, int y);

    CWhiteBoardCall m_call;
    std::unique_ptr<WhiteBoardWebWidget> m_pWidget;
    std::unique_ptr<CLogCapture> m_pLog;
    QString m_firstToken;
};

void TestWhiteBoardPage::initTestCase()
{
    QVERIFY(m_call.start());
    QVERIFY(m_call.join());
    m_firstToken = m_call.token();
    // After the client's start, which installs the program's own log handler.
    m_pLog = std::make_unique<CLogCapture>();
    m_pWidget = std::make_unique<WhiteBoardWebWidget>();
    m_pWidget->resize(1280, 720);
    QVERIFY(showConnected(m_pWidget.get()));
}

void TestWhiteBoardPage::cleanupTestCase()
{
    m_pWidget.reset();
    m_call.leave();
    m_pLog.reset();
}

// No token reaches the log in full, in any test.
void TestWhiteBoardPage::cleanup()
{
    if (!m_pLog) {
        return;
    }
    for (const QString &line : m_pLog->all()) {
        QVERIFY2(!line.contains(m_firstToken) && !line.contains(m_call.token()), qPrintable(line));
    }
}

bool TestWhiteBoardPage::showConnected(WhiteBoardWebWidget *widget)
{
    widget->show();
    const bool connected = waitUntil([widget] { return widget->isBoardConnected(); }, 60000);
    if (!connected) {
        // What the page and the widget said, for the failure's reader.
        for (const QString &line : m_pLog->all().filter("WhiteBoard")) {
            std::fprintf(stderr, "%s\n", qPrintable(line));
        }
    }
    return connected;
}

void TestWhiteBoardPage::drawStroke(int x, int y)
{
    const int before = boardState()["strokes"].toList().size();
    QVERIFY(runScript(m_pWidget->currentPage(), QString::fromLatin1(kDrawStroke).arg(x).arg(y)).toBool());
    QVERIFY(waitUntil([&] { return boardState()["strokes"].toList().size() == before + 1; }, kPageRoundTripMs));
}

void TestWhiteBoardPage::commands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("call");  // as the page's function received it
    QTest::addColumn<QString>("field"); // of boardState
    QTest::addColumn<QString>("value"); // as JSON

    // Each row changes what the one before left.
    QTest::newRow("marker") << "didUseNitePen"
                            << "pencil(string:\"nitePen\")"
                            << "tool"
                            << "\"nitePen\"";
    QTest::newRow("pen") << "didUsePencil"
                         << "pencil(string:\"pencil\")"
                         << "tool"
                         << "\"pencil\"";
    QTest::newRow("eraser") << "didUseEraser"
                            << "eraser()"
                            << "tool"
                            << "\"eraser\"";
    QTest::newRow("pen width") << "didChangePencilLineWight 3"
                               << "lineWight(number:3)"
                               << "width"
                               << "3";
    QTest::newRow("marker width") << "didChangeNitePenLineWight 4"
                                  << "lineWight(number:4)"
                                  << "width"
                                  << "4";
    // A JSON text in a JavaScript string, alpha 1 for the marker as for the pen.
    QTest::newRow("purple") << "didChangeNitePenColor 255 64 255"
                            << R"(changeColor(string:"{\"r\":255,\"g\":64,\"b\":255,\"a\":1}"))"
                            << "color"
                            << R"({"a":1,"b":255,"g":64,"r":255})";
    QTest::newRow("black ink") << "didChangeNitePenColor 0 0 0"
                               << R"(changeColor(string:"{\"r\":0,\"g\":0,\"b\":0,\"a\":1}"))"
                               << "color"
                               << R"({"a":1,"b":0,"g":0,"r":0})";
    QTest::newRow("black board") << "didChangeBlackBackGround"
                                 << "changeBackground(string:\"black\")"
                                 << "background"
                                 << "\"black\"";
    QTest::newRow("picture") << "didChangeBackGround"
                             << "changeBackground(string:\"img\")"
                             << "background"
                             << "\"img\"";
    QTest::newRow("white board") << "didChangeWhiteBackGround"
                                 << "changeBackground(string:\"white\")"
                                 << "background"
                                 << "\"white\"";
}

void TestWhiteBoardPage::commands()
{
    QFETCH(QString, action);
    QFETCH(QString, call);
    QFETCH(QString, field);
    QFETCH(QString, value);

    // The picture background needs a picture on the server.
    m_call.boards().setPicture(CWhiteBoardCall::kMeeting, pictureBytes("PNG"), "image/png");
    QVERIFY(runScript(m_pWidget->currentPage(), kRecordCalls).toBool());
    const QStringList words = action.split(' ');
    const QString &name = words.first();
    const auto arg = [&words](int i) { return words.value(i + 1).toInt(); };
    WhiteBoardWebWidget &board = *m_pWidget;
    if (name == "didUseNitePen") {
        board.didUseNitePen();
    } else if (name == "didUsePencil") {
        board.didUsePencil();
    } else if (name == "didUseEraser") {
        board.didUseEraser();
    } else if (name == "didChangePencilLineWight") {
        board.didChangePencilLineWight(arg(0));
    } else if (name == "didChangeNitePenLineWight") {
        board.didChangeNitePenLineWight(arg(0));
    } else if (name == "didChangeNitePenColor") {
        board.didChangeNitePenColor(arg(0), arg(1), arg(2));
    } else if (name == "didChangeBlackBackGround") {
        board.didChangeBlackBackGround();
    } else if (name == "didChangeWhiteBackGround") {
        board.didChangeWhiteBackGround();
    } else if (name == "didChangeBackGround") {
        board.didChangeBackGround();
    }
    QVERIFY(waitUntil([&] { return !runScript(board.currentPage(), "window.__calls").toList().isEmpty(); }, 5000));
    QCOMPARE(runScript(board.currentPage(), "window.__calls").toStringList(), QStringList{call});
    const QVariant shown = boardState().value(field);
    QCOMPARE(QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{shown}).toJson(QJsonDocument::Compact)),
             "[" + value + "]");
}

void TestWhiteBoardPage::undoAndClear()
{
    m_pWidget->didUsePencil();
    drawStroke(100, 100);
    drawStroke(300, 200);
    QTRY_COMPARE_WITH_TIMEOUT(strokesOnServer(), boardState()["strokes"].toList().size(), kPageRoundTripMs);
    const int drawn = strokesOnServer();
    QVERIFY(drawn >= 2);

    saveScreenshot(m_pWidget.get(), "whiteboard-two-strokes");
    m_pWidget->didRevokeOperation();
    QTRY_COMPARE_WITH_TIMEOUT(strokesOnServer(), drawn - 1, kPageRoundTripMs);
    m_pWidget->didClearUp();
    QTRY_COMPARE_WITH_TIMEOUT(strokesOnServer(), 0, kPageRoundTripMs);
    QTRY_COMPARE_WITH_TIMEOUT(boardState()["strokes"].toList().size(), 0, kPageRoundTripMs);
}

// The sender's start ("window.startBoard()") goes once per switch to
// sender, on the first boardConnected after it, and keeps the meeting's
// strokes; a receiver's boardConnected sends nothing.
void TestWhiteBoardPage::senderStartsOncePerSwitch()
{
    WhiteBoardWebWidget &board = *m_pWidget;
    auto *bridge = board.jsContext();
    const auto starts = [this] { return linesWith("didStartWhiteBoard"); };

    board.setIsSendWhiteBoard(false);
    board.updatePage();
    QVERIFY(!m_call.boards().addStroke(CWhiteBoardCall::kMeeting, "peer", strokeBody()).isError());
    m_pLog->clear();
    board.hide();
    QVERIFY(showConnected(&board));
    QCOMPARE(starts(), 0);
    QCOMPARE(strokesOnServer(), 1);
    QVERIFY(!boardState()["started"].toBool());

    board.setIsSendWhiteBoard(true);
    QVERIFY(!board.isBoardConnected());
    board.updatePage();
    board.hide();
    QVERIFY(showConnected(&board));
    QTRY_VERIFY_WITH_TIMEOUT(boardState()["started"].toBool(), kPageRoundTripMs);
    const QStringList sent = m_pLog->all().filter(QRegularExpression("didClearUp|didStartWhiteBoard"));
    QCOMPARE(sent.size(), 1);
    QVERIFY(sent[0].contains("didStartWhiteBoard"));
    QCOMPARE(strokesOnServer(), 1);
    // The page shows the meeting's stroke it read from the server.
    QTRY_COMPARE_WITH_TIMEOUT(boardState()["strokes"].toList().size(), 1, kPageRoundTripMs);

    // The same switch connected again: nothing is sent.
    bridge->boardConnected();
    QCOMPARE(starts(), 1);

    // A new switch to sender starts again, on the next boardConnected.
    board.setIsSendWhiteBoard(true);
    bridge->boardConnected();
    QCOMPARE(starts(), 2);
    QVERIFY(board.isBoardConnected());
    QCOMPARE(linesWith("didClearUp"), 0);
}

void TestWhiteBoardPage::shownAgainKeepsConnectedPage()
{
    WhiteBoardWebWidget &board = *m_pWidget;
    QVERIFY(board.isBoardConnected());
    CWebPageEngineCustomization *page = board.currentPage();
    const int loads = pageLoads();
    board.hide();
    board.show();
    QVERIFY(board.isBoardConnected());
    QCOMPARE(board.currentPage(), page);
    QTest::qWait(300);
    QCOMPARE(pageLoads(), loads);

    // updatePage replaces the used page; the next show loads it from the
    // server again (the browser keeps no copy).
    board.updatePage();
    QVERIFY(board.currentPage() != page);
    QVERIFY(!board.isBoardConnected());
    QVERIFY(!board.isPageUsed());
    page = board.currentPage();
    board.updatePage();
    QCOMPARE(board.currentPage(), page);
    board.hide();
    QVERIFY(showConnected(&board));
    QCOMPARE(pageLoads(), loads + 1);
    QCOMPARE(board.currentPage(), page);
}

void TestWhiteBoardPage::releasedPageLoadsNothing()
{
    WhiteBoardWebWidget &board = *m_pWidget;
    const int livePages = CWebPageEngineCustomization::liveCount();
    const int loads = pageLoads();
    board.releaseCurrentPage();
    QVERIFY(!board.currentPage());
    QCOMPARE(CWebPageEngineCustomization::liveCount(), livePages - 1);

    m_pLog->clear();
    board.hide();
    board.show();
    QVERIFY(m_pLog->contains("m_pWebChannel is null and can not load url"));
    // Commands without a page are only logged: the view must not make a
    // default page of its own.
    board.didUsePencil();
    board.didChangeNitePenColor(1, 2, 3);
    board.didDisconnectWhiteboard();
    QCOMPARE(m_pLog->warningLines().filter("no page").size(), 3);
    QVERIFY(board.webView()->findChildren<QWebEnginePage *>().isEmpty());
    QTest::qWait(300);
    QCOMPARE(pageLoads(), loads);
    QCOMPARE(CWebPageEngineCustomization::liveCount(), livePages - 1);

    // The released page had been used: updatePage builds a fresh one.
    board.updatePage();
    QVERIFY(board.currentPage());
    board.hide();
    QVERIFY(showConnected(&board));
    QCOMPARE(pageLoads(), loads + 1);
}

// The embedded receiver's board: its window is made, and its page released,
// before the board is ever shown.
void TestWhiteBoardPage::pageReleasedBeforeItsFirstLoad()
{
    WhiteBoardWebWidget board;
    board.resize(1280, 720);
    board.releaseCurrentPage();
    const int loads = pageLoads();

    board.updatePage();
    QVERIFY(board.currentPage());
    QVERIFY(showConnected(&board));
    QCOMPARE(pageLoads(), loads + 1);
}

// The program's exit deletes every page while the board still shows: the
// view must not make a page of its own afterwards, one that would meet the
// browser profile's release still alive.
void TestWhiteBoardPage::releaseAllLeavesNoPageBehind()
{
    WhiteBoardWebWidget &board = *m_pWidget;
    QVERIFY(board.isBoardConnected());
    CWebPageEngineCustomization::releaseAll();
    QCOMPARE(CWebPageEngineCustomization::liveCount(), 0);
    QVERIFY(!board.currentPage());

    board.hide();
    board.show();
    QVERIFY(board.webView()->findChildren<QWebEnginePage *>().isEmpty());
    QVERIFY(!board.webView()->isVisible());

    board.updatePage();
    board.hide();
    QVERIFY(showConnected(&board));
}

void TestWhiteBoardPage::viewWidth_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("viewWidth");

    QTest::newRow("2500") << 2500 << 1920;
    QTest::newRow("1280") << 1280 << 1278;
    QTest::newRow("1919") << 1919 << 1917;
    QTest::newRow("1920") << 1920 << 1920;
    // Back to a narrow window: nothing holds it wide.
    QTest::newRow("900") << 900 << 898;
}

void TestWhiteBoardPage::viewWidth()
{
    QFETCH(int, width);
    QFETCH(int, viewWidth);

    m_pWidget->resize(width, 700);
    QTRY_COMPARE(m_pWidget->width(), width);
    QTRY_COMPARE(m_pWidget->webView()->width(), viewWidth);
    QVERIFY(qAbs(m_pWidget->webView()->height() - 700) <= 2);
    QCOMPARE(m_pWidget->height(), 700);
    // Centred in the widget.
    const QRect view = m_pWidget->webView()->geometry();
    QVERIFY2(qAbs(view.left() - (width - view.right() - 1)) <= 1, qPrintable(QString::number(view.left())));
}

// What the page hands to webLog lands on one line of at most 2,000
// characters, whatever it holds.
void TestWhiteBoardPage::pageLogOnOneLine()
{
    m_pWidget->resize(1280, 720);
    m_pLog->clear();
    // The page's own log of an ignored command, with line breaks in it.
    runScript(m_pWidget->currentPage(), "window.pencil('brush\\nforged line\\r\\nanother')");
    QTRY_VERIFY(m_pLog->contains("pencil ignored: brush\\nforged line\\r\\nanother"));

    // A text of 10,000 characters, through a client of the page's channel
    // of our own (the page is replaced afterwards).
    const QString script = R"(
        new QWebChannel(qt.webChannelTransport, function (channel) {
            channel.objects.qtWebObj.webLog('start\n' + 'x'.repeat(10000));
        }); true)";
    QVERIFY(runScript(m_pWidget->currentPage(), script).toBool());
    QTRY_VERIFY(m_pLog->contains("start\\nxxxx"));
    const QString line = m_pLog->all().filter("start\\nxxxx").first();
    QVERIFY(!line.contains('\n'));
    QVERIFY2(line.size() < 2100, qPrintable(QString::number(line.size())));
    QVERIFY(line.endsWith(QString(1993, 'x')));

    m_pWidget->updatePage();
    m_pWidget->hide();
    QVERIFY(showConnected(m_pWidget.get()));
}

// "window.disconnect()" stops the page's board; the page then tells the
// client to clear its cache, which only logs.
void TestWhiteBoardPage::disconnectStopsThePage()
{
    m_pLog->clear();
    m_pWidget->didDisconnectWhiteboard();
    QTRY_VERIFY(!boardState()["connected"].toBool());
    QTRY_VERIFY(m_pLog->contains("clearCache"));
    m_pWidget->updatePage();
    m_pWidget->hide();
    QVERIFY(showConnected(m_pWidget.get()));
}

// A page whose token the server refuses calls tokenExpired once, and the
// client refreshes its sign-in once.
void TestWhiteBoardPage::expiredTokenAsksOnce()
{
    const auto refreshes = [this] {
        int count = 0;
        for (const std::string &target : m_call.server().requestsTo("/api/engine/v1/user")) {
            count += QUrl(QString::fromStdString(target)).path() == "/api/engine/v1/user";
        }
        return count;
    };
    const int before = refreshes();
    m_call.store().expireAcsToken(m_call.token());
    m_pLog->clear();
    m_pWidget->updatePage();
    m_pWidget->hide();
    m_pWidget->show();
    QTRY_VERIFY_WITH_TIMEOUT(boardState()["expired"].toBool(), kdtest::kStateWaitMs);
    QTRY_COMPARE(refreshes(), before + 1);
    QTest::qWait(1000);
    QCOMPARE(linesWith("tokenExpired"), 1);
    QCOMPARE(refreshes(), before + 1);
    QVERIFY(!m_pWidget->isBoardConnected());
    QCOMPARE(fixture::CLoginManager::getInstance().getLoginStatus(), fixture::enums::LoggedIn);
}

void TestWhiteBoardPage::tokenOnlyMasked()
{
    m_pLog->clear();
    m_pWidget->updatePage();
    m_pWidget->hide();
    m_pWidget->show();
    const QString token = m_call.token();
    QVERIFY(m_pLog->contains("WhiteBoardWebWidget url: http://127.0.0.1:" + QString::number(m_call.server().port()) +
                             "/acs/index.html?jwt=" + token.left(4) + "...(" + QString::number(token.size()) + ")"));
    QVERIFY(m_pLog->contains("getAcsJsonWebToken: " + token.left(4) + "..."));
}

KD_WEB_TEST_MAIN(TestWhiteBoardPage)
#include "tst_whiteboardpage.moc"
