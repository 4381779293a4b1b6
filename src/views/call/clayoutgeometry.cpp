#include "clayoutgeometry.h"

#include <algorithm>

namespace kd_app {
namespace views {

namespace {

// The strip's sizes at scale 1.
constexpr int STRIP_CELL_WIDTH = 378;
constexpr int STRIP_CELL_HEIGHT = 213;
constexpr int STRIP_MARGIN = 2;
constexpr int STRIP_BAR_HEIGHT = 26;
// A preferred-content layout never gives the people row less than a
// quarter of the height, nor lets the two people cells take more than two
// fifths of the width.
constexpr double PEOPLE_HEIGHT_SHARE = 0.25;
constexpr int PEOPLE_CELLS_ACROSS = 5;

bool isPreferredMode(enums::LayoutModeType mode)
{
    return mode == enums::LayoutMode_RemoteContentPreferred || mode == enums::LayoutMode_RemoteWhiteBoardPreferred;
}

// The largest 16:9 rectangle inside width x height.
QSize largestWideRect(int width, int height)
{
    if (double(width) / double(height) > CLayoutGeometry::ASPECT_RATIO) {
        return QSize(int(height * CLayoutGeometry::ASPECT_RATIO), height);
    }
    return QSize(width, int(width / CLayoutGeometry::ASPECT_RATIO));
}

} // namespace

CLayoutGeometry::LayoutSize CLayoutGeometry::calculateLayoutSize(int engineWidth, int engineHeight,
                                                                 enums::LayoutModeType mode)
{
    // A window is never smaller than nothing; a negative size from a
    // collapsed frame must not turn into a layout larger than the engine.
    const int w = std::max(0, engineWidth);
    const int h = std::max(0, engineHeight);
    LayoutSize size;
    if (isPreferredMode(mode)) {
        int ph = int(h * PEOPLE_HEIGHT_SHARE);
        int pw = int(ph * ASPECT_RATIO);
        if (PEOPLE_CELLS_ACROSS * pw > w) {
            pw = int(w / double(PEOPLE_CELLS_ACROSS));
            ph = int(pw / ASPECT_RATIO);
        }
        int cw = 0;
        int ch = 0;
        if (double(w) / double(h - ph) > ASPECT_RATIO) {
            ch = h - ph;
            cw = int((h - ph) * ASPECT_RATIO);
        } else {
            cw = w;
            ch = int(w / ASPECT_RATIO);
        }
        size.contentWidth = cw;
        size.contentHeight = ch;
        size.peopleWidth = pw;
        size.peopleHeight = ph;
        size.height = ch + ph;
        size.width = std::min(std::max(cw, PEOPLE_CELLS_ACROSS * pw), w);
    } else {
        const QSize wide = largestWideRect(w, h);
        size.width = wide.width();
        size.height = wide.height();
    }
    size.relativeX = (w - size.width) / 2;
    size.relativeY = (h - size.height) / 2;
    return size;
}

QPoint CLayoutGeometry::layoutOrigin(const LayoutSize &size, const QPoint &frameScreenPos, int titleBarHeight)
{
    return QPoint(size.relativeX + frameScreenPos.x() + FRAME_BORDER,
                  size.relativeY + frameScreenPos.y() + titleBarHeight + FRAME_BORDER);
}

CLayoutGeometry::CellPlacement CLayoutGeometry::placeCells(const LayoutSize &size, enums::LayoutModeType mode)
{
    CellPlacement placement;
    const QRect whole(0, 0, size.width, size.height);
    switch (mode) {
    case enums::LayoutMode_People:
        placement.remote = whole;
        placement.localInStrip = true;
        break;
    case enums::LayoutMode_RemoteContentPreferred:
    case enums::LayoutMode_RemoteWhiteBoardPreferred: {
        const QRect top((size.width - size.contentWidth) / 2, 0, size.contentWidth, size.contentHeight);
        if (mode == enums::LayoutMode_RemoteContentPreferred) {
            placement.content = top;
        } else {
            placement.whiteBoard = top;
        }
        const int left = (size.width - 2 * size.peopleWidth) / 2;
        placement.local = QRect(left, size.contentHeight, size.peopleWidth, size.peopleHeight);
        placement.remote = QRect(left + size.peopleWidth, size.contentHeight, size.peopleWidth, size.peopleHeight);
        break;
    }
    case enums::LayoutMode_RemoteContentOnly:
        placement.content = whole;
        placement.localInStrip = true;
        placement.remoteInStrip = true;
        break;
    case enums::LayoutMode_RemoteWhiteBoardOnly:
        placement.whiteBoard = whole;
        placement.localInStrip = true;
        placement.remoteInStrip = true;
        break;
    case enums::LayoutMode_LocalContent:
    case enums::LayoutMode_LocalWhiteBoard:
        placement.localInStrip = true;
        placement.remoteInStrip = true;
        break;
    case enums::LayoutMode_AudioOnly:
        break;
    }
    return placement;
}

CLayoutGeometry::StripMetrics CLayoutGeometry::stripMetrics(double scale)
{
    StripMetrics metrics;
    metrics.cellWidth = int(STRIP_CELL_WIDTH * scale);
    metrics.cellHeight = int(STRIP_CELL_HEIGHT * scale);
    metrics.margin = int(STRIP_MARGIN * scale);
    metrics.barHeight = int(STRIP_BAR_HEIGHT * scale);
    metrics.width = metrics.cellWidth + 2 * metrics.margin;
    return metrics;
}

int CLayoutGeometry::stripHeight(const StripMetrics &metrics, int remoteCells, int bottomBarThreshold)
{
    const int cells = std::max(0, remoteCells);
    const int bottomBar = cells >= bottomBarThreshold ? metrics.barHeight : 0;
    return metrics.barHeight + (cells + 1) * metrics.cellHeight + bottomBar;
}

QPoint CLayoutGeometry::stripCellPos(const StripMetrics &metrics, int index)
{
    return QPoint(metrics.margin, metrics.barHeight + index * metrics.cellHeight);
}

std::optional<QPoint> CLayoutGeometry::stripStartPos(const QRect &engineGlobal, const QSize &strip,
                                                     const std::optional<QRect> &screen)
{
    if (!screen) {
        return std::nullopt;
    }
    int x = int(engineGlobal.x() + engineGlobal.width() - strip.width() * 1.5);
    int y = engineGlobal.y() + STRIP_TOP_OFFSET;
    const QRect &s = *screen;
    if (x < s.left() || x > s.left() + s.width() - strip.width()) {
        x = int(s.width() + s.left() - strip.width() * 1.5);
    }
    if (y < s.top() || y > s.top() + s.height() - strip.height()) {
        y = s.top() + STRIP_TOP_OFFSET;
    }
    return QPoint(x, y);
}

QPoint CLayoutGeometry::stripClearOfBand(const QRect &strip, const QRect &band)
{
    if (strip.bottom() < band.top() || strip.top() > band.bottom() || strip.right() < band.left() ||
        strip.left() > band.right()) {
        return strip.topLeft();
    }
    return QPoint(strip.x(), band.top() - strip.height());
}

QRect CLayoutGeometry::toolbarRect(const QPoint &frameScreenPos, const QRect &engineGeometry, int toolbarHeight)
{
    return QRect(frameScreenPos.x(), frameScreenPos.y() + engineGeometry.y() + engineGeometry.height() - toolbarHeight,
                 engineGeometry.width() + FRAME_BORDER, toolbarHeight);
}

} // namespace views
} // namespace kd_app
