#pragma once

// A signed-in account in a running meeting of the local conference server,
// with the call's whiteboard token read: the whiteboard page and upload talk
// to that server as they would in a call. The client's models are wired as
// the program wires them, on our engine's HTTP backend.

#include <memory>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "../login/clientfixture.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "cwhiteboards.h"

// A press, two moves and a release on the page's board at (x, y) of its
// view, as a pointer gives them: QString(kDrawStroke).arg(x).arg(y).
inline constexpr char kDrawStroke[] = R"(
(function (x, y) {
    var board = document.getElementById('board');
    var box = board.getBoundingClientRect();
    function send(type, dx, dy) {
        board.dispatchEvent(new PointerEvent(type, {pointerId: 7, isPrimary: true, bubbles: true,
            button: type === 'pointermove' ? -1 : 0, buttons: type === 'pointerup' ? 0 : 1,
            clientX: box.left + x + dx, clientY: box.top + y + dy}));
    }
    send('pointerdown', 0, 0); send('pointermove', 40, 20); send('pointermove', 90, 60); send('pointerup', 90, 60);
    return true;
})(%1, %2)
)";

class CWhiteBoardCall
{
public:
    static constexpr int kMeeting = 80001;

    // The client (once a process) and the demo organisation's server.
    bool start(bool tls = false)
    {
        QFile seed(QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"));
        if (!m_appData.isValid() || !seed.open(QIODevice::ReadOnly) || !m_store.loadSeed(seed.readAll())) {
            return false;
        }
        m_control = fixture::startClient(m_appData);
        const QByteArray rootCa = QFile::encodeName(QString::fromStdString(confserver::CConfServer::rootCaPath()));
        return m_control && fixture::CKDSdkManager::getInstance()->setRootCA(rootCa.constData()) && startServer(tls);
    }

    // A server of its own for the same organisation, over HTTPS with the
    // test authority's certificate when tls; the next join goes to it.
    bool startServer(bool tls)
    {
        if (m_server) {
            m_server->stop();
        }
        m_bTls = tls;
        m_server = std::make_unique<confserver::CConfServer>(m_store, tls);
        return m_server->start();
    }

    // Signs in as the demo user and joins the meeting; true once the call
    // has its whiteboard token.
    bool join()
    {
        fixture::CLoginManager &login = fixture::CLoginManager::getInstance();
        if (!login.login(QStringLiteral("127.0.0.1"), m_bTls, m_server->port(), QStringLiteral("demo"),
                         QStringLiteral("Demo2026!")) ||
            !QTest::qWaitFor([&login] { return login.getLoginStatus() == fixture::enums::LoggedIn; }, 10000)) {
            return false;
        }
        fixture::CCallController &calls = fixture::CCallController::getInstance();
        calls.dialOut(QString::number(kMeeting), QString(), true, QString());
        return QTest::qWaitFor([&calls] { return !calls.getAcsJsonWebToken().isEmpty(); }, 10000);
    }

    void leave() { fixture::resetClient(m_control); }

    // Runs the server again on the same port, with another certificate and
    // key: the call's whiteboard address now leads to it.
    bool restartWith(const std::string &certPath, const std::string &keyPath)
    {
        const int port = m_server->port();
        m_server->stop();
        m_server = std::make_unique<confserver::CConfServer>(m_store, true, certPath, keyPath);
        return m_server->start("127.0.0.1", port);
    }

    QString token() const { return fixture::CCallController::getInstance().getAcsJsonWebToken(); }
    confserver::CConfStore &store() { return m_store; }
    confserver::CConfServer &server() { return *m_server; }
    confserver::CWhiteboards &boards() { return m_server->whiteboards(); }
    kd::sdk::IEngineControl *control() const { return m_control; }
    QString tempPath(const QString &name) const { return m_appData.filePath(name); }

private:
    QTemporaryDir m_appData;
    confserver::CConfStore m_store;
    std::unique_ptr<confserver::CConfServer> m_server;
    kd::sdk::IEngineControl *m_control = nullptr;
    bool m_bTls = false;
};

// A small picture in the given format ("PNG", "JPG").
inline QByteArray pictureBytes(const char *format, const QColor &colour = QColor(67, 129, 255))
{
    QImage image(64, 36, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return buffer.data();
}
