#include "cattendeesdelegate.h"

#include <QPainter>
#include <QPainterPath>

#include "views/call/attendees/cattendeeslistmodel.h"

namespace kd_app {
namespace views {

namespace {

constexpr int ROW_HEIGHT = 40;
constexpr int SIDE_MARGIN = 10;
constexpr int AVATAR_SIZE = 28;
constexpr int NAME_OFFSET = 38;
constexpr int NAME_PIXELS = 14;

} // namespace

CAttendeesDelegate::CAttendeesDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

CAttendeesDelegate::~CAttendeesDelegate() = default;

void CAttendeesDelegate::setScale(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
}

void CAttendeesDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const double s = m_fScale;
    painter->save();
    painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter->setPen(Qt::NoPen);
    painter->fillRect(option.rect, QColor(0xf7, 0xf7, 0xf7));
    const QRect row = option.rect.adjusted(int(SIDE_MARGIN * s), 0, -int(SIDE_MARGIN * s), 0);

    const int avatarSize = int(AVATAR_SIZE * s);
    const QRect avatarRect(row.left(), row.top() + (row.height() - avatarSize) / 2, avatarSize, avatarSize);
    const QPixmap avatar = index.data(CAttendeesListmodel::AvatarRole).value<QPixmap>();
    if (!avatar.isNull()) {
        QPainterPath circle;
        circle.addEllipse(avatarRect);
        painter->setClipPath(circle);
        painter->drawPixmap(avatarRect, avatar);
        painter->setClipping(false);
    }

    QFont font = option.font;
    font.setPixelSize(int(NAME_PIXELS * s));
    painter->setFont(font);
    painter->setPen(QColor(0x31, 0x31, 0x31));
    const QRect nameRect = row.adjusted(int(NAME_OFFSET * s), 0, 0, 0);
    const QString name = index.data(CAttendeesListmodel::NameRole).toString();
    painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                      painter->fontMetrics().elidedText(name, Qt::ElideRight, nameRect.width()));
    painter->restore();
}

QSize CAttendeesDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex & /*index*/) const
{
    return QSize(option.rect.width(), int(ROW_HEIGHT * m_fScale));
}

} // namespace views
} // namespace kd_app
