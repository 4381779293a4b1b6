#include "cdtmflabel.h"

#include <QPainter>

namespace kd_app {
namespace views {

namespace {

constexpr int KEY_SIZE = 50;
constexpr int KEY_FONT_PIXELS = 20;
// The key font of the design, with the system's sans serif for machines
// that do not have it.
const QStringList KEY_FONT_FAMILIES = {QStringLiteral("HiraginoSansGB-W3"), QStringLiteral("sans-serif")};

} // namespace

CDTMFLabel::CDTMFLabel(const int &index, const QString &text, QWidget *parent)
    : QLabel(parent), m_nIndex(index), m_strText(text)
{
    setAttribute(Qt::WA_MouseTracking);
    setStyleSheet("border: none;");
}

CDTMFLabel::~CDTMFLabel() = default;

void CDTMFLabel::setScale(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    setFixedSize(int(KEY_SIZE * m_fScale), int(KEY_SIZE * m_fScale));
    update();
}

int CDTMFLabel::keyFontPixelSize() const
{
    return int(KEY_FONT_PIXELS * m_fScale);
}

void CDTMFLabel::mouseReleaseEvent(QMouseEvent *event)
{
    emit signal_selectInput(m_nIndex);
    QLabel::mouseReleaseEvent(event);
}

void CDTMFLabel::enterEvent(QEvent *event)
{
    m_bHover = true;
    update();
    QLabel::enterEvent(event);
}

void CDTMFLabel::leaveEvent(QEvent *event)
{
    m_bHover = false;
    update();
    QLabel::leaveEvent(event);
}

void CDTMFLabel::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    if (m_bHover) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe1, 0xe1, 0xe1));
        painter.drawEllipse(rect());
    }
    QFont font;
    font.setFamilies(KEY_FONT_FAMILIES);
    font.setPixelSize(keyFontPixelSize());
    painter.setFont(font);
    painter.setPen(QColor(0x31, 0x31, 0x31));
    painter.drawText(rect(), Qt::AlignCenter, m_strText);
}

} // namespace views
} // namespace kd_app
