#include "cwebbrowserwrapperform.h"

#include <QMetaEnum>
#include <QResizeEvent>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "app/cplatform.h"
#include "helpers/cappconfigutils.h"
#include "helpers/clogformat.h"
#include "helpers/cscripttext.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "models/cwebpageaddress.h"
#include "ui_cwebbrowserwrapperform.h"
#include "views/web/cwebbrowserloadfailedform.h"
#include "views/web/cwebbrowserloadingform.h"
#include "views/web/cwebjscontext.h"
#include "views/web/cwebpageenginecustomization.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;
using models::CCallController;
using models::CLoginManager;

namespace {

const char kBridgeName[] = "qtWebObj";

struct CPageTypeInfo
{
    const char *pageName;
    QString (helpers::CAppConfigUtils::*overrideAddress)() const;
    const char *refreshScript; // run when an already loaded form is shown again
};

CPageTypeInfo pageTypeInfo(int type)
{
    switch (type) {
    case 0:
        return {"conferences", &helpers::CAppConfigUtils::getConfInfoAddress, "refreshConferences()"};
    case 1:
        return {"confControl", &helpers::CAppConfigUtils::getConfManagementAddress, nullptr};
    case 2:
        return {"contact", &helpers::CAppConfigUtils::getContactsAddress, "refreshContacts()"};
    default:
        return {"", nullptr, nullptr};
    }
}

// The meeting number of the call in progress; never its password or server.
QString currentMeetingNumber()
{
    const CCallController &calls = CCallController::getInstance();
    const enums::CallStatus status = calls.getCallStatus();
    if (status < enums::Dialing || status > enums::Connected) {
        return QString();
    }
    return models::CUCMApiManager::meetingNumberOf(calls.getConfNumber());
}

} // namespace

CWebBrowserWrapperForm::CWebBrowserWrapperForm(int webBrowserUrlType, QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<Ui::CWebBrowserWrapperForm>()), m_webBrowserUrlType(webBrowserUrlType)
{
    m_pUi->setupUi(this);
    const CPageTypeInfo info = pageTypeInfo(webBrowserUrlType);
    m_qstrPageName = QLatin1String(info.pageName);
    if (info.overrideAddress) {
        m_qstrTypeUrl = (helpers::CAppConfigUtils::instance().*info.overrideAddress)();
    }
    KD_LOG << "m_webBrowserUrlType:" << webBrowserUrlType << ", page:" << m_qstrPageName
           << ", m_qstrTypeUrl:" << CLogFormat::maskedUrl(QUrl(m_qstrTypeUrl));

    // The view, the covers and the bridge are children of the form, stacked
    // over its whole area; the page itself is made when a load needs one, so
    // a form that never loads never starts the browser.
    m_pWebView = new QWebEngineView(this);
    m_pWebView->setContextMenuPolicy(Qt::NoContextMenu);
    m_pJsContext = new CWebJsContext(this);
    m_pLoadingForm = new CWebBrowserLoadingForm(this);
    m_pLoadFailedForm = new CWebBrowserLoadFailedForm(this);
    m_pWebView->hide();
    m_pLoadingForm->hide();
    m_pLoadFailedForm->hide();

    m_pTimerTimeout = new QTimer(this);
    m_pTimerTimeout->setSingleShot(true);
    m_pTimerTimeout->setInterval(kLoadTimeoutMs);
    connect(m_pTimerTimeout, &QTimer::timeout, this, &CWebBrowserWrapperForm::slotOnTimerTimeout);
    connect(m_pLoadFailedForm, &CWebBrowserLoadFailedForm::signal_reload, this, &CWebBrowserWrapperForm::slotReload);
    CLoginManager *login = &CLoginManager::getInstance();
    connect(login, &CLoginManager::sigLoginTokenChanged, this, &CWebBrowserWrapperForm::slotOnLoginTokenChanged);
    connect(login, &CLoginManager::sigDisplayNameChanged, this, &CWebBrowserWrapperForm::slotOnDisplayNameChanged);
    connect(m_pJsContext, &CWebJsContext::sigJoinConf, this, &CWebBrowserWrapperForm::sigJoinConf);
    connect(m_pJsContext, &CWebJsContext::sigPageCreated, this, &CWebBrowserWrapperForm::slotOnPageCreated);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CWebBrowserWrapperForm::slotOnLanguageChanged);
}

CWebBrowserWrapperForm::~CWebBrowserWrapperForm()
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    m_pTimerTimeout->stop();
    if (m_pTimerLoadUrl) {
        m_pTimerLoadUrl->stop();
    }
    disconnect(m_pJsContext, nullptr, this, nullptr);
    releaseCurrentPage();
    KD_LOG << "done";
}

CWebPageEngineCustomization *CWebBrowserWrapperForm::currentPage() const
{
    return m_pPage;
}

// ---- loading ----------------------------------------------------------------

QString CWebBrowserWrapperForm::getUrl() const
{
    const CLoginManager &login = CLoginManager::getInstance();
    const kd::engine::KDUserInfo &user = login.getLoginUserInfo();
    models::CWebPageAddress address;
    address.overrideAddress = m_qstrTypeUrl;
    address.serverType = QString::fromStdString(user.appServerType);
    address.urlSuffix = QString::fromStdString(user.urlSuffixForPC);
    address.https = helpers::CUserConfigUtils::getInstance()->isUseHttps();
    address.host = login.getSdkServerAddress();
    address.port = login.getPort();
    address.pageName = m_qstrPageName;
    address.token = QString::fromStdString(user.token);
    address.meetingNumber = currentMeetingNumber();
    const QString url = address.compose();
    KD_LOG << "GetUrl:" << CLogFormat::maskedUrl(QUrl(url))
           << ", m_qstrTypeUrl:" << CLogFormat::maskedUrl(QUrl(m_qstrTypeUrl));
    return url;
}

void CWebBrowserWrapperForm::loadStart()
{
    const bool hasAddress = !getUrl().isEmpty();
    if (m_bPageUsed && hasAddress) {
        KD_LOG << "Page used and create new page";
        createNewPage();
    } else if (m_bPageUsed) {
        releaseCurrentPage();
    }
    if (!m_pWebChannel && hasAddress) {
        KD_LOG << "m_pWebChannel is null";
        createNewPage();
    }
    m_bPageUsed = true;
    m_pWebView->hide();
    m_pLoadingForm->show();
    m_pLoadFailedForm->hide();
    m_bPageCreated = false;
    if (CPlatform::isWindows61OrOlder() && !m_pTimerLoadUrl) {
        KD_LOG << "Load the url delayed, m_webBrowserUrlType:" << m_webBrowserUrlType;
        m_pTimerLoadUrl = std::make_unique<QTimer>();
        m_pTimerLoadUrl->setSingleShot(true);
        m_pTimerLoadUrl->setInterval(kDelayedLoadMs);
        connect(m_pTimerLoadUrl.get(), &QTimer::timeout, this, &CWebBrowserWrapperForm::slotOnTimerLoadUrl);
        m_pTimerLoadUrl->start();
    } else {
        KD_LOG << "Load the url directly";
        loadUrl();
    }
    m_pTimerTimeout->stop();
    m_pTimerTimeout->setInterval(kLoadTimeoutMs);
    m_pTimerTimeout->start();
}

void CWebBrowserWrapperForm::loadUrl()
{
    // Without an address there is nothing to ask for: the timeout shows the
    // failure cover, and no browser starts for it. The profile keeps no HTTP
    // cache (see CWebPageEngineCustomization), so every load asks the server.
    if (!m_pPage) {
        KD_WARN << "web page is null, m_webBrowserUrlType:" << m_webBrowserUrlType;
        return;
    }
    m_pPage->load(QUrl(getUrl(), QUrl::TolerantMode));
}

void CWebBrowserWrapperForm::slotOnTimerLoadUrl()
{
    if (!m_pPage) {
        KD_WARN << "web page is null, m_webBrowserUrlType:" << m_webBrowserUrlType;
        return;
    }
    loadUrl();
}

void CWebBrowserWrapperForm::createNewPage()
{
    releaseCurrentPage();
    m_pPage = CWebPageEngineCustomization::createInView(m_pWebView, m_pJsContext, QLatin1String(kBridgeName));
    m_pWebChannel = m_pPage->webChannel();
    connect(m_pPage, &QWebEnginePage::loadStarted, this, &CWebBrowserWrapperForm::slotOnLoadStarted);
    connect(m_pPage, &QWebEnginePage::loadProgress, this, &CWebBrowserWrapperForm::slotOnLoadProgress);
    connect(m_pPage, &QWebEnginePage::loadFinished, this, &CWebBrowserWrapperForm::slotOnLoadFinished);
    // Without it a crashed renderer leaves the page blank for the session.
    connect(m_pPage, &QWebEnginePage::renderProcessTerminated, this,
            &CWebBrowserWrapperForm::slotOnRenderProcessTerminated);
    logCachePath();
}

void CWebBrowserWrapperForm::releaseCurrentPage()
{
    if (!m_pWebChannel && !m_pPage) {
        return;
    }
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    if (m_pPage) {
        disconnect(m_pPage, nullptr, this, nullptr);
    }
    CWebPageEngineCustomization::releaseFromView(m_pWebView, m_pPage, m_pJsContext);
    m_pWebChannel = nullptr;
}

void CWebBrowserWrapperForm::updatePage()
{
    if (!m_bPageUsed) {
        KD_LOG << "page not used and do not create new page";
        return;
    }
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    releaseCurrentPage();
    m_bPageUsed = false;
}

void CWebBrowserWrapperForm::stopWeb()
{
    if (!m_showFlag || !m_pPage) {
        return;
    }
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    m_pPage->triggerAction(QWebEnginePage::Stop);
}

void CWebBrowserWrapperForm::clearConfListCache()
{
    runScript(QStringLiteral("clearConfListCache()"));
}

void CWebBrowserWrapperForm::updateDpi(double scale)
{
    m_zoomFactor = scale;
    if (m_pPage) {
        m_pPage->setZoomFactor(scale);
    }
    if (scale > 0) {
        m_pLoadingForm->updateDpi(scale);
        m_pLoadFailedForm->updateDpi(scale);
    }
}

void CWebBrowserWrapperForm::runScript(const QString &script)
{
    if (!m_pPage) {
        return;
    }
    m_pPage->runJavaScript(script);
}

void CWebBrowserWrapperForm::logCachePath() const
{
    KD_LOG << "Cache path:" << QWebEngineProfile::defaultProfile()->cachePath();
}

// ---- page events --------------------------------------------------------------

void CWebBrowserWrapperForm::slotOnPageCreated()
{
    if (m_bPageCreated) {
        return;
    }
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    m_bPageCreated = true;
    m_pTimerTimeout->stop();
    m_pWebView->show();
    m_pLoadingForm->hide();
    m_pLoadFailedForm->hide();
    // A new page starts at zoom 1.
    if (m_pPage) {
        m_pPage->setZoomFactor(m_zoomFactor > 0 ? m_zoomFactor : 1.0);
    }
}

void CWebBrowserWrapperForm::slotOnLoadStarted()
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
}

void CWebBrowserWrapperForm::slotOnLoadProgress(int progress)
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType << ", progress:" << progress;
}

void CWebBrowserWrapperForm::slotOnLoadFinished(bool ok)
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType << ", ok:" << ok;
    if (ok) {
        runScript(QStringLiteral("loadFinished()"));
    }
}

void CWebBrowserWrapperForm::slotOnTimerTimeout()
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    m_pTimerTimeout->stop();
    m_pWebView->hide();
    m_pLoadingForm->hide();
    m_pLoadFailedForm->show();
}

void CWebBrowserWrapperForm::slotReload()
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    loadStart();
}

void CWebBrowserWrapperForm::slotOnLoginTokenChanged()
{
    KD_LOG << "token:"
           << CLogFormat::masked(QString::fromStdString(CLoginManager::getInstance().getLoginUserInfo().token))
           << ", reload the web page";
    loadStart();
}

void CWebBrowserWrapperForm::slotOnDisplayNameChanged()
{
    const QString name = CLoginManager::getInstance().getDisplayName();
    KD_LOG << "displayName:" << CLogFormat::oneLine(name);
    runScript(QStringLiteral("updateLoginUser(%1);").arg(helpers::CScriptText::quoted(name)));
}

void CWebBrowserWrapperForm::slotOnLanguageChanged()
{
    setWindowTitle(QString());
    m_pLoadFailedForm->retranslate();
    m_pLoadingForm->retranslate();
}

void CWebBrowserWrapperForm::slotOnRenderProcessTerminated(
    QWebEnginePage::RenderProcessTerminationStatus terminationStatus, int exitCode)
{
    const QMetaEnum statuses = QMetaEnum::fromType<QWebEnginePage::RenderProcessTerminationStatus>();
    KD_LOG << "terminationStatus:" << statuses.valueToKey(terminationStatus) << ", exitCode:" << exitCode;
    QTimer::singleShot(0, this, [this] {
        KD_LOG << "reload";
        loadUrl();
    });
}

// ---- widget -------------------------------------------------------------------

void CWebBrowserWrapperForm::showEvent(QShowEvent *event)
{
    CBaseWgt::showEvent(event);
    m_showFlag = true;
    if (!m_bPageUsed) {
        loadStart();
        return;
    }
    KD_LOG << "Page used, only show the web page";
    const char *refresh = pageTypeInfo(m_webBrowserUrlType).refreshScript;
    if (refresh) {
        runScript(QLatin1String(refresh));
    }
}

void CWebBrowserWrapperForm::hideEvent(QHideEvent *event)
{
    KD_LOG << "m_webBrowserUrlType:" << m_webBrowserUrlType;
    CBaseWgt::hideEvent(event);
}

void CWebBrowserWrapperForm::resizeEvent(QResizeEvent *event)
{
    CBaseWgt::resizeEvent(event);
    KD_LOG << "size:" << event->size();
    const QRect area(QPoint(0, 0), event->size());
    m_pWebView->setGeometry(area);
    m_pLoadingForm->setGeometry(area);
    m_pLoadFailedForm->setGeometry(area);
}

} // namespace views
} // namespace kd_app
