#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>

// Paints a participants grid's cells: the user's avatar over the name, with
// a remove mark under the mouse on an editable grid, and the add cell.
class CConferencesDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CConferencesDelegate(QObject *parent = nullptr);
    ~CConferencesDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    void updateDpi(double scale);
    void setReadOnly();
    bool isReadOnly() const { return m_bReadOnly; }

private:
    int scaled(double value) const { return int(value * m_fScale); }

    QPixmap m_addImage;
    QPixmap m_removeMark;
    bool m_bReadOnly = false;
    double m_fScale = 1.0;
};
