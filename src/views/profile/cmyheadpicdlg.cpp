#include "cmyheadpicdlg.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "ui_cmyheadpicdlg.h"
#include "views/base/alertdlg.h"
#include "views/base/cwaitingdlg.h"
#include "views/base/cfiledialogs.h"

namespace kd_app {
namespace views {

using helpers::CUserConfigUtils;
using models::CKDSdkManager;

namespace {

const char kUploadAction[] = "uploadUserImage";

// Puts the content of source in place of target in one step: target is
// either still the old file or already the whole new one, never missing or
// half written.
bool replaceFile(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        KD_WARN << "Cannot read:" << source << in.errorString();
        return false;
    }
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        KD_WARN << "Cannot write:" << target << out.errorString();
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(64 * 1024);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            KD_WARN << "Copy failed:" << source << in.errorString() << out.errorString();
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

} // namespace

CMyHeadpicDlg::CMyHeadpicDlg(QWidget *parent)
    : CProfileDlg(parent, QStringLiteral(":/resources/qss/my-headpic-dlg")), ui(std::make_unique<Ui::CMyHeadpicDlg>())
{
    ui->setupUi(this);
    setTitleBar(ui->Titlebar);
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/my-headpic-dlg.qss"));
    connect(ui->m_pBtnClose, &QPushButton::clicked, this, &CMyHeadpicDlg::accept);
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    connect(sdk, &CKDSdkManager::eventUploadUserImageComplete, this, &CMyHeadpicDlg::slot_UploadUserImageComplete);
    connect(sdk, &CKDSdkManager::eventError, this, &CMyHeadpicDlg::slotOnError);
    clearDefaultButtons();
}

CMyHeadpicDlg::~CMyHeadpicDlg()
{
    delete m_pWaitingDlg.data();
}

CWaitingDlg *CMyHeadpicDlg::waitingDlg() const
{
    return m_pWaitingDlg.data();
}

QString CMyHeadpicDlg::uploadFilePath()
{
    return CUserConfigUtils::getUserConfigPath() + QStringLiteral("/upload_avatar_temp.jpg");
}

void CMyHeadpicDlg::showEvent(QShowEvent *event)
{
    CProfileDlg::showEvent(event);
    centerWindowOnScreen();
}

void CMyHeadpicDlg::hideEvent(QHideEvent *event)
{
    hideWaitingDlg();
    CProfileDlg::hideEvent(event);
}

void CMyHeadpicDlg::on_m_pBtnOpen_clicked()
{
    const QString path =
        CFileDialogs::openFileName(this, tr("Open"), QDir::homePath(), QStringLiteral("JPG(*.jpg);;PNG(*.png)"));
    if (!path.isEmpty()) {
        ui->widget->setImage(path);
    }
}

void CMyHeadpicDlg::on_m_pBtnUpload_clicked()
{
    const QPixmap pixmap = ui->widget->getPixmap();
    if (pixmap.isNull()) {
        return;
    }
    const QString path = uploadFilePath();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        KD_WARN << "Failed to open:" << path;
        AlertDlg::information(this, tr("Prompt"), tr("Upload picture failed."));
        return;
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = pixmap.save(&buffer, "JPG");
    const bool written = encoded && file.write(jpeg) == jpeg.size();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        // A picture cut short on the way would reach the server as the new avatar.
        KD_WARN << "Failed to write:" << path << file.errorString();
        QFile::remove(path);
        AlertDlg::information(this, tr("Prompt"), tr("Upload picture failed."));
        return;
    }
    showWaitingDlg();
    if (!CKDSdkManager::getInstance()->uploadUserImage(QFile::encodeName(path).constData())) {
        hideWaitingDlg();
        QFile::remove(path);
        AlertDlg::information(this, tr("Prompt"), tr("Upload picture failed."));
    }
}

void CMyHeadpicDlg::slot_UploadUserImageComplete(std::string szPath)
{
    hideWaitingDlg();
    const QString uploaded = QFile::decodeName(szPath.c_str());
    const QString avatar = CUserConfigUtils::getInstance()->getHeadPicPath();
    // The old avatar stays until the new one is wholly in its place.
    const bool replaced = replaceFile(uploaded, avatar);
    QFile::remove(uploaded);
    if (!replaced) {
        KD_WARN << "Failed to copy avatar file";
        return;
    }
    // The home window and the profile card draw the new avatar.
    emit models::CLoginManager::getInstance().sigAvatarDownloadedOk();
    AlertDlg::information(this, tr("Prompt"), tr("Upload picture succeeded"));
    accept();
}

void CMyHeadpicDlg::slotOnError(kd::engine::KDError err)
{
    if (err.action != kUploadAction) {
        return;
    }
    hideWaitingDlg();
    AlertDlg::information(this, tr("Prompt"), tr("Upload picture failed."));
}

void CMyHeadpicDlg::showWaitingDlg()
{
    if (!m_pWaitingDlg) {
        m_pWaitingDlg = new CWaitingDlg(nullptr);
    }
    m_pWaitingDlg->setParent(this, Qt::SplashScreen);
    m_pWaitingDlg->show();
    m_pWaitingDlg->move(pos());
    if (m_fStretchFactor <= 0) {
        m_pWaitingDlg->setScaledFixedSize(width(), height());
    } else {
        m_pWaitingDlg->setFixedSize(size());
    }
}

void CMyHeadpicDlg::hideWaitingDlg()
{
    if (m_pWaitingDlg && m_pWaitingDlg->isVisible()) {
        m_pWaitingDlg->hide();
    }
}

} // namespace views
} // namespace kd_app
