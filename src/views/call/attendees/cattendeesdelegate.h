#pragma once

#include <QStyledItemDelegate>

namespace kd_app {
namespace views {

// Paints one attendee row: the avatar in a circle and the name beside it.
class CAttendeesDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit CAttendeesDelegate(QObject *parent = nullptr);
    ~CAttendeesDelegate() override;

    // A scale not above 0 counts as 1.
    void setScale(double scale);
    double scale() const { return m_fScale; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    double m_fScale = 1.0;
};

} // namespace views
} // namespace kd_app
