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

} // namespace

CMyPasswordDlg::CMyPasswordDlg(QWidget *parent) : CBaseDlg(parent), ui(std::make_unique<Ui::CMyPasswordDlg>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    m_nTitleHeight = ui->Titlebar->height();
    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CMyPasswordDlg::reject);
    connect(ui->m_pBtnCancel, &QPushButton::clicked, this, &CMyPasswordDlg::reject);
    clearDefaultButtons();
}

CMyPasswordDlg::~CMyPasswordDlg() = default;

void CMyPasswordDlg::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
}

void CMyPasswordDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/my-password-dlg"));
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    m_nTitleHeight = ui->Titlebar->height();
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

    switch (CPasswordChangeRules::checkFields(oldPassword, newPassword, confirmPassword, login.getPassword())) {
    case CPasswordChangeRules::OldPasswordWrong:
        refuse(tr("Old password is wrong!"));
        return;
    case CPasswordChangeRules::SameAsOld:
        refuse(tr("The new and old password is the same."));
        return;
    case CPasswordChangeRules::ConfirmDiffers:
        refuse(tr("Confirm Password is not consistent with New Password."));
        return;
    default:
        break;
    }

    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    const QByteArray newUtf8 = newPassword.toUtf8();
    if (login.getLoginUserInfo().appServerType == kCcmServerType) {
        if (!sdk->validatePassword(newUtf8.constData())) {
            KD_LOG << "Not valid Password";
            const kd::engine::KDPasswordPolicy policy = sdk->getPasswordPolicy();
            refuse(tr("The password length is %1-%2 characters\nThe following special characters can be input "
                      "%3\nPlease input at least %4 combinations by upper case letters, numbers and special "
                      "characters")
                       .arg(QString::number(policy.minLength), QString::number(policy.maxLength),
                            QString::fromStdString(policy.specialChars), QString::number(policy.typeCount)));
            return;
        }
    } else {
        switch (CPasswordChangeRules::checkLocalFormat(oldPassword, newPassword, confirmPassword)) {
        case CPasswordChangeRules::OldFormatWrong:
            refuse(tr("Wrong old password format.(4-16 characters and no spaces)"));
            return;
        case CPasswordChangeRules::NewFormatWrong:
            refuse(tr("Wrong new password format.(4-16 characters and no spaces)"));
            return;
        case CPasswordChangeRules::ConfirmFormatWrong:
            refuse(tr("Wrong confirm password format.(4-16 characters and no spaces)"));
            return;
        default:
            break;
        }
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
