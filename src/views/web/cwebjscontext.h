#pragma once

#include <QObject>
#include <QString>

namespace kd_app {
namespace views {

// The bridge object "qtWebObj" a server page reaches through its web
// channel. Its public slots are what the page's scripts may call, by these
// names and parameter names.
class CWebJsContext : public QObject
{
    Q_OBJECT
    // The program's language ("en-US", "zh-CN"), which the pages show their
    // texts in; the channel tells the page of each change.
    Q_PROPERTY(QString language READ language NOTIFY languageChanged)

public:
    explicit CWebJsContext(QObject *parent);

    QString language() const;

signals:
    void sigPageCreated();
    void sigJoinConf(QString confNumber, QString confPassword, bool isAudioOnly, QString peerName);
    void languageChanged();

public slots:
    void joinConf(QString confNumber, QString confPassword, bool isAudioOnly);
    void joinConfWithPeerName(QString confNumber, QString confPassword, bool isAudioOnly, QString peerName);
    void tokenExpired();
    // Opens a web address (http, https) in the desktop's browser; anything
    // else a page hands over is refused.
    void go2Reservation(QString qstrUrl);
    // Opens a mail address (mailto:, or a bare address) in the desktop's mail
    // program; anything else is refused.
    void sendEmail(QString qstrEmail);
    void pageCreated();
    void p2pCall(QString qstrPeerInfo);
    void clearCache();
    void webLog(QString logInfo);
};

} // namespace views
} // namespace kd_app
