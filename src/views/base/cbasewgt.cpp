#include "cbasewgt.h"

#include <QGuiApplication>
#include <QScreen>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "views/base/cdisplayscale.h"
#include "views/base/cshowdpi.h"

namespace kd_app {
namespace views {

CBaseWgt::CBaseWgt(QWidget *parent) : QWidget(nullptr)
{
}

CBaseWgt::~CBaseWgt() = default;

QScreen *CBaseWgt::getDisplayScreen() const
{
    return CDisplayScale::screenAtCenterOf(this);
}

void CBaseWgt::centerWindow()
{
    CDisplayScale::centerOn(this, getDisplayScreen());
}

void CBaseWgt::updateDpi(unsigned int dpi)
{
    if (CDisplayScale::update(dpi, m_nDpi, m_fStretchFactor)) {
        onDpiChanged();
    }
}

void CBaseWgt::setStyleSheetByScale(const QString &base)
{
    CDisplayScale::applyStyleSheets(this, base, m_fStretchFactor);
}

void CBaseWgt::onDpiChanged()
{
    KD_LOG << this << "fStretchFactor:" << m_fStretchFactor;
}

void CBaseWgt::showEvent(QShowEvent *event)
{
    if (!applyAndWatchDpi(m_dpiWatcher, this, getDisplayScreen(), [this](unsigned int dpi) { updateDpi(dpi); })) {
        return;
    }
    QWidget::showEvent(event);
}

} // namespace views
} // namespace kd_app
