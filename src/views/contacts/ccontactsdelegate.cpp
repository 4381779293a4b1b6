#include "ccontactsdelegate.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "views/contacts/ccontactsimages.h"
#include "views/contacts/ccontactslistmodel.h"

namespace {

QPixmap icon(const QString &name, double scale)
{
    return QPixmap(contactsImageFile(name, scale, CContactsImageSuffix::Dash));
}

QPixmap box(const QString &name, double scale)
{
    return QPixmap(contactsImageFile(name, scale, CContactsImageSuffix::Underscore));
}

} // namespace

CContactsDelegate::CContactsDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
    loadImages();
}

CContactsDelegate::~CContactsDelegate() = default;

void CContactsDelegate::loadImages()
{
    m_iconAdd = icon(QStringLiteral(":/resources/images/contacts/icon_add.png"), m_fScale);
    m_iconGroup = icon(QStringLiteral(":/resources/images/contacts/icon_group.png"), m_fScale);
    m_arrow = icon(QStringLiteral(":/resources/images/contacts/arrow.png"), m_fScale);
    m_tickedBox = box(QStringLiteral(":/resources/images/contacts/checkbox_checked.png"), m_fScale);
    m_emptyBox = box(QStringLiteral(":/resources/images/contacts/checkbox_unchecked.png"), m_fScale);
}

void CContactsDelegate::setPickerMode()
{
    m_bPickerMode = true;
}

void CContactsDelegate::updateDpi(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    loadImages();
}

QRect CContactsDelegate::tickBoxRect(const QRect &itemRect) const
{
    const int side = scaled(14);
    return QRect(itemRect.right() - scaled(24), itemRect.top() + (itemRect.height() - side) / 2, side, side);
}

void CContactsDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect &rect = option.rect;
    const int kind = index.data(CContactsListmodel::KindRole).toInt();
    const bool hovered = (option.state & QStyle::State_MouseOver) && index.flags() != Qt::NoItemFlags;
    const bool selected = option.state & QStyle::State_Selected;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setPen(Qt::NoPen);
    painter->fillRect(rect, QColor(selected || hovered ? "#ededed" : "#f7f7f7"));

    const QRect inset = rect.adjusted(scaled(10), 0, -scaled(10), 0);
    const int picture = scaled(28);
    const QRect pictureRect(inset.left(), inset.top() + (inset.height() - picture) / 2, picture, picture);
    QFont font = painter->font();
    switch (kind) {
    case contactsItemData::Contact: {
        font.setPixelSize(scaled(14));
        painter->setFont(font);
        painter->setPen(QColor("#313131"));
        const QPixmap avatar = index.data(CContactsListmodel::AvatarRole).value<QPixmap>();
        if (!avatar.isNull()) {
            QPainterPath round;
            round.addEllipse(pictureRect);
            painter->save();
            painter->setClipPath(round);
            painter->drawPixmap(pictureRect, avatar);
            painter->restore();
        }
        QRect textRect = inset.adjusted(scaled(38), 0, 0, 0);
        if (m_bPickerMode) {
            const QRect box = tickBoxRect(rect);
            const bool ticked = index.data(CContactsListmodel::TickedRole).toBool();
            painter->drawPixmap(box, ticked ? m_tickedBox : m_emptyBox);
            textRect.setRight(box.left() - scaled(8));
        }
        const QString text = painter->fontMetrics().elidedText(index.data(CContactsListmodel::TextRole).toString(),
                                                               Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
        break;
    }
    case contactsItemData::Header: {
        font.setPixelSize(scaled(13));
        painter->setFont(font);
        painter->setPen(QColor("#313131"));
        painter->drawPixmap(pictureRect, m_bPickerMode ? m_iconGroup : m_iconAdd);
        const QRect arrow(inset.right() - scaled(10), inset.top() + (inset.height() - scaled(16)) / 2, scaled(10),
                          scaled(16));
        painter->drawPixmap(arrow, m_arrow);
        const QRect textRect(inset.left() + scaled(38), inset.top(), arrow.left() - inset.left() - scaled(38),
                             inset.height());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(CContactsListmodel::TextRole).toString());
        break;
    }
    case contactsItemData::Separator:
        painter->fillRect(inset, QColor("#e1e1e1"));
        break;
    case contactsItemData::Caption:
        font.setPixelSize(scaled(12));
        painter->setFont(font);
        painter->setPen(QColor("#919191"));
        painter->drawText(inset, Qt::AlignLeft | Qt::AlignVCenter, index.data(CContactsListmodel::TextRole).toString());
        break;
    default:
        break;
    }
    painter->restore();
}

QSize CContactsDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    switch (index.data(CContactsListmodel::KindRole).toInt()) {
    case contactsItemData::Contact:
        return QSize(option.rect.width(), scaled(40));
    case contactsItemData::Header:
        return QSize(option.rect.width(), scaled(48));
    case contactsItemData::Separator:
        return QSize(option.rect.width(), 1);
    case contactsItemData::Caption:
        return QSize(option.rect.width(), scaled(20));
    default:
        return QStyledItemDelegate::sizeHint(option, index);
    }
}

bool CContactsDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                    const QModelIndex &index)
{
    if (m_bPickerMode && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (tickBoxRect(option.rect).contains(press->pos())) {
            emit signal_selectContactItem(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
