#pragma once

#include <QPixmap>
#include <QString>
#include <QVector>

#include "models/ucmdata.h"
#include "views/contacts/cavatarlistmodel.h"

// One row of the contacts list: a contact, or one of the fixed rows above
// the contacts.
struct contactsItemData
{
    enum Kind {
        // Not a row: what a lookup outside the list gives.
        NoRow = -1,
        Contact = 0,
        Header = 1,
        Separator = 2,
        Caption = 3,
    };

    QString text;
    int kind = NoRow;
    QPixmap avatar;
    ucmcontactData contact;
    QString avatarUrl;
    bool ticked = false;
};

// The signed-in user's contacts under the fixed header, separator and caption
// rows. In picker mode the rows carry tick boxes and nothing is selectable.
class CContactsListmodel : public CAvatarListModel
{
    Q_OBJECT

public:
    enum Role {
        TextRole = Qt::UserRole,
        KindRole,
        AvatarRole,
        ContactRole,
        TickedRole,
    };

    explicit CContactsListmodel(QObject *parent = nullptr);
    ~CContactsListmodel() override;

    // addRow and clear leave telling the views to the caller (refreshModel).
    void addRow(const contactsItemData &row);
    void clear();
    // Appends a row and tells the views, which keep their current row.
    void appendRow(const contactsItemData &row);

    void removeRowAt(const QModelIndex &index);
    void removeByUserId(int userId);
    void setPickerMode();
    bool isPickerMode() const { return m_bPickerMode; }
    void setCheckedUsers(const QList<int> &userIds);
    void setUserChecked(int userId, bool ticked);
    void updateContact(int userId, const QString &url, const QString &name);
    // A copy of a row; an empty row of kind NoRow outside the list.
    contactsItemData rowAt(int row) const;
    int indexOfUser(int userId) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    QString waitingUrlAt(int row) const override { return m_rows.at(row).avatarUrl; }
    QString imageUrlAt(int row) const override { return m_rows.at(row).contact.imageURL; }
    void setAvatarAt(int row, const QPixmap &avatar) override { m_rows[row].avatar = avatar; }

private:
    QVector<contactsItemData> m_rows;
    bool m_bPickerMode = false;
};
