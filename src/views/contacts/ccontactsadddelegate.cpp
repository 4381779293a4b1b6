#include "ccontactsadddelegate.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "views/contacts/ccontactsaddlistmodel.h"
#include "views/contacts/ccontactsimages.h"

CContactsAddDelegate::CContactsAddDelegate(QObject *parent) : QStyledItemDelegate(parent)
{
    loadImages();
}

CContactsAddDelegate::~CContactsAddDelegate() = default;

void CContactsAddDelegate::loadImages()
{
    m_tickedBox = QPixmap(contactsImageFile(QStringLiteral(":/resources/images/contacts/checkbox_checked.png"),
                                            m_fScale, CContactsImageSuffix::Underscore));
    m_emptyBox = QPixmap(contactsImageFile(QStringLiteral(":/resources/images/contacts/checkbox_unchecked.png"),
                                           m_fScale, CContactsImageSuffix::Underscore));
}

void CContactsAddDelegate::setPickerMode()
{
    m_bPickerMode = true;
}

void CContactsAddDelegate::updateDpi(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    loadImages();
}

QRect CContactsAddDelegate::buttonRect(const QRect &itemRect) const
{
    return QRect(itemRect.left() + scaled(450), itemRect.top() + (itemRect.height() - scaled(24)) / 2, scaled(60),
                 scaled(24));
}

QRect CContactsAddDelegate::tickBoxRect(const QRect &itemRect) const
{
    const int side = scaled(14);
    return QRect(itemRect.left() + scaled(496), itemRect.top() + (itemRect.height() - side) / 2, side, side);
}

void CContactsAddDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QRect &rect = option.rect;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setPen(Qt::NoPen);
    painter->fillRect(rect, QColor("#ffffff"));

    const QRect inset = rect.adjusted(scaled(10), 0, -scaled(10), 0);
    const int picture = scaled(28);
    const QRect pictureRect(inset.left(), inset.top() + (inset.height() - picture) / 2, picture, picture);
    const QPixmap avatar = index.data(CContactsAddListmodel::AvatarRole).value<QPixmap>();
    if (!avatar.isNull()) {
        QPainterPath round;
        round.addEllipse(pictureRect);
        painter->save();
        painter->setClipPath(round);
        painter->drawPixmap(pictureRect, avatar);
        painter->restore();
    }

    QFont font = painter->font();
    font.setPixelSize(scaled(14));
    painter->setFont(font);
    painter->setPen(QColor("#313131"));
    const QRect side = m_bPickerMode ? tickBoxRect(rect) : buttonRect(rect);
    const QRect textRect(inset.left() + scaled(38), inset.top(), side.left() - scaled(10) - inset.left() - scaled(38),
                         inset.height());
    const QString name = painter->fontMetrics().elidedText(index.data(CContactsAddListmodel::TextRole).toString(),
                                                           Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);

    if (m_bPickerMode) {
        const bool ticked = index.data(CContactsAddListmodel::TickedRole).toBool();
        painter->drawPixmap(side, ticked ? m_tickedBox : m_emptyBox);
    } else {
        font.setPixelSize(scaled(13));
        painter->setFont(font);
        if (index.data(CContactsAddListmodel::AddedRole).toBool()) {
            painter->setPen(QColor("#c1c1c1"));
            painter->drawText(side, Qt::AlignCenter, tr("Added"));
        } else {
            painter->setBrush(QColor("#ffdddd"));
            painter->drawRoundedRect(side, scaled(3), scaled(3));
            painter->setPen(QColor("#f50101"));
            painter->drawText(side, Qt::AlignCenter, tr("Add"));
        }
    }
    painter->restore();
}

QSize CContactsAddDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width(), scaled(40));
}

bool CContactsAddDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                       const QModelIndex &index)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->pos();
        if (m_bPickerMode && tickBoxRect(option.rect).contains(pos)) {
            emit signal_selectUserItem(index);
            return true;
        }
        if (!m_bPickerMode && buttonRect(option.rect).contains(pos) &&
            !index.data(CContactsAddListmodel::AddedRole).toBool()) {
            emit signal_addContactItem(index);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}
