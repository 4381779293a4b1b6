#pragma once

#include <vector>

#include <QVector>
#include <QWidget>

#include "engine/kdtypes.h"

namespace kd_app {
namespace views {

class CWidgetContentSub;

// A grid of share tiles, four to a row, placed by position.
class CWidgetContents : public QWidget
{
    Q_OBJECT

public:
    static constexpr int COLUMN_COUNT = 4;
    static constexpr int TILE_WIDTH = 170;
    static constexpr int TILE_HEIGHT = 110;
    static constexpr int TILE_GAP = 10;

    explicit CWidgetContents(QWidget *parent = nullptr);
    ~CWidgetContents() override;

    // Replaces the tiles: with filter 0 the screens (named "Screen 1", ...),
    // with a positive filter the application windows (named by their titles).
    void setContentSources(const std::vector<kd::engine::KDContentSourceInfo> &sources, int filter);
    void addWhiteBoard();
    void layoutTiles(bool loadThumbnails);
    void setScale(double scale);
    void selectIndex(int index);
    void select(CWidgetContentSub *tile);
    // The selected tile while it is one of this grid's, else none.
    CWidgetContentSub *selectedTile() const;
    void clearSelection();

    const QVector<CWidgetContentSub *> &tiles() const { return m_tiles; }
    double scale() const { return m_fScale; }

signals:
    void signal_contentSelected();
    void signal_contentShare();

public slots:
    void slot_subSelected();
    void slot_doubliClicked();

private:
    CWidgetContentSub *addTile(bool whiteBoard);

    int m_nColumnCount = COLUMN_COUNT;
    int m_nTileWidth = TILE_WIDTH;
    int m_nTileHeight = TILE_HEIGHT;
    double m_fScale = 1.0;
    QVector<CWidgetContentSub *> m_tiles;
    CWidgetContentSub *m_pSelected = nullptr;
};

} // namespace views
} // namespace kd_app
