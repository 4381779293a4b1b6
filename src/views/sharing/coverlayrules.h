#pragma once

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

namespace kd_app {
namespace views {

// The sharing overlay's rules that need no window: where its pop-ups go,
// what its window keeps of itself when it cannot be translucent, and how a
// snapshot is named.
class COverlayRules
{
public:
    COverlayRules() = delete;

    // Width of the blue frame along the edges of the shared screen.
    static constexpr int kFramePenWidth = 5;
    // Gap between a button and the pop-up it opens, and between the tool
    // menu and a picker.
    static constexpr int kPopupGap = 10;
    // The tool menu's distance from the top of its screen, before scaling.
    static constexpr int kToolMenuTop = 80;

    // A device menu or the volume pop-up: centred under its button.
    static QPoint popupPosition(const QRect &buttonGlobal, const QSize &popup);
    // The tool menu: centred across the screen, near its top.
    static QPoint toolMenuPosition(const QRect &screen, int menuWidth, double scale);
    // A picker beside the tool menu: at the entry's x, above the menu when
    // the menu lies in the lower half of the desktop's height, else below.
    static QPoint pickerPosition(const QRect &menu, int entryX, int pickerHeight, int desktopHeight);

    // The pixels the frame's four lines cover inside a window of that size.
    static QRegion frameRegion(const QSize &window);
    // The pixels of a stroke layer that show: alpha above 1 (the eraser's
    // trace of alpha 1 only takes the mouse).
    static QRegion visiblePixels(const QImage &layer);

    // A window of that size with its corners rounded by the radius: what a
    // pop-up keeps of its opaque window around its rounded panel.
    static QRegion roundedRegion(const QSize &window, int radius);

    // A background colour text as the background picker gives it
    // ("rgb(0,0,0,255)"); invalid for an unreadable or empty text.
    static QColor parseBackground(const QString &colourText);

    // folder/<word>_yyyy-MM-dd_hh-mm-ss.zzz.jpg
    static QString snapshotFileName(const QString &folder, const QString &word, const QDateTime &time);
};

} // namespace views
} // namespace kd_app
