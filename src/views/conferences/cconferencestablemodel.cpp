#include "cconferencestablemodel.h"

#include "models/curlpixmap.h"

using kd_app::models::CUrlPixmap;
using kd_app::models::g_urlPixmapCache;

CConferencesTablemodel::CConferencesTablemodel(QObject *parent) : QAbstractTableModel(parent)
{
    connect(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished, this,
            &CConferencesTablemodel::slot_downloadFinished);
}

CConferencesTablemodel::~CConferencesTablemodel() = default;

void CConferencesTablemodel::addItem(conferencesItemData item)
{
    if (item.kind == conferencesItemData::User) {
        const auto cached = g_urlPixmapCache.constFind(item.imageURL);
        if (cached != g_urlPixmapCache.constEnd()) {
            item.avatar = cached.value();
        } else if (!item.imageURL.isEmpty()) {
            CUrlPixmap::getInstance()->appendUrl(item.imageURL);
        }
    }
    m_items.append(item);
}

void CConferencesTablemodel::clear()
{
    m_items.clear();
}

void CConferencesTablemodel::removeItem(const QModelIndex &index)
{
    beginResetModel();
    const int position = positionOf(index);
    if (position >= 0) {
        m_items.removeAt(position);
    }
    endResetModel();
}

QList<int> CConferencesTablemodel::getUserIds() const
{
    QList<int> ids;
    for (const conferencesItemData &item : m_items) {
        if (item.kind == conferencesItemData::User) {
            ids.append(item.userId);
        }
    }
    return ids;
}

void CConferencesTablemodel::refreshModel()
{
    beginResetModel();
    endResetModel();
}

int CConferencesTablemodel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : (m_items.size() + kColumns - 1) / kColumns;
}

int CConferencesTablemodel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : qMin(m_items.size(), kColumns);
}

int CConferencesTablemodel::positionOf(const QModelIndex &index) const
{
    if (!index.isValid()) {
        return -1;
    }
    const int position = index.row() * kColumns + index.column();
    return position < m_items.size() ? position : -1;
}

QVariant CConferencesTablemodel::data(const QModelIndex &index, int role) const
{
    const int position = positionOf(index);
    if (position < 0) {
        return QVariant();
    }
    const conferencesItemData &item = m_items.at(position);
    switch (role) {
    case NameRole:
        return item.name;
    case Qt::ToolTipRole:
        return item.kind == conferencesItemData::User ? QVariant(item.name) : QVariant();
    case KindRole:
        return item.kind;
    case UserIdRole:
        return item.userId;
    case AvatarRole:
        return item.avatar;
    default:
        return QVariant();
    }
}

bool CConferencesTablemodel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const int position = positionOf(index);
    if (position < 0) {
        return false;
    }
    conferencesItemData &item = m_items[position];
    switch (role) {
    case NameRole:
        item.name = value.toString();
        break;
    case KindRole:
        item.kind = value.toInt();
        break;
    case UserIdRole:
        item.userId = value.toInt();
        break;
    case AvatarRole:
        item.avatar = value.canConvert<QPixmap>() ? value.value<QPixmap>() : QPixmap();
        break;
    default:
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

void CConferencesTablemodel::slot_downloadFinished(QString strUrl)
{
    if (strUrl.isEmpty()) {
        return;
    }
    // Every cell of that address gets the picture, and is repainted now.
    for (int position = 0; position < m_items.size(); ++position) {
        conferencesItemData &item = m_items[position];
        if (item.imageURL != strUrl) {
            continue;
        }
        item.avatar = CUrlPixmap::cachedPixmap(item.imageURL);
        const QModelIndex cell = index(position / kColumns, position % kColumns);
        emit dataChanged(cell, cell, {AvatarRole});
    }
}
