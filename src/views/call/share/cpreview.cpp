#include "cpreview.h"

#include <QPainter>

#include "views/base/cstylesheetpainter.h"

namespace kd_app {
namespace views {

CPreview::CPreview(QWidget *parent) : QWidget(parent)
{
}

CPreview::~CPreview() = default;

void CPreview::setThumbnail(const QImage &thumbnail)
{
    m_thumbnail = thumbnail;
    m_bHasThumbnail = !thumbnail.isNull();
    update();
}

void CPreview::setIcon(const QImage &icon)
{
    m_icon = icon;
    m_bHasIcon = !icon.isNull();
    update();
}

void CPreview::paintEvent(QPaintEvent * /*event*/)
{
    // A tile without pixels shows its style sheet's picture instead.
    CStyleSheetPainter::paintBackground(this);
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_bHasThumbnail) {
        painter.drawImage(rect(), m_thumbnail);
    }
    if (m_bHasIcon) {
        painter.drawImage(QPoint(0, 0), m_icon);
    }
}

} // namespace views
} // namespace kd_app
