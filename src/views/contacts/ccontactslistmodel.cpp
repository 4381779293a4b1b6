#include "ccontactslistmodel.h"

namespace {

ucmcontactData contactOf(const QVariant &value)
{
    return value.canConvert<ucmcontactData>() ? value.value<ucmcontactData>() : ucmcontactData();
}

} // namespace

CContactsListmodel::CContactsListmodel(QObject *parent) : CAvatarListModel(parent, AvatarRole)
{
}

CContactsListmodel::~CContactsListmodel() = default;

void CContactsListmodel::addRow(const contactsItemData &row)
{
    m_rows.append(row);
    if (row.kind == contactsItemData::Contact) {
        takeAvatar(m_rows.size() - 1);
    }
    rememberWaitingRow(m_rows.size() - 1);
}

void CContactsListmodel::appendRow(const contactsItemData &row)
{
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    addRow(row);
    endInsertRows();
}

void CContactsListmodel::clear()
{
    m_rows.clear();
    forgetWaitingRows();
}

void CContactsListmodel::removeRowAt(const QModelIndex &index)
{
    beginResetModel();
    if (index.isValid() && index.row() < m_rows.size()) {
        m_rows.remove(index.row());
        indexWaitingRows();
    }
    endResetModel();
}

int CContactsListmodel::indexOfUser(int userId) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).kind == contactsItemData::Contact && m_rows.at(row).contact.userId == userId) {
            return row;
        }
    }
    return -1;
}

void CContactsListmodel::removeByUserId(int userId)
{
    beginResetModel();
    const int row = indexOfUser(userId);
    if (row >= 0) {
        m_rows.remove(row);
        indexWaitingRows();
    }
    endResetModel();
}

void CContactsListmodel::setPickerMode()
{
    beginResetModel();
    m_bPickerMode = true;
    endResetModel();
}

void CContactsListmodel::setCheckedUsers(const QList<int> &userIds)
{
    if (!m_bPickerMode) {
        return;
    }
    beginResetModel();
    for (contactsItemData &row : m_rows) {
        if (row.kind == contactsItemData::Contact) {
            row.ticked = userIds.contains(row.contact.userId);
        }
    }
    endResetModel();
}

void CContactsListmodel::setUserChecked(int userId, bool ticked)
{
    if (!m_bPickerMode) {
        return;
    }
    beginResetModel();
    const int row = indexOfUser(userId);
    if (row >= 0) {
        m_rows[row].ticked = ticked;
    }
    endResetModel();
}

void CContactsListmodel::updateContact(int userId, const QString &url, const QString &name)
{
    beginResetModel();
    const int row = indexOfUser(userId);
    if (row >= 0) {
        contactsItemData &item = m_rows[row];
        if (item.text != name) {
            item.text = name;
            item.contact.userName = name;
        }
        if (item.avatarUrl != url) {
            item.avatarUrl = url;
            item.contact.imageURL = url;
            takeAvatar(row);
            indexWaitingRows();
        }
    }
    endResetModel();
}

contactsItemData CContactsListmodel::rowAt(int row) const
{
    if (row < 0 || row >= m_rows.size()) {
        return contactsItemData();
    }
    return m_rows.at(row);
}

int CContactsListmodel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant CContactsListmodel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return QVariant();
    }
    const contactsItemData &row = m_rows.at(index.row());
    switch (role) {
    case TextRole:
        return row.text;
    case KindRole:
        return row.kind;
    case AvatarRole:
        return row.avatar;
    case ContactRole:
        return QVariant::fromValue(row.contact);
    case TickedRole:
        return row.ticked;
    default:
        return QVariant();
    }
}

bool CContactsListmodel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return false;
    }
    contactsItemData &row = m_rows[index.row()];
    switch (role) {
    case TextRole:
        row.text = value.toString();
        break;
    case KindRole:
        row.kind = value.toInt();
        break;
    case AvatarRole:
        row.avatar = pixmapOf(value);
        break;
    case ContactRole:
        row.contact = contactOf(value);
        break;
    case TickedRole:
        row.ticked = value.toBool();
        break;
    default:
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags CContactsListmodel::flags(const QModelIndex &index) const
{
    if (m_bPickerMode) {
        return Qt::NoItemFlags;
    }
    if (index.isValid() && index.row() < m_rows.size()) {
        const int kind = m_rows.at(index.row()).kind;
        if (kind == contactsItemData::Separator || kind == contactsItemData::Caption) {
            return Qt::NoItemFlags;
        }
    }
    return QAbstractListModel::flags(index);
}
