#pragma once

#include <QHostAddress>
#include <QTcpServer>

// A port on 127.0.0.1 that nothing listens on: taken from the system, then
// given back, so a connection to it is refused.
inline int closedPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    return port;
}
