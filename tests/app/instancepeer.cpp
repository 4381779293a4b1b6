// A peer on the instance channel that is not the program, for the tests,
// usually started as another user: "listen <path>" takes the place first
// and prints each message it receives; "send <path> <message>" connects,
// writes the message and closes, as a second start would.

#include <cstdio>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kTimeoutMs = 5000;

void print(const QByteArray &line)
{
    fwrite(line.constData(), 1, size_t(line.size()), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

int listen(const QString &path)
{
    QLocalServer server;
    server.setSocketOptions(QLocalServer::WorldAccessOption);
    if (!server.listen(path)) {
        print("refused: " + server.errorString().toUtf8());
        return 3;
    }
    QObject::connect(&server, &QLocalServer::newConnection, &server, [&server] {
        QLocalSocket *socket = server.nextPendingConnection();
        QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket] {
            print("received: " + socket->readAll());
            socket->deleteLater();
        });
    });
    print("listening");
    return QCoreApplication::exec();
}

int send(const QString &path, const QByteArray &message)
{
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(kTimeoutMs)) {
        print("unreachable: " + socket.errorString().toUtf8());
        return 2;
    }
    socket.write(message);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        socket.waitForDisconnected(kTimeoutMs);
    }
    print("sent");
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("listen")) {
        return listen(args.at(2));
    }
    if (args.size() == 4 && args.at(1) == QLatin1String("send")) {
        return send(args.at(2), args.at(3).toUtf8());
    }
    print("usage: instancepeer listen <path> | send <path> <message>");
    return 1;
}
