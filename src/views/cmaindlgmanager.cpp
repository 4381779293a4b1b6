#include "cmaindlgmanager.h"

#include <cstdlib>

#include <QApplication>
#include <QThreadPool>
#include <QWidget>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/curljoinconfargsparser.h"
#include "models/screenthread.h"
#include "views/base/alertdlg.h"
#include "views/base/cmodualdlgsmanager.h"
#include "views/call/clayoutbackgrounddlg.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/toolbar/clayouttoolbardlg.h"
#include "views/home/chomedlg.h"
#include "views/login/clogindlg.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/upgrade/cdownloadthread.h"
#include "views/web/cwebpageenginecustomization.h"

namespace kd_app {
namespace views {

using kd::engine::KDError;
using kd::engine::KDRegisterInfo;
using models::CCallController;
using models::CKDSdkManager;
using models::CLoginManager;
using models::CUrlJoinConfArgsParser;
using models::ScreenThread;

namespace {

const char ACTION_GET_FEATURE[] = "getFeature";
const char ACTION_LOGIN[] = "avlogin";
const char ACTION_CALL_END[] = "onCallEnd";
const char ACTION_UPLOAD_USER_IMAGE[] = "uploadUserImage";

enum ErrorType {
    ENGINE_ERROR = 0,
    CALL_ERROR = 3,
    SERVER_ERROR = 4,
};

// The geometry of the main window hidden last, so that the next one appears
// on the same screen.
QRect &handOverRect()
{
    static QRect rect;
    return rect;
}

CMainDlgManager::ProcessExit &processExit()
{
    static CMainDlgManager::ProcessExit exitFunction = [](int code) { std::exit(code); };
    return exitFunction;
}

bool isInCall(enums::CallStatus status)
{
    return status >= enums::Dialing && status <= enums::Connected;
}

bool isRegistered(const KDRegisterInfo &info)
{
    return info.state == kd::engine::KD_REGISTER_OK;
}

// A registration that will not complete without a new sign-in.
bool registrationGaveUp(const KDRegisterInfo &info)
{
    return info.state == kd::engine::KD_REGISTER_FAILED || info.state == kd::engine::KD_REGISTER_REPLACED;
}

void hideAndHandOver(QWidget *window)
{
    window->hide();
    handOverRect() = window->geometry();
}

// Shows or hides the login or home window as the rule asks; true when it
// was shown just now.
bool applyVisibility(QWidget *window, bool show, const char *name)
{
    if (show && !window->isVisible()) {
        KD_LOG << "Show" << name;
        window->show();
        return true;
    }
    if (show) {
        KD_LOG << name << "has been showing";
    } else if (window->isVisible()) {
        hideAndHandOver(window);
    }
    return false;
}

// Moves a window that was just shown to where the previous one was, then
// centres it on the screen it now lies on.
void placeOnHandOverScreen(CBaseDlg *window)
{
    window->move(handOverRect().topLeft());
    window->centerWindowOnScreen();
}

} // namespace

CMainDlgManager *CMainDlgManager::getInstance()
{
    static CMainDlgManager *instance = new CMainDlgManager();
    return instance;
}

CMainDlgManager::CMainDlgManager()
{
    KD_LOG << "construct";
    updateErrorMessages();
    AlertDlg::setParentProvider([this] { return getActiveMainDlg(); });
}

CMainDlgManager::~CMainDlgManager() = default;

void CMainDlgManager::setProcessExit(ProcessExit exitFunction)
{
    processExit() = std::move(exitFunction);
}

void CMainDlgManager::initialize()
{
    KD_LOG << "initialize";
    // Every layout engine lays the call toolbar over its video; the engine owns it.
    CLayoutPeopleSettingDlg::setToolbarFactory([] { return new CLayoutToolbarDlg(nullptr); });
    CLoginManager *loginManager = &CLoginManager::getInstance();
    CCallController *callController = &CCallController::getInstance();
    connect(CKDSdkManager::getInstance(), &CKDSdkManager::eventError, this, &CMainDlgManager::slotOnError);
    loginManager->initConnections();
    connect(loginManager, &CLoginManager::loginStatusChanged, this, &CMainDlgManager::slotOnLoginStatusChanged);
    connect(loginManager, &CLoginManager::sigRegisterInfoChanged, this, &CMainDlgManager::slotOnRegisterInfoChanged);
    connect(callController, &CCallController::sigCallStatusChanged, this, &CMainDlgManager::slotOnCallStatusChanged);
    connect(callController, &CCallController::sigContentStreamStatusChanged, this,
            &CMainDlgManager::slotOnContentStreamStatusChanged);
    connect(CLoginDlg::getInstance(), &CLoginDlg::sigClose, this, &CMainDlgManager::slotMainDlgClose);
    connect(CHomeDlg::getInstance(), &CHomeDlg::sigClose, this, &CMainDlgManager::slotMainDlgClose);
    connect(CLayoutBackgroundDlg::getInstance(), &CLayoutBackgroundDlg::sigClose, this,
            &CMainDlgManager::slotMainDlgClose);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CMainDlgManager::slotOnLanguageChanged);
}

void CMainDlgManager::updateMainDlgVisibility()
{
    m_bUpdateMainDlgVisibility = true;
    const enums::LoginStatus login = CLoginManager::getInstance().getLoginStatus();
    const enums::CallStatus call = CCallController::getInstance().getCallStatus();
    const int content = CCallController::getInstance().getContentStreamStatus();
    KD_LOG << "loginStatus:" << login << ", callStatus" << call << ", contentStreamStatus:" << content;

    const bool inCall = isInCall(call);
    const bool showLogin = login == enums::NotLogin || login == enums::LoggingIn || login == enums::LoginFailed ||
                           login == enums::NeedChangePassword;
    const bool showHome = (login == enums::LoggedIn || login == enums::AnonymousLoggedIn) && !inCall;
    const bool showCall = inCall && content != enums::ContentStreamStatus_SendingContentStarted;
    const bool sendWhiteBoard = inCall && content == enums::ContentStreamStatus_SendingWhiteBoardStarted;
    KD_LOG << "inCall:" << inCall << "showLogin:" << showLogin << "showHome:" << showHome << "showCall:" << showCall
           << "sendWhiteBoard:" << sendWhiteBoard;

    CLoginDlg *loginDlg = CLoginDlg::getInstance();
    const bool loginShown = applyVisibility(loginDlg, showLogin, "CLoginDlg");
    CHomeDlg *homeDlg = CHomeDlg::getInstance();
    const bool homeShown = applyVisibility(homeDlg, showHome, "CHomeDlg");

    CLayoutBackgroundDlg *callDlg = CLayoutBackgroundDlg::getInstance();
    bool callShown = false;
    if (showCall && sendWhiteBoard) {
        if (callDlg->isVisible()) {
            KD_LOG << "CLayoutBackgroundDlg is visible and hide it";
            hideAndHandOver(callDlg);
        }
    } else if (showCall) {
        if (!callDlg->isVisible()) {
            KD_LOG << "CLayoutBackgroundDlg is invisible and show it";
            CModualDlgsManager::closeAllModualDlgs(false);
            callDlg->show();
            callShown = true;
        }
        if (callDlg->isMinimized() && !homeDlg->isMinimized()) {
            KD_LOG << "CLayoutBackgroundDlg isMinimized and CHomeDlg not isMinimized, so CLayoutBackgroundDlg "
                      "showNormal";
            callDlg->showNormal();
        }
    } else {
        KD_LOG << "CLayoutBackgroundDlg isvisible:" << callDlg->isVisible();
        if (callDlg->isVisible()) {
            hideAndHandOver(callDlg);
        }
    }

    if (handOverRect().width() > 0 || handOverRect().height() > 0) {
        if (loginShown) {
            placeOnHandOverScreen(loginDlg);
        } else if (homeShown) {
            const bool maximized = homeDlg->isMaximizedFlag();
            if (maximized) {
                homeDlg->slotOnWinRestore();
            }
            placeOnHandOverScreen(homeDlg);
            if (maximized) {
                homeDlg->slotOnWinMax();
            }
        } else if (callShown && !callDlg->isFullScreen()) {
            if (callDlg->isMaximizedFlag()) {
                callDlg->slotOnWinRestore();
            }
            placeOnHandOverScreen(callDlg);
        }
    }

    while (!m_pendingErrors.isEmpty()) {
        handleError(m_pendingErrors.takeFirst());
    }
    m_bUpdateMainDlgVisibility = false;
    KD_LOG << "done";
}

QWidget *CMainDlgManager::getActiveMainDlg()
{
    if (CLoginDlg::getInstance()->isVisible()) {
        KD_LOG << "CLoginDlg activated";
        return CLoginDlg::getInstance();
    }
    if (CHomeDlg::getInstance()->isVisible()) {
        KD_LOG << "CHomeDlg activated";
        return CHomeDlg::getInstance();
    }
    // Asking which window is in front never builds the call window.
    CLayoutBackgroundDlg *callDlg = CLayoutBackgroundDlg::existingInstance();
    if (callDlg && callDlg->isVisible()) {
        KD_LOG << "CLayoutBackgroundDlg activated";
        return callDlg;
    }
    CbackgroundWidget *drawing = callDlg ? callDlg->getScreenDrawingWidget() : nullptr;
    if (drawing && drawing->isVisible()) {
        KD_LOG << "ScreenDrawing activated";
        return drawing;
    }
    KD_WARN << "Failed to get visible dialog, so CHomeDlg as the visible one";
    return CHomeDlg::getInstance();
}

void CMainDlgManager::slotOnError(KDError err)
{
    KD_LOG << "type:" << err.type << ", code:" << err.code
           << ", m_bUpdateMainDlgVisibility:" << m_bUpdateMainDlgVisibility;
    if (m_bUpdateMainDlgVisibility) {
        m_pendingErrors.append(err);
        return;
    }
    handleError(err);
}

void CMainDlgManager::slotOnLoginStatusChanged(enums::LoginStatus loginStatus)
{
    KD_LOG << "status:" << loginStatus;
    if (loginStatus == enums::LoggedIn) {
        CHomeDlg::getInstance()->updateWebPages();
    }
    updateMainDlgVisibility();
    if (loginStatus == enums::LoggedIn) {
        const int protocol = CUrlJoinConfArgsParser::getInstance()->m_joinConfProtocol;
        KD_LOG << "UrlJoinConfProtocol:" << protocol;
        execUrlJoinConfInLoginStatus(protocol);
        CDownloadThread::getInstance()->Tstart(false, false);
    }
    CCallController *callController = &CCallController::getInstance();
    if (loginStatus != enums::LoggedIn && loginStatus != enums::AnonymousLoggedIn &&
        callController->getCallStatus() == enums::ConfIncoming) {
        KD_WARN << "Improper call status, change ConfIncoming to Idle";
        callController->setCallStatus(enums::Idle);
    }
}

void CMainDlgManager::dialOutPendingLink()
{
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    CCallController::getInstance().dialOut(parser->m_qstrConfNumber, parser->m_qstrPassword, !parser->m_bIsAudioOnly,
                                           QString());
    parser->clear();
}

void CMainDlgManager::joinPendingLinkAsGuest()
{
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    CCallController::getInstance().anonymousJoinConf(parser->m_qstrSipServerAddress, parser->m_qstrConfNumber,
                                                     QString(), parser->m_qstrPassword);
    parser->clear();
}

void CMainDlgManager::execUrlJoinConfInLoginStatus(int protocol)
{
    KD_LOG << "UrlJoinConfType:" << protocol;
    if (protocol == 0) {
        return;
    }
    const KDRegisterInfo info = CLoginManager::getInstance().getRegisterInfo();
    if (!isRegistered(info)) {
        KD_LOG << "Can not dialout for invalid register state:" << info.state;
        return;
    }
    dialOutPendingLink();
}

void CMainDlgManager::slotOnRegisterInfoChanged(KDRegisterInfo info)
{
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    const enums::LoginStatus login = CLoginManager::getInstance().getLoginStatus();
    const enums::CallStatus call = CCallController::getInstance().getCallStatus();
    KD_LOG << "state:" << info.state << "joinConfProtocol:" << parser->m_joinConfProtocol << "loginStatus:" << login
           << "callStatus:" << call;
    const bool signedIn = login == enums::LoggedIn || login == enums::AnonymousLoggedIn;
    const bool idle = call == enums::Idle || call == enums::Ended;
    if (parser->m_joinConfProtocol == 0 || !signedIn || !idle) {
        return;
    }
    // A link must not wait for a registration that has ended for good: the
    // user would never learn why the meeting does not start.
    if (registrationGaveUp(info)) {
        KD_WARN << "Registration failed, drop the pending join link, state:" << info.state;
        parser->clear();
        AlertDlg::informationNonModal(getActiveMainDlg(), tr("Note"),
                                      tr("Not registered to the video service, please try to log in again."));
        return;
    }
    if (!isRegistered(info)) {
        return;
    }
    if (parser->m_qstrConfNumber.isEmpty()) {
        KD_LOG << "Empty conf number";
        return;
    }
    dialOutPendingLink();
}

void CMainDlgManager::execUrlJoinConfInUnloginStatus(int protocol)
{
    KD_LOG << "joinConfProtocol:" << protocol;
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    CLoginManager *loginManager = &CLoginManager::getInstance();
    if (protocol == 2) {
        if (parser->m_qstrSipServerAddress.isEmpty() && parser->m_qstrConfNumber.isEmpty()) {
            return;
        }
        if (!loginManager->hasValidConfigLoginInfo()) {
            joinPendingLinkAsGuest();
            return;
        }
        loginManager->tryAutoLogin(true);
        return;
    }
    if (protocol == 1) {
        if (parser->m_qstrServerAddress.isEmpty() || parser->m_qstrConfNumber.isEmpty() ||
            !loginManager->hasValidConfigLoginInfo()) {
            return;
        }
        loginManager->tryAutoLogin(true);
    }
}

void CMainDlgManager::receiveDuplicatedAppMessage(QString qstrMsg)
{
    // A join link carries the meeting password: the log names it only by
    // its length.
    const bool activateOnly = qstrMsg == QLatin1String("Activate");
    KD_LOG << "Received message:" << (activateOnly ? qstrMsg : helpers::CLogFormat::masked(qstrMsg, 0));
    QWidget *active = getActiveMainDlg();
    active->activateWindow();
    const Qt::WindowStates states = active->windowState();
    active->setWindowState(Qt::WindowMinimized);
    if (states & Qt::WindowMaximized) {
        active->setWindowState(Qt::WindowActive | Qt::WindowMaximized);
    } else {
        active->setWindowState(Qt::WindowActive);
    }
    active->activateWindow();
    active->raise();

    KD_LOG << "handle msg";
    if (activateOnly) {
        KD_LOG << "Only activate the app";
        return;
    }
    KD_LOG << "Not only activate";
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    const bool parsed = parser->parse(qstrMsg.toLocal8Bit().constData());
    KD_LOG << "Join link, protocol:" << parser->m_joinConfProtocol << "conf number:" << parser->m_qstrConfNumber;
    if (!parsed) {
        KD_LOG << "Invalid url join conf";
        return;
    }
    if (parser->m_joinConfProtocol == 0) {
        KD_LOG << "joinConfProtocol is None";
        parser->clear();
        return;
    }
    if (parser->m_qstrConfNumber.isEmpty()) {
        KD_LOG << "empty conf number";
        parser->clear();
        return;
    }

    // A second start that comes before the login window's delayed start-up
    // finds no engine yet; the start-up carries out the link it leaves here.
    if (!CKDSdkManager::getInstance()) {
        KD_LOG << "Engine not started yet, the link waits for the start-up";
        return;
    }
    CLoginManager *loginManager = &CLoginManager::getInstance();
    const enums::LoginStatus login = loginManager->getLoginStatus();
    switch (login) {
    case enums::NotLogin:
    case enums::LoginFailed:
        if (loginManager->hasValidConfigLoginInfo()) {
            loginManager->tryAutoLogin(true);
        } else if (parser->m_joinConfProtocol == 2) {
            joinPendingLinkAsGuest();
        }
        break;
    case enums::LoggedIn:
    case enums::AnonymousLoggedIn: {
        const enums::CallStatus call = CCallController::getInstance().getCallStatus();
        if (call != enums::Idle && call != enums::Ended) {
            KD_LOG << "Invalid callStatus:" << call;
            parser->clear();
            break;
        }
        const KDRegisterInfo info = loginManager->getRegisterInfo();
        if (isRegistered(info)) {
            dialOutPendingLink();
        } else {
            KD_LOG << "Invalid register state:" << info.state;
            parser->clear();
        }
        break;
    }
    case enums::LoggingIn:
        KD_LOG << "Invalid login status:" << login;
        parser->clear();
        break;
    default:
        break;
    }
}

void CMainDlgManager::slotMainDlgClose()
{
    KD_LOG << "close";
    exitApp();
}

void CMainDlgManager::slotOnCallStatusChanged(enums::CallStatus callStatus)
{
    KD_LOG << "callStatus:" << callStatus;
    updateMainDlgVisibility();
}

void CMainDlgManager::slotOnContentStreamStatusChanged(structs::CContentStreamInfo contentStreamInfo)
{
    KD_LOG << "contentStreamStatus:" << contentStreamInfo.currentStatus;
    updateMainDlgVisibility();
}

void CMainDlgManager::slotOnLanguageChanged()
{
    updateErrorMessages();
}

void CMainDlgManager::exitApp()
{
    KD_LOG << "exitApp";
    if (CCallController::getInstance().getCallStatus() == enums::Connected) {
        CCallController::getInstance().hangUp();
    }
    CKDSdkManager *engine = CKDSdkManager::getInstance();
    // Closing the login window before its delayed start-up leaves no engine.
    if (engine && CLoginManager::getInstance().getLoginStatus() == enums::LoggedIn) {
        engine->avlogout();
    }
    // The login worker, the toolbars' pool tasks and the capture threads call
    // the engine; let them finish before it is deleted under them.
    QThreadPool::globalInstance()->waitForDone();
    ScreenThread::stopAllAndWait();
    // Before the settings go: an exit from the login window (the upgrade's
    // Yes) makes the home window here, and it reads them.
    CHomeDlg::getInstance()->stopWebPages();
    // The browser's profile goes with the application object and must not
    // find a page still alive (the conference window's, the whiteboard's).
    CWebPageEngineCustomization::releaseAll();
    CKDSdkManager::releaseInstance();
    helpers::CUserConfigUtils::releaseInstance();
    CDownloadThread::getInstance()->Tquit();
    KD_LOG << "Exit app";
    processExit()(0);
}

void CMainDlgManager::updateErrorMessages()
{
    m_engineErrorMessages = {
        {1, tr("Unknown error(%1).")},
        {2, tr("Sdk is not initialized(%1).")},
        {3, tr("Bad format for sdk(%1).")},
        {4, tr("The operation is only supported in a conference(%1).")},
        {5, tr("Bad parameter for sdk(%1).")},
        {6, tr("Failed to register(%1).")},
        {7, tr("Internal error in sdk(%1).")},
        {8, tr("Server unreachable, please try again later(%1).")},
        {9, tr("Invalid server(%1).")},
        {10, tr("The other party has hung up(%1).")},
        {11, tr("The other party is busy(%1).")},
        {12, tr("Call timeout(%1).")},
        {13, tr("Not login(%1).")},
        {14, tr("Call timeout, terminate the call(%1).")},
        {16, tr("Failed to resolve domain, please check if the domain service setting is correct(%1).")},
    };
    m_serverErrorMessages = {
        {1010, tr("Invalid token(%1).")},
        {1060, tr("Operation failure(%1).")},
        {1999, tr("Internal error(%1).")},
        {2000, tr("Invalid username or password.")},
        {2001, tr("Invalid username or password.")},
        {2010, tr("Account is locked(%1).")},
        {2020, tr("Account is not used(%1).")},
        {4101, tr("Failed to connect to media server(%1).")},
        {4102, tr("No resource(%1).")},
        {4103, tr("The device is not in allow list(%1).")},
        {4104, tr("The number of concurrent calls reaches maximum(%1).")},
        {4105, tr("Invalid URL address(%1).")},
        {4106, tr("Invalid registration password(%1).")},
        {4107, tr("Invalid registration username(%1).")},
        {4108, tr("Registration identification is used(%1).")},
        {4109, tr("The registration username and authentication username are inconsistent(%1).")},
        {4110, tr("An error occurred in the registration server(%1).")},
        {4111, tr("The endpoint is not registerred(%1).")},
        {4201, tr("Failed to connect to CCM(%1).")},
        {4202, tr("Failed to connect to UCM(%1).")},
        {4203, tr("The call is forbidden by UCM(%1).")},
        {4204, tr("The contact is offline(%1).")},
        {4205, tr("The meeting can not be activated(%1).")},
        {6600, tr("Invalid parameter(%1).")},
        {6601, tr("Invalid meeting room password(%1).")},
        {6602, tr("The meeting room password is required(%1).")},
        {6603, tr("No media resource(%1).")},
        {6604, tr("Failed to create meeting room(%1).")},
        {6605, tr("No permission to create meeting room(%1).")},
        {6606, tr("The meeting room is existed(%1).")},
        {6607, tr("Creating meeting room is forbidden(%1).")},
        {6608, tr("The meeting is locked(%1).")},
    };
    m_callEndMessages = {
        {11, tr("Network unavailable. Please check and try again(%1).")},
        {100, tr("Meeting ended or terminated by meeting host(%1).")},
        {101, tr("Meeting ended or terminated by meeting host(%1).")},
        {102, tr("Network unavailable. Please check and try again(%1).")},
    };
}

QString CMainDlgManager::tableText(const std::map<int, QString> &table, int code) const
{
    const auto row = table.find(code);
    return row == table.end() ? QString() : row->second;
}

CMainDlgManager::ErrorPrompt CMainDlgManager::errorPrompt(const KDError &err, enums::LoginStatus loginStatus) const
{
    ErrorPrompt prompt;
    const std::string &action = err.action;
    if ((loginStatus == enums::NotLogin || loginStatus == enums::LoginFailed) && action != ACTION_CALL_END) {
        KD_LOG << "Do not show the error message for the login status is" << loginStatus;
        return prompt;
    }
    if (action == ACTION_UPLOAD_USER_IMAGE) {
        return prompt;
    }
    if (loginStatus == enums::LoggedIn) {
        if (err.type == ENGINE_ERROR && action != ACTION_CALL_END) {
            KD_LOG << "Do not handle sdk error, since not onCallEnd and the login status is:" << loginStatus;
            return prompt;
        }
        if (action == ACTION_LOGIN) {
            KD_LOG << "Do not handle message:" << QString::fromStdString(action)
                   << ", since the login status is LoggedIn.";
            return prompt;
        }
    }
    prompt.bEndsSignIn = loginStatus == enums::LoggingIn;

    QString text;
    // A failure the engine names in its own words (an untrusted certificate)
    // keeps them at the feature query too: "Invalid server address." would
    // send the user to check an address that is right.
    const bool generic = err.type != ENGINE_ERROR && err.type != CALL_ERROR && err.type != SERVER_ERROR;
    if (action == ACTION_GET_FEATURE && !generic) {
        KD_LOG << "prompt for ACTION_GET_FEATURE";
        text = err.type == ENGINE_ERROR ? tableText(m_engineErrorMessages, err.code) : QString();
        if (text.isEmpty()) {
            text = tr("Invalid server address.");
        }
    } else if (err.type == ENGINE_ERROR) {
        text = tableText(m_engineErrorMessages, err.code);
    } else if (err.type == CALL_ERROR) {
        text = tableText(m_callEndMessages, err.code);
    } else if (err.type == SERVER_ERROR) {
        text = tableText(m_serverErrorMessages, err.code);
        if (text.isEmpty()) {
            text = action == ACTION_LOGIN ? tr("Failed to login(%1).") : tr("Received error(%1).");
        }
    } else {
        text = QStringLiteral("SDK error, type: %1, code: %2, msg: %3")
                   .arg(QString::number(err.type), QString::number(err.code), QString::fromStdString(err.msg));
        prompt.bShown = true;
        prompt.qstrText = text;
        return prompt;
    }
    if (text.contains(QLatin1String("%1"))) {
        text = text.arg(err.code);
    }
    if (text.isEmpty()) {
        KD_LOG << "Can not show error prompt for the prompt string is empty.";
        return prompt;
    }
    prompt.bShown = true;
    prompt.qstrText = text;
    return prompt;
}

void CMainDlgManager::handleError(KDError err)
{
    KD_LOG << "type:" << err.type << ", code:" << err.code;
    CLoginManager *loginManager = &CLoginManager::getInstance();
    const enums::LoginStatus loginStatus = loginManager->getLoginStatus();
    const ErrorPrompt prompt = errorPrompt(err, loginStatus);
    if (prompt.bEndsSignIn) {
        KD_LOG << "Login failed. Current login status:" << loginStatus;
        loginManager->onLoggingInFailed(true);
    }
    if (!prompt.bShown) {
        KD_LOG << "done";
        return;
    }
    KD_LOG << "Show message for SDK error, type:" << err.type << ", code:" << err.code;
    CModualDlgsManager::closeAllModualDlgs(false);
    AlertDlg::informationNonModal(getActiveMainDlg(), tr("Prompt"), prompt.qstrText);
    KD_LOG << "done";
}

} // namespace views
} // namespace kd_app
