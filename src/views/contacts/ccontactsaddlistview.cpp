#include "ccontactsaddlistview.h"

#include <QSet>
#include <QSortFilterProxyModel>

#include "helpers/clogformat.h"
#include "helpers/cwildcardpattern.h"
#include "views/contacts/ccontactsadddelegate.h"
#include "views/contacts/ccontactsaddlistmodel.h"

CContactsAddListview::CContactsAddListview(QWidget *parent) : QListView(parent)
{
    setMouseTracking(true);
    // The row under the mouse is drawn apart, which hover events tell.
    viewport()->setAttribute(Qt::WA_Hover);
    // Every row has the same height, which keeps lists of thousands of users quick.
    setUniformItemSizes(true);
}

CContactsAddListview::~CContactsAddListview() = default;

void CContactsAddListview::initView()
{
    m_pModel = new CContactsAddListmodel(this);
    m_pProxy = new QSortFilterProxyModel(this);
    m_pProxy->setSourceModel(m_pModel);
    m_pProxy->setFilterKeyColumn(0);
    m_pProxy->setFilterRole(CContactsAddListmodel::TextRole);
    m_pDelegate = new CContactsAddDelegate(this);
    setModel(m_pProxy);
    setItemDelegate(m_pDelegate);
    connect(m_pDelegate, &CContactsAddDelegate::signal_addContactItem, this,
            &CContactsAddListview::slot_addContactItem);
    connect(m_pDelegate, &CContactsAddDelegate::signal_selectUserItem, this,
            &CContactsAddListview::slot_selectUserItem);
}

namespace {

QSet<int> contactUserIds(const QList<ucmcontactData> &contacts)
{
    QSet<int> ids;
    ids.reserve(contacts.size());
    for (const ucmcontactData &contact : contacts) {
        ids.insert(contact.userId);
    }
    return ids;
}

} // namespace

void CContactsAddListview::setUsers(const QList<ucmuserData> &users, const QList<ucmcontactData> &contacts)
{
    KD_LOG << "users:" << users.size() << "contacts:" << contacts.size();
    const QSet<int> contactUsers = contactUserIds(contacts);
    m_pModel->clear();
    m_pModel->reserve(users.size());
    for (const ucmuserData &user : users) {
        contactsAddItemData row;
        row.text = user.displayName;
        row.added = contactUsers.contains(user.id);
        row.user = user;
        row.avatarUrl = user.imageURL;
        m_pModel->addUser(row);
    }
    m_pModel->refreshModel();
}

void CContactsAddListview::setContacts(const QList<ucmcontactData> &contacts)
{
    m_pModel->setAddedUsers(contactUserIds(contacts));
}

QList<int> CContactsAddListview::getCheckedUserIds() const
{
    return m_pModel->getCheckedUserIds();
}

void CContactsAddListview::setPickerMode()
{
    m_bPickerMode = true;
    m_pDelegate->setPickerMode();
    m_pModel->setPickerMode();
}

void CContactsAddListview::setCheckedUsers(const QList<int> &ids)
{
    if (m_bPickerMode) {
        m_pModel->setCheckedUsers(ids);
    }
}

void CContactsAddListview::setUserChecked(int id, bool ticked)
{
    if (m_bPickerMode) {
        m_pModel->setUserChecked(id, ticked);
    }
}

void CContactsAddListview::updateUser(const ucmuserData &user)
{
    m_pModel->updateUser(user.id, user.imageURL, user.displayName);
}

void CContactsAddListview::setUserAdded(int id)
{
    m_pModel->setUserAdded(id);
}

void CContactsAddListview::setUserNotAdded(int id)
{
    m_pModel->setUserNotAdded(id);
}

void CContactsAddListview::updateDpi(double scale)
{
    m_pDelegate->updateDpi(scale);
    m_pModel->refreshModel();
}

void CContactsAddListview::slot_addContactItem(QModelIndex index)
{
    const QModelIndex source = m_pProxy->mapToSource(index);
    const ucmuserData user = source.data(CContactsAddListmodel::UserRole).value<ucmuserData>();
    KD_LOG << "userId:" << user.id;
    emit signal_addContact_begin(user.id);
}

void CContactsAddListview::slot_selectUserItem(QModelIndex index)
{
    if (!m_bPickerMode) {
        return;
    }
    const QModelIndex source = m_pProxy->mapToSource(index);
    const bool ticked = !source.data(CContactsAddListmodel::TickedRole).toBool();
    const ucmuserData user = source.data(CContactsAddListmodel::UserRole).value<ucmuserData>();
    m_pModel->setData(source, ticked, CContactsAddListmodel::TickedRole);
    emit signal_selectSyncItem(user.id, ticked);
}

void CContactsAddListview::slot_textChanged(QString str)
{
    m_pProxy->setFilterRegularExpression(kd_app::helpers::CWildcardPattern::containing(str));
}
