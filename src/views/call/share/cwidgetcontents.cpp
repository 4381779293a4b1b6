#include "cwidgetcontents.h"

#include "views/call/share/cwidgetcontentsub.h"

namespace kd_app {
namespace views {

CWidgetContents::CWidgetContents(QWidget *parent) : QWidget(parent)
{
}

CWidgetContents::~CWidgetContents() = default;

CWidgetContentSub *CWidgetContents::addTile(bool whiteBoard)
{
    auto *tile = new CWidgetContentSub(whiteBoard, this);
    connect(tile, &CWidgetContentSub::signal_selected, this, &CWidgetContents::slot_subSelected);
    connect(tile, &CWidgetContentSub::signal_doubliClicked, this, &CWidgetContents::slot_doubliClicked);
    if (m_nColumnCount > 0) {
        const int n = m_tiles.size();
        tile->setRow(n / m_nColumnCount);
        tile->setColumn(n % m_nColumnCount);
        tile->setFixedSize(m_nTileWidth, m_nTileHeight);
    }
    m_tiles.append(tile);
    return tile;
}

void CWidgetContents::setContentSources(const std::vector<kd::engine::KDContentSourceInfo> &sources, int filter)
{
    qDeleteAll(m_tiles);
    m_tiles.clear();
    m_pSelected = nullptr;
    int screens = 0;
    for (const kd::engine::KDContentSourceInfo &source : sources) {
        const bool taken = (filter == 0 && source.type == 0) || (filter > 0 && source.type == 1);
        if (!taken) {
            continue;
        }
        CWidgetContentSub *tile = addTile(false);
        if (filter != 0 || source.type != 0) {
            tile->setName(QString::fromLocal8Bit(source.windowTitle.c_str()));
        } else {
            tile->setName(tr("Screen %1").arg(++screens));
        }
        tile->setSourceInfo(source);
    }
}

void CWidgetContents::addWhiteBoard()
{
    addTile(true)->setName(tr("WhiteBoard"));
}

void CWidgetContents::layoutTiles(bool loadThumbnails)
{
    const double s = m_fScale;
    for (CWidgetContentSub *tile : qAsConst(m_tiles)) {
        tile->setFixedSize(int(m_nTileWidth * s), int(m_nTileHeight * s));
        tile->move(int(tile->column() * (m_nTileWidth + TILE_GAP) * s),
                   int(tile->row() * (m_nTileHeight + TILE_GAP) * s));
        tile->show();
        if (loadThumbnails) {
            tile->loadThumbnail();
        } else {
            tile->setScale(s);
        }
    }
    if (m_nColumnCount > 0 && !m_tiles.isEmpty()) {
        setFixedHeight(int((m_tiles.size() / m_nColumnCount + 1) * (m_nTileHeight + TILE_GAP) * s));
    }
}

void CWidgetContents::setScale(double scale)
{
    if (qFuzzyCompare(scale, m_fScale)) {
        return;
    }
    m_fScale = scale;
    layoutTiles(false);
}

void CWidgetContents::selectIndex(int index)
{
    if (index >= 0 && index < m_tiles.size()) {
        select(m_tiles.at(index));
    }
}

void CWidgetContents::select(CWidgetContentSub *tile)
{
    m_pSelected = tile;
    for (CWidgetContentSub *each : qAsConst(m_tiles)) {
        each->setSelected(each == tile);
    }
}

CWidgetContentSub *CWidgetContents::selectedTile() const
{
    return m_tiles.contains(m_pSelected) ? m_pSelected : nullptr;
}

void CWidgetContents::clearSelection()
{
    select(nullptr);
}

void CWidgetContents::slot_subSelected()
{
    auto *tile = qobject_cast<CWidgetContentSub *>(sender());
    if (!tile) {
        return;
    }
    select(tile);
    emit signal_contentSelected();
}

void CWidgetContents::slot_doubliClicked()
{
    emit signal_contentShare();
}

} // namespace views
} // namespace kd_app
