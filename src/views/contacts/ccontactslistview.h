#pragma once

#include <QListView>

#include "models/ucmdata.h"
#include "views/contacts/ccontactslistmodel.h"

class CContactsDelegate;

// The left list of the contacts page: "Add contacts" (or "Organization" in
// picker mode), a separator, the caption "My contacts", then the contacts.
class CContactsListview : public QListView
{
    Q_OBJECT

public:
    // The first contact row; the rows above it are fixed.
    static constexpr int kFirstContactRow = 3;

    explicit CContactsListview(QWidget *parent = nullptr);
    ~CContactsListview() override;

    void initView();
    void initGroups();
    void setContacts(const QList<ucmcontactData> &contacts);
    void addContact(const ucmcontactData &contact);
    void removeContactByUserId(int userId);
    void removeCurrentContact();
    int currentRow() const;
    // The rows' data; an empty row of kind NoRow where there is no row.
    contactsItemData currentContact() const;
    contactsItemData contactAt(int row) const;
    bool hasContact(int userId) const;
    void retranslateGroups();
    void selectDefaultRow();
    void setPickerMode();
    void setCheckedUsers(const QList<int> &userIds);
    void setUserChecked(int userId, bool ticked);
    void updateSelf(const ucmuserData &user);
    void updateDpi(double scale);

    CContactsListmodel *listModel() const { return m_pModel; }
    CContactsDelegate *contactsDelegate() const { return m_pDelegate; }

signals:
    void signal_current_changed(int row);
    void signal_selectSyncItem(int userId, bool ticked);

public slots:
    void slot_selectContactItem(QModelIndex index);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    contactsItemData contactRow(const ucmcontactData &contact, const QString &url) const;
    QString contactText(const ucmcontactData &contact) const;

    CContactsListmodel *m_pModel = nullptr;
    CContactsDelegate *m_pDelegate = nullptr;
    bool m_bPickerMode = false;
};
