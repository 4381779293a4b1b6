#include "cprofiledlg.h"

namespace kd_app {
namespace views {

CProfileDlg::CProfileDlg(QWidget *parent, const QString &sheetBase) : CBaseDlg(parent), m_sheetBase(sheetBase)
{
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
}

void CProfileDlg::setTitleBar(QWidget *titleBar)
{
    m_pTitleBar = titleBar;
    m_nTitleHeight = titleBar->height();
}

void CProfileDlg::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
}

void CProfileDlg::onDpiChanged()
{
    CBaseDlg::onDpiChanged();
    setStyleSheet(QString());
    setStyleSheetByScale(m_sheetBase);
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
    if (m_pTitleBar) {
        m_nTitleHeight = m_pTitleBar->height();
    }
}

} // namespace views
} // namespace kd_app
