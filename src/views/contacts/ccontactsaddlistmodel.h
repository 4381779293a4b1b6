#pragma once

#include <QPixmap>
#include <QSet>
#include <QString>
#include <QVector>

#include "models/ucmdata.h"
#include "views/contacts/cavatarlistmodel.h"

// One user of the organisation in the list to add contacts from.
struct contactsAddItemData
{
    QString text;
    bool added = false;
    QPixmap avatar;
    ucmuserData user;
    QString avatarUrl;
    bool ticked = false;
};

// The organisation's users, each marked when already a contact; in picker
// mode each carries a tick box.
class CContactsAddListmodel : public CAvatarListModel
{
    Q_OBJECT

public:
    enum Role {
        TextRole = Qt::UserRole,
        AddedRole,
        AvatarRole,
        UserRole,
        TickedRole,
    };

    explicit CContactsAddListmodel(QObject *parent = nullptr);
    ~CContactsAddListmodel() override;

    // addUser and clear leave telling the views to the caller (refreshModel).
    void addUser(const contactsAddItemData &row);
    void clear();
    void reserve(int rows) { m_rows.reserve(rows); }

    void setPickerMode();
    bool isPickerMode() const { return m_bPickerMode; }
    void setCheckedUsers(const QList<int> &ids);
    void setUserChecked(int id, bool ticked);
    QList<int> getCheckedUserIds() const;
    void updateUser(int id, const QString &url, const QString &name);
    void setUserAdded(int id);
    void setUserNotAdded(int id);
    // Marks exactly these users as contacts.
    void setAddedUsers(const QSet<int> &userIds);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    QString waitingUrlAt(int row) const override { return m_rows.at(row).avatarUrl; }
    QString imageUrlAt(int row) const override { return m_rows.at(row).user.imageURL; }
    void setAvatarAt(int row, const QPixmap &avatar) override { m_rows[row].avatar = avatar; }

private:
    int indexOfUser(int id) const;
    void setAdded(int id, bool added);
    void emitRowsChanged(int first, int last, const QVector<int> &roles);

    QVector<contactsAddItemData> m_rows;
    bool m_bPickerMode = false;
};
