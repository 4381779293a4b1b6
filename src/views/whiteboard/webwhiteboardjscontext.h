#pragma once

#include <QObject>
#include <QString>

namespace kd_app {
namespace views {

// The bridge object "qtWebObj" the whiteboard page reaches through its web
// channel: the page reports that its board is connected, that the server
// refused its token, and what it wants logged. Its public slots are what
// the page's scripts may call, by these names.
class WebWhiteBoardJSContext : public QObject
{
    Q_OBJECT

public:
    explicit WebWhiteBoardJSContext(QObject *parent);

    // The longest page text that reaches a log line.
    static constexpr int kMaxWebLogLength = 2000;
    // A page's text as one log line of at most kMaxWebLogLength characters.
    static QString webLogLine(const QString &logInfo);

signals:
    void sigBoardConnected();

public slots:
    void tokenExpired();
    void boardConnected();
    void clearCache();
    void webLog(QString logInfo);
};

} // namespace views
} // namespace kd_app
