#include "cremotecontentdlg.h"

#include <QEvent>
#include <QPushButton>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "ui_cremotecontentdlg.h"
#include "views/base/cstylestrings.h"

namespace kd_app {
namespace views {

CRemoteContentDlg::CRemoteContentDlg(QWidget *parent) : CBaseDlg(parent), ui(std::make_unique<Ui::CRemoteContentDlg>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Dialog | Qt::FramelessWindowHint);
    m_nTitleHeight = ui->m_pWgtTitleBar->height();
    setStyleSheet(STYLE_WHITE_DIALOG);
    ui->m_pLblTitle->setStyleSheet(STYLE_TITLE_WHITE_20);
    ui->m_pWgtTitleBar->setStyleSheet(STYLE_DARK_BACKGROUND);
    ui->m_pWgtTitlePanel->setStyleSheet(STYLE_DARK_BACKGROUND);
    ui->m_pWgtContent->setStyleSheet("QWidget{background-color:#000;}");
    ui->m_pBtnMin->setStyleSheet(STYLE_PLAYER_MINIMIZE_BUTTON);
    ui->m_pBtnMax->setStyleSheet(STYLE_PLAYER_MAXIMIZE_BUTTON);
    ui->m_pBtnRestore->setStyleSheet(STYLE_PLAYER_RESTORE_BUTTON);
    ui->m_pBtnFullScreen->setStyleSheet(STYLE_PLAYER_FULLSCREEN_BUTTON);
    ui->m_pBtnExitFullScreen->setStyleSheet(STYLE_PLAYER_EXIT_FULLSCREEN_BUTTON);
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    ui->m_pBtnMin->hide();

    connect(ui->m_pBtnMin, &QPushButton::clicked, this, &CRemoteContentDlg::slotOnWinMin);
    connect(ui->m_pBtnMax, &QPushButton::clicked, this, &CRemoteContentDlg::slotOnWinMax);
    connect(ui->m_pBtnRestore, &QPushButton::clicked, this, &CRemoteContentDlg::slotOnWinRestore);
    connect(ui->m_pBtnFullScreen, &QPushButton::clicked, this, &CRemoteContentDlg::slotOnFullScreen);
    connect(ui->m_pBtnExitFullScreen, &QPushButton::clicked, this, &CRemoteContentDlg::slotOnExitFullScreen);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            [this] { slotOnLanguageChanged(); });
}

CRemoteContentDlg::~CRemoteContentDlg() = default;

void CRemoteContentDlg::setTitle(const QString &title)
{
    KD_LOG << "CReceiveContentDlg::setTitle:" << title;
    m_strTitle = title;
    ui->m_pLblTitle->setText(title);
}

QString CRemoteContentDlg::title() const
{
    return ui->m_pLblTitle->text();
}

WId CRemoteContentDlg::getContentWinId() const
{
    return ui->m_pWgtContent->winId();
}

void CRemoteContentDlg::slotOnWinMin()
{
    showMinimized();
}

void CRemoteContentDlg::slotOnWinMax()
{
    showMaximized();
}

void CRemoteContentDlg::slotOnWinRestore()
{
    showNormal();
}

void CRemoteContentDlg::slotOnFullScreen()
{
    showFullScreen();
}

void CRemoteContentDlg::slotOnExitFullScreen()
{
    showNormal();
}

void CRemoteContentDlg::slotOnLanguageChanged()
{
    ui->retranslateUi(this);
    // The form's texts are empty; what the window shows is its product name
    // and the sender's name, which must survive a change of language.
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    ui->m_pLblTitle->setText(m_strTitle);
}

void CRemoteContentDlg::refreshWindowStateBtns()
{
    const Qt::WindowStates state = windowState();
    KD_LOG << QString("CReceiveContentDlg::refreshWindowStateBtns, windowState: %1").arg(int(state), 0, 16);
    bool max = false;
    bool restore = false;
    bool fullScreen = false;
    bool exitFullScreen = false;
    if (state == Qt::WindowNoState) {
        max = true;
        fullScreen = true;
    } else if (state == Qt::WindowMaximized) {
        restore = true;
        fullScreen = true;
    } else if (state == Qt::WindowFullScreen) {
        exitFullScreen = true;
    } else {
        return;
    }
    ui->m_pBtnMax->setVisible(max);
    ui->m_pBtnRestore->setVisible(restore);
    ui->m_pBtnFullScreen->setVisible(fullScreen);
    ui->m_pBtnExitFullScreen->setVisible(exitFullScreen);
}

void CRemoteContentDlg::showEvent(QShowEvent *event)
{
    refreshWindowStateBtns();
    CBaseDlg::showEvent(event);
}

void CRemoteContentDlg::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        refreshWindowStateBtns();
    }
    CBaseDlg::changeEvent(event);
}

} // namespace views
} // namespace kd_app
