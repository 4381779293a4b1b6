#include "cconfmngtdlg.h"

#include <QCloseEvent>

#include "helpers/clogformat.h"
#include "ui_cconfmngtdlg.h"
#include "views/web/cwebbrowserwrapperform.h"

namespace kd_app {
namespace views {

namespace {

constexpr int kConfControlPage = 1;

} // namespace

CConfMngtDlg::CConfMngtDlg(QWidget *parent) : CBaseDlg(parent), m_pUi(std::make_unique<Ui::CConfMngtDlg>())
{
    m_pUi->setupUi(this);
    m_pWebForm = new CWebBrowserWrapperForm(kConfControlPage, this);
    KD_LOG << "kd_app::views::CConfMngtDlg::CConfMngtDlg";
    m_nTitleHeight = m_pUi->m_pWgtTitleBar->height();
    setWindowTitle(QObject::tr("PRODUCT_NAME"));
    setWindowFlags(Qt::FramelessWindowHint);
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conf-mngt-dlg"));
    m_pUi->m_pLayoutContext->addWidget(m_pWebForm);
    m_pUi->m_pBtnRestore->hide();
    m_maximizer.setButtons(m_pUi->m_pBtnMax, m_pUi->m_pBtnRestore);
    connect(m_pUi->m_pBtnMax, &QPushButton::clicked, this, &CConfMngtDlg::slotOnWinMax);
    connect(m_pUi->m_pBtnRestore, &QPushButton::clicked, this, &CConfMngtDlg::slotOnWinRestore);
    connect(m_pUi->m_pBtnClose, &QPushButton::clicked, this, &CConfMngtDlg::slotOnWinClose);
    KD_LOG << "done";
}

CConfMngtDlg::~CConfMngtDlg() = default;

void CConfMngtDlg::releasePage()
{
    KD_LOG << "releasePage";
    m_pWebForm->releaseCurrentPage();
}

void CConfMngtDlg::updatePage()
{
    KD_LOG << "updatePage";
    m_pWebForm->updatePage();
}

void CConfMngtDlg::slotOnWinMax()
{
    KD_LOG << "maximize";
    m_maximizer.maximize(this);
}

void CConfMngtDlg::slotOnWinRestore()
{
    KD_LOG << "restore";
    m_maximizer.restore(this);
}

void CConfMngtDlg::slotOnWinClose()
{
    KD_LOG << "close";
    close();
}

void CConfMngtDlg::closeEvent(QCloseEvent *event)
{
    // The toolbar decides what a close means; the window itself stays.
    KD_LOG << "closeEvent";
    event->ignore();
    emit sigClose();
}

void CConfMngtDlg::moveEvent(QMoveEvent *event)
{
    // Dragging a maximised window by its title bar gives it its normal size.
    if (m_bDrag && m_bMoving && m_maximizer.isMaximized()) {
        slotOnWinRestore();
    }
    CBaseDlg::moveEvent(event);
}

void CConfMngtDlg::showEvent(QShowEvent *event)
{
    KD_LOG << "showEvent";
    setAttribute(Qt::WA_Mapped);
    m_scaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
}

void CConfMngtDlg::hideEvent(QHideEvent *event)
{
    KD_LOG << "hideEvent";
    CBaseDlg::hideEvent(event);
}

void CConfMngtDlg::changeEvent(QEvent *event)
{
    // The window's own maximise stands in for the window system's states.
    Q_UNUSED(event)
}

void CConfMngtDlg::onDpiChanged()
{
    const double scale = m_fStretchFactor > 0 ? m_fStretchFactor : 1.0;
    KD_LOG << "fStretchFactor:" << scale;
    m_scaler.scaleWidget(scale, this, !m_maximizer.isMaximized());
    m_nTitleHeight = m_pUi->m_pWgtTitleBar->maximumHeight();
    setStyleSheetByScale(QStringLiteral(":/resources/qss/conf-mngt-dlg"));
    m_pWebForm->updateDpi(scale);
}

} // namespace views
} // namespace kd_app
