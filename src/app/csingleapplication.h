#pragma once

#include <memory>

#include <log4cplus/helpers/property.h>

#include <QApplication>
#include <QSharedMemory>

class QLockFile;

namespace kd_app {

class CInstanceChannel;

// The program's application object: tells at construction whether another
// instance runs for this user, sets up logging, and carries one-way messages
// from a second instance to the first.
class CSingleApplication : public QApplication
{
    Q_OBJECT

public:
    CSingleApplication(int &argc, char **argv, const QString &key);
    ~CSingleApplication() override;

    bool isRunning() const { return m_bIsRunning; }
    bool sendMessage(const QString &message);

    static void initLog4Qt(bool conflicted);
    static void loadLogProperties(const QString &path, log4cplus::helpers::Properties &properties, bool conflicted);

    static constexpr const char *m_szLogFileName = "app.log";
    static constexpr const char *m_szConflictLogFileName = "app-conflict.log";

signals:
    void messageAvailable(QString message);

private:
    bool lockInstance(const QString &lockPath);
    void startServer();
    void logArguments();

    bool m_bIsRunning = false;
    QString m_qstrKey;
    QString m_qstrInstanceName;
    // Where the first instance listens; empty when no folder of this user's
    // alone was found, and then no message is sent or received.
    QString m_qstrServerPath;
    QSharedMemory m_sharedMemory;
    CInstanceChannel *m_pChannel = nullptr;
    // Liveness of the first instance: the system forgets a shared-memory
    // segment or a socket of a crashed process only in part, a lock file
    // names its owner's process.
    std::unique_ptr<QLockFile> m_pInstanceLock;
};

} // namespace kd_app
