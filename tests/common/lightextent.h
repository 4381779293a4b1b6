#pragma once

// How large a light mark (an arrow, an icon) shows on a dark toolbar.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <QtTest>

// The extent of the light pixels of part as the window draws it, once its
// layouts have run.
inline QSize lightExtent(QWidget *window, const QWidget *part)
{
    QTest::qWait(50);
    const QImage shown = window->grab().toImage();
    const QImage picture = shown.copy(QRect(part->mapTo(window, QPoint(0, 0)), part->size()));
    QRect light;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(picture.pixel(x, y)) > 128) {
                light |= QRect(x, y, 1, 1);
            }
        }
    }
    return light.size();
}

// Within a pixel either way: edges blend differently at each scale.
inline bool aboutTheSize(const QSize &shown, const QSize &expected)
{
    return qAbs(shown.width() - expected.width()) <= 1 && qAbs(shown.height() - expected.height()) <= 1;
}
