#pragma once

#include <functional>
#include <map>

#include <QList>
#include <QObject>
#include <QString>

#include "engine/kdtypes.h"
#include "helpers/enums.h"
#include "models/structs.h"

class QWidget;

namespace kd_app {
namespace views {

// Keeps exactly the main window on screen that the login, call and content
// state call for, shows the engine's errors over it, carries out pending join
// links and ends the program.
class CMainDlgManager : public QObject
{
    Q_OBJECT

public:
    // What the user is told about one engine error.
    struct ErrorPrompt
    {
        bool bShown = false;      // a box is opened
        bool bEndsSignIn = false; // the sign-in in progress is given up
        QString qstrText;
    };

    static CMainDlgManager *getInstance();
    ~CMainDlgManager() override;

    void initialize();
    void updateMainDlgVisibility();
    QWidget *getActiveMainDlg();
    void execUrlJoinConfInUnloginStatus(int protocol);
    void execUrlJoinConfInLoginStatus(int protocol);
    void exitApp();
    void handleError(kd::engine::KDError err);
    void updateErrorMessages();

    // The decision of handleError, without showing anything.
    ErrorPrompt errorPrompt(const kd::engine::KDError &err, enums::LoginStatus loginStatus) const;

    // How exitApp ends the process; a test that drives exitApp replaces it.
    using ProcessExit = std::function<void(int)>;
    static void setProcessExit(ProcessExit processExit);

public slots:
    void slotOnError(kd::engine::KDError err);
    void slotOnLoginStatusChanged(enums::LoginStatus loginStatus);
    void slotMainDlgClose();
    void slotOnCallStatusChanged(enums::CallStatus callStatus);
    void receiveDuplicatedAppMessage(QString qstrMsg);
    void slotOnContentStreamStatusChanged(structs::CContentStreamInfo contentStreamInfo);
    void slotOnRegisterInfoChanged(kd::engine::KDRegisterInfo info);
    void slotOnLanguageChanged();

private:
    CMainDlgManager();
    void dialOutPendingLink();
    void joinPendingLinkAsGuest();
    QString tableText(const std::map<int, QString> &table, int code) const;

    std::map<int, QString> m_engineErrorMessages;
    std::map<int, QString> m_serverErrorMessages;
    std::map<int, QString> m_callEndMessages;
    bool m_bUpdateMainDlgVisibility = false;
    QList<kd::engine::KDError> m_pendingErrors;
};

} // namespace views
} // namespace kd_app
