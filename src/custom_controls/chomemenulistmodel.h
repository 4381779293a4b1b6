#pragma once

#include <memory>
#include <vector>

#include <QAbstractListModel>

#include "custom_controls/chomemenuitem.h"

namespace kd_app {
namespace custom_controls {

// The home menu's entries, owned one by one.
class CHomeMenuListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        TextRole = Qt::UserRole + 1,
        NormalIconRole,
        CurrentIconRole,
        HoverIconRole,
    };

    explicit CHomeMenuListModel(QObject *parent = nullptr);
    ~CHomeMenuListModel() override;

    // Takes the entry; a null one is ignored.
    void addItem(CHomeMenuItem *item);
    void clearItems();
    bool setItemIcons(int row, const QString &normal, const QString &current, const QString &hover);
    bool setItemText(int row, const QString &text);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    bool isRow(int row) const { return row >= 0 && row < int(m_items.size()); }
    void rowChanged(int row);

    std::vector<std::unique_ptr<CHomeMenuItem>> m_items;
};

} // namespace custom_controls
} // namespace kd_app
