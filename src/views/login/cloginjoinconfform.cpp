#include "cloginjoinconfform.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExp>
#include <QVBoxLayout>

#include "helpers/cappconfigutils.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ccallcontroller.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "views/base/alertdlg.h"
#include "views/login/cloginformparts.h"

namespace kd_app {
namespace views {

using helpers::CAppConfigUtils;
using helpers::CGeneralUtils;
using helpers::CUserConfigUtils;
using models::CCallController;
using models::CLoginManager;
using namespace login_form_parts;

namespace {

const char STYLE_BASE[] = ":/resources/qss/login-join-conf-form";
const char BACK_ICON[] = ":/resources/images/login/back_c-1x.png";
const char DISPLAY_NAME_FORBIDDEN[] = "[\"<>]+";
constexpr int DISPLAY_NAME_MAX_LENGTH = 16;

} // namespace

struct CLoginJoinConfFormUi
{
    explicit CLoginJoinConfFormUi(QWidget *form);
    void retranslateUi();

    QLabel *m_pLblTitle = nullptr;
    QLabel *m_pLblServer = nullptr;
    QLineEdit *m_pEditServer = nullptr;
    QLabel *m_pLblConfNumber = nullptr;
    QLineEdit *m_pEditConfNumber = nullptr;
    QLabel *m_pLblDisplayName = nullptr;
    QLineEdit *m_pEditDisplayName = nullptr;
    QLabel *m_pLblPassword = nullptr;
    QLineEdit *m_pEditPassword = nullptr;
    QPushButton *m_bBtnJoinConf = nullptr;
    QPushButton *m_pBtnBack = nullptr;
};

CLoginJoinConfFormUi::CLoginJoinConfFormUi(QWidget *form)
{
    QVBoxLayout *page = startPage(form, "CLoginJoinConfForm", 272, 447);
    m_pLblTitle = addTitle(page);

    addField(page, "wgtServer", m_pLblServer, "m_pLblServer", m_pEditServer, "m_pEditServer");
    addField(page, "wgtConfNumber", m_pLblConfNumber, "m_pLblConfNumber", m_pEditConfNumber, "m_pEditConfNumber");
    addField(page, "wgtDisplayName", m_pLblDisplayName, "m_pLblDisplayName", m_pEditDisplayName, "m_pEditDisplayName");
    addField(page, "wgtPassword", m_pLblPassword, "m_pLblPassword", m_pEditPassword, "m_pEditPassword");
    for (QLineEdit *edit : {m_pEditServer, m_pEditConfNumber, m_pEditDisplayName, m_pEditPassword}) {
        edit->setFixedHeight(22);
    }

    m_bBtnJoinConf = addMainButton(page, "wgtJoin", 80, "m_bBtnJoinConf");

    QVBoxLayout *back = addBlock(page, "wgtBack", 40, 0);
    m_pBtnBack = new QPushButton(form);
    m_pBtnBack->setObjectName("m_pBtnBack");
    m_pBtnBack->setFixedSize(60, 28);
    m_pBtnBack->setAutoDefault(false);
    m_pBtnBack->setCursor(Qt::PointingHandCursor);
    back->addWidget(m_pBtnBack);

    auto *filler = new QWidget(form);
    filler->setObjectName("wgtFiller");
    page->addWidget(filler, 1);

    retranslateUi();
}

void CLoginJoinConfFormUi::retranslateUi()
{
    m_pLblTitle->setText(CLoginJoinConfForm::tr("Join Meeting"));
    m_pLblServer->setText(CLoginJoinConfForm::tr("Server"));
    m_pEditServer->setPlaceholderText(CLoginJoinConfForm::tr("Please Input Server Address"));
    m_pLblConfNumber->setText(CLoginJoinConfForm::tr("Meeting Number"));
    m_pEditConfNumber->setPlaceholderText(CLoginJoinConfForm::tr("Please Input Meeting Number"));
    m_pLblDisplayName->setText(CLoginJoinConfForm::tr("Display Name"));
    m_pEditDisplayName->setPlaceholderText(CLoginJoinConfForm::tr("Please Input Display Name"));
    m_pLblPassword->setText(CLoginJoinConfForm::tr("Meeting Password(Optional)"));
    m_pEditPassword->setPlaceholderText(CLoginJoinConfForm::tr("Please Input Meeting Password (Optional)"));
    m_bBtnJoinConf->setText(CLoginJoinConfForm::tr("Join Meeting"));
}

CLoginJoinConfForm::CLoginJoinConfForm(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<CLoginJoinConfFormUi>(this))
{
    m_pUi->m_pBtnBack->setIcon(QIcon(BACK_ICON));
    m_pUi->m_pBtnBack->setText(tr("Back"));

    connect(m_pUi->m_bBtnJoinConf, &QPushButton::clicked, this, &CLoginJoinConfForm::slotOnBtnJoinConf);
    connect(m_pUi->m_pBtnBack, &QPushButton::clicked, this, &CLoginJoinConfForm::slotOnBtnBack);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLoginJoinConfForm::slotOnLanguageChanged);
    connect(m_pUi->m_pEditServer, &QLineEdit::returnPressed, this, &CLoginJoinConfForm::slotOnBtnJoinConf);
}

CLoginJoinConfForm::~CLoginJoinConfForm() = default;

void CLoginJoinConfForm::refreshData()
{
    KD_LOG << "refreshData";
    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    QString server = config->getJoinConfServerAddress();
    if (CGeneralUtils::isNullOrEmpty(server)) {
        server = CAppConfigUtils::instance().getDefaultRegisterServerAddr();
    }
    m_pUi->m_pEditServer->setText(server);
    m_pUi->m_pEditConfNumber->setText(config->getJoinConfNumber());
    m_pUi->m_pEditDisplayName->setText(config->getJoinConfDisplayName());
    m_pUi->m_pEditPassword->setText(config->getJoinConfPassword());
}

void CLoginJoinConfForm::updateQss(double factor)
{
    KD_LOG << "factor:" << factor;
    setStyleSheet(QString());
    m_fStretchFactor = factor;
    setStyleSheetByScale(STYLE_BASE);
}

void CLoginJoinConfForm::onDpiChanged()
{
    KD_LOG << "fStretchFactor:" << m_fStretchFactor;
}

QString CLoginJoinConfForm::displayNameProblem(const QString &displayName)
{
    if (displayName.isEmpty()) {
        KD_LOG << "Empty display name";
        return tr("The username can not be empty.");
    }
    if (displayName.length() > DISPLAY_NAME_MAX_LENGTH) {
        KD_LOG << "The length of display name exceeds:" << DISPLAY_NAME_MAX_LENGTH;
        return tr("The length of username can not exceed %1.").arg(DISPLAY_NAME_MAX_LENGTH);
    }
    if (QRegExp(DISPLAY_NAME_FORBIDDEN, Qt::CaseSensitive, QRegExp::RegExp).indexIn(displayName) >= 0) {
        KD_LOG << "Invalid char in display name";
        return tr("The username can not contain \", <, >.");
    }
    return QString();
}

void CLoginJoinConfForm::slotOnBtnJoinConf()
{
    const enums::LoginStatus status = CLoginManager::getInstance().getLoginStatus();
    KD_LOG << "loginStatus:" << status;
    if (status != enums::NotLogin && status != enums::LoginFailed) {
        KD_LOG << "Not suitable login status:" << status;
        return;
    }
    const QString server = m_pUi->m_pEditServer->text();
    const QString number = m_pUi->m_pEditConfNumber->text();
    const QString displayName = m_pUi->m_pEditDisplayName->text();
    if (CGeneralUtils::isNullOrEmpty(server)) {
        KD_LOG << "Empty server address";
        return;
    }
    if (number.isEmpty()) {
        KD_LOG << "Empty conf number";
        return;
    }
    const QString problem = displayNameProblem(displayName);
    if (!problem.isEmpty()) {
        AlertDlg::information(this, tr("Prompt"), problem);
        return;
    }
    const QString password = m_pUi->m_pEditPassword->text();
    CCallController::getInstance().anonymousJoinConf(server, number, displayName, password);
    CUserConfigUtils *config = CUserConfigUtils::getInstance();
    config->setJoinConfServerAddress(server);
    config->setJoinConfNumber(number);
    config->setJoinConfDisplayName(displayName);
    config->setJoinConfPassword(password);
}

void CLoginJoinConfForm::slotOnBtnBack()
{
    KD_LOG << "back";
    CLoginManager::getInstance().setLoginProgress(enums::Login);
}

void CLoginJoinConfForm::slotOnLanguageChanged()
{
    m_pUi->retranslateUi();
    KD_LOG << "retranslateUi";
    m_pUi->m_pBtnBack->setText(tr("Back"));
}

} // namespace views
} // namespace kd_app
