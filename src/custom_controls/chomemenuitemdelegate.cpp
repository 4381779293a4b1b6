#include "chomemenuitemdelegate.h"

#include <QPainter>
#include <QPixmapCache>

#include "custom_controls/chomemenulistmodel.h"

namespace kd_app {
namespace custom_controls {

namespace {

QPixmap iconPixmap(const QString &path)
{
    QPixmap pixmap;
    if (!QPixmapCache::find(path, &pixmap)) {
        pixmap.load(path);
        QPixmapCache::insert(path, pixmap);
    }
    return pixmap;
}

} // namespace

CHomeMenuItemDelegate::CHomeMenuItemDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
}

CHomeMenuItemDelegate::~CHomeMenuItemDelegate() = default;

void CHomeMenuItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect &rect = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const bool hovered = option.state & QStyle::State_MouseOver;

    painter->save();
    painter->setPen(Qt::NoPen);
    painter->fillRect(rect, QColor("#3c3c3c"));
    painter->restore();

    painter->save();
    const int role = selected  ? CHomeMenuListModel::CurrentIconRole
                     : hovered ? CHomeMenuListModel::HoverIconRole
                               : CHomeMenuListModel::NormalIconRole;
    const QPixmap icon = iconPixmap(index.data(role).toString());
    const QSize iconSize = icon.size() / icon.devicePixelRatio();
    painter->drawPixmap(rect.left() + (rect.width() - iconSize.width()) / 2, rect.top(), icon);
    painter->restore();

    painter->save();
    painter->setPen(QColor(selected || hovered ? "#f5452e" : "#919191"));
    painter->setFont(option.font);
    const QRect caption(rect.left(), rect.top() + iconSize.height(), rect.width(),
                        rect.height() - 2 * iconSize.height());
    painter->drawText(caption, Qt::AlignCenter, index.data(CHomeMenuListModel::TextRole).toString());
    painter->restore();
}

} // namespace custom_controls
} // namespace kd_app
