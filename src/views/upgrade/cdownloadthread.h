#pragma once

#include <atomic>
#include <memory>

#include <QMutex>
#include <QPointer>
#include <QString>
#include <QThread>

class QProcess;

namespace kd_app {
namespace helpers {
class CAppConfigUtils;
}
namespace views {

class CDownloadManager;
class CUpdateMessageWidget;

// The upgrade: one check per start, in either form the settings file
// chooses; with a newer version the prompt offers it, the package is
// downloaded and verified on this thread, and Yes hands it to the desktop's
// opener (its software installer) and ends the program once the opener has
// taken it. Where no opener takes it, the package is kept in the user's
// download folder for installing by hand.
//
// The object lives on the graphical thread (Tstart, Tquit and every slot
// run there); only run and what it calls run on the worker thread.
class CDownloadThread : public QThread
{
    Q_OBJECT

public:
    static CDownloadThread *getInstance();
    ~CDownloadThread() override;

    // wantNdm: the caller's form (true: app-info). Checks when forced or
    // when the settings file configures that form; a running check or
    // download is stopped first.
    void Tstart(bool wantNdm, bool force);
    // Stops the thread and waits for it; a stop asked during a check also
    // ends the run that check belongs to.
    void Tquit();

    // Whether remote is a later version than local: dot-separated numbers
    // compared from the left (a part that is no number reads as 0); equal
    // leading parts and more parts on the remote side also count as later.
    static bool isNewerVersion(const QString &remote, const QString &local);
    // Whether a server's version is one this program takes at all: numbers
    // of digits separated by single dots, nothing else.
    static bool isVersionText(const QString &version);
    // The address of the package: a whole address as it is, and everything
    // in the app-info form; a path of the conference server gets its scheme,
    // server and port in front.
    static QString packageAddress(const QString &downloadUrl, bool appInfoForm, bool https, const QString &server,
                                  int port);
    // The conference server's query.
    static QString serverQueryAddress(bool https, const QString &server, int port);
    // The app-info query: address/flag/bundle id/[prefix.]app info.
    static QString appInfoQueryAddress(const helpers::CAppConfigUtils &config);

    // The settings file that chooses the form; by default the application's.
    // Tests give their own.
    void setAppConfig(const helpers::CAppConfigUtils *config);

    CUpdateMessageWidget *updateMessageWidget() const;
    QString version() const { return m_version; }
    // The verified package of the last download, until No or a new one;
    // after a failed Yes, where it was kept.
    QString packagePath() const { return m_packagePath; }

signals:
    void signal_updateMessage(bool toUpdate);

public slots:
    void slot_updateMessage(bool toUpdate);
    void slot_DownLoad();
    void slot_Cancel();
    void slot_Yes();
    void slot_No();
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal, int time);
    void downloadFinished(bool succeed);
    void slot_Install();
    void slot_setActiveParent();

protected:
    void run() override;

private:
    CDownloadThread();

    void checkForUpdate();
    void runDownload();
    // Starts a run; only a start clears a stop request.
    void startRun();
    const helpers::CAppConfigUtils &appConfig() const;
    // After Yes: taken by the opener ends the program; otherwise the user
    // learns where the package is kept.
    void openerDone(bool taken);
    // Moves the package into the user's download folder (a free name there);
    // returns where it is now.
    QString keepPackage();

    QString m_version;
    QString m_downurl;
    QMutex m_mutex; // guards m_downloadRequested and m_downloadManager
    std::atomic<bool> m_hasNewVersion{false};
    bool m_downloadRequested = false;
    std::atomic<bool> m_quit{false};
    QString m_server;
    bool m_useHttps = false;
    int m_port = 0;
    bool m_useNDMinfoFlag = false;
    // Made and deleted by run on the worker thread, in the thread it belongs to.
    CDownloadManager *m_downloadManager = nullptr;
    QPointer<CUpdateMessageWidget> m_updateMessageWidget;
    QString m_packagePath;
    bool m_bPackageKept = false;         // m_packagePath is the user's copy: No leaves it
    std::unique_ptr<QProcess> m_pOpener; // while the opener runs
    const helpers::CAppConfigUtils *m_pAppConfig = nullptr;
};

} // namespace views
} // namespace kd_app
