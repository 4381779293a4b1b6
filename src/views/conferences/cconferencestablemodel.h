#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPixmap>
#include <QString>

// One cell of a meeting's participants grid: an invited user, or the last
// cell that asks for more users.
struct conferencesItemData
{
    enum Kind {
        User = 1,
        AddCell = 2,
    };

    QString name;
    int kind = 0;
    int userId = 0;
    QString imageURL;
    QPixmap avatar;
};

// The participants grid's cells, eight to a row, in list order.
class CConferencesTablemodel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int kColumns = 8;

    enum Role {
        NameRole = Qt::UserRole,
        KindRole,
        UserIdRole,
        AvatarRole,
    };

    explicit CConferencesTablemodel(QObject *parent = nullptr);
    ~CConferencesTablemodel() override;

    // addItem and clear leave telling the views to the caller (refreshModel).
    void addItem(conferencesItemData item);
    void clear();
    void removeItem(const QModelIndex &index);
    QList<int> getUserIds() const;
    void refreshModel();
    int itemCount() const { return m_items.size(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

public slots:
    void slot_downloadFinished(QString strUrl);

private:
    // The item of a cell, -1 for an invalid index or an empty cell.
    int positionOf(const QModelIndex &index) const;

    QList<conferencesItemData> m_items;
};
