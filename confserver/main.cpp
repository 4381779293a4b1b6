// The local conference-management server, for development and demos:
//   confserver --seed confserver/seed/demo.json --port 8080 [--tls]
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "cconfserver.h"
#include "cconfstore.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local conference-management server"));
    parser.addHelpOption();
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed file (JSON)."), QStringLiteral("file"),
                                  QStringLiteral(CONFSERVER_SOURCE_DIR "/seed/demo.json"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Address to listen on."),
                                  QStringLiteral("address"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port, 0 for any free one."),
                                  QStringLiteral("port"), QStringLiteral("8080"));
    const QCommandLineOption tls(QStringLiteral("tls"), QStringLiteral("Serve HTTPS with the test certificate."));
    const QCommandLineOption cert(QStringLiteral("cert"), QStringLiteral("Server certificate (PEM)."),
                                  QStringLiteral("file"),
                                  QString::fromStdString(confserver::CConfServer::defaultCertPath()));
    const QCommandLineOption key(QStringLiteral("key"), QStringLiteral("Server private key (PEM)."),
                                 QStringLiteral("file"),
                                 QString::fromStdString(confserver::CConfServer::defaultKeyPath()));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("Fault switch route:kind[:value[:times]] (repeatable); kinds: "
                                                  "delay, error, http500, notjson, drop, throttle, blank, status."),
                                   QStringLiteral("fault"));
    const QCommandLineOption users(QStringLiteral("generate-users"),
                                   QStringLiteral("Add this many generated users to the seed's."), QStringLiteral("N"));
    const QCommandLineOption meetings(QStringLiteral("generate-meetings"),
                                      QStringLiteral("Add this many generated meetings of the seed's first user."),
                                      QStringLiteral("N"));
    const QCommandLineOption feedbackDir(QStringLiteral("feedback-dir"),
                                         QStringLiteral("Keep the newest feedback uploads in this folder."),
                                         QStringLiteral("folder"));
    const QCommandLineOption publishVersion(QStringLiteral("publish-version"),
                                            QStringLiteral("Offer this program version for upgrades."),
                                            QStringLiteral("version"));
    const QCommandLineOption package(QStringLiteral("package"),
                                     QStringLiteral("The upgrade package of --publish-version (a .deb)."),
                                     QStringLiteral("file"));
    const QCommandLineOption absoluteUrl(QStringLiteral("absolute-download-url"),
                                         QStringLiteral("Answer the version query with a whole download address "
                                                        "instead of a path."));
    parser.addOptions(
        {seed, host, port, tls, cert, key, fault, users, meetings, feedbackDir, publishVersion, package, absoluteUrl});
    parser.process(app);

    confserver::CConfStore store;
    QString error;
    if (!store.loadSeedFile(parser.value(seed), &error)) {
        std::fprintf(stderr, "confserver: %s\n", qPrintable(error));
        return 2;
    }
    bool counted = true;
    const int generatedUsers = parser.isSet(users) ? parser.value(users).toInt(&counted) : 0;
    const int generatedMeetings = counted && parser.isSet(meetings) ? parser.value(meetings).toInt(&counted) : 0;
    if (!counted || generatedUsers < 0 || generatedMeetings < 0) {
        std::fprintf(stderr, "confserver: --generate-users and --generate-meetings take a count\n");
        return 2;
    }
    if (parser.isSet(feedbackDir)) {
        const QString folder = parser.value(feedbackDir);
        if (!QDir().mkpath(folder)) {
            std::fprintf(stderr, "confserver: cannot make the feedback folder %s\n", qPrintable(folder));
            return 2;
        }
        store.setFeedbackFolder(folder);
    }
    if (parser.isSet(package) && !parser.isSet(publishVersion)) {
        std::fprintf(stderr, "confserver: --package needs --publish-version\n");
        return 2;
    }
    if (parser.isSet(publishVersion)) {
        QByteArray bytes;
        QString name;
        if (parser.isSet(package)) {
            QFile file(parser.value(package));
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "confserver: cannot read the package %s\n", qPrintable(file.fileName()));
                return 2;
            }
            bytes = file.readAll();
            name = QFileInfo(file.fileName()).fileName();
        }
        store.publishUpgrade(parser.value(publishVersion), name, bytes);
        store.setUpgradeUrlAbsolute(parser.isSet(absoluteUrl));
    }
    store.addGeneratedUsers(generatedUsers);
    store.addGeneratedMeetings(generatedMeetings, store.firstUserId());
    confserver::CConfServer server(store, parser.isSet(tls), parser.value(cert).toStdString(),
                                   parser.value(key).toStdString());
    for (const QString &text : parser.values(fault)) {
        confserver::CFault switchOn;
        if (!confserver::CFault::parse(text, &switchOn)) {
            std::fprintf(stderr, "confserver: bad fault switch: %s\n", qPrintable(text));
            return 2;
        }
        server.addFault(switchOn);
    }
    if (!server.start(parser.value(host).toStdString(), parser.value(port).toInt())) {
        std::fprintf(stderr, "confserver: cannot listen on %s:%s\n", qPrintable(parser.value(host)),
                     qPrintable(parser.value(port)));
        return 1;
    }
    std::printf("confserver listening on %s (seed %s)\n", qPrintable(server.baseUrl()), qPrintable(parser.value(seed)));
    std::fflush(stdout);
    server.wait();
    return 0;
}
