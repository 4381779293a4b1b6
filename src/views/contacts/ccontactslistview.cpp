#include "ccontactslistview.h"

#include "helpers/clogformat.h"
#include "views/contacts/ccontactsdelegate.h"

CContactsListview::CContactsListview(QWidget *parent) : QListView(parent)
{
    setMouseTracking(true);
    // The row under the mouse is drawn apart, which hover events tell.
    viewport()->setAttribute(Qt::WA_Hover);
}

CContactsListview::~CContactsListview() = default;

void CContactsListview::initView()
{
    m_pModel = new CContactsListmodel(this);
    m_pDelegate = new CContactsDelegate(this);
    setModel(m_pModel);
    setItemDelegate(m_pDelegate);
    initGroups();
    m_pModel->refreshModel();
    connect(m_pDelegate, &CContactsDelegate::signal_selectContactItem, this,
            &CContactsListview::slot_selectContactItem);
}

void CContactsListview::initGroups()
{
    const int kinds[] = {contactsItemData::Header, contactsItemData::Separator, contactsItemData::Caption};
    const QString texts[] = {m_bPickerMode ? tr("Organization") : tr("Add contacts"), QString(), tr("My contacts")};
    for (int i = 0; i < 3; ++i) {
        contactsItemData row;
        row.kind = kinds[i];
        row.text = texts[i];
        m_pModel->addRow(row);
    }
}

QString CContactsListview::contactText(const ucmcontactData &contact) const
{
    return contact.ownerId == contact.userId ? contact.name + tr("(Me)") : contact.name;
}

contactsItemData CContactsListview::contactRow(const ucmcontactData &contact, const QString &url) const
{
    contactsItemData row;
    row.kind = contactsItemData::Contact;
    row.text = contactText(contact);
    row.contact = contact;
    row.avatarUrl = url;
    return row;
}

void CContactsListview::setContacts(const QList<ucmcontactData> &contacts)
{
    KD_LOG << "contacts:" << contacts.size();
    m_pModel->clear();
    initGroups();
    for (const ucmcontactData &contact : contacts) {
        m_pModel->addRow(contactRow(contact, contact.imageURL));
    }
    m_pModel->refreshModel();
}

bool CContactsListview::hasContact(int userId) const
{
    return m_pModel->indexOfUser(userId) >= 0;
}

void CContactsListview::addContact(const ucmcontactData &contact)
{
    m_pModel->appendRow(contactRow(contact, QString()));
}

void CContactsListview::removeContactByUserId(int userId)
{
    m_pModel->removeByUserId(userId);
}

void CContactsListview::removeCurrentContact()
{
    m_pModel->removeRowAt(currentIndex());
}

int CContactsListview::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

contactsItemData CContactsListview::currentContact() const
{
    return contactAt(currentRow());
}

contactsItemData CContactsListview::contactAt(int row) const
{
    return m_pModel->rowAt(row);
}

void CContactsListview::retranslateGroups()
{
    if (m_pModel->rowCount() < kFirstContactRow) {
        m_pModel->refreshModel();
        return;
    }
    m_pModel->setData(m_pModel->index(0, 0), m_bPickerMode ? tr("Organization") : tr("Add contacts"),
                      CContactsListmodel::TextRole);
    m_pModel->setData(m_pModel->index(2, 0), tr("My contacts"), CContactsListmodel::TextRole);
    if (m_pModel->rowCount() > kFirstContactRow) {
        const QModelIndex first = m_pModel->index(kFirstContactRow, 0);
        const ucmcontactData contact = m_pModel->rowAt(kFirstContactRow).contact;
        m_pModel->setData(first, contactText(contact), CContactsListmodel::TextRole);
    }
    m_pModel->refreshModel();
}

void CContactsListview::selectDefaultRow()
{
    const int row = m_pModel->rowCount() > kFirstContactRow + 1 ? kFirstContactRow : 0;
    KD_LOG << "row:" << row << "picker:" << m_bPickerMode;
    if (m_bPickerMode) {
        emit signal_current_changed(0);
        return;
    }
    setCurrentIndex(m_pModel->index(row, 0));
}

void CContactsListview::setPickerMode()
{
    m_bPickerMode = true;
    m_pDelegate->setPickerMode();
    m_pModel->setPickerMode();
}

void CContactsListview::setCheckedUsers(const QList<int> &userIds)
{
    m_pModel->setCheckedUsers(userIds);
}

void CContactsListview::setUserChecked(int userId, bool ticked)
{
    m_pModel->setUserChecked(userId, ticked);
}

void CContactsListview::updateSelf(const ucmuserData &user)
{
    m_pModel->updateContact(user.id, user.imageURL, user.displayName + tr("(Me)"));
}

void CContactsListview::updateDpi(double scale)
{
    m_pDelegate->updateDpi(scale);
    m_pModel->refreshModel();
}

void CContactsListview::slot_selectContactItem(QModelIndex index)
{
    if (!m_bPickerMode) {
        return;
    }
    const bool ticked = !index.data(CContactsListmodel::TickedRole).toBool();
    const ucmcontactData contact = index.data(CContactsListmodel::ContactRole).value<ucmcontactData>();
    m_pModel->setData(index, ticked, CContactsListmodel::TickedRole);
    m_pModel->refreshModel();
    emit signal_selectSyncItem(contact.userId, ticked);
}

void CContactsListview::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    emit signal_current_changed(current.isValid() ? current.row() : -1);
}
