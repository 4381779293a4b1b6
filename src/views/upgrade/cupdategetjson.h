#pragma once

#include <atomic>

#include <QNetworkAccessManager>
#include <QObject>
#include <QString>

namespace kd_app {
namespace views {

// Asks an update server for the latest version of the program. Both kinds
// of server answer one JSON object: the app-info form with "PLATFORM",
// "VERSION" and "DOWNLOAD_URL", the conference server with "version" and
// "downloadUrl". Used from the upgrade thread only, where its network
// manager and its waits live.
class CUpdateGetJson : public QObject
{
    Q_OBJECT

public:
    CUpdateGetJson();
    ~CUpdateGetJson() override;

    // The one for the upgrade thread, made by its first use.
    static CUpdateGetJson *getInstance();

    static constexpr int kReplyTimeoutMs = 3000;

    // Blocks for at most the reply time-out (3000 ms). True when the whole reply arrived in time
    // and is JSON; then all five values are those of the reply (a missing
    // key, or a value that is not text, reads as empty). A reply that has
    // not ended in time is aborted. The thread's quit ends the wait.
    bool sendRequest(const QString &url);
    // Tests on a busy machine give a slow reply more time than a user would
    // wait: every check from then on, the upgrade thread's too.
    static void setReplyTimeout(int milliseconds) { s_replyTimeoutMs = milliseconds; }

    QString getNdmVersion() const { return m_ndmVersion; }
    QString getNdmDownloadUrl() const { return m_ndmDownloadUrl; }
    QString getVersion() const { return m_serverVersion; }
    QString getDownloadUrl() const { return m_serverDownloadUrl; }

private:
    QNetworkAccessManager m_networkManager;
    static inline std::atomic<int> s_replyTimeoutMs{kReplyTimeoutMs};
    QString m_platform;
    QString m_ndmVersion;
    QString m_ndmDownloadUrl;
    QString m_serverVersion;
    QString m_serverDownloadUrl;
};

} // namespace views
} // namespace kd_app
