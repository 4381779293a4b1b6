#pragma once

#include <QPalette>
#include <QString>
#include <QWidget>

namespace kd_app {
namespace views {

// The loading and failure covers of a web page come in three sizes: up to
// scale 1, between 1 and 2, and from 2 on.
struct CWebCoverScale
{
    explicit CWebCoverScale(double scale) : step(scale <= 1 ? 0 : scale < 2 ? 1 : 2) {}

    int fontPx() const { return 12 + 6 * step; }
    // Put before a picture's ending: "", "_1.5x" or "_2x".
    QString fileSuffix() const
    {
        return step == 0 ? QString() : step == 1 ? QStringLiteral("_1.5x") : QStringLiteral("_2x");
    }

    int step;
};

// A cover is opaque, in the white of the windows that hold the pages: what
// lies below (the form's frame, a window of another colour) never shows
// through around its picture.
inline void fillWhite(QWidget *cover)
{
    QPalette palette = cover->palette();
    palette.setColor(QPalette::Window, Qt::white);
    cover->setPalette(palette);
    cover->setAutoFillBackground(true);
}

} // namespace views
} // namespace kd_app
