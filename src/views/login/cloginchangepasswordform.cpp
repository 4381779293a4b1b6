#include "cloginchangepasswordform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "views/base/alertdlg.h"
#include "views/base/cstylestrings.h"
#include "views/login/cloginformparts.h"

namespace kd_app {
namespace views {

using helpers::CGeneralUtils;
using models::CKDSdkManager;
using models::CLoginManager;
using namespace login_form_parts;

namespace {

const char STYLE_BASE[] = ":/resources/qss/login-change-password-form";

} // namespace

struct CLoginChangePasswordFormUi
{
    explicit CLoginChangePasswordFormUi(QWidget *form);
    void retranslateUi();

    QLabel *m_pLblTitle = nullptr;
    QLabel *m_pLblNewPassword = nullptr;
    QLineEdit *m_pEditPassword = nullptr;
    QLabel *m_pLblConfirmPassword = nullptr;
    QLineEdit *m_pEditConfirmPassword = nullptr;
    QPushButton *m_pBtnNext = nullptr;
    QPushButton *m_pBtnSkip = nullptr;
};

CLoginChangePasswordFormUi::CLoginChangePasswordFormUi(QWidget *form)
{
    QVBoxLayout *page = startPage(form, "CLoginChangePasswordForm", 288, 475);
    page->setContentsMargins(0, 0, 0, 0);
    m_pLblTitle = addTitle(page);
    m_pLblTitle->setWordWrap(true);

    addField(page, "wgtNewPassword", m_pLblNewPassword, "m_pLblNewPassword", m_pEditPassword, "m_pEditPassword");
    addField(page, "wgtConfirmPassword", m_pLblConfirmPassword, "m_pLblConfirmPassword", m_pEditConfirmPassword,
             "m_pEditConfirmPassword");
    m_pEditPassword->setEchoMode(QLineEdit::Password);
    m_pEditConfirmPassword->setEchoMode(QLineEdit::Password);

    auto *buttons = new QWidget(form);
    buttons->setObjectName("wgtButtons");
    buttons->setFixedHeight(120);
    auto *row = new QHBoxLayout(buttons);
    row->setSpacing(10);
    row->setContentsMargins(9, 20, 9, 20);
    m_pBtnNext = new QPushButton(buttons);
    m_pBtnNext->setObjectName("m_pBtnNext");
    m_pBtnSkip = new QPushButton(buttons);
    m_pBtnSkip->setObjectName("m_pBtnSkip");
    for (QPushButton *button : {m_pBtnNext, m_pBtnSkip}) {
        button->setMinimumHeight(30);
        button->setAutoDefault(false);
        button->setCursor(Qt::PointingHandCursor);
        row->addWidget(button);
    }
    page->addWidget(buttons);
    page->addStretch(1);

    retranslateUi();
}

void CLoginChangePasswordFormUi::retranslateUi()
{
    m_pLblTitle->setText(CLoginChangePasswordForm::tr("Please change the password for security"));
    m_pLblNewPassword->setText(CLoginChangePasswordForm::tr("New Password"));
    m_pEditPassword->setPlaceholderText(CLoginChangePasswordForm::tr("Please Input Your Password"));
    m_pLblConfirmPassword->setText(CLoginChangePasswordForm::tr("Confirm Password"));
    m_pEditConfirmPassword->setPlaceholderText(CLoginChangePasswordForm::tr("Please Input Your Password"));
    m_pBtnNext->setText(CLoginChangePasswordForm::tr("Next"));
    m_pBtnSkip->setText(CLoginChangePasswordForm::tr("Skip"));
}

CLoginChangePasswordForm::CLoginChangePasswordForm(QWidget *parent)
    : CBaseWgt(parent), m_pUi(std::make_unique<CLoginChangePasswordFormUi>(this))
{
    m_pUi->m_pBtnNext->setStyleSheet(STYLE_RED_BUTTON);
    m_pUi->m_pBtnSkip->setStyleSheet(STYLE_RED_BUTTON);
    connect(m_pUi->m_pBtnNext, &QPushButton::clicked, this, &CLoginChangePasswordForm::slotOnBtnNextClicked);
    connect(m_pUi->m_pBtnSkip, &QPushButton::clicked, this, &CLoginChangePasswordForm::slotOnBtnSkipClicked);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CLoginChangePasswordForm::slotOnLanguageChanged);
}

CLoginChangePasswordForm::~CLoginChangePasswordForm() = default;

void CLoginChangePasswordForm::clearData()
{
    m_pUi->m_pEditPassword->setText(QString());
    m_pUi->m_pEditConfirmPassword->setText(QString());
}

void CLoginChangePasswordForm::updateQss(double factor)
{
    setStyleSheet(QString());
    m_fStretchFactor = factor;
    setStyleSheetByScale(STYLE_BASE);
}

void CLoginChangePasswordForm::showEvent(QShowEvent *event)
{
    CBaseWgt::showEvent(event);
}

void CLoginChangePasswordForm::onDpiChanged()
{
    KD_LOG << "fStretchFactor:" << m_fStretchFactor;
}

void CLoginChangePasswordForm::slotOnBtnNextClicked()
{
    KD_LOG << "next";
    const QString newPassword = m_pUi->m_pEditPassword->text();
    const QString confirmation = m_pUi->m_pEditConfirmPassword->text();
    if (CGeneralUtils::isNullOrEmpty(newPassword) || CGeneralUtils::isNullOrEmpty(confirmation)) {
        KD_LOG << "empty password";
        return;
    }
    if (newPassword != confirmation) {
        KD_LOG << "Confirm Password is not consistent with New Password";
        AlertDlg::information(this, tr("Prompt"), tr("Confirm Password is not consistent with New Password."));
        return;
    }
    CKDSdkManager *engine = CKDSdkManager::getInstance();
    if (!engine->validatePassword(newPassword.toUtf8().constData())) {
        KD_LOG << "Not valid Password";
        const kd::engine::KDPasswordPolicy policy = engine->getPasswordPolicy();
        const QString text =
            tr("The password length is %1-%2 characters\n"
               "The following special characters can be input %3\n"
               "Please input at least %4 combinations by upper case letters, numbers and special "
               "characters")
                // One pass, so that a "%" among the special characters
                // is shown as it is and not taken for a placeholder.
                .arg(QString::number(policy.minLength), QString::number(policy.maxLength),
                     QString::fromLatin1(policy.specialChars.c_str()), QString::number(policy.typeCount));
        AlertDlg::information(this, tr("Prompt"), text);
        return;
    }
    CLoginManager *loginManager = &CLoginManager::getInstance();
    const QString oldPassword = loginManager->getPassword();
    if (oldPassword == newPassword) {
        AlertDlg::information(this, tr("Prompt"), tr("The new and old password is the same."));
        return;
    }
    if (engine->changePassword(oldPassword.toUtf8().constData(), newPassword.toUtf8().constData())) {
        loginManager->setPassword(newPassword);
    } else {
        AlertDlg::information(this, tr("Prompt"), tr("Change new password failed."));
    }
    loginManager->setLoginStatus(enums::LoggedIn);
}

void CLoginChangePasswordForm::slotOnBtnSkipClicked()
{
    KD_LOG << "skip";
    CLoginManager::getInstance().setLoginStatus(enums::LoggedIn);
}

void CLoginChangePasswordForm::slotOnLanguageChanged()
{
    m_pUi->retranslateUi();
}

} // namespace views
} // namespace kd_app
