#pragma once

#include <optional>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "helpers/enums.h"

namespace kd_app {
namespace views {

// Every number of the call's video layout, as pure functions: the layout
// engine and the floating strip take all their arithmetic from here, so a
// table test can check it without a window.
class CLayoutGeometry
{
public:
    CLayoutGeometry() = delete;

    // The layout rectangle inside the engine. Content and people sizes are
    // those of the two "preferred" modes (1 and 3), 0 in every other mode.
    struct LayoutSize
    {
        int width = 0;
        int height = 0;
        int relativeX = 0;
        int relativeY = 0;
        int contentWidth = 0;
        int contentHeight = 0;
        int peopleWidth = 0;
        int peopleHeight = 0;
    };

    // Where each cell lies relative to the layout origin; a null rectangle
    // means the cell is not part of the layout. The flags say which video
    // cells belong in the floating strip instead.
    struct CellPlacement
    {
        QRect remote;
        QRect local;
        QRect content;
        QRect whiteBoard;
        bool localInStrip = false;
        bool remoteInStrip = false;
    };

    // The floating strip's sizes at one display scale.
    struct StripMetrics
    {
        int cellWidth = 0;
        int cellHeight = 0;
        int margin = 0;
        int barHeight = 0;
        int width = 0;
    };

    static constexpr double ASPECT_RATIO = 16.0 / 9.0;
    // The frame's border around the engine, on every side.
    static constexpr int FRAME_BORDER = 2;
    // How far below the engine's top the strip starts, and how far below a
    // screen's top when it would not fit there.
    static constexpr int STRIP_TOP_OFFSET = 50;

    static LayoutSize calculateLayoutSize(int engineWidth, int engineHeight, enums::LayoutModeType mode);
    // The screen position of layout point (0, 0).
    static QPoint layoutOrigin(const LayoutSize &size, const QPoint &frameScreenPos, int titleBarHeight);
    static CellPlacement placeCells(const LayoutSize &size, enums::LayoutModeType mode);

    static StripMetrics stripMetrics(double scale);
    // The top bar, one cell for the local video and one per remote cell,
    // and the bottom bar once the remote cells reach the threshold.
    static int stripHeight(const StripMetrics &metrics, int remoteCells, int bottomBarThreshold);
    // Cell 0 is the local cell, cell i + 1 the remote cell i.
    static QPoint stripCellPos(const StripMetrics &metrics, int index);
    // Where the strip first appears beside an engine at engineGlobal; kept
    // on the screen given. No screen: no position.
    static std::optional<QPoint> stripStartPos(const QRect &engineGlobal, const QSize &strip,
                                               const std::optional<QRect> &screen);

    // Where a strip goes so that it leaves the toolbar's band free: above the
    // band when it reaches into it, where it is otherwise.
    static QPoint stripClearOfBand(const QRect &strip, const QRect &band);
    // The toolbar laid over the bottom of the engine (engineGeometry is the
    // engine's place inside the frame).
    static QRect toolbarRect(const QPoint &frameScreenPos, const QRect &engineGeometry, int toolbarHeight);
};

} // namespace views
} // namespace kd_app
