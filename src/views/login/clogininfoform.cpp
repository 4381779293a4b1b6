#include "clogininfoform.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "custom_controls/cclickedlabel.h"
#include "helpers/cappconfigutils.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/cloginmanager.h"
#include "models/clinguist.h"
#include "views/base/alertdlg.h"
#include "views/login/cloginformparts.h"

namespace kd_app {
namespace views {

using custom_controls::CClickedLabel;
using helpers::CAppConfigUtils;
using helpers::CGeneralUtils;
using helpers::CUserConfigUtils;
using models::CLoginManager;
using namespace login_form_parts;

namespace {

const char STYLE_BASE[] = ":/resources/qss/login-info-form";
constexpr int HIGHEST_PORT = 65535;

} // namespace

// The controls of the page, named as its style sheets address them.
struct CLoginInfoFormUi
{
    explicit CLoginInfoFormUi(QWidget *form);
    void retranslateUi();

    QLabel *m_pLblTitle = nullptr;
    QLabel *m_pLblServer = nullptr;
    QLineEdit *m_pEditServer = nullptr;
    QLabel *m_pLblAccount = nullptr;
    QLineEdit *m_pEditAccount = nullptr;
    QLabel *m_pLblPassword = nullptr;
    QLineEdit *m_pEditPassword = nullptr;
    QWidget *m_pWgtPortPanel = nullptr;
    QLabel *m_pLblPort = nullptr;
    QLineEdit *m_pEditPort = nullptr;
    QCheckBox *m_pChkBoxUseHttps = nullptr;
    QCheckBox *m_pChkBoxMore = nullptr;
    QPushButton *m_pBtnLogin = nullptr;
    QHBoxLayout *m_pLinksRow = nullptr;
    CClickedLabel *m_pLblSkipLogin = nullptr;
    CClickedLabel *m_pLblGuestJoinMeeting = nullptr;
};

CLoginInfoFormUi::CLoginInfoFormUi(QWidget *form)
{
    QVBoxLayout *page = startPage(form, "CLoginInfoForm", 288, 475);
    m_pLblTitle = addTitle(page);

    addField(page, "wgtServer", m_pLblServer, "m_pLblServer", m_pEditServer, "m_pEditServer");
    addField(page, "wgtAccount", m_pLblAccount, "m_pLblAccount", m_pEditAccount, "m_pEditAccount");
    addField(page, "wgtPassword", m_pLblPassword, "m_pLblPassword", m_pEditPassword, "m_pEditPassword");
    m_pEditPassword->setEchoMode(QLineEdit::Password);

    QVBoxLayout *port = addBlock(page, "m_pWgtPortPanel", 85, 2);
    m_pWgtPortPanel = port->parentWidget();
    m_pLblPort = new QLabel(form);
    m_pLblPort->setObjectName("m_pLblPort");
    m_pLblPort->setMinimumHeight(16);
    m_pLblPort->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_pEditPort = new QLineEdit(form);
    m_pEditPort->setObjectName("m_pEditPort");
    m_pEditPort->setMinimumHeight(22);
    m_pChkBoxUseHttps = new QCheckBox(form);
    m_pChkBoxUseHttps->setObjectName("m_pChkBoxUseHttps");
    port->addWidget(m_pLblPort);
    port->addWidget(m_pEditPort);
    port->addWidget(m_pChkBoxUseHttps);

    auto *more = new QWidget(form);
    more->setObjectName("wgtMore");
    more->setFixedHeight(35);
    auto *moreRow = new QHBoxLayout(more);
    moreRow->setContentsMargins(9, 0, 9, 0);
    moreRow->addStretch();
    m_pChkBoxMore = new QCheckBox(more);
    m_pChkBoxMore->setObjectName("m_pChkBoxMore");
    moreRow->addWidget(m_pChkBoxMore);
    page->addWidget(more);

    m_pBtnLogin = addMainButton(page, "wgtLogin", 60, "m_pBtnLogin");

    auto *links = new QWidget(form);
    links->setObjectName("wgtLinks");
    links->setFixedHeight(40);
    m_pLinksRow = new QHBoxLayout(links);
    m_pLinksRow->setSpacing(7);
    m_pLinksRow->setContentsMargins(0, 0, 0, 0);
    m_pLblSkipLogin = new CClickedLabel(links);
    m_pLblSkipLogin->setObjectName("m_pLblSkipLogin");
    m_pLblSkipLogin->setMinimumSize(120, 22);
    m_pLblSkipLogin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pLblSkipLogin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_pLblSkipLogin->setCursor(Qt::PointingHandCursor);
    m_pLblGuestJoinMeeting = new CClickedLabel(links);
    m_pLblGuestJoinMeeting->setObjectName("m_pLblGuestJoinMeeting");
    m_pLblGuestJoinMeeting->setMinimumSize(125, 22);
    m_pLblGuestJoinMeeting->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_pLblGuestJoinMeeting->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_pLblGuestJoinMeeting->setCursor(Qt::PointingHandCursor);
    m_pLinksRow->addWidget(m_pLblSkipLogin);
    m_pLinksRow->addWidget(m_pLblGuestJoinMeeting);
    page->addWidget(links);

    auto *filler = new QWidget(form);
    filler->setObjectName("wgtFiller");
    page->addWidget(filler, 1);

    retranslateUi();
}

void CLoginInfoFormUi::retranslateUi()
{
    m_pLblTitle->setText(CLoginInfoForm::tr("Login"));
    m_pLblServer->setText(CLoginInfoForm::tr("Server"));
    m_pEditServer->setPlaceholderText(CLoginInfoForm::tr("Please Input Server Address"));
    m_pLblAccount->setText(CLoginInfoForm::tr("Account"));
    m_pEditAccount->setPlaceholderText(CLoginInfoForm::tr("Please Input Your Account"));
    m_pLblPassword->setText(CLoginInfoForm::tr("Password"));
    m_pEditPassword->setPlaceholderText(CLoginInfoForm::tr("Please Input Your Password"));
    m_pLblPort->setText(CLoginInfoForm::tr("Port"));
    m_pEditPort->setPlaceholderText(CLoginInfoForm::tr("Please Input Port Number (Optional)"));
    m_pChkBoxUseHttps->setText(CLoginInfoForm::tr("HTTPS"));
    m_pChkBoxMore->setText(CLoginInfoForm::tr("More"));
    m_pBtnLogin->setText(CLoginInfoForm::tr("Login"));
    m_pLblSkipLogin->setText(CLoginInfoForm::tr("Skipped Login"));
    m_pLblGuestJoinMeeting->setText(CLoginInfoForm::tr("Guest Join Meeting"));
}

CLoginInfoForm::CLoginInfoForm(QWidget *parent) : CBaseWgt(parent), m_pUi(std::make_unique<CLoginInfoFormUi>(this))
{
    m_pUi->m_pWgtPortPanel->setVisible(false);

    connect(m_pUi->m_pBtnLogin, &QPushButton::clicked, this, &CLoginInfoForm::slotOnBtnLoginClicked);
    for (QLineEdit *edit : {m_pUi->m_pEditServer, m_pUi->m_pEditAccount, m_pUi->m_pEditPassword, m_pUi->m_pEditPort}) {
        connect(edit, &QLineEdit::returnPressed, this, &CLoginInfoForm::slotOnBtnLoginClicked);
    }
    connect(m_pUi->m_pLblSkipLogin, &CClickedLabel::clicked, this, &CLoginInfoForm::slotOnBtnSkipLogin);
    connect(m_pUi->m_pLblGuestJoinMeeting, &CClickedLabel::clicked, this, &CLoginInfoForm::slotOnBtnJoinConf);
    connect(m_pUi->m_pChkBoxMore, &QCheckBox::toggled, this, &CLoginInfoForm::slotOnChkBoxMore);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLoginInfoForm::slotOnLanguageChanged);
    connect(m_pUi->m_pChkBoxUseHttps, &QCheckBox::clicked, this, &CLoginInfoForm::slotOnChkBoxUseHttps);
    connect(&CLoginManager::getInstance(), &CLoginManager::loginStatusChanged, this,
            &CLoginInfoForm::slotOnLoginStatusChanged);
}

CLoginInfoForm::~CLoginInfoForm() = default;

void CLoginInfoForm::refreshData()
{
    KD_LOG << "refreshData";
    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    QString server = config->getIp();
    if (CGeneralUtils::isNullOrEmpty(server)) {
        server = CAppConfigUtils::instance().getDefaultLoginServerAddr();
    }
    m_pUi->m_pEditServer->setText(server);
    m_pUi->m_pEditAccount->setText(config->getUser());

    m_pUi->m_pEditPassword->setText(savedPassword());

    if (config->getPort() != 0) {
        m_pUi->m_pEditPort->setText(QString::number(config->getPort()));
    }
    m_pUi->m_pChkBoxUseHttps->setChecked(config->isUseHttps());
}

QString CLoginInfoForm::savedPassword()
{
    if (CAppConfigUtils::instance().isDovraneSpecialVersion() && !CUserConfigUtils::getInstance()->getRememberMe()) {
        return QString();
    }
    return CLoginManager::getInstance().getConfigPassword();
}

void CLoginInfoForm::slotOnLoginStatusChanged(enums::LoginStatus status)
{
    // A password changed while signed in (profile or forced change) would
    // otherwise stay behind the typed one and fail the next sign-in.
    const CLoginManager &login = CLoginManager::getInstance();
    const enums::LoginStatus before = login.getPrevLoginStatus();
    const bool signedOut = before == enums::LoggedIn || before == enums::NeedChangePassword;
    if (status != enums::NotLogin || !signedOut || m_pUi->m_pEditPassword->text() == login.getPassword()) {
        return;
    }
    KD_LOG << "password changed while signed in";
    m_pUi->m_pEditPassword->setText(savedPassword());
}

void CLoginInfoForm::updateQss(double factor)
{
    setStyleSheet(QString());
    m_fStretchFactor = factor;
    setStyleSheetByScale(STYLE_BASE);
}

void CLoginInfoForm::showEvent(QShowEvent *event)
{
    if (!m_bFirstShown) {
        m_bFirstShown = true;
        if (CAppConfigUtils::instance().isDisableLoginSkipped()) {
            m_pUi->m_pLblSkipLogin->hide();
        }
        if (CAppConfigUtils::instance().isDisableGuestJoinMeeting()) {
            m_pUi->m_pLblGuestJoinMeeting->hide();
        }
        arrangeLinksRow();
    }
    m_pUi->m_pWgtPortPanel->setVisible(m_pUi->m_pChkBoxMore->isChecked());
    CBaseWgt::showEvent(event);
}

void CLoginInfoForm::arrangeLinksRow()
{
    // The labels are hidden before the form is shown, so isHidden tells what
    // the settings asked for even while the whole form is not yet visible.
    const bool skip = !m_pUi->m_pLblSkipLogin->isHidden();
    const bool guest = !m_pUi->m_pLblGuestJoinMeeting->isHidden();
    if (skip && guest) {
        m_pUi->m_pLinksRow->insertStretch(1);
        m_pUi->m_pLblSkipLogin->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        m_pUi->m_pLblGuestJoinMeeting->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else if (skip) {
        m_pUi->m_pLinksRow->insertStretch(0);
        m_pUi->m_pLblSkipLogin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    } else if (guest) {
        m_pUi->m_pLinksRow->insertStretch(0);
        m_pUi->m_pLblGuestJoinMeeting->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

void CLoginInfoForm::onDpiChanged()
{
    KD_LOG << "fStretchFactor:" << m_fStretchFactor;
}

void CLoginInfoForm::slotOnChkBoxMore(bool checked)
{
    m_pUi->m_pWgtPortPanel->setVisible(checked);
}

void CLoginInfoForm::slotOnChkBoxUseHttps(bool checked)
{
    m_pUi->m_pEditPort->setText(checked ? QStringLiteral("443") : QStringLiteral("80"));
}

int CLoginInfoForm::parsePort(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return 0;
    }
    bool ok = false;
    const int port = trimmed.toInt(&ok, 10);
    if (!ok || port < 1 || port > HIGHEST_PORT) {
        return -1;
    }
    return port;
}

void CLoginInfoForm::slotOnBtnLoginClicked()
{
    CLoginManager *loginManager = &CLoginManager::getInstance();
    const enums::LoginStatus status = loginManager->getLoginStatus();
    KD_LOG << "loginStatus:" << status;
    if (status != enums::NotLogin && status != enums::LoginFailed) {
        KD_LOG << "Invalid loginStatus" << status;
        return;
    }
    const QString server = m_pUi->m_pEditServer->text();
    const QString user = m_pUi->m_pEditAccount->text();
    const QString password = m_pUi->m_pEditPassword->text();
    if (CGeneralUtils::isNullOrEmpty(server)) {
        KD_LOG << "empty server";
        return;
    }
    if (user.isEmpty()) {
        KD_LOG << "empty user";
        return;
    }
    if (password.isEmpty()) {
        KD_LOG << "empty password";
        return;
    }
    const int port = parsePort(m_pUi->m_pEditPort->text());
    if (port < 0) {
        AlertDlg::information(this, tr("Prompt"), tr("The value of port can only be number from 1 to 65535."));
        return;
    }
    loginManager->login(server, m_pUi->m_pChkBoxUseHttps->isChecked(), port, user, password);
}

void CLoginInfoForm::slotOnBtnSkipLogin(Qt::MouseButton /*button*/)
{
    KD_LOG << "skip login";
    CLoginManager::getInstance().setLoginStatus(enums::AnonymousLoggedIn);
}

void CLoginInfoForm::slotOnBtnJoinConf(Qt::MouseButton /*button*/)
{
    KD_LOG << "guest join";
    CLoginManager::getInstance().setLoginProgress(enums::JoinConf);
}

void CLoginInfoForm::slotOnLanguageChanged()
{
    m_pUi->retranslateUi();
}

} // namespace views
} // namespace kd_app
