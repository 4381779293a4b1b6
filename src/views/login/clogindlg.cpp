#include "clogindlg.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "helpers/cappconfigutils.h"
#include "helpers/clogformat.h"
#include "helpers/cresourceusagemonitor.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "models/curljoinconfargsparser.h"
#include "views/base/cdisplayscale.h"
#include "views/base/cwaitingdlg.h"
#include "views/cmaindlgmanager.h"
#include "views/login/cloginchangepasswordform.h"
#include "views/login/cloginformparts.h"
#include "views/login/clogininfoform.h"
#include "views/login/cloginjoinconfform.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/upgrade/cdownloadthread.h"

namespace kd_app {
namespace views {

using models::CLoginManager;
using models::CUrlJoinConfArgsParser;

namespace {

const char STYLE_BASE[] = ":/resources/qss/login-dlg";
constexpr int LOGO_WIDTH = 272;
constexpr int LOGO_HEIGHT = 44;
constexpr int DELAYED_START_MS = 300;

} // namespace

struct CLoginDlgUi
{
    explicit CLoginDlgUi(QDialog *dialog);

    QWidget *m_pWgtTitlebar = nullptr;
    QPushButton *m_pBtnSetting = nullptr;
    QPushButton *m_pBtnMin = nullptr;
    QPushButton *m_pBtnClose = nullptr;
    QPushButton *m_pBtnLogo = nullptr;
    QStackedWidget *m_pStackedWgtContent = nullptr;
};

CLoginDlgUi::CLoginDlgUi(QDialog *dialog)
{
    dialog->setObjectName("CLoginDlg");
    dialog->resize(320, 569);
    QVBoxLayout *inner = login_form_parts::makePageLayouts(dialog);

    m_pWgtTitlebar = new QWidget(dialog);
    m_pWgtTitlebar->setObjectName("m_pWgtTitlebar");
    m_pWgtTitlebar->setMinimumHeight(22);
    m_pWgtTitlebar->setMaximumHeight(22);
    auto *titleRow = new QHBoxLayout(m_pWgtTitlebar);
    titleRow->setObjectName("horizontalLayout");
    titleRow->setSpacing(5);
    titleRow->setContentsMargins(0, 0, 5, 0);
    titleRow->addSpacerItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_pBtnSetting = new QPushButton(m_pWgtTitlebar);
    m_pBtnSetting->setObjectName("m_pBtnSetting");
    m_pBtnSetting->setFixedSize(60, 22);
    m_pBtnSetting->setCursor(Qt::PointingHandCursor);
    m_pBtnMin = new QPushButton(m_pWgtTitlebar);
    m_pBtnMin->setObjectName("m_pBtnMin");
    m_pBtnMin->setFixedSize(16, 16);
    m_pBtnClose = new QPushButton(m_pWgtTitlebar);
    m_pBtnClose->setObjectName("m_pBtnClose");
    m_pBtnClose->setFixedSize(16, 16);
    for (QPushButton *button : {m_pBtnSetting, m_pBtnMin, m_pBtnClose}) {
        button->setAutoDefault(false);
        titleRow->addWidget(button);
    }
    inner->addWidget(m_pWgtTitlebar);

    auto *logoBlock = new QWidget(dialog);
    logoBlock->setObjectName("verticalWidget_2");
    logoBlock->setFixedHeight(85);
    auto *logoLayout = new QVBoxLayout(logoBlock);
    logoLayout->setObjectName("verticalLayout_3");
    logoLayout->setSpacing(0);
    logoLayout->setContentsMargins(24, 0, 24, 0);
    m_pBtnLogo = new QPushButton(logoBlock);
    m_pBtnLogo->setObjectName("m_pBtnLogo");
    m_pBtnLogo->setMaximumWidth(LOGO_WIDTH);
    m_pBtnLogo->setAutoDefault(false);
    logoLayout->addWidget(m_pBtnLogo);
    inner->addWidget(logoBlock);

    auto *content = new QVBoxLayout();
    content->setObjectName("verticalLayout_4");
    content->setSpacing(0);
    content->setContentsMargins(24, 0, 24, 0);
    m_pStackedWgtContent = new QStackedWidget(dialog);
    m_pStackedWgtContent->setObjectName("m_pStackedWgtContent");
    content->addWidget(m_pStackedWgtContent);
    inner->addLayout(content);
}

CLoginDlg::CLoginDlg(QWidget *parent)
    : CBaseDlg(parent), m_pUi(std::make_unique<CLoginDlgUi>(this)), m_pLoginInfoForm(new CLoginInfoForm(nullptr)),
      m_pJoinConfForm(new CLoginJoinConfForm(nullptr)), m_pChangePasswordForm(new CLoginChangePasswordForm(nullptr))
{
    m_nTitleHeight = m_pUi->m_pWgtTitlebar->height();
    m_pUi->m_pBtnSetting->setText(tr("Settings"));
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    m_pUi->m_pBtnLogo->setIconSize(QSize(LOGO_WIDTH, LOGO_HEIGHT));
    m_pUi->m_pBtnLogo->setAutoFillBackground(true);

    m_pUi->m_pStackedWgtContent->addWidget(m_pLoginInfoForm);
    m_pUi->m_pStackedWgtContent->addWidget(m_pJoinConfForm);
    m_pUi->m_pStackedWgtContent->addWidget(m_pChangePasswordForm);

    CLoginManager *loginManager = &CLoginManager::getInstance();
    connect(loginManager, &CLoginManager::loginProgressChanged, this, &CLoginDlg::onLoginProgressChanged);
    connect(loginManager, &CLoginManager::loginStatusChanged, this, &CLoginDlg::slotOnLoginStatusChanged);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLoginDlg::slotOnLanguageChanged);
    connect(m_pUi->m_pBtnSetting, &QPushButton::clicked, this, &CLoginDlg::slotOnBtnSetting);
    connect(m_pUi->m_pBtnMin, &QPushButton::clicked, this, &CLoginDlg::showMinimized);
    connect(m_pUi->m_pBtnClose, &QPushButton::clicked, this, &CLoginDlg::close);
}

CLoginDlg::~CLoginDlg() = default;

CLoginDlg *CLoginDlg::getInstance()
{
    static CLoginDlg *instance = new CLoginDlg(nullptr);
    return instance;
}

void CLoginDlg::slotOnBtnSetting()
{
    auto *settings = new CContainerSettingsFormWidget(nullptr);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to this window alone: a window of its own that Settings opens,
    // the upgrade prompt of "Check for Updates", must still answer. No parent
    // widget, so that this window's style sheet stays out of it.
    settings->setWindowModality(Qt::WindowModal);
    settings->winId();
    settings->windowHandle()->setTransientParent(windowHandle());
    settings->show();
}

void CLoginDlg::onLoginProgressChanged(enums::LoginProgress loginProgress)
{
    KD_LOG << "loginProgress:" << loginProgress;
    switch (loginProgress) {
    case enums::Initial:
    case enums::Login:
        m_pUi->m_pStackedWgtContent->setCurrentWidget(m_pLoginInfoForm);
        break;
    case enums::JoinConf:
        m_pUi->m_pStackedWgtContent->setCurrentWidget(m_pJoinConfForm);
        break;
    case enums::ChangePassword:
        m_pUi->m_pStackedWgtContent->setCurrentWidget(m_pChangePasswordForm);
        m_pChangePasswordForm->clearData();
        break;
    default:
        break;
    }
}

void CLoginDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "m_bLoaded:" << m_bLoaded;
    // The pages not on top have never been laid out; the scaler must record
    // their real geometry, not the default size of widgets never shown.
    if (!m_dpiScaler.isInitialized()) {
        const QList<QWidget *> pageWidgets = m_pUi->m_pStackedWgtContent->findChildren<QWidget *>();
        for (QWidget *widget : pageWidgets) {
            if (QLayout *widgetLayout = widget->layout()) {
                widgetLayout->activate();
            }
        }
    }
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
    if (!m_bLoaded) {
        showWaitingDlg();
    }
    CWaitingDlg *waiting = CWaitingDlg::getInstance();
    if (waiting->isVisible()) {
        waiting->move(pos());
    }
    if (!m_pTimerDelayShow) {
        m_pTimerDelayShow = new QTimer(this);
        m_pTimerDelayShow->setSingleShot(true);
        m_pTimerDelayShow->setInterval(DELAYED_START_MS);
        connect(m_pTimerDelayShow, &QTimer::timeout, this, &CLoginDlg::slotOnTimerDelayHandle4WinShow,
                Qt::UniqueConnection);
    }
    m_pTimerDelayShow->start();
}

void CLoginDlg::showWaitingDlg()
{
    CWaitingDlg *waiting = CWaitingDlg::getInstance();
    if (waiting->parentWidget() != this) {
        waiting->setParent(this, Qt::SplashScreen);
    }
    waiting->show();
    waiting->move(pos());
    if (m_fStretchFactor > 0) {
        waiting->setFixedSize(width(), height());
    } else {
        waiting->setScaledFixedSize(width(), height());
    }
}

void CLoginDlg::slotOnLoginStatusChanged(enums::LoginStatus loginStatus)
{
    KD_LOG << "loginStatus:" << loginStatus;
    if (loginStatus == enums::LoggingIn) {
        showWaitingDlg();
    } else {
        CWaitingDlg::getInstance()->hide();
    }
}

void CLoginDlg::slotOnTimerDelayHandle4WinShow()
{
    bool started = false;
    CUrlJoinConfArgsParser *parser = CUrlJoinConfArgsParser::getInstance();
    if (!m_bLoaded) {
        m_bLoaded = true;
        CLoginManager *loginManager = &CLoginManager::getInstance();
        loginManager->initKDSdkManagerInstance();
        onLoginProgressChanged(loginManager->getLoginProgress());
        CMainDlgManager::getInstance()->initialize();
        const int protocol = parser->m_joinConfProtocol;
        KD_LOG << "UrlJoinConfProtocol:" << protocol;
        if (protocol == 0) {
            started = loginManager->tryAutoLogin(false);
        } else {
            CMainDlgManager::getInstance()->execUrlJoinConfInUnloginStatus(protocol);
        }
        m_pLoginInfoForm->refreshData();
        m_pJoinConfForm->refreshData();
        CDownloadThread::getInstance()->Tstart(true, false);
        if (helpers::CAppConfigUtils::instance().isDisableResourceMonitor()) {
            KD_LOG << "Disable resource monitor";
        } else {
            m_pResourceMonitor = std::make_unique<helpers::CResourceUsageMonitor>();
            m_pResourceMonitor->startMonitor();
        }
    } else {
        const int protocol = parser->m_joinConfProtocol;
        KD_LOG << "UrlJoinConfType:" << protocol;
        if (protocol != 0) {
            CMainDlgManager::getInstance()->execUrlJoinConfInUnloginStatus(protocol);
        }
    }
    CWaitingDlg *waiting = CWaitingDlg::getInstance();
    if (waiting->isVisible() && !started) {
        waiting->hide();
    }
}

void CLoginDlg::onDpiChanged()
{
    KD_LOG << "fStretchFactor:" << m_fStretchFactor;
    setStyleSheet(QString());
    m_pLoginInfoForm->updateQss(m_fStretchFactor);
    m_pJoinConfForm->updateQss(m_fStretchFactor);
    m_pChangePasswordForm->updateQss(m_fStretchFactor);
    setStyleSheetByScale(STYLE_BASE);
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    m_nTitleHeight = m_pUi->m_pWgtTitlebar->height();
    setLogoIcon();
    const QSize logo(int(LOGO_WIDTH * m_fStretchFactor), int(LOGO_HEIGHT * m_fStretchFactor));
    m_pUi->m_pBtnLogo->setIconSize(logo);
    m_pUi->m_pBtnLogo->setFixedSize(logo);
}

void CLoginDlg::setLogoIcon()
{
    const double factor = m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
    const QString file = QStringLiteral(":/resources/images/login/") + QStringLiteral("logo-") +
                         QString::number(factor, 'g', 6) + QStringLiteral("x.png");
    KD_LOG << "Logo icon file:" << file;
    QIcon icon;
    icon.addFile(file, QSize(), QIcon::Normal, QIcon::Off);
    m_pUi->m_pBtnLogo->setIcon(icon);
}

void CLoginDlg::slotOnLanguageChanged()
{
    m_pUi->m_pBtnSetting->setText(tr("Settings"));
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    setLogoIcon();
}

void CLoginDlg::closeEvent(QCloseEvent *event)
{
    KD_LOG << "CLoginDlg::closeEvent";
    emit sigClose();
    event->accept();
}

} // namespace views
} // namespace kd_app
