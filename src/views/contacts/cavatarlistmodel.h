#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <QVector>

// What the two contact lists share: rows that show an avatar from the shared
// avatar cache. A row whose picture is not cached yet has it downloaded, and
// the finished download reaches every row waiting for that address; the views
// hear of exactly those rows.
class CAvatarListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit CAvatarListModel(QObject *parent, int avatarRole);
    ~CAvatarListModel() override;

    void refreshModel();

public slots:
    void slot_downloadFinished(QString strUrl);

protected:
    // The address a row waits under, and the picture address of its record.
    virtual QString waitingUrlAt(int row) const = 0;
    virtual QString imageUrlAt(int row) const = 0;
    virtual void setAvatarAt(int row, const QPixmap &avatar) = 0;

    // The cached picture now, or a download; the row is then remembered
    // under the address it waits for.
    void takeAvatar(int row);
    void rememberWaitingRow(int row);
    void forgetWaitingRows();
    void indexWaitingRows();

    static QPixmap pixmapOf(const QVariant &value);

private:
    QHash<QString, QVector<int>> m_rowsByUrl;
    int m_nAvatarRole;
};
