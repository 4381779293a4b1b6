#include "chomedlg.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include "app/cplatform.h"
#include "custom_controls/chomemenulistmodel.h"
#include "custom_controls/chomemenulistview.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "ui_chomedlg.h"
#include "views/base/alertdlg.h"
#include "views/conferences/cconferenceswidget.h"
#include "views/contacts/ccontactswidget.h"
#include "views/home/cemptyform.h"
#include "views/home/cjoinconfdlg.h"
#include "views/home/cjoinconfwidget.h"
#include "views/profile/cmyinfodlg.h"
#include "views/settings/csettingsform.h"
#include "views/web/cwebbrowserwrapperform.h"

namespace kd_app {
namespace views {

using models::CCallController;
using models::CLoginManager;
using models::CUCMApiManager;

namespace {

constexpr int kDelayedShowMs = 500;
constexpr int kShowContentMs = 700;
const char kCcmServerType[] = "CCM";

bool isCcmAccount()
{
    return QString::fromStdString(CLoginManager::getInstance().getLoginUserInfo().appServerType) ==
           QLatin1String(kCcmServerType);
}

QString scaleName(double scale)
{
    return scale >= 2 ? QStringLiteral("2x") : scale >= 1.5 ? QStringLiteral("1.5x") : QStringLiteral("1x");
}

bool noCall(enums::CallStatus status)
{
    return status == enums::Idle || status == enums::Ended;
}

} // namespace

CHomeDlg *CHomeDlg::getInstance()
{
    static CHomeDlg *instance = new CHomeDlg(nullptr);
    return instance;
}

CHomeDlg::CHomeDlg(QWidget *parent)
    : CBaseDlg(parent), m_pUi(std::make_unique<Ui::CHomeDlg>()),
      m_pSettingsForm(std::make_unique<CSettingsForm>(nullptr))
{
    m_pUi->setupUi(this);
    KD_LOG << "kd_app::views::CHomeDlg::CHomeDlg";
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    custom_controls::CHomeMenuListView *menu = m_pUi->m_pLvMenus;
    menu->setViewMode(QListView::ListMode);
    menu->setMovement(QListView::Static);
    menu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    menu->setResizeMode(QListView::Adjust);
    const bool guest = CLoginManager::getInstance().getLoginStatus() == enums::AnonymousLoggedIn;
    m_pUi->m_pBtnExit->setVisible(guest);
    m_pUi->m_pBtnJoinConf->setVisible(!guest);
    initMenu();
    initContentPages();
    m_pUi->m_pBtnLogo->hide();
    m_maximizer.setButtons(m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore);
    initConnections();
}

// The pages go before the window's own children, of which the stacked
// widget keeps them; each page leaves its parent as it goes.
CHomeDlg::~CHomeDlg()
{
    KD_LOG << "destroy";
    m_pUi.reset();
    KD_LOG << "done";
}

void CHomeDlg::initConnections()
{
    connect(m_pUi->m_pStackedWgtContent, &QStackedWidget::currentChanged, this, &CHomeDlg::slot_contentsPageChanged);
    // Queued, so that the page changes after the view has handled its click.
    connect(
        m_pUi->m_pLvMenus, &QListView::clicked, this,
        [this](const QModelIndex &index) {
            KD_LOG << QString("CHomeDlg, menu item clicked: %1, content count: %2")
                          .arg(index.row())
                          .arg(m_pUi->m_pStackedWgtContent->count());
            m_pUi->m_pStackedWgtContent->setCurrentIndex(index.row());
        },
        Qt::QueuedConnection);
    CLoginManager *login = &CLoginManager::getInstance();
    connect(login, &CLoginManager::loginStatusChanged, this, &CHomeDlg::slotOnLoginStatusChanged);
    connect(login, &CLoginManager::sigAvatarDownloadedOk, this, &CHomeDlg::slotOnAvatarDownloadedOk);
    connect(login, &CLoginManager::sigDisplayNameChanged, this, &CHomeDlg::slotOnDisplayNameChanged);
    connect(login, &CLoginManager::sigRegisterInfoChanged, this, &CHomeDlg::slotOnRegisterInfoChanged);
    connect(&CCallController::getInstance(), &CCallController::sigCallStatusChanged, this,
            &CHomeDlg::slotOnCallStatusChanged);
    connect(m_pUi->m_pBtnJoinConf, &QPushButton::clicked, this, &CHomeDlg::slotOnBtnJoinConfClicked);
    connect(m_pUi->m_pBtnMin, &QPushButton::clicked, this, &CHomeDlg::slotOnWinMin);
    connect(m_pUi->m_pBtnMax, &QPushButton::clicked, this, &CHomeDlg::slotOnWinMax);
    connect(m_pUi->m_pBtnRestore, &QPushButton::clicked, this, &CHomeDlg::slotOnWinRestore);
    connect(m_pUi->m_pBtnClose, &QPushButton::clicked, this, &CHomeDlg::slotOnClose);
    connect(m_pUi->m_pLblAvatar, &custom_controls::CClickedLabel::clicked, this, &CHomeDlg::slotOnAvatarClicked);
    connect(m_pUi->m_pBtnExit, &CHomeExitButton::clicked, this, &CHomeDlg::slotOnLogout);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CHomeDlg::slotOnLanguageChanged);
    connect(CUCMApiManager::getInstance(), &CUCMApiManager::signal_ucmapi_error, this, &CHomeDlg::slot_ucmapi_error);
}

// ---- menu -------------------------------------------------------------------

void CHomeDlg::initMenu()
{
    custom_controls::CHomeMenuListView *menu = m_pUi->m_pLvMenus;
    menu->clearItems();
    const auto add = [menu](const QString &normal, const QString &current, const QString &hover, const QString &text) {
        menu->addItem(new CHomeMenuItem{normal, current, hover, text});
    };
    if (CLoginManager::getInstance().getLoginStatus() == enums::AnonymousLoggedIn) {
        add(":/resources/images/home-window/icon_join_n-1x.png", ":/resources/images/home-window/icon_join_c-1x.png",
            ":/resources/images/home-window/icon_join_h-1x.png", tr("Join"));
    } else {
        add(":/resources/images/home-window/icon_conf_n-1x.png", ":/resources/images/home-window/icon_conf_c-1x.png",
            ":/resources/images/home-window/icon_conf_h-1x.png", tr("Meetings"));
        add(":/resources/images/home-window/icon_contacts_n-1x.png",
            ":/resources/images/home-window/icon_contacts_c-1x.png",
            ":/resources/images/home-window/icon_contacts_h-1x.png", tr("Contacts"));
    }
    add(":/resources/images/home-window/icon_setting_n-1x.png", ":/resources/images/home-window/icon_setting_c-1x.png",
        ":/resources/images/home-window/icon_setting_h-1x.png", tr("Settings"));
    updateMenuIcons();
}

void CHomeDlg::updateMenuIcons()
{
    custom_controls::CHomeMenuListView *menu = m_pUi->m_pLvMenus;
    const QString suffix = "-" + scaleName(m_fStretchFactor) + ".png";
    const auto scaled = [&suffix](QString path) { return path.replace(QStringLiteral("-1x.png"), suffix); };
    for (int row = 0; row < menu->model()->rowCount(); ++row) {
        const QModelIndex index = menu->model()->index(row, 0);
        const auto icon = [&index](int role) { return index.data(role).toString(); };
        using Model = custom_controls::CHomeMenuListModel;
        // The stored paths carry the last scale's suffix: back to the plain one first.
        const auto plain = [](QString path) {
            return path.replace(QStringLiteral("-1.5x.png"), QStringLiteral("-1x.png"))
                .replace(QStringLiteral("-2x.png"), QStringLiteral("-1x.png"));
        };
        menu->setItemIcons(row, scaled(plain(icon(Model::NormalIconRole))), scaled(plain(icon(Model::CurrentIconRole))),
                           scaled(plain(icon(Model::HoverIconRole))));
    }
}

void CHomeDlg::retranslateMenu()
{
    custom_controls::CHomeMenuListView *menu = m_pUi->m_pLvMenus;
    if (CLoginManager::getInstance().getLoginStatus() == enums::AnonymousLoggedIn) {
        menu->setItemText(0, tr("Join"));
        menu->setItemText(1, tr("Settings"));
    } else {
        menu->setItemText(0, tr("Meetings"));
        menu->setItemText(1, tr("Contacts"));
        menu->setItemText(2, tr("Settings"));
    }
    setOnlineStatus(CLoginManager::isRegisteredToServer(CLoginManager::getInstance().getRegisterInfo()));
}

// ---- pages ------------------------------------------------------------------

void CHomeDlg::initContentPages()
{
    // A page made now takes the window's scale; one kept has it already. Before
    // the first show the window has no scale yet: showing it styles every page.
    const double scale = m_fStretchFactor;
    const auto made = [scale](auto &page, auto create) {
        if (!page) {
            page = create();
            if (scale > 0) {
                page->updateDpi(scale);
            }
        }
        return static_cast<QWidget *>(page.get());
    };
    const enums::LoginStatus status = CLoginManager::getInstance().getLoginStatus();
    KD_LOG << "login status:" << status << "CCM:" << isCcmAccount();
    QList<QWidget *> pages;
    if (status == enums::AnonymousLoggedIn) {
        pages << made(m_pJoinConfWidget, [this] {
            auto page = std::make_unique<CJoinConfWidget>(nullptr);
            m_scaler.recordWidgetTree(page.get());
            m_scaler.scaleWidget(m_fStretchFactor > 0 ? m_fStretchFactor : 1.0, page.get(), false);
            return page;
        });
    } else if (!isCcmAccount()) {
        pages << made(m_pConferencesWidget, [this] {
            auto page = std::make_unique<CConferencesWidget>(nullptr);
            connect(page.get(), &CConferencesWidget::sigUCMJoinConf, this, &CHomeDlg::slotJoinConf);
            return page;
        });
        pages << made(m_pContactsWidget, [this] {
            auto page = std::make_unique<CContactsWidget>(nullptr);
            connect(page.get(), &CContactsWidget::sigUCMP2pCall, this, &CHomeDlg::slotP2pCall);
            return page;
        });
    } else {
        pages << made(m_pWebMeetingsPage, [this] { return createWebPage(0); });
        pages << made(m_pWebContactsPage, [this] { return createWebPage(2); });
    }
    pages << m_pSettingsForm.get();
    m_pSettingsForm->setSipPageVisible(status == enums::AnonymousLoggedIn);
    if (status == enums::AnonymousLoggedIn) {
        CCallController::getInstance().whenLoginSkipped();
    }
    setContentPages(pages);
    // Only the pages shown stay.
    if (!pages.contains(m_pJoinConfWidget.get())) {
        m_pJoinConfWidget.reset();
    }
    if (!pages.contains(m_pConferencesWidget.get())) {
        m_pConferencesWidget.reset();
    }
    if (!pages.contains(m_pContactsWidget.get())) {
        m_pContactsWidget.reset();
    }
    if (!pages.contains(m_pWebMeetingsPage.get())) {
        m_pWebMeetingsPage.reset();
    }
    if (!pages.contains(m_pWebContactsPage.get())) {
        m_pWebContactsPage.reset();
    }
}

void CHomeDlg::setContentPages(const QList<QWidget *> &pages)
{
    // The same pages stay as they are: taken out and put back, the shown
    // one would be hidden and shown again, and fetch its lists once more.
    QStackedWidget *stack = m_pUi->m_pStackedWgtContent;
    QList<QWidget *> current;
    for (int index = 0; index < stack->count(); ++index) {
        current << stack->widget(index);
    }
    if (current == pages) {
        return;
    }
    while (QWidget *page = stack->currentWidget()) {
        stack->removeWidget(page);
    }
    for (QWidget *page : pages) {
        stack->addWidget(page);
    }
}

QWidget *CHomeDlg::currentPage() const
{
    return m_pUi->m_pStackedWgtContent->currentWidget();
}

int CHomeDlg::pageCount() const
{
    return m_pUi->m_pStackedWgtContent->count();
}

void CHomeDlg::showPage(int index)
{
    m_pUi->m_pLvMenus->selectRow(index);
    m_pUi->m_pStackedWgtContent->setCurrentIndex(index);
}

void CHomeDlg::slot_contentsPageChanged(int index)
{
    QStackedWidget *stack = m_pUi->m_pStackedWgtContent;
    QWidget *page = stack->widget(index);
    QWidget *settings = m_pSettingsForm.get();
    if (page && settings && stack->widget(m_nPreviousPage) == settings && page != settings &&
        m_pSettingsForm->isSipSettingsChanged()) {
        if (AlertDlg::question(this, tr("Note"), tr("Changes are not saved, Are you sure you want to leave?"),
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) != QMessageBox::Ok) {
            const int settingsIndex = stack->indexOf(settings);
            m_pUi->m_pLvMenus->selectRow(settingsIndex);
            stack->setCurrentIndex(settingsIndex);
            return;
        }
        m_pSettingsForm->loadSipSettings();
    }
    m_nPreviousPage = index;
}

// ---- showing ----------------------------------------------------------------

void CHomeDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "content count:" << pageCount();
    m_scaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
    if (!m_pDelayedShowTimer) {
        m_pDelayedShowTimer = new QTimer(this);
        m_pDelayedShowTimer->setSingleShot(true);
        m_pDelayedShowTimer->setInterval(kDelayedShowMs);
        connect(m_pDelayedShowTimer, &QTimer::timeout, this, &CHomeDlg::slotOnTimerDelayHandle4WinShow,
                Qt::UniqueConnection);
    }
    m_pDelayedShowTimer->start();
}

void CHomeDlg::slotOnTimerDelayHandle4WinShow()
{
    if (m_bFirstShown) {
        return;
    }
    m_bFirstShown = true;
    setOnlineStatus(CLoginManager::isRegisteredToServer(CLoginManager::getInstance().getRegisterInfo()));
    if (!CPlatform::isWindows61OrOlder()) {
        KD_LOG << "Show default content directly";
        showPage(0);
        return;
    }
    KD_LOG << "Show default content delayed";
    if (!m_pEmptyForm) {
        m_pEmptyForm = std::make_unique<CEmptyForm>(nullptr);
        m_pUi->m_pStackedWgtContent->addWidget(m_pEmptyForm.get());
    }
    m_pUi->m_pLvMenus->selectRow(0);
    m_pUi->m_pStackedWgtContent->setCurrentIndex(pageCount() - 1);
    if (!m_pShowContentTimer) {
        m_pShowContentTimer = std::make_unique<QTimer>();
        m_pShowContentTimer->setSingleShot(true);
        m_pShowContentTimer->setInterval(kShowContentMs);
        connect(m_pShowContentTimer.get(), &QTimer::timeout, this, &CHomeDlg::slotOnTimerShowContent,
                Qt::UniqueConnection);
    }
    m_pShowContentTimer->start();
}

void CHomeDlg::slotOnTimerShowContent()
{
    showPage(0);
}

void CHomeDlg::changeEvent(QEvent *)
{
}

// ---- login status, registration and avatar ----------------------------------

void CHomeDlg::slotOnLoginStatusChanged(enums::LoginStatus loginStatus)
{
    KD_LOG << "loginStatus:" << loginStatus;
    if (loginStatus == enums::LoggedIn || loginStatus == enums::AnonymousLoggedIn) {
        updateAvatar();
        m_pUi->m_pBtnExit->setVisible(loginStatus == enums::AnonymousLoggedIn);
        m_pUi->m_pBtnJoinConf->setVisible(loginStatus != enums::AnonymousLoggedIn);
        initMenu();
        initContentPages();
        return;
    }
    if (loginStatus != enums::NotLogin) {
        return;
    }
    if (pageCount() > 0) {
        showPage(0);
    }
    if (CLoginManager::getInstance().getPrevLoginStatus() == enums::LoggedIn) {
        forgetSignedOutAccount();
    }
}

// The next account must see nothing of the previous one: no meetings (with
// their passwords), no contacts, no users.
void CHomeDlg::forgetSignedOutAccount()
{
    if (m_pWebMeetingsPage) {
        KD_LOG << "clearConfListCache";
        m_pWebMeetingsPage->clearConfListCache();
    }
    if (m_pContactsWidget) {
        CContactsWidget::clearCachedLists();
        m_pContactsWidget->clearLists();
    }
    if (m_pConferencesWidget) {
        m_pConferencesWidget->clearForSignOut();
    }
}

void CHomeDlg::setOnlineStatus(bool online)
{
    m_pUi->m_pBtnRegisterStatus->setText(online ? tr("Online") : tr("Offline"));
    updateStatusIcon();
}

void CHomeDlg::updateStatusIcon()
{
    const bool online = m_pUi->m_pBtnRegisterStatus->text() == tr("Online");
    QString image = online ? QStringLiteral(":/resources/images/home-window/status_success-1x.png")
                           : QStringLiteral(":/resources/images/home-window/status_fail-1x.png");
    image.replace(QStringLiteral("-1x.png"), "-" + scaleName(m_fStretchFactor) + ".png");
    m_pUi->label_RegisterStatus->setStyleSheet(QStringLiteral("border-image: url(%1);").arg(image));
}

void CHomeDlg::slotOnRegisterInfoChanged(kd::engine::KDRegisterInfo info)
{
    KD_LOG << "state:" << info.state;
    setOnlineStatus(CLoginManager::isRegisteredToServer(info));
    const CLoginManager &login = CLoginManager::getInstance();
    if (info.state == 4 && login.getLoginStatus() == enums::LoggedIn &&
        noCall(CCallController::getInstance().getCallStatus())) {
        forceLogout();
    }
}

void CHomeDlg::slotOnCallStatusChanged(enums::CallStatus callStatus)
{
    KD_LOG << "callStatus:" << callStatus;
    const CLoginManager &login = CLoginManager::getInstance();
    if (callStatus == enums::Ended && login.getLoginStatus() == enums::LoggedIn && login.getRegisterInfo().state == 0 &&
        login.getPrevRegisterInfo().state == 4) {
        forceLogout();
    }
}

void CHomeDlg::forceLogout()
{
    KD_LOG << "force logout";
    AlertDlg::information(this, tr("Prompt"),
                          tr("Your account logged in on another device at %1. This session finished automatically.")
                              .arg(QDateTime::currentDateTime().toString("yyyy/MM/dd HH:mm:ss")));
    CLoginManager::getInstance().logout();
    KD_LOG << "done";
}

void CHomeDlg::updateAvatar()
{
    const int size = m_fStretchFactor > 0 ? int(40 * m_fStretchFactor) : 40;
    helpers::CGeneralUtils::drawRectroundImageOnLabel(m_pUi->m_pLblAvatar,
                                                      CLoginManager::getInstance().getLoggedInUserAvatarPath(), size,
                                                      size, size / 8, size / 8, false);
}

void CHomeDlg::slotOnAvatarDownloadedOk()
{
    KD_LOG << "avatar downloaded";
    updateAvatar();
}

void CHomeDlg::slotOnDisplayNameChanged()
{
    KD_LOG << "display name:" << CLoginManager::getInstance().getDisplayName();
}

void CHomeDlg::slotOnAvatarClicked(Qt::MouseButton mouseButton)
{
    KD_LOG << "button:" << mouseButton;
    if (CLoginManager::getInstance().getLoginStatus() == enums::AnonymousLoggedIn) {
        return;
    }
    {
        CMyInfoDlg dialog(this);
        dialog.setAnchorWindow(this);
        dialog.exec();
    }
    KD_LOG << "done";
    // The release went to the dialog.
    m_bDragging = false;
}

void CHomeDlg::slotOnLogout()
{
    CLoginManager::getInstance().logout();
}

// ---- joining and calling ----------------------------------------------------

void CHomeDlg::slotOnBtnJoinConfClicked()
{
    KD_LOG << "join a meeting";
    slotJoinConf(QString(), QString(), false, QString());
    KD_LOG << "exec finised for Join conf dlg";
}

void CHomeDlg::slotJoinConf(QString number, QString password, bool isAudioOnly, QString peerName)
{
    Q_UNUSED(peerName)
    KD_LOG << "number:" << number << ", isAudioOnly:" << isAudioOnly;
    auto *dialog = new CJoinConfDlg(number, password, isAudioOnly, this);
    dialog->exec();
    delete dialog;
}

void CHomeDlg::slotP2pCall(QString number, QString password, bool isAudioOnly, QString peerName)
{
    KD_LOG << "confNumber:" << number;
    CCallController::enableMic(true);
    if (!isAudioOnly) {
        CCallController::enableCamera(true);
    }
    CCallController::getInstance().dialOut(number, password, !isAudioOnly, peerName);
}

// ---- server errors ----------------------------------------------------------

void CHomeDlg::slot_ucmapi_error(int errorCode, QString errorInfo)
{
    KD_LOG << "errorCode:" << errorCode << "errorInfo:" << errorInfo;
    if (errorCode == 1010) {
        CLoginManager::getInstance().updateLoginToken(true);
        return;
    }
    const QString text = errorInfo.arg(errorCode);
    // The meetings are fetched every 15 s: a server that keeps failing must
    // not pile up one box per attempt behind the one the user has not
    // answered yet.
    const QPair<int, QString> key(errorCode, text);
    if (m_openErrorBoxes.contains(key)) {
        KD_LOG << "the same error is shown already";
        return;
    }
    m_openErrorBoxes.insert(key);
    AlertDlg::information(this, tr("Prompt"), text);
    m_openErrorBoxes.remove(key);
}

// ---- window -----------------------------------------------------------------

void CHomeDlg::slotOnClose()
{
    KD_LOG << "close";
    if (AlertDlg::question(this, tr("Note"), tr("Are you sure to close app?"), QMessageBox::Ok | QMessageBox::Cancel,
                           QMessageBox::Ok) != QMessageBox::Ok) {
        return;
    }
    if (CLoginManager::getInstance().getLoginStatus() == enums::LoggedIn && m_pWebMeetingsPage) {
        KD_LOG << "clearConfListCache";
        m_pWebMeetingsPage->clearConfListCache();
    }
    close();
}

void CHomeDlg::closeEvent(QCloseEvent *event)
{
    KD_LOG << "closeEvent";
    emit sigClose();
    event->accept();
}

void CHomeDlg::slotOnWinMin()
{
    setWindowState(Qt::WindowMinimized);
}

void CHomeDlg::slotOnWinMax()
{
    KD_LOG << "maximize";
    m_maximizer.maximize(this);
}

void CHomeDlg::slotOnWinRestore()
{
    KD_LOG << "restore";
    m_maximizer.restore(this);
    onDpiChanged();
}

void CHomeDlg::restoreFromMaximized()
{
    KD_LOG << "kd_app::views::CHomeDlg::slotOnWinRestore";
    m_maximizer.restore(this);
    onDpiChanged();
}

void CHomeDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || windowState() == Qt::WindowMaximized) {
        return;
    }
    const QRect titleBar(m_pUi->m_pWgtTitleBar->mapToGlobal(QPoint(0, 0)), m_pUi->m_pWgtTitleBar->size());
    const QRect operationBar(m_pUi->m_pWgtOperationBar->mapToGlobal(QPoint(0, 0)), m_pUi->m_pWgtOperationBar->size());
    if (titleBar.contains(event->globalPos()) || operationBar.contains(event->globalPos())) {
        m_bDragging = true;
        m_dragOffset = event->globalPos() - pos();
    }
}

void CHomeDlg::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_bDragging) {
        return;
    }
    if (m_maximizer.isMaximized()) {
        restoreFromMaximized();
    }
    move(event->globalPos() - m_dragOffset);
}

void CHomeDlg::mouseReleaseEvent(QMouseEvent *)
{
    m_bDragging = false;
}

QPoint CHomeDlg::getContentTopLeft() const
{
    const QWidget *bar = m_pUi->m_pWgtOperationBar;
    const QWidget *title = m_pUi->m_pWgtTitleBar;
    const int x = this->x() + bar->mapTo(this, QPoint(0, 0)).x() + bar->width();
    const int y = this->y() + title->mapTo(this, QPoint(0, 0)).y() + title->height();
    return QPoint(x, y);
}

void CHomeDlg::onDpiChanged()
{
    const double scale = m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
    KD_LOG << "fStretchFactor:" << scale;
    setStyleSheet(QString());
    m_pSettingsForm->updateDpi(scale);
    setStyleSheetByScale(QStringLiteral(":/resources/qss/home-dlg"));
    m_scaler.scaleWidget(scale, this, !m_maximizer.isMaximized());
    const int margin = int(scale);
    m_pUi->horizontalLayout_6->setContentsMargins(margin, margin, margin, margin);
    updateAvatar();
    webPageUpdateDpi(m_pWebMeetingsPage.get(), scale);
    webPageUpdateDpi(m_pWebContactsPage.get(), scale);
    if (m_pContactsWidget) {
        m_pContactsWidget->updateDpi(scale);
    }
    if (m_pConferencesWidget) {
        m_pConferencesWidget->updateDpi(scale);
    }
    if (m_pJoinConfWidget) {
        m_pJoinConfWidget->updateDpi(scale);
    }
    updateMenuIcons();
    updateStatusIcon();
    m_pUi->m_pBtnExit->updateDpi(scale);
}

void CHomeDlg::slotOnLanguageChanged()
{
    m_pUi->retranslateUi(this);
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    m_pUi->m_pBtnExit->retranslate();
    retranslateMenu();
}

// ---- the server's web pages ---------------------------------------------------
// A "CCM" server shows its own meetings (page type 0) and contacts (page type
// 2) pages in an embedded browser. A join from the meetings page opens the
// join dialog; one from the contacts page is a direct call.

std::unique_ptr<CWebBrowserWrapperForm> CHomeDlg::createWebPage(int pageType)
{
    KD_LOG << "pageType:" << pageType;
    auto page = std::make_unique<CWebBrowserWrapperForm>(pageType, nullptr);
    if (pageType == 0) {
        connect(page.get(), &CWebBrowserWrapperForm::sigJoinConf, this, &CHomeDlg::slotJoinConf);
    } else {
        connect(page.get(), &CWebBrowserWrapperForm::sigJoinConf, this, &CHomeDlg::slotP2pCall);
    }
    return page;
}

void CHomeDlg::webPageUpdateDpi(CWebBrowserWrapperForm *page, double scale)
{
    if (page) {
        page->updateDpi(scale);
    }
}

void CHomeDlg::updateWebPages()
{
    KD_LOG << "updateWebPages";
    if (m_pWebMeetingsPage) {
        m_pWebMeetingsPage->updatePage();
    }
    if (m_pWebContactsPage) {
        m_pWebContactsPage->updatePage();
    }
}

void CHomeDlg::stopWebPages()
{
    KD_LOG << "stopWebPages";
    if (m_pWebMeetingsPage) {
        m_pWebMeetingsPage->stopWeb();
    }
    if (m_pWebContactsPage) {
        m_pWebContactsPage->stopWeb();
    }
}

} // namespace views
} // namespace kd_app
