#pragma once

#include <QFontMetrics>
#include <QPixmap>
#include <QStringList>
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
    // A name as the cell shows it in at most two lines of the width: broken
    // after a word where one fits, the rest cut with an ellipsis, so that
    // two people of the same first name still differ.
    static QStringList nameLines(const QString &name, const QFontMetrics &metrics, int width);
    bool isReadOnly() const { return m_bReadOnly; }

private:
    int scaled(double value) const { return int(value * m_fScale); }

    QPixmap m_addImage;
    QPixmap m_removeMark;
    bool m_bReadOnly = false;
    double m_fScale = 1.0;
};
