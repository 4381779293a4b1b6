#include "chomemenulistmodel.h"

namespace kd_app {
namespace custom_controls {

CHomeMenuListModel::CHomeMenuListModel(QObject *parent) : QAbstractListModel(parent)
{
}

CHomeMenuListModel::~CHomeMenuListModel() = default;

void CHomeMenuListModel::addItem(CHomeMenuItem *item)
{
    if (!item) {
        return;
    }
    const int row = int(m_items.size());
    beginInsertRows(QModelIndex(), row, row);
    m_items.emplace_back(item);
    endInsertRows();
}

void CHomeMenuListModel::clearItems()
{
    beginResetModel();
    m_items.clear();
    endResetModel();
}

void CHomeMenuListModel::rowChanged(int row)
{
    const QModelIndex changed = index(row, 0);
    emit dataChanged(changed, changed);
}

bool CHomeMenuListModel::setItemIcons(int row, const QString &normal, const QString &current, const QString &hover)
{
    if (!isRow(row)) {
        return false;
    }
    CHomeMenuItem &item = *m_items.at(std::size_t(row));
    item.normalIcon = normal;
    item.currentIcon = current;
    item.hoverIcon = hover;
    rowChanged(row);
    return true;
}

bool CHomeMenuListModel::setItemText(int row, const QString &text)
{
    if (!isRow(row)) {
        return false;
    }
    m_items.at(std::size_t(row))->text = text;
    rowChanged(row);
    return true;
}

int CHomeMenuListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant CHomeMenuListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !isRow(index.row())) {
        return QVariant();
    }
    const CHomeMenuItem &item = *m_items.at(std::size_t(index.row()));
    switch (role) {
    case TextRole:
        return item.text;
    case NormalIconRole:
        return item.normalIcon;
    case CurrentIconRole:
        return item.currentIcon;
    case HoverIconRole:
        return item.hoverIcon;
    default:
        return QVariant();
    }
}

} // namespace custom_controls
} // namespace kd_app
