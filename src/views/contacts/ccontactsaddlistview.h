#pragma once

#include <QListView>

#include "models/ucmdata.h"

class CContactsAddDelegate;
class CContactsAddListmodel;
class QSortFilterProxyModel;

// The organisation's users under the search box of the contacts page, with
// "Add" buttons, or tick boxes in picker mode.
class CContactsAddListview : public QListView
{
    Q_OBJECT

public:
    explicit CContactsAddListview(QWidget *parent = nullptr);
    ~CContactsAddListview() override;

    void initView();
    void setUsers(const QList<ucmuserData> &users, const QList<ucmcontactData> &contacts);
    QList<int> getCheckedUserIds() const;
    void setPickerMode();
    void setCheckedUsers(const QList<int> &ids);
    void setUserChecked(int id, bool ticked);
    void updateUser(const ucmuserData &user);
    void setUserAdded(int id);
    void setUserNotAdded(int id);
    void setContacts(const QList<ucmcontactData> &contacts);
    void updateDpi(double scale);

    CContactsAddListmodel *sourceModel() const { return m_pModel; }
    QSortFilterProxyModel *proxyModel() const { return m_pProxy; }
    CContactsAddDelegate *addDelegate() const { return m_pDelegate; }

signals:
    void signal_addContact_begin(int userId);
    void signal_selectSyncItem(int userId, bool ticked);

public slots:
    void slot_addContactItem(QModelIndex index);
    void slot_selectUserItem(QModelIndex index);
    void slot_textChanged(QString str);

private:
    CContactsAddListmodel *m_pModel = nullptr;
    QSortFilterProxyModel *m_pProxy = nullptr;
    CContactsAddDelegate *m_pDelegate = nullptr;
    bool m_bPickerMode = false;
};
