#include "cavatarlistmodel.h"

#include "models/curlpixmap.h"

using kd_app::models::CUrlPixmap;
using kd_app::models::g_urlPixmapCache;

CAvatarListModel::CAvatarListModel(QObject *parent, int avatarRole)
    : QAbstractListModel(parent), m_nAvatarRole(avatarRole)
{
    connect(CUrlPixmap::getInstance(), &CUrlPixmap::signal_downloadFinished, this,
            &CAvatarListModel::slot_downloadFinished);
}

CAvatarListModel::~CAvatarListModel() = default;

void CAvatarListModel::refreshModel()
{
    beginResetModel();
    endResetModel();
}

QPixmap CAvatarListModel::pixmapOf(const QVariant &value)
{
    return value.canConvert<QPixmap>() ? value.value<QPixmap>() : QPixmap();
}

void CAvatarListModel::takeAvatar(int row)
{
    const QString url = imageUrlAt(row);
    const auto cached = g_urlPixmapCache.constFind(url);
    if (cached != g_urlPixmapCache.constEnd()) {
        setAvatarAt(row, cached.value());
    } else if (!url.isEmpty()) {
        CUrlPixmap::getInstance()->appendUrl(url);
    }
}

void CAvatarListModel::rememberWaitingRow(int row)
{
    const QString url = waitingUrlAt(row);
    if (!url.isEmpty()) {
        m_rowsByUrl[url].append(row);
    }
}

void CAvatarListModel::forgetWaitingRows()
{
    m_rowsByUrl.clear();
}

void CAvatarListModel::indexWaitingRows()
{
    m_rowsByUrl.clear();
    for (int row = 0; row < rowCount(); ++row) {
        rememberWaitingRow(row);
    }
}

void CAvatarListModel::slot_downloadFinished(QString strUrl)
{
    if (strUrl.isEmpty()) {
        return;
    }
    const auto waiting = m_rowsByUrl.constFind(strUrl);
    if (waiting == m_rowsByUrl.constEnd()) {
        return;
    }
    for (int row : waiting.value()) {
        setAvatarAt(row, CUrlPixmap::cachedPixmap(imageUrlAt(row)));
        const QModelIndex changed = index(row, 0);
        emit dataChanged(changed, changed, {m_nAvatarRole});
    }
}
