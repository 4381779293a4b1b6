#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Paints the rows of the contacts list by their kind: contacts with avatar
// (and a tick box in picker mode), the header row, the separator line and
// the caption. In picker mode a press on a tick box is reported.
class CContactsDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CContactsDelegate(QObject *parent = nullptr);
    ~CContactsDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    void setPickerMode();
    void updateDpi(double scale);
    double scale() const { return m_fScale; }

    // Where the tick box of a row lies: the press area and the painted box.
    QRect tickBoxRect(const QRect &itemRect) const;

signals:
    void signal_selectContactItem(QModelIndex index);

private:
    void loadImages();
    int scaled(double value) const { return int(value * m_fScale); }

    QPixmap m_iconAdd;
    QPixmap m_iconGroup;
    QPixmap m_arrow;
    QPixmap m_tickedBox;
    QPixmap m_emptyBox;
    double m_fScale = 1.0;
    bool m_bPickerMode = false;
};
