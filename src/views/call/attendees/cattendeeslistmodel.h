#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPixmap>

#include "models/ucmdata.h"

namespace kd_app {
namespace views {

// The participants of one attendee list: those who take part with video
// (kind 0) or those who take part with audio only (kind 1).
class CAttendeesListmodel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Kind {
        VideoParticipants = 0,
        AudioParticipants = 1,
    };
    enum Role {
        NameRole = Qt::UserRole,
        AudioRole = Qt::UserRole + 1,
        UserIdRole = Qt::UserRole + 2,
        AvatarRole = Qt::UserRole + 3,
    };

    explicit CAttendeesListmodel(QObject *parent = nullptr);
    ~CAttendeesListmodel() override;

    void setKind(int kind) { m_nKind = kind; }
    int kind() const { return m_nKind; }

    // Keeps the participants of this list's kind, in reply order; avatars
    // come from the cache or are asked for.
    void setParticipants(const QList<ucmParticipantData> &participants);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Redraws every row, after the delegate's scale changed.
    void refresh();

public slots:
    void slot_downloadFinished(QString strUrl);

private:
    struct Row
    {
        QString name;
        int audio = 0;
        int userId = 0;
        QPixmap avatar;
        QString avatarUrl;
    };

    QList<Row> m_rows;
    int m_nKind = VideoParticipants;
};

} // namespace views
} // namespace kd_app
