#pragma once

#include <atomic>

#include <QMutex>
#include <QString>
#include <QThread>

namespace kd_app {
namespace views {

// Checks for a newer version of the program in its own thread.
class CDownloadThread : public QThread
{
    Q_OBJECT

public:
    static CDownloadThread *getInstance();
    ~CDownloadThread() override;

    void Tstart(bool wantNdm, bool force);
    void Tquit();

signals:
    void signal_updateMessage(bool hasUpdate);

public slots:
    void slot_updateMessage(bool hasUpdate);

protected:
    void run() override;

private:
    CDownloadThread();

    QString m_qstrVersion;
    QString m_qstrDownloadAddress;
    QMutex m_mutex; // guards the server fields below, read by the thread
    QString m_qstrServerAddress;
    bool m_bUseHttps = false;
    int m_nPort = 0;
    bool m_bHasUpdateAddress = false;
    std::atomic<bool> m_bStop{false};
};

} // namespace views
} // namespace kd_app
