#pragma once

// What the screen of a test's own X server shows, read as a person would
// look at it: grabs of screen rectangles and the engine's test pictures in
// them.

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QSet>

namespace screenpixels {

inline QImage grabScreen(const QRect &rect)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, rect.x(), rect.y(), rect.width(), rect.height()).toImage();
}

// The local test picture is a row of saturated colour bars: how many
// different ones a line across the middle of the rectangle shows.
inline int colourBarsSeen(const QRect &rect)
{
    const QImage line = grabScreen(QRect(rect.x(), rect.center().y(), rect.width(), 1));
    QSet<int> hues;
    for (int x = 0; x < line.width(); ++x) {
        const QColor colour = line.pixelColor(x, 0);
        if (colour.saturation() > 200 && colour.value() > 200) {
            hues.insert(colour.hue() / 30);
        }
    }
    return hues.size();
}

} // namespace screenpixels
