#include "cwebreportdetailsdlg.h"

#include <QApplication>
#include <QClipboard>

#include "helpers/clogformat.h"
#include "ui_cwebreportdetailsdlg.h"
#include "views/base/alertdlg.h"
#include "views/settings/cwebreportdatatablewidget.h"

namespace kd_app {
namespace views {

CWebreportDetailsDlg::CWebreportDetailsDlg(QWidget *parent, kd::engine::KDDiag diag, std::string details)
    : CBaseDlg(parent), m_pUi(std::make_unique<Ui::CWebreportDetailsDlg>()), m_diag(std::move(diag)),
      m_strDiag(std::move(details))
{
    m_pUi->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    CWebreportDataTableWidget *tables = CWebreportDataTableWidget::instance();
    tables->initDetailsTable(m_pUi->m_pTableWgt);
    tables->fillDetailsTable(m_pUi->m_pTableWgt, m_diag);
    connect(m_pUi->m_BtnClose, &QPushButton::clicked, this, &CWebreportDetailsDlg::slotOnClose);
}

CWebreportDetailsDlg::~CWebreportDetailsDlg()
{
    KD_LOG;
}

void CWebreportDetailsDlg::slotOnClose()
{
    KD_LOG;
    close();
}

void CWebreportDetailsDlg::on_m_pBtnCopy_clicked()
{
    KD_LOG;
    QApplication::clipboard()->setText(QString::fromUtf8(m_strDiag.data(), int(m_strDiag.size())),
                                       QClipboard::Clipboard);
    AlertDlg::information(this, tr("Prompt"), tr("Details have been copied to the system clipboard"));
}

void CWebreportDetailsDlg::showEvent(QShowEvent *event)
{
    KD_LOG;
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
    centerWindowOnScreen();
}

void CWebreportDetailsDlg::onDpiChanged()
{
    setStyleSheet(QString());
    setStyleSheetByScale(QStringLiteral(":/resources/qss/webreport-details-dlg"));
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    m_nTitleHeight = m_pUi->m_pWgtTitleBar->height();
    CWebreportDataTableWidget::instance()->updateDetailsTableDpi(m_pUi->m_pTableWgt, m_fStretchFactor);
}

} // namespace views
} // namespace kd_app
