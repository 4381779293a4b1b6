#include "ccontactsaddlistmodel.h"

namespace {

ucmuserData userOf(const QVariant &value)
{
    return value.canConvert<ucmuserData>() ? value.value<ucmuserData>() : ucmuserData();
}

} // namespace

CContactsAddListmodel::CContactsAddListmodel(QObject *parent) : CAvatarListModel(parent, AvatarRole)
{
}

CContactsAddListmodel::~CContactsAddListmodel() = default;

void CContactsAddListmodel::addUser(const contactsAddItemData &row)
{
    m_rows.append(row);
    takeAvatar(m_rows.size() - 1);
    rememberWaitingRow(m_rows.size() - 1);
}

void CContactsAddListmodel::clear()
{
    m_rows.clear();
    forgetWaitingRows();
}

void CContactsAddListmodel::setPickerMode()
{
    beginResetModel();
    m_bPickerMode = true;
    endResetModel();
}

int CContactsAddListmodel::indexOfUser(int id) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).user.id == id) {
            return row;
        }
    }
    return -1;
}

void CContactsAddListmodel::emitRowsChanged(int first, int last, const QVector<int> &roles)
{
    if (first <= last) {
        emit dataChanged(index(first, 0), index(last, 0), roles);
    }
}

// Tick and added marks change single rows in place: a reset would take the
// user's scroll position in a long list with it.
void CContactsAddListmodel::setCheckedUsers(const QList<int> &ids)
{
    if (!m_bPickerMode) {
        return;
    }
    for (contactsAddItemData &row : m_rows) {
        row.ticked = ids.contains(row.user.id);
    }
    emitRowsChanged(0, m_rows.size() - 1, {TickedRole});
}

void CContactsAddListmodel::setUserChecked(int id, bool ticked)
{
    if (!m_bPickerMode) {
        return;
    }
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).user.id == id) {
            m_rows[row].ticked = ticked;
            emitRowsChanged(row, row, {TickedRole});
        }
    }
}

QList<int> CContactsAddListmodel::getCheckedUserIds() const
{
    QList<int> ids;
    for (const contactsAddItemData &row : m_rows) {
        if (row.ticked) {
            ids.append(row.user.id);
        }
    }
    return ids;
}

void CContactsAddListmodel::updateUser(int id, const QString &url, const QString &name)
{
    const int row = indexOfUser(id);
    if (row < 0) {
        return;
    }
    contactsAddItemData &item = m_rows[row];
    if (item.text != name) {
        item.text = name;
        item.user.displayName = name;
    }
    if (item.avatarUrl != url) {
        item.avatarUrl = url;
        item.user.imageURL = url;
        takeAvatar(row);
        indexWaitingRows();
    }
    emitRowsChanged(row, row, {});
}

void CContactsAddListmodel::setAdded(int id, bool added)
{
    const int row = indexOfUser(id);
    if (row >= 0) {
        m_rows[row].added = added;
        emitRowsChanged(row, row, {AddedRole});
    }
}

void CContactsAddListmodel::setUserAdded(int id)
{
    setAdded(id, true);
}

void CContactsAddListmodel::setUserNotAdded(int id)
{
    setAdded(id, false);
}

void CContactsAddListmodel::setAddedUsers(const QSet<int> &userIds)
{
    int first = -1;
    int last = -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        const bool added = userIds.contains(m_rows.at(row).user.id);
        if (m_rows.at(row).added != added) {
            m_rows[row].added = added;
            first = first < 0 ? row : first;
            last = row;
        }
    }
    if (first >= 0) {
        emitRowsChanged(first, last, {AddedRole});
    }
}

int CContactsAddListmodel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant CContactsAddListmodel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return QVariant();
    }
    const contactsAddItemData &row = m_rows.at(index.row());
    switch (role) {
    case TextRole:
        return row.text;
    case AddedRole:
        return row.added;
    case AvatarRole:
        return row.avatar;
    case UserRole:
        return QVariant::fromValue(row.user);
    case TickedRole:
        return row.ticked;
    default:
        return QVariant();
    }
}

bool CContactsAddListmodel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return false;
    }
    contactsAddItemData &row = m_rows[index.row()];
    switch (role) {
    case TextRole:
        row.text = value.toString();
        break;
    case AddedRole:
        row.added = value.toBool();
        break;
    case AvatarRole:
        row.avatar = pixmapOf(value);
        break;
    case UserRole:
        row.user = userOf(value);
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

Qt::ItemFlags CContactsAddListmodel::flags(const QModelIndex &) const
{
    return Qt::NoItemFlags;
}
