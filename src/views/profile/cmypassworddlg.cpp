#include "cmypassworddlg.h"

#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "models/cpasswordchangerules.h"
#include "ui_cmypassworddlg.h"
#include "views/base/alertdlg.h"

namespace kd_app {
namespace views {

using models::CKDSdkManager;
using models::CLoginManager;
using models::CPasswordChangeRules;

namespace {

const char kCcmServerType[] = "CCM";

// What the box says when a check of the fields refuses the change.
QString refusalText(CPasswordChangeRules::Verdict verdict)
{
    switch (verdict) {
    case CPasswordChangeRules::OldPasswordWrong:
        return CMyPasswordDlg::tr("Old password is wrong!");
    case CPasswordChangeRules::SameAsOld:
        return CMyPasswordDlg::tr("The new and old password is the same.");
    case CPasswordChangeRules::ConfirmDiffers:
        return CMyPasswordDlg::tr("Confirm Password is not consistent with New Password.");
    case CPasswordChangeRules::OldFormatWrong:
        return CMyPasswordDlg::tr("Wrong old password format.(4-16 characters and no spaces)");
    case CPasswordChangeRules::NewFormatWrong:
        return CMyPasswordDlg::tr("Wrong new password format.(4-16 characters and no spaces)");
    case CPasswordChangeRules::ConfirmFormatWrong:
        return CMyPasswordDlg::tr("Wrong confirm password format.(4-16 characters and no spaces)");
    case CPasswordChangeRules::Accepted:
        break;
    }
    return QString();
}

} // namespace

CMyPasswordDlg::CMyPasswordDlg(QWidget *parent)
    : CProfileDlg(parent, QStringLiteral(":/resources/qss/my-password-dlg")), ui(std::make_unique<Ui::CMyPasswordDlg>())
{
    ui->setupUi(this);
    setTitleBar(ui->Titlebar);
    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CMyPasswordDlg::reject);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &CMyPasswordDlg::reject);
    clearDefaultButtons();
}

CMyPasswordDlg::~CMyPasswordDlg() = default;

void CMyPasswordDlg::showEvent(QShowEvent *event)
{
    CProfileDlg::showEvent(event);
    centerWindowOnScreen();
}

void CMyPasswordDlg::refuse(const QString &text)
{
    AlertDlg::information(this, tr("Prompt"), text);
}

void CMyPasswordDlg::on_m_pBtnOK_clicked()
{
    const QString oldPassword = ui->m_LEtOldPassword->text().trimmed();
    const QString newPassword = ui->m_LEtNewPassword->text().trimmed();
    const QString confirmPassword = ui->m_LEtConfirmPassword->text().trimmed();
    CLoginManager &login = CLoginManager::getInstance();

    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    const bool ccm = login.getLoginUserInfo().appServerType == kCcmServerType;
    // A server of the "CCM" kind has a password policy of its own; the others
    // take the fixed format.
    CPasswordChangeRules::Verdict verdict =
        CPasswordChangeRules::checkFields(oldPassword, newPassword, confirmPassword, login.getPassword());
    if (verdict == CPasswordChangeRules::Accepted && !ccm) {
        verdict = CPasswordChangeRules::checkLocalFormat(oldPassword, newPassword, confirmPassword);
    }
    if (verdict != CPasswordChangeRules::Accepted) {
        refuse(refusalText(verdict));
        return;
    }
    const QByteArray newUtf8 = newPassword.toUtf8();
    if (ccm && !sdk->validatePassword(newUtf8.constData())) {
        KD_LOG << "Not valid Password";
        const kd::engine::KDPasswordPolicy policy = sdk->getPasswordPolicy();
        refuse(tr("The password length is %1-%2 characters\nThe following special characters can be input "
                  "%3\nPlease input at least %4 combinations by upper case letters, numbers and special "
                  "characters")
                   .arg(QString::number(policy.minLength), QString::number(policy.maxLength),
                        QString::fromStdString(policy.specialChars), QString::number(policy.typeCount)));
        return;
    }

    if (!sdk->changePassword(oldPassword.toUtf8().constData(), newUtf8.constData())) {
        AlertDlg::information(nullptr, tr("Prompt"), tr("Change new password failed."));
        return;
    }
    login.setPassword(newPassword);
    accept();
}

} // namespace views
} // namespace kd_app
