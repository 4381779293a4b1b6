#include "cinstancechannel.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include "app/cplatform.h"
#include "helpers/clogformat.h"

namespace kd_app {

CInstanceChannel::CInstanceChannel(QObject *parent) : QObject(parent)
{
}

CInstanceChannel::~CInstanceChannel() = default;

bool CInstanceChannel::listen(const QString &path)
{
    delete m_pServer;
    m_pServer = new QLocalServer(this);
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_pServer, &QLocalServer::newConnection, this, &CInstanceChannel::acceptPeers);
    if (m_pServer->listen(path)) {
        return true;
    }
    // Our caller holds the instance lock, so a socket of ours left there
    // belongs to an instance that has ended. Anyone else's is left alone.
    if (QFileInfo::exists(path) && CPlatform::isOwnedByThisUser(path)) {
        KD_LOG << "Removing stale instance socket:" << path;
        QLocalServer::removeServer(path);
        if (m_pServer->listen(path)) {
            return true;
        }
    }
    KD_WARN << "Failed to listen:" << path << m_pServer->errorString();
    delete m_pServer;
    m_pServer = nullptr;
    return false;
}

void CInstanceChannel::acceptPeers()
{
    while (m_pServer && m_pServer->hasPendingConnections()) {
        QLocalSocket *socket = m_pServer->nextPendingConnection();
        if (!CPlatform::isPeerOfThisUser(socket->socketDescriptor())) {
            KD_WARN << "Dropped an instance connection of another user";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (m_peers.size() >= size_t(m_nMaxPeers)) {
            KD_WARN << "Dropped an instance connection: too many open";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Bounds what the socket keeps for us between two reads.
        socket->setReadBufferSize(m_nMaxMessageBytes + 1);
        CPeer &peer = m_peers[socket];
        peer.timer = new QTimer(socket);
        peer.timer->setSingleShot(true);
        connect(peer.timer, &QTimer::timeout, this,
                [this, socket] { dropPeer(socket, "waitForReadyRead error: no message in time"); });
        peer.timer->start(m_nPeerTimeoutMs);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readPeer(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { finishPeer(socket); });
        readPeer(socket);
    }
}

void CInstanceChannel::readPeer(QLocalSocket *socket)
{
    const auto peer = m_peers.find(socket);
    if (peer == m_peers.end()) {
        return;
    }
    peer->second.data += socket->readAll();
    if (peer->second.data.size() > m_nMaxMessageBytes) {
        dropPeer(socket, "Instance message too long");
    }
}

void CInstanceChannel::finishPeer(QLocalSocket *socket)
{
    readPeer(socket);
    const auto peer = m_peers.find(socket);
    if (peer == m_peers.end()) {
        return;
    }
    const QByteArray data = peer->second.data;
    forget(socket);
    if (data.isEmpty()) {
        KD_WARN << "waitForReadyRead error: closed without a message";
        return;
    }
    const int zero = data.indexOf('\0');
    emit messageAvailable(QString::fromUtf8(zero < 0 ? data : data.left(zero)));
}

void CInstanceChannel::dropPeer(QLocalSocket *socket, const char *reason)
{
    if (!m_peers.count(socket)) {
        return;
    }
    KD_WARN << reason;
    forget(socket);
    socket->abort();
}

void CInstanceChannel::forget(QLocalSocket *socket)
{
    const auto peer = m_peers.find(socket);
    if (peer != m_peers.end()) {
        peer->second.timer->stop();
        m_peers.erase(peer);
    }
    socket->disconnect(this);
    socket->deleteLater();
}

bool CInstanceChannel::send(const QString &path, const QString &message, int timeoutMs)
{
    const QByteArray data = message.toUtf8();
    if (data.size() > m_nMaxMessageBytes) {
        KD_WARN << "Instance message too long:" << data.size();
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(path, QIODevice::WriteOnly);
    if (!socket.waitForConnected(timeoutMs)) {
        KD_WARN << "waitForConnected error:" << socket.errorString();
        return false;
    }
    // A join link carries the meeting password: never to another user.
    if (!CPlatform::isPeerOfThisUser(socket.socketDescriptor())) {
        KD_WARN << "The instance channel is served by another user:" << path;
        socket.abort();
        return false;
    }
    socket.write(data);
    if (!socket.waitForBytesWritten(timeoutMs)) {
        KD_WARN << "waitForBytesWritten error:" << socket.errorString();
        return false;
    }
    socket.disconnectFromServer();
    return true;
}

} // namespace kd_app
