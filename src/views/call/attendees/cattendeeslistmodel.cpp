#include "cattendeeslistmodel.h"

#include "models/curlpixmap.h"
#include "views/call/attendees/cavatarrequests.h"

namespace kd_app {
namespace views {

using models::CUrlPixmap;
using models::g_urlPixmapCache;

CAttendeesListmodel::CAttendeesListmodel(QObject *parent) : QAbstractListModel(parent)
{
    connect(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished, this,
            &CAttendeesListmodel::slot_downloadFinished);
}

CAttendeesListmodel::~CAttendeesListmodel() = default;

void CAttendeesListmodel::setParticipants(const QList<ucmParticipantData> &participants)
{
    beginResetModel();
    m_rows.clear();
    for (const ucmParticipantData &participant : participants) {
        Row row;
        row.name = participant.name;
        row.audio = participant.videoMode ? 0 : 1;
        row.userId = participant.userId;
        row.avatarUrl = participant.avatarUrl;
        if (row.audio != m_nKind) {
            continue;
        }
        const auto cached = g_urlPixmapCache.constFind(row.avatarUrl);
        if (cached != g_urlPixmapCache.constEnd()) {
            row.avatar = cached.value();
        } else {
            CAvatarRequests::request(row.avatarUrl);
        }
        m_rows.append(row);
    }
    endResetModel();
}

int CAttendeesListmodel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant CAttendeesListmodel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return QVariant();
    }
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case NameRole:
        return row.name;
    case AudioRole:
        return row.audio;
    case UserIdRole:
        return row.userId;
    case AvatarRole:
        return row.avatar;
    default:
        return QVariant();
    }
}

bool CAttendeesListmodel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= m_rows.size()) {
        return false;
    }
    Row &row = m_rows[index.row()];
    switch (role) {
    case NameRole:
        row.name = value.toString();
        break;
    case AudioRole:
        row.audio = value.toInt();
        break;
    case UserIdRole:
        row.userId = value.toInt();
        break;
    case AvatarRole:
        row.avatar = value.value<QPixmap>();
        break;
    default:
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags CAttendeesListmodel::flags(const QModelIndex & /*index*/) const
{
    return Qt::NoItemFlags;
}

void CAttendeesListmodel::refresh()
{
    beginResetModel();
    endResetModel();
}

void CAttendeesListmodel::slot_downloadFinished(QString strUrl)
{
    if (strUrl.isEmpty()) {
        return;
    }
    const auto cached = g_urlPixmapCache.constFind(strUrl);
    const QPixmap avatar =
        cached != g_urlPixmapCache.constEnd() ? cached.value() : CUrlPixmap::cachedPixmap(CUrlPixmap::kDefaultKey);
    // A participant may be listed more than once (two devices): every row
    // of the address gets the picture.
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).avatarUrl == strUrl) {
            setData(index(i), avatar, AvatarRole);
        }
    }
}

} // namespace views
} // namespace kd_app
