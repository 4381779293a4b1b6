#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Paints the organisation's users with an "Add" or "Added" button, or a tick
// box in picker mode, and reports presses on them.
class CContactsAddDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CContactsAddDelegate(QObject *parent = nullptr);
    ~CContactsAddDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

    void setPickerMode();
    void updateDpi(double scale);

    // Press areas, measured on the whole item rectangle.
    QRect buttonRect(const QRect &itemRect) const;
    QRect tickBoxRect(const QRect &itemRect) const;

signals:
    void signal_addContactItem(QModelIndex index);
    void signal_selectUserItem(QModelIndex index);

private:
    void loadImages();
    int scaled(double value) const { return int(value * m_fScale); }

    QPixmap m_tickedBox;
    QPixmap m_emptyBox;
    double m_fScale = 1.0;
    bool m_bPickerMode = false;
};
