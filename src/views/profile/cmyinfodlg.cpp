#include "cmyinfodlg.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegExp>
#include <QRegExpValidator>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "models/cucmapimanager.h"
#include "ui_cmyinfodlg.h"
#include "views/base/alertdlg.h"
#include "views/base/cdisplayscale.h"
#include "views/cmaindlgmanager.h"
#include "views/home/chomedlg.h"
#include "views/profile/cmyheadpicdlg.h"
#include "views/profile/cmypassworddlg.h"

namespace kd_app {
namespace views {

using models::CKDSdkManager;
using models::CLoginManager;

namespace {

const char kCcmServerType[] = "CCM";

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.c_str(), int(text.size()));
}

} // namespace

CMyInfoDlg::CMyInfoDlg(QWidget *parent)
    : CProfileDlg(parent, QStringLiteral(":/resources/qss/my-info-dlg")), ui(std::make_unique<Ui::CMyInfoDlg>())
{
    ui->setupUi(this);
    clearDefaultButtons();
    setTitleBar(ui->m_pWgtTitlePanel);
    setWindowTitle(tr("PRODUCT_NAME"));

    if (!CLoginManager::getInstance().getServerFeature().enableChangePassword) {
        ui->m_pWgtChangePasswordPanel->hide();
    }

    connect(&CLoginManager::getInstance(), &CLoginManager::sigAvatarDownloadedOk, this,
            &CMyInfoDlg::slotOnAvatarDownloadedOk);
    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CMyInfoDlg::slotOnClose);
    connect(ui->m_pBtnLogout, &QPushButton::clicked, this, &CMyInfoDlg::slotOnLogout);
    connect(ui->m_pBtnChange, &QPushButton::clicked, this, &CMyInfoDlg::EnterEditMode);

    setMouseTracking(true);
    ui->m_pLblAvatar->setMouseTracking(true);
    ui->m_pLblAvatar->installEventFilter(this);

    initData();
}

CMyInfoDlg::~CMyInfoDlg() = default;

bool CMyInfoDlg::isAcceptableName(const QString &name)
{
    static const QRegExp rule(QStringLiteral("^([^\"<>]){1,16}$"), Qt::CaseSensitive);
    QRegExpValidator validator(rule);
    QString text = name;
    int position = 0;
    return validator.validate(text, position) != QValidator::Invalid;
}

void CMyInfoDlg::initData()
{
    if (!CKDSdkManager::getInstance()->getUserInfo(m_userInfo)) {
        KD_WARN << "Failed to get user info";
        m_userInfo = kd::engine::KDUserInfo();
    }
    ui->m_pLblDisplayName->setText(fromUtf8(m_userInfo.displayName));
    ui->m_pLblAccountContent->setText(fromUtf8(m_userInfo.username));
    ui->m_pLblUserIdContent->setText(fromUtf8(m_userInfo.sipUserName));
    ui->m_pLblDepartmentContent->setText(fromUtf8(m_userInfo.dept));
    ui->m_pLblOrganizationContent->setText(fromUtf8(m_userInfo.org));
    ui->m_pLblMobileContent->setText(fromUtf8(m_userInfo.cellphone));
    ui->m_pLblEmailContent->setText(fromUtf8(m_userInfo.email));
}

int CMyInfoDlg::scaled(int value) const
{
    return int(value * (m_fStretchFactor > 0 ? m_fStretchFactor : 1.0));
}

void CMyInfoDlg::showEvent(QShowEvent *event)
{
    CProfileDlg::showEvent(event);
    if (m_pAnchorWindow && !m_bPositioned) {
        m_bPositioned = true;
        if (auto *home = qobject_cast<CHomeDlg *>(m_pAnchorWindow.data())) {
            move(home->getContentTopLeft());
        }
    }
}

void CMyInfoDlg::onDpiChanged()
{
    CProfileDlg::onDpiChanged();
    if (m_pNewNameEdit) {
        m_pNewNameEdit->setFixedSize(scaled(164), scaled(30));
    }
    drawAvatar(m_pAvatarHover != nullptr);
    if (m_pAvatarHover) {
        setAvatarHover(true);
    }
    fitNameLabel(ui->m_pLblDisplayName);
}

void CMyInfoDlg::slotOnAvatarDownloadedOk()
{
    drawAvatar(false);
}

void CMyInfoDlg::drawAvatar(bool darken)
{
    const int w = scaled(m_nAvatarWidth);
    const int h = scaled(m_nAvatarHeight);
    helpers::CGeneralUtils::drawRectroundImageOnLabel(
        ui->m_pLblAvatar, CLoginManager::getInstance().getLoggedInUserAvatarPath(), w, h, w / 8, h / 8, darken);
}

void CMyInfoDlg::fitNameLabel(QLabel *label)
{
    // Measured in the font the sheet gives the name, so that the whole
    // name shows; a name wider than the row is cut with an ellipsis.
    label->ensurePolished();
    const QFontMetrics metrics(label->font());
    const QString name = fromUtf8(m_userInfo.displayName);
    // The dialog's width less its borders, the row's margins, the avatar,
    // the edit button and the spacing between them.
    const int room = width() - scaled(2 + 20 + 20 + 10 + 10 + 10 + 10 + m_nAvatarWidth + 16);
    const int wanted = metrics.horizontalAdvance(name);
    const bool cut = room > 0 && wanted > room;
    label->setText(cut ? metrics.elidedText(name, Qt::ElideRight, room) : name);
    label->setToolTip(cut ? name : QString());
    label->setMinimumWidth(cut ? room : wanted);
    label->adjustSize();
}

void CMyInfoDlg::setAvatarHover(bool on)
{
    const int w = scaled(m_nAvatarWidth);
    if (!on) {
        drawAvatar(false);
        delete m_pAvatarHover;
        m_pAvatarHover = nullptr;
        return;
    }
    if (!m_pAvatarHover) {
        m_pAvatarHover = new QLabel(ui->m_pLblAvatar);
        m_pAvatarHover->setObjectName(QStringLiteral("m_pLblAvatarHover"));
        // The press belongs to the avatar underneath.
        m_pAvatarHover->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    drawAvatar(true);
    const int side = scaled(24);
    m_pAvatarHover->setFixedSize(side, side);
    const QString image =
        CDisplayScale::imageForFactor(QStringLiteral(":/resources/images/my-info/btn_photo.png"), m_fStretchFactor);
    m_pAvatarHover->setStyleSheet(QStringLiteral("border-image: url(%1);").arg(image));
    m_pAvatarHover->move((w - side) / 2, (w - side) / 2);
    m_pAvatarHover->show();
}

bool CMyInfoDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (m_pNewNameEdit && watched == m_pNewNameEdit) {
        const auto *key = event->type() == QEvent::KeyPress ? static_cast<QKeyEvent *>(event) : nullptr;
        if (event->type() == QEvent::FocusOut ||
            (key && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))) {
            QMetaObject::invokeMethod(this, &CMyInfoDlg::ExitEditMode, Qt::QueuedConnection);
        }
    } else if (watched == ui->m_pLblAvatar) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            QMetaObject::invokeMethod(this, &CMyInfoDlg::slot_m_pLblAvatar_clicked, Qt::QueuedConnection);
            break;
        case QEvent::Enter:
            setAvatarHover(true);
            break;
        case QEvent::Leave:
            setAvatarHover(false);
            break;
        default:
            break;
        }
    }
    return CProfileDlg::eventFilter(watched, event);
}

void CMyInfoDlg::mousePressEvent(QMouseEvent *event)
{
    ExitEditMode();
    CProfileDlg::mousePressEvent(event);
}

void CMyInfoDlg::EnterEditMode()
{
    if (m_pNewNameEdit) {
        return;
    }
    ui->m_pLblDisplayName->hide();
    ui->m_pBtnChange->hide();
    m_pNewNameEdit = new QLineEdit(ui->m_pWgtContectPanel);
    m_pNewNameEdit->setObjectName(QStringLiteral("m_newNameEdit"));
    m_pNewNameEdit->setFixedSize(scaled(164), scaled(30));
    m_pNewNameEdit->setAlignment(Qt::AlignCenter);
    m_pNewNameEdit->setText(fromUtf8(m_userInfo.displayName));
    ui->horizontalLayout_3->insertWidget(1, m_pNewNameEdit);
    m_pNewNameEdit->selectAll();
    m_pNewNameEdit->setFocusPolicy(Qt::StrongFocus);
    m_pNewNameEdit->setFocus();
    m_pNewNameEdit->installEventFilter(this);
}

void CMyInfoDlg::closeNameEditor(QLineEdit *editor)
{
    editor->removeEventFilter(this);
    ui->horizontalLayout_3->removeWidget(editor);
    delete editor;
    ui->m_pLblDisplayName->show();
    ui->m_pBtnChange->show();
}

void CMyInfoDlg::ExitEditMode()
{
    QLineEdit *editor = m_pNewNameEdit;
    if (!editor) {
        return;
    }
    const QString name = editor->text().trimmed();
    if (!name.isEmpty() && !isAcceptableName(name)) {
        // The box takes the focus; that loss must not end the rename.
        editor->removeEventFilter(this);
        AlertDlg::information(this, tr("Prompt"), tr("Invalid input format"));
        if (m_pNewNameEdit == editor) {
            editor->setFocus();
            editor->setText(fromUtf8(m_userInfo.displayName));
            editor->installEventFilter(this);
        }
        return;
    }
    // The editor goes before the engine and the server are asked: their
    // waits run the event loop, and an exit queued meanwhile (the focus
    // leaving the editor) must find nothing to rename a second time.
    m_pNewNameEdit = nullptr;
    closeNameEditor(editor);
    if (name.isEmpty()) {
        return;
    }
    const QByteArray utf8 = name.toUtf8();
    if (!CKDSdkManager::getInstance()->changeDisplayName(utf8.constData())) {
        return;
    }
    m_userInfo.displayName = utf8.toStdString();
    ui->m_pLblDisplayName->setText(name);
    fitNameLabel(ui->m_pLblDisplayName);
    CLoginManager &login = CLoginManager::getInstance();
    if (login.getLoginUserInfo().appServerType == kCcmServerType ||
        login.getLoginStatus() == enums::AnonymousLoggedIn) {
        return;
    }
    models::CUCMApiManager::getInstance()->getUser(login.getServerUrl(), login.getLoginToken(),
                                                   QString::number(m_userInfo.userId));
}

void CMyInfoDlg::slot_m_pLblAvatar_clicked()
{
    {
        CMyHeadpicDlg dialog(this);
        dialog.exec();
    }
    if (QWidget *main = CMainDlgManager::getInstance()->getActiveMainDlg()) {
        main->activateWindow();
    }
}

void CMyInfoDlg::on_m_pBtnChangePassword_clicked()
{
    CMyPasswordDlg dialog(this);
    dialog.exec();
}

void CMyInfoDlg::slotOnLogout()
{
    CLoginManager::getInstance().logout();
    close();
}

void CMyInfoDlg::slotOnClose()
{
    close();
}

} // namespace views
} // namespace kd_app
