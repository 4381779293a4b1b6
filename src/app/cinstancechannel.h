#pragma once

#include <map>

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace kd_app {

// The one-way message channel from a second start of the program to the
// running one: one message a connection, the sender closes the connection
// after writing it. Only processes of the same user are heard and spoken
// to, a message is bounded, and a peer that stays silent is dropped after a
// time-out without ever blocking the thread that owns the channel.
class CInstanceChannel : public QObject
{
    Q_OBJECT

public:
    static constexpr int m_nMaxMessageBytes = 64 * 1024;
    static constexpr int m_nMaxPeers = 64;
    static constexpr int m_nDefaultPeerTimeoutMs = 3000;

    explicit CInstanceChannel(QObject *parent = nullptr);
    ~CInstanceChannel() override;

    // Listens at the path, replacing a stale socket of this user's there.
    bool listen(const QString &path);
    void setPeerTimeout(int milliseconds) { m_nPeerTimeoutMs = milliseconds; }

    // Sends one message to the instance listening at the path; false when it
    // cannot be reached in time, runs as another user, or the message is too
    // long for the channel.
    static bool send(const QString &path, const QString &message, int timeoutMs);

signals:
    void messageAvailable(QString message);

private:
    struct CPeer
    {
        QByteArray data;
        QTimer *timer = nullptr; // a child of the peer's socket
    };

    void acceptPeers();
    void readPeer(QLocalSocket *socket);
    void finishPeer(QLocalSocket *socket);
    void dropPeer(QLocalSocket *socket, const char *reason);
    void forget(QLocalSocket *socket);

    QLocalServer *m_pServer = nullptr;
    std::map<QLocalSocket *, CPeer> m_peers;
    int m_nPeerTimeoutMs = m_nDefaultPeerTimeoutMs;
};

} // namespace kd_app
