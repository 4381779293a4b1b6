#include "clayoutbackgrounddlg.h"

#include <cmath>

#include <QCloseEvent>
#include <QScreen>
#include <QTimer>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "ui_clayoutbackgrounddlg.h"
#include "views/base/cdisplayscale.h"
#include "views/base/cmodualdlgsmanager.h"
#include "views/base/cwindowflags.h"
#include "views/call/callinvitewidget.h"
#include "views/call/callwaitingwidget.h"
#include "views/call/ceventfilter.h"
#include "views/call/clayoutpeoplesettingdlg.h"
#include "views/call/compactwidget.h"
#include "views/call/toolbar/clayouttoolbardlg.h"

namespace kd_app {
namespace views {

using helpers::CUserConfigUtils;
using models::CCallController;
using models::CKDSdkManager;
using models::CLoginManager;

namespace {

const Qt::WindowFlags BASE_FLAGS =
    Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint;
const char STYLE_BASE[] = ":/resources/qss/layout-background-dlg";
// The rating's images, level 1 to 5.
const char *const QUALITY_IMAGES[] = {
    ":/resources/images/icon_call_quality_level1.png", ":/resources/images/icon_call_quality_level2.png",
    ":/resources/images/icon_call_quality_level3.png", ":/resources/images/icon_call_quality_level4.png",
    ":/resources/images/icon_call_quality_level5.png"};
const char ZERO_DURATION[] = "00:00:00";

constexpr int TITLE_BAR_HEIGHT = 40;
constexpr int SIDE_MAX_WIDTH = 300;
constexpr int NORMAL_WIDTH = 1280;
constexpr int NORMAL_HEIGHT = 760;
constexpr int ICON_SIZE = 24;
constexpr int DURATION_WIDTH = 100;
constexpr int WINDOW_BUTTON_SIZE = 40;
constexpr int FRAME_BORDER = 2;
constexpr int COMPACT_OFFSET = 50;
constexpr int DURATION_TICK_MS = 1000;
constexpr int POINT_TO_POINT_CALL = 2;
constexpr int CONTENT_ONLY_CALL = 3;
constexpr int BEST_QUALITY = 5;

bool noCall(enums::CallStatus status)
{
    return status == enums::Idle || status == enums::Ended;
}

CCallController &calls()
{
    return CCallController::getInstance();
}

// Every connection of the frame is made by the names of its signals and
// slots; a wrong name only warns at run time, so each one is checked.
void connectChecked(const QObject *sender, const char *signal, const QObject *receiver, const char *slot)
{
    const bool connected = QObject::connect(sender, signal, receiver, slot);
    if (!connected) {
        KD_WARN << "Failed to connect" << signal << "to" << slot;
    }
    Q_ASSERT_X(connected, "CLayoutBackgroundDlg", signal);
}

} // namespace

namespace {

CLayoutBackgroundDlg *g_pInstance = nullptr;

} // namespace

CLayoutBackgroundDlg *CLayoutBackgroundDlg::getInstance()
{
    if (!g_pInstance) {
        g_pInstance = new CLayoutBackgroundDlg(nullptr);
    }
    return g_pInstance;
}

CLayoutBackgroundDlg *CLayoutBackgroundDlg::existingInstance()
{
    return g_pInstance;
}

CLayoutBackgroundDlg::CLayoutBackgroundDlg(QWidget *parent)
    : CBaseDlg(parent), m_pUi(std::make_unique<Ui::CLayoutBackgroundDlg>())
{
    m_pUi->setupUi(this);
    setWindowFlags(BASE_FLAGS);
    // The window centres itself on every show it makes outside compact and
    // full screen, the first one included.
    m_bCenterOnFirstShow = false;
    initChildWindows();
    initConnections();
    m_pUi->m_pWgtTitleBar->installEventFilter(m_pEventFilter.get());
    installEventFilter(m_pEventFilter.get());
}

CLayoutBackgroundDlg::~CLayoutBackgroundDlg()
{
    KD_LOG << "destroy";
    m_pCallDurationTimer.reset();
    delete m_pLayoutPeopleSettingDlg;
    for (QWidget *panel : {static_cast<QWidget *>(m_pCallWaitingWidget), static_cast<QWidget *>(m_pCallInviteWidget)}) {
        panel->setParent(nullptr);
        delete panel;
    }
    m_pEventFilter.reset();
}

void CLayoutBackgroundDlg::initChildWindows()
{
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    m_nTitleHeight = titleBarHeight();

    m_pLayoutPeopleSettingDlg = new CLayoutPeopleSettingDlg(this);
    m_pLayoutPeopleSettingDlg->setTitleBarHeight(titleBarHeight());
    m_pLayoutPeopleSettingDlg->move(FRAME_BORDER, titleBarHeight() + FRAME_BORDER);
    m_pLayoutPeopleSettingDlg->setRemoteVideoWindows();
    // The video shows from the connect on.
    m_pLayoutPeopleSettingDlg->hide();

    if (!m_pEventFilter) {
        m_pEventFilter = std::make_unique<CEventFilter>(this);
    }
    m_pLayoutPeopleSettingDlg->setEventFilter(m_pEventFilter.get());

    m_pCallWaitingWidget = new CallWaitingWidget(nullptr);
    m_pCallInviteWidget = new CallInviteWidget(nullptr);
    for (QWidget *panel : {static_cast<QWidget *>(m_pCallWaitingWidget), static_cast<QWidget *>(m_pCallInviteWidget)}) {
        panel->setParent(this, Qt::SplashScreen | Qt::FramelessWindowHint);
        panel->hide();
    }

    m_maximizer.setButtons(m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore);
    m_pUi->m_pBtnRestore->hide();
    m_pUi->m_pBtnFullScreen_Exit->hide();
    // Until a connected call says its streams are encrypted.
    m_pUi->widget_Encryption->hide();
}

void CLayoutBackgroundDlg::initConnections()
{
    CCallController *callController = &calls();
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    connectChecked(callController, SIGNAL(sigCallStatusChanged(kd_app::enums::CallStatus)), this,
                   SLOT(slotOnCallStatusChanged(kd_app::enums::CallStatus)));
    connectChecked(sdk, SIGNAL(eventCallIncoming(kd::engine::KDCallInfo)), this,
                   SLOT(slotOnCallIncoming(kd::engine::KDCallInfo)));
    connectChecked(callController, SIGNAL(sigWaitQueue(int)), this, SLOT(slotOnWaitQueue(int)));
    connectChecked(sdk, SIGNAL(eventNetworkQuality(float)), this, SLOT(slotOnNetworkQuality(float)));
    connectChecked(m_pUi->m_pBtnNetworkQuality, SIGNAL(clicked()), this, SLOT(slotOnNetworkQualityClicked()));
    connectChecked(m_pUi->m_pBtnMin, SIGNAL(clicked()), this, SLOT(slotOnWinMin()));
    connectChecked(m_pUi->m_pBtnMax, SIGNAL(clicked()), this, SLOT(slotOnWinMax()));
    connectChecked(m_pUi->m_pBtnRestore, SIGNAL(clicked()), this, SLOT(slotOnWinRestore()));
    connectChecked(m_pUi->m_pBtnFullScreen, SIGNAL(clicked()), this, SLOT(slotOnWinFullScreen()));
    connectChecked(m_pUi->m_pBtnFullScreen_Exit, SIGNAL(clicked()), this, SLOT(slotOnWinFullScreenExit()));
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            [this] { slotOnLanguageChanged(); });
    connectChecked(m_pCallWaitingWidget, SIGNAL(sigHangUp()), this, SLOT(slotOnCallWaitingWidgetHangUp()));
    connectChecked(m_pCallInviteWidget, SIGNAL(sigAcceptCall(bool)), this, SLOT(slotOnAcceptCall(bool)));
    connectChecked(m_pCallInviteWidget, SIGNAL(sigHangUp()), this, SLOT(slotOncallInviteHangup()));
    connectChecked(m_pLayoutPeopleSettingDlg, SIGNAL(sigSwitchFullScreen()), this, SLOT(slotOnSwitchFullScreen()));
    connectChecked(m_pLayoutPeopleSettingDlg, SIGNAL(sigFullScreenButtonVisible(bool)), this,
                   SLOT(slotFullScreenButtonVisible(bool)));
}

// ---- helpers -----------------------------------------------------------------

double CLayoutBackgroundDlg::scale() const
{
    return m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
}

int CLayoutBackgroundDlg::titleBarHeight() const
{
    return qRound(TITLE_BAR_HEIGHT * scale());
}

bool CLayoutBackgroundDlg::isCallConnected() const
{
    return calls().getCallStatus() == enums::Connected;
}

CbackgroundWidget *CLayoutBackgroundDlg::getScreenDrawingWidget() const
{
    return m_pLayoutPeopleSettingDlg ? m_pLayoutPeopleSettingDlg->getScreenDrawingWidget() : nullptr;
}

QString CLayoutBackgroundDlg::formatCallDuration(qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds - 3600 * hours) / 60;
    const qint64 rest = seconds % 60;
    const auto part = [](qint64 value) { return QString::number(value).rightJustified(2, QLatin1Char('0')); };
    return part(hours) + QLatin1Char(':') + part(minutes) + QLatin1Char(':') + part(rest);
}

QString CLayoutBackgroundDlg::numberWithoutPassword(const QString &number)
{
    return models::CCallController::withoutPassword(number);
}

// What the number label shows in the current call state.
QString CLayoutBackgroundDlg::currentNumberText() const
{
    switch (calls().getCallStatus()) {
    case enums::Dialing:
        return numberWithoutPassword(calls().getPeerNameOrConfNumber());
    case enums::Connected:
        return numberWithoutPassword(QString::fromStdString(calls().getCallInfo().peer));
    default:
        return QString();
    }
}

void CLayoutBackgroundDlg::placeOverlay(QWidget *panel)
{
    const int title = m_bFullScreen ? 0 : titleBarHeight();
    panel->setFixedSize(width(), qMax(0, height() - title));
    panel->move(x(), y() + title);
}

void CLayoutBackgroundDlg::placeVisibleOverlays()
{
    for (QWidget *panel : {static_cast<QWidget *>(m_pCallInviteWidget), static_cast<QWidget *>(m_pCallWaitingWidget)}) {
        if (panel->isVisible()) {
            placeOverlay(panel);
        }
    }
}

void CLayoutBackgroundDlg::tellEngineGeometry()
{
    m_pLayoutPeopleSettingDlg->onParentResized(geometry());
    m_pLayoutPeopleSettingDlg->onParentMoved(x(), y());
}

// ---- call state --------------------------------------------------------------

void CLayoutBackgroundDlg::slotOnCallStatusChanged(kd_app::enums::CallStatus callStatus)
{
    KD_LOG << "callStatus:" << callStatus;
    switch (callStatus) {
    case enums::Idle:
    case enums::Ended:
        if (m_bCompact) {
            setCompactMode(false);
        }
        m_pUi->m_pLblConfNumber->clear();
        m_pCallWaitingWidget->onSetPeopleNumber(QString());
        m_pCallWaitingWidget->hide();
        m_pCallInviteWidget->hide();
        m_pLayoutPeopleSettingDlg->hide();
        if (m_pCallDurationTimer) {
            m_pCallDurationTimer->stop();
        }
        setEncrypted(false);
        break;
    case enums::Dialing:
        m_pUi->m_pLblCallDuration->setText(ZERO_DURATION);
        setNetworkQuality(BEST_QUALITY);
        m_pUi->m_pLblConfNumber->setText(currentNumberText());
        m_pCallInviteWidget->hide();
        m_pCallWaitingWidget->onSetMeetingNumber(currentNumberText());
        m_pCallWaitingWidget->show();
        placeOverlay(m_pCallWaitingWidget);
        slotFullScreenButtonVisible(false);
        break;
    case enums::Reserved3:
        m_pUi->m_pLblCallDuration->setText(ZERO_DURATION);
        setNetworkQuality(BEST_QUALITY);
        break;
    case enums::ConfIncoming:
        m_pUi->m_pLblCallDuration->setText(ZERO_DURATION);
        setNetworkQuality(BEST_QUALITY);
        m_pUi->m_pLblConfNumber->clear();
        m_pCallInviteWidget->hide();
        m_pCallWaitingWidget->onSetMeetingNumber(calls().getPureConfNumber());
        m_pCallWaitingWidget->show();
        placeOverlay(m_pCallWaitingWidget);
        slotFullScreenButtonVisible(false);
        break;
    case enums::Connected:
        onCallConnected();
        break;
    default:
        break;
    }
}

void CLayoutBackgroundDlg::onCallConnected()
{
    startCallDurationTimer();
    updatEncryptionStats();
    m_pUi->m_pLblConfNumber->setText(currentNumberText());
    m_pCallInviteWidget->hide();
    m_pCallWaitingWidget->onSetPeopleNumber(QString());
    m_pCallWaitingWidget->hide();
    if (calls().getCallTypes() != POINT_TO_POINT_CALL) {
        slotFullScreenButtonVisible(true);
    }
    // The far end's video window was handed over once, when the engine was
    // created; the engine keeps it for every call.
    m_pLayoutPeopleSettingDlg->show();
    m_pLayoutPeopleSettingDlg->onParentResized(geometry());
    m_pLayoutPeopleSettingDlg->move(FRAME_BORDER, (m_bFullScreen ? 0 : titleBarHeight()) + FRAME_BORDER);
    m_pLayoutPeopleSettingDlg->onParentMoved(x(), y());
    m_pLayoutPeopleSettingDlg->initFloatingDlgPos();
    if (calls().getCallTypes() == CONTENT_ONLY_CALL) {
        m_pLayoutPeopleSettingDlg->setLayoutModeAndRedraw();
    }
    if (CUserConfigUtils::getInstance()->isFullScreenOnCallConnected()) {
        slotOnWinFullScreen();
    }
}

void CLayoutBackgroundDlg::startCallDurationTimer()
{
    if (!m_pCallDurationTimer) {
        m_pCallDurationTimer = std::make_unique<QTimer>();
        m_pCallDurationTimer->setInterval(DURATION_TICK_MS);
        connectChecked(m_pCallDurationTimer.get(), SIGNAL(timeout()), this, SLOT(slotOnTimerRefreshCallDuration()));
    }
    m_pCallDurationTimer->start();
    m_callClock.start();
}

void CLayoutBackgroundDlg::slotOnTimerRefreshCallDuration()
{
    if (!m_callClock.isValid()) {
        return;
    }
    m_pUi->m_pLblCallDuration->setText(formatCallDuration(m_callClock.elapsed() / 1000));
}

void CLayoutBackgroundDlg::updatEncryptionStats()
{
    kd::engine::KDStats stats;
    if (!CKDSdkManager::getInstance()->getStats(stats)) {
        KD_WARN << "Failed to get the call statistics; the encryption icon stays as it was";
        return;
    }
    setEncrypted(stats.count > 0 && stats.streams[0].encrypted);
}

// The lock shows only what the connected call's streams say, also when the
// title bar comes back from compact mode.
void CLayoutBackgroundDlg::setEncrypted(bool encrypted)
{
    m_bEncrypted = encrypted;
    m_pUi->widget_Encryption->setVisible(encrypted && !m_bCompact);
}

void CLayoutBackgroundDlg::slotOnCallIncoming(kd::engine::KDCallInfo info)
{
    const enums::CallStatus callStatus = calls().getCallStatus();
    if (!noCall(callStatus)) {
        KD_LOG << "Not proper call status:" << callStatus;
        return;
    }
    const enums::LoginStatus loginStatus = CLoginManager::getInstance().getLoginStatus();
    if (loginStatus != enums::LoggedIn && loginStatus != enums::AnonymousLoggedIn) {
        KD_LOG << "Not proper login status:" << loginStatus;
        return;
    }
    CModualDlgsManager::closeAllModualDlgs(false);
    calls().onCallIncoming(info);
    if (CUserConfigUtils::getInstance()->isAutoAnswer()) {
        KD_LOG << "Call incoming and auto answer";
        calls().acceptCall(!info.isAudioOnly);
        return;
    }
    m_pCallWaitingWidget->hide();
    m_pCallInviteWidget->onSetMeetingNumber(numberWithoutPassword(QString::fromStdString(info.peer)));
    m_pCallInviteWidget->setIsAudioOnlyCall(info.isAudioOnly);
    m_pCallInviteWidget->show();
    placeOverlay(m_pCallInviteWidget);
    slotFullScreenButtonVisible(false);
}

void CLayoutBackgroundDlg::slotOnWaitQueue(int queueSize)
{
    m_pCallWaitingWidget->onSetPeopleNumber(QString::number(queueSize));
}

void CLayoutBackgroundDlg::slotOnAcceptCall(bool bIsAudioOnly)
{
    calls().acceptCall(!bIsAudioOnly);
}

void CLayoutBackgroundDlg::slotOncallInviteHangup()
{
    calls().declineCall();
    m_pCallInviteWidget->hide();
    calls().hangUp();
}

void CLayoutBackgroundDlg::slotOnCallWaitingWidgetHangUp()
{
    calls().hangUp();
}

// ---- network quality ---------------------------------------------------------

void CLayoutBackgroundDlg::slotOnNetworkQuality(float fQualityRating)
{
    // A rating that is not a number says nothing; a huge one would not fit an int.
    if (!std::isfinite(fQualityRating)) {
        KD_WARN << "Ignored network rating:" << fQualityRating;
        return;
    }
    const float bounded = qBound(0.0f, fQualityRating, float(BEST_QUALITY + 1));
    setNetworkQuality(static_cast<int>(bounded));
}

void CLayoutBackgroundDlg::setNetworkQuality(int iQualityRating)
{
    const int level = qBound(1, iQualityRating, BEST_QUALITY);
    if (level == m_nNetworkQuality) {
        return;
    }
    m_nNetworkQuality = level;
    const QString image = CDisplayScale::imageForFactor(QString::fromLatin1(QUALITY_IMAGES[level - 1]), scale());
    m_pUi->m_pBtnNetworkQuality->setStyleSheet(QStringLiteral("border-image: url(%1);").arg(image));
}

void CLayoutBackgroundDlg::slotOnNetworkQualityClicked()
{
    m_pLayoutPeopleSettingDlg->showMediaStatisticsDlg();
}

// ---- maximise, restore, minimise, compact --------------------------------------

void CLayoutBackgroundDlg::slotOnWinMax()
{
    KD_LOG << "maximize";
    m_maximizer.maximize(this);
}

void CLayoutBackgroundDlg::slotOnWinRestore()
{
    KD_LOG << "restore";
    m_maximizer.restore(this);
}

void CLayoutBackgroundDlg::slotOnWinMin()
{
    if (m_pLayoutPeopleSettingDlg->getLayoutMode() == enums::LayoutMode_AudioOnly) {
        showMinimized();
        return;
    }
    setCompactMode(!m_bCompact);
}

void CLayoutBackgroundDlg::slotOnCompactBtnMinClicked()
{
    showMinimized();
}

void CLayoutBackgroundDlg::slotOnCompactBtnRecoverClicked()
{
    setCompactMode(!m_bCompact);
}

QRect CLayoutBackgroundDlg::compactGeometry(const QScreen *screen) const
{
    const QRect area = screen->availableGeometry();
    const double w = area.width() / 5.0;
    const double h = w * 9 / 16 + TITLE_BAR_HEIGHT * scale();
    return QRect(area.topLeft() + QPoint(COMPACT_OFFSET, COMPACT_OFFSET), QSize(int(w), int(h)));
}

void CLayoutBackgroundDlg::setCompactMode(bool flag)
{
    KD_LOG << "compact:" << m_bCompact << "->" << flag;
    // The screen first: without one nothing switches, the engine included.
    const QScreen *screen = CWindowMaximizer::targetScreen(this);
    if (!screen) {
        KD_WARN << "Failed to position the screen";
        return;
    }
    m_bCompact = flag;
    m_pLayoutPeopleSettingDlg->setCompactMode(flag);
    if (flag) {
        enterCompactMode(screen);
    } else {
        leaveCompactMode();
    }
    setInfoVisible(!flag);
}

void CLayoutBackgroundDlg::enterCompactMode(const QScreen *screen)
{
    if (m_bFullScreen) {
        slotOnWinFullScreenExit();
    }
    m_pUi->m_pBtnMin->hide();
    if (m_maximizer.isMaximized()) {
        slotOnWinRestore();
    }
    // Changing the flags hides the window.
    const bool wasVisible = isVisible();
    CWindowFlags::setFlags(this, BASE_FLAGS | Qt::WindowStaysOnTopHint);
    if (wasVisible) {
        show();
    }
    m_pUi->verticalLayout->removeWidget(m_pUi->m_pWgtTitleBar);
    m_pUi->m_pWgtTitleBar->hide();
    if (!m_pCompactWidget) {
        m_pCompactWidget = new CompactWidget(this);
        connectChecked(m_pCompactWidget, SIGNAL(sigMin()), this, SLOT(slotOnCompactBtnMinClicked()));
        connectChecked(m_pCompactWidget, SIGNAL(sigRecover()), this, SLOT(slotOnCompactBtnRecoverClicked()));
    }
    const QRect rect = compactGeometry(screen);
    for (QWidget *button :
         {m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore, m_pUi->m_pBtnFullScreen, m_pUi->m_pBtnFullScreen_Exit}) {
        button->hide();
    }
    setFixedSize(rect.size());
    move(rect.topLeft());
    tellEngineGeometry();
    m_pUi->verticalLayout->insertWidget(0, m_pCompactWidget);
    m_pCompactWidget->show();
    m_pCompactWidget->setFixedSize(rect.width(), titleBarHeight());
    m_pCompactWidget->onDpiUpdate(scale());
}

void CLayoutBackgroundDlg::leaveCompactMode()
{
    if (m_pCompactWidget) {
        m_pUi->verticalLayout->removeWidget(m_pCompactWidget);
        delete m_pCompactWidget;
        m_pCompactWidget = nullptr;
    }
    const bool wasVisible = isVisible();
    CWindowFlags::setFlags(this, BASE_FLAGS);
    // A window hidden meanwhile (the call ended) stays hidden: the window
    // manager decides whether it shows.
    if (wasVisible) {
        show();
    }
    if (m_bFullScreen) {
        slotOnWinFullScreenExit();
    } else {
        m_pUi->verticalLayout->insertWidget(0, m_pUi->m_pWgtTitleBar);
        m_pUi->m_pWgtTitleBar->show();
        showWindowButtons();
    }
    onDpiChanged();
    centerWindowOnScreen();
}

void CLayoutBackgroundDlg::showWindowButtons()
{
    m_pUi->m_pBtnMin->show();
    m_pUi->m_pBtnMax->setVisible(!m_maximizer.isMaximized());
    m_pUi->m_pBtnRestore->setVisible(m_maximizer.isMaximized());
    m_pUi->m_pBtnFullScreen->show();
    m_pUi->m_pBtnFullScreen_Exit->hide();
}

void CLayoutBackgroundDlg::setInfoVisible(bool visible)
{
    for (QWidget *info :
         {static_cast<QWidget *>(m_pUi->m_pBtnNetworkQuality), static_cast<QWidget *>(m_pUi->m_pLblCallDuration),
          static_cast<QWidget *>(m_pUi->m_pLblConfNumber)}) {
        info->setVisible(visible);
    }
    m_pUi->widget_Encryption->setVisible(visible && m_bEncrypted);
}

// ---- full screen -------------------------------------------------------------

void CLayoutBackgroundDlg::slotOnWinFullScreen()
{
    const enums::CallStatus callStatus = calls().getCallStatus();
    if (noCall(callStatus)) {
        KD_WARN << "Can not full screen for invalid call status:" << callStatus;
        return;
    }
    if (m_bFullScreen) {
        return;
    }
    KD_LOG << "full screen";
    m_pLayoutPeopleSettingDlg->setTitleBarHeight(0);
    m_bFullScreen = true;
    m_geometryBeforeFullScreen = geometry();
    const QScreen *screen = getDisplayScreen();
    // The fixed size of the normal window would hold the window at its size.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    showFullScreen();
    if (screen) {
        // Without a window manager nobody else gives the window the screen.
        setGeometry(screen->geometry());
    }
    for (QWidget *button : {m_pUi->m_pBtnMin, m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore, m_pUi->m_pBtnFullScreen}) {
        button->hide();
    }
    m_pUi->m_pBtnFullScreen_Exit->show();

    QWidget *titleBar = m_pUi->m_pWgtTitleBar;
    const QRect titleRect(x(), y(), width(), titleBarHeight());
    m_pUi->verticalLayout->removeWidget(titleBar);
    auto *toolbar = qobject_cast<CLayoutToolbarDlg *>(m_pLayoutPeopleSettingDlg->getToolbarDlg());
    if (toolbar) {
        // A window of its own above the video, shown and hidden with the toolbar;
        // it keeps the frame's looks.
        titleBar->setParent(toolbar, Qt::SplashScreen | Qt::FramelessWindowHint);
        CDisplayScale::applyStyleSheets(titleBar, STYLE_BASE, scale());
        titleBar->setFixedSize(titleRect.size());
        titleBar->move(titleRect.topLeft());
        toolbar->setFullScreenParent(titleBar, titleRect);
        if (toolbar->isVisible()) {
            titleBar->show();
        }
    } else {
        titleBar->hide();
    }
    updatePos4LayoutPeopleDlg();
    tellEngineGeometry();
}

void CLayoutBackgroundDlg::slotOnWinFullScreenExit()
{
    if (!m_bFullScreen) {
        return;
    }
    KD_LOG << "exit full screen";
    m_pLayoutPeopleSettingDlg->setTitleBarHeight(titleBarHeight());
    m_bFullScreen = false;
    showNormal();
    if (auto *toolbar = qobject_cast<CLayoutToolbarDlg *>(m_pLayoutPeopleSettingDlg->getToolbarDlg())) {
        toolbar->setFullScreenParent(nullptr, QRect());
    }
    QWidget *titleBar = m_pUi->m_pWgtTitleBar;
    titleBar->setParent(this);
    titleBar->setStyleSheet(QString());
    titleBar->setMinimumWidth(0);
    titleBar->setMaximumWidth(QWIDGETSIZE_MAX);
    m_pUi->verticalLayout->insertWidget(0, titleBar);
    titleBar->show();
    showWindowButtons();
    if (m_geometryBeforeFullScreen.isValid()) {
        setFixedSize(m_geometryBeforeFullScreen.size());
        move(m_geometryBeforeFullScreen.topLeft());
    }
    updatePos4LayoutPeopleDlg();
    tellEngineGeometry();
}

void CLayoutBackgroundDlg::slotOnSwitchFullScreen()
{
    if (m_bFullScreen) {
        slotOnWinFullScreenExit();
    } else {
        slotOnWinFullScreen();
    }
}

void CLayoutBackgroundDlg::slotFullScreenButtonVisible(bool nflag)
{
    if (!nflag && m_bFullScreen) {
        slotOnWinFullScreenExit();
    }
    // In full screen and in compact the bar shows other buttons.
    if (nflag && (m_bFullScreen || m_bCompact)) {
        return;
    }
    m_pUi->m_pBtnFullScreen->setVisible(nflag);
    m_pUi->m_pBtnMin->setVisible(nflag);
}

// ---- window events -------------------------------------------------------------

void CLayoutBackgroundDlg::updatePos4LayoutPeopleDlg()
{
    const int title = m_bFullScreen ? 0 : titleBarHeight();
    m_pLayoutPeopleSettingDlg->setTitleBarHeight(title);
    m_pLayoutPeopleSettingDlg->move(FRAME_BORDER, title + FRAME_BORDER);
}

void CLayoutBackgroundDlg::refreshWindowStateBtns()
{
    if (isMinimized()) {
        m_pLayoutPeopleSettingDlg->onParentMinimized();
        return;
    }
    if (m_pLayoutPeopleSettingDlg->isHidden() && isCallConnected()) {
        m_pLayoutPeopleSettingDlg->show();
    }
    updatePos4LayoutPeopleDlg();
}

void CLayoutBackgroundDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        KD_LOG << "Received WindowStateChange";
        refreshWindowStateBtns();
    }
    CBaseDlg::changeEvent(event);
}

void CLayoutBackgroundDlg::closeEvent(QCloseEvent *event)
{
    calls().hangUp();
    CBaseDlg::closeEvent(event);
    emit sigClose();
}

void CLayoutBackgroundDlg::showEvent(QShowEvent *event)
{
    if (isMinimized()) {
        m_pLayoutPeopleSettingDlg->hide();
        m_pLayoutPeopleSettingDlg->onParentMinimized();
        return;
    }
    CBaseDlg::showEvent(event);
    if (m_pLayoutPeopleSettingDlg->isHidden() && isCallConnected()) {
        m_pLayoutPeopleSettingDlg->show();
    }
    if (!m_bCompact && !m_bFullScreen && !event->spontaneous()) {
        centerWindowOnScreen();
    }
}

void CLayoutBackgroundDlg::hideEvent(QHideEvent *event)
{
    m_pLayoutPeopleSettingDlg->hide();
    // The system's own hide at iconifying is spontaneous: answering it with
    // another minimise would never end.
    if (!event->spontaneous() && isVisible() && isMinimized()) {
        KD_WARN << "visible! should minimized";
        showMinimized();
    }
    CBaseDlg::hideEvent(event);
}

void CLayoutBackgroundDlg::resizeEvent(QResizeEvent *event)
{
    CBaseDlg::resizeEvent(event);
    if (isCallConnected()) {
        tellEngineGeometry();
    }
    placeVisibleOverlays();
}

void CLayoutBackgroundDlg::moveEvent(QMoveEvent *event)
{
    CBaseDlg::moveEvent(event);
    if (m_bMoving && m_maximizer.isMaximized()) {
        slotOnWinRestore();
    }
    if (isCallConnected()) {
        m_pLayoutPeopleSettingDlg->move(FRAME_BORDER, (m_bFullScreen ? 0 : titleBarHeight()) + FRAME_BORDER);
        m_pLayoutPeopleSettingDlg->onParentMoved(x(), y());
    }
    placeVisibleOverlays();
}

void CLayoutBackgroundDlg::onDpiChanged()
{
    const double s = scale();
    KD_LOG << "fStretchFactor:" << s;
    const QScreen *screen = getDisplayScreen();
    if (m_bCompact) {
        if (screen) {
            const QRect rect = compactGeometry(screen);
            setFixedSize(rect.size());
            move(rect.topLeft());
            if (m_pCompactWidget) {
                m_pCompactWidget->onDpiUpdate(s);
                m_pCompactWidget->setFixedSize(rect.width(), qRound(TITLE_BAR_HEIGHT * s));
            }
        }
    } else if (!m_bFullScreen && !m_maximizer.isMaximized()) {
        setFixedSize(qRound(NORMAL_WIDTH * s), qRound(NORMAL_HEIGHT * s));
        m_pLayoutPeopleSettingDlg->slotOnJudgeMicAndCameraStatus();
    }
    setStyleSheet(QString());
    setStyleSheetByScale(STYLE_BASE);
    m_pUi->m_pLeftWidget->setMaximumWidth(qRound(SIDE_MAX_WIDTH * s));
    m_pUi->m_pRightWidget->setMaximumWidth(qRound(SIDE_MAX_WIDTH * s));
    m_pUi->m_pWgtTitleBar->setMinimumHeight(titleBarHeight());
    m_pUi->m_pWgtTitleBar->setMaximumHeight(titleBarHeight());
    updateDpiSizes();
    m_nTitleHeight = titleBarHeight();
    // The rating's image follows the scale.
    const int rating = m_nNetworkQuality;
    m_nNetworkQuality = 0;
    if (rating > 0) {
        setNetworkQuality(rating);
    }
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return;
    }
    const QRect area = screen->availableGeometry();
    if (!m_bFullScreen && !m_bCompact && (height() >= area.height() || width() >= area.width())) {
        setFixedSize(area.size());
        move(area.topLeft());
    }
    updatePos4LayoutPeopleDlg();
    tellEngineGeometry();
}

void CLayoutBackgroundDlg::updateDpiSizes()
{
    const int icon = qRound(ICON_SIZE * scale());
    m_pUi->m_pBtnNetworkQuality->setFixedSize(icon, icon);
    m_pUi->m_pLblEncryption->setFixedSize(icon, icon);
    m_pUi->m_pLblCallDuration->setFixedWidth(qRound(DURATION_WIDTH * scale()));
    m_pUi->m_pLblConfNumber->setFixedHeight(titleBarHeight());
    const int button = qRound(WINDOW_BUTTON_SIZE * scale());
    for (QWidget *w : {m_pUi->m_pBtnMin, m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore, m_pUi->m_pBtnFullScreen,
                       m_pUi->m_pBtnFullScreen_Exit}) {
        w->setFixedSize(button, button);
    }
}

// A change of language keeps what the window says about the call.
void CLayoutBackgroundDlg::slotOnLanguageChanged()
{
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    m_pUi->m_pLblConfNumber->setText(currentNumberText());
    const enums::CallStatus callStatus = calls().getCallStatus();
    if (callStatus == enums::Connected && m_callClock.isValid()) {
        slotOnTimerRefreshCallDuration();
    } else if (!noCall(callStatus)) {
        m_pUi->m_pLblCallDuration->setText(ZERO_DURATION);
    }
}

} // namespace views
} // namespace kd_app
