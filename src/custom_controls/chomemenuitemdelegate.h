#pragma once

#include <QStyledItemDelegate>

namespace kd_app {
namespace custom_controls {

// Paints a home menu entry on the dark operation bar: the icon of its state
// over its caption.
class CHomeMenuItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CHomeMenuItemDelegate(QObject *parent = nullptr);
    ~CHomeMenuItemDelegate() override;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace custom_controls
} // namespace kd_app
