#include "cbasewgt.h"

#include <QGuiApplication>
#include <QScreen>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "views/base/cdisplayscale.h"

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
    const QScreen *screen = getDisplayScreen();
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return;
    }
    updateDpi(static_cast<unsigned int>(screen->logicalDotsPerInchX()));
    m_dpiWatcher.watch(this, [this](unsigned int dpi) { updateDpi(dpi); });
    QWidget::showEvent(event);
}

} // namespace views
} // namespace kd_app
