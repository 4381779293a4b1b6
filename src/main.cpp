#include <QDir>
#include <QFont>
#include <QMessageBox>
#include <QSysInfo>
#include <QThread>

#include "app/cbreakpadhandler.h"
#include "app/cconsolelog.h"
#include "app/cnativeeventfilters.h"
#include "app/cplatform.h"
#include "app/csingleapplication.h"
#include "app/cstartuplog.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "helpers/enums.h"
#include "models/clinguist.h"
#include "models/cucmapimanager.h"
#include "models/curljoinconfargsparser.h"
#include "views/cmaindlgmanager.h"
#include "views/login/clogindlg.h"

using kd_app::CConsoleLog;
using kd_app::CPlatform;
using kd_app::CSingleApplication;
using kd_app::CStartupLog;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CLinguist;
using kd_app::models::CUCMApiManager;
using kd_app::models::CUrlJoinConfArgsParser;

namespace {

// Names the shared-memory segment and the local server of the first instance;
// builds that must find each other keep it.
const char *const kSingleInstanceKey = "5B1F2C7E-9A4D-4E36-B8C1-3F0D27A96E54";

void showPrompt(const char *text)
{
    KD_LOG << "Prompt:" << text;
    QMessageBox::about(nullptr, QCoreApplication::translate("main", "Prompt"),
                       QCoreApplication::translate("main", text));
}

// A second start hands its request to the running instance and ends.
void handOverToRunningInstance(CSingleApplication &app, const char *firstArgument)
{
    const CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    CUserConfigUtils *userConfig = CUserConfigUtils::getInstance();
    KD_LOG << "There is another app running.";
    KD_LOG << "joinConfProtocol:" << parser->m_joinConfProtocol;

    QString message = QStringLiteral("Activate");
    if (parser->m_joinConfProtocol == 0) {
        KD_LOG << "Invalid url";
    } else if (userConfig->getLoginStatus() == kd_app::enums::LoggingIn) {
        showPrompt(QT_TRANSLATE_NOOP("main", "Another process of the application is logging in."));
    } else if (userConfig->getIsConfRunning()) {
        // The running call stores what it dialled, which may end in "@server".
        const QString runningConfId = userConfig->getConfId();
        if (CUCMApiManager::meetingNumberOf(runningConfId) == parser->m_qstrConfNumber) {
            KD_LOG << "Another app with same address running started and conf running";
        } else {
            KD_LOG << "Another conference is running on the application. Running conf id:" << runningConfId
                   << "link conf id:" << parser->m_qstrConfNumber;
            showPrompt(QT_TRANSLATE_NOOP("main", "Another meeting is running on the application."));
        }
    } else {
        KD_LOG << "Another app not logined and inform it";
        message = QString::fromLocal8Bit(firstArgument);
    }
    if (!app.sendMessage(message)) {
        // The request, a join link with its password among them, stays here.
        showPrompt(QT_TRANSLATE_NOOP("main", "The running application could not be reached."));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Before the first file: settings, logs, the lock and the engine's
    // files are the user's alone.
    CPlatform::restrictNewFileModes();
    // Until the logger takes over, a terminal shows warnings only; the
    // start-up's own lines reach the log file through the start-up cache.
    CConsoleLog::install();
    CPlatform::ensureAppDataVariable();
    CPlatform::chooseWindowSystem();
    CStartupLog::cache(QStringLiteral("argv[0]: %1").arg(QString::fromLocal8Bit(argv[0])));
    CStartupLog::cache(QStringLiteral("dir path: %1").arg(QDir::currentPath()));

    CUserConfigUtils::initInstance(argv[0]);

    if (CPlatform::supportDesktopOpengl()) {
        KD_LOG << "support openGL, set to AA_UseOpenGLES(ANGEL)";
        CStartupLog::cache(QStringLiteral("openGL supported, set to AA_UseOpenGLES(ANGEL)"));
        QCoreApplication::setAttribute(Qt::AA_UseOpenGLES, true);
    } else {
        KD_LOG << "Not support openGL, use default";
        CStartupLog::cache(QStringLiteral("Not support openGL, use default"));
    }

    // The embedded web pages share their rendering context with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    CSingleApplication app(argc, argv, QString::fromLatin1(kSingleInstanceKey));

    QFont font;
    font.setFamilies(CPlatform::uiFontFamilies());
    font.setPointSize(9);
    QApplication::setFont(font);

    qCInfo(kd_app::lcStartupLog).noquote() << KD_LOG_NAME << __LINE__ << "Cached log:" + CStartupLog::take();

    kd_app::breadpad_wrapper::CBreakpadHandler::getInstance()->setDumpPath(CUserConfigUtils::getUserConfigPath());

    KD_LOG << "OS:" << QSysInfo::prettyProductName() << QSysInfo::kernelType() << QSysInfo::kernelVersion();
    KD_LOG << "Application initialized, pid:" << QCoreApplication::applicationPid();
    KD_LOG << "Thread id:" << QThread::currentThreadId();

    KD_LOG << "construct CUrlJoinConfArgsParser";
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    const char *firstArgument = argc > 1 ? argv[1] : nullptr;
    if (firstArgument) {
        parser->parse(firstArgument);
    }

    CLinguist::getInstance()->loadConfigLanguage();

    if (app.isRunning()) {
        handOverToRunningInstance(app, firstArgument);
        return 0;
    }

    KD_LOG << "There is no app running. Go ahead.";
    CUserConfigUtils *userConfig = CUserConfigUtils::getInstance();
    userConfig->setIsConfRunning(false);
    userConfig->setConfId(QString());
    userConfig->setLoginStatus(kd_app::enums::NotLogin);

    qRegisterMetaType<kd_app::enums::LoginStatus>();
    qRegisterMetaType<kd_app::enums::LoginStatus>("enums::LoginStatus");

    kd_app::CNativeEventFilters nativeEventFilters;
    app.installNativeEventFilter(&nativeEventFilters);

    KD_LOG << "AA_UseDesktopOpenGL:" << QCoreApplication::testAttribute(Qt::AA_UseDesktopOpenGL)
           << "AA_UseOpenGLES:" << QCoreApplication::testAttribute(Qt::AA_UseOpenGLES)
           << "AA_UseSoftwareOpenGL:" << QCoreApplication::testAttribute(Qt::AA_UseSoftwareOpenGL);

    kd_app::views::CLoginDlg::getInstance()->show();
    kd_app::views::CMainDlgManager *mainDlgManager = kd_app::views::CMainDlgManager::getInstance();
    QObject::connect(&app, &CSingleApplication::messageAvailable, mainDlgManager,
                     &kd_app::views::CMainDlgManager::receiveDuplicatedAppMessage);

    return app.exec();
}
