#include "cconferencesdelegate.h"

#include <QPainter>

#include "views/conferences/cconferencesimages.h"
#include "views/conferences/cconferencestablemodel.h"

CConferencesDelegate::CConferencesDelegate(QObject *parent)
    : QStyledItemDelegate(parent),
      m_addImage(conferencesImage(QStringLiteral(":/resources/images/conferences/btn_add.png"), 1.0)),
      m_removeMark(conferencesImage(QStringLiteral(":/resources/images/conferences/icon_deletepeople.png"), 1.0))
{
}

CConferencesDelegate::~CConferencesDelegate() = default;

void CConferencesDelegate::updateDpi(double scale)
{
    m_fScale = scale > 0 ? scale : 1.0;
    m_addImage = QPixmap(conferencesImage(QStringLiteral(":/resources/images/conferences/btn_add.png"), m_fScale));
    m_removeMark =
        QPixmap(conferencesImage(QStringLiteral(":/resources/images/conferences/icon_deletepeople.png"), m_fScale));
}

void CConferencesDelegate::setReadOnly()
{
    m_bReadOnly = true;
}

QSize CConferencesDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return QSize(scaled(48), scaled(68));
}

void CConferencesDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(CConferencesTablemodel::NameRole).toString();
    const int kind = index.data(CConferencesTablemodel::KindRole).toInt();
    const QVariant avatarData = index.data(CConferencesTablemodel::AvatarRole);
    const QPixmap avatar = avatarData.canConvert<QPixmap>() ? avatarData.value<QPixmap>() : QPixmap();

    painter->setRenderHint(QPainter::Antialiasing);
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(QColor("#f7f7f7"));
    painter->drawRect(option.rect);
    painter->restore();

    QRect area = option.rect.adjusted(scaled(10), scaled(10), -scaled(10), -scaled(10));
    const QRect picture(area.topLeft(), QSize(scaled(28), scaled(28)));
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font = painter->font();
    font.setPixelSize(scaled(12));
    painter->setFont(font);
    if (kind == conferencesItemData::User) {
        painter->setPen(QColor("#313131"));
        painter->drawPixmap(picture, avatar);
        if ((option.state & QStyle::State_MouseOver) && !m_bReadOnly) {
            painter->fillRect(picture, QColor(0, 0, 0, 80));
            const QRect mark(area.left() + scaled(4), area.top() + scaled(4), scaled(20), scaled(20));
            painter->drawPixmap(mark, m_removeMark);
        }
        // The name may use the cell's whole width under the avatar, down to
        // the cell's edge; the whole name is the cell's tool tip.
        const QRect lines(option.rect.left() + scaled(4), area.top() + scaled(28), option.rect.width() - scaled(8),
                          option.rect.bottom() - area.top() - scaled(28));
        painter->drawText(lines, Qt::AlignHCenter | Qt::AlignVCenter,
                          nameLines(text, painter->fontMetrics(), lines.width()).join(QLatin1Char('\n')));
    } else if (kind == conferencesItemData::AddCell) {
        painter->setPen(QColor("#c91700"));
        painter->drawPixmap(picture, m_addImage);
        area.setTop(area.top() + scaled(28));
        painter->drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
    painter->restore();
}

QStringList CConferencesDelegate::nameLines(const QString &name, const QFontMetrics &metrics, int width)
{
    const QString whole = name.simplified();
    if (metrics.horizontalAdvance(whole) <= width) {
        return {whole};
    }
    int fits = 0;
    while (fits < whole.size() && metrics.horizontalAdvance(whole.left(fits + 1)) <= width) {
        ++fits;
    }
    const int space = whole.lastIndexOf(QLatin1Char(' '), fits);
    const int cut = space > 0 ? space : qMax(fits, 1);
    return {whole.left(cut).trimmed(), metrics.elidedText(whole.mid(cut).trimmed(), Qt::ElideRight, width)};
}
