#pragma once

#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>

// Answers every request at once with a whiteboard token.
class CTokenServer : public QObject
{
public:
    CTokenServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    if (!socket->readAll().contains("\r\n\r\n")) {
                        return;
                    }
                    const QByteArray body = R"({"acsJsonWebToken":"jwt-1","externalEdgeIp":"ext.test"})";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n"
                                  "Content-Length: " +
                                  QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
        m_server.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
};
