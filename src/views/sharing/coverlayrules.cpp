#include "coverlayrules.h"

#include <cmath>

#include <QPair>
#include <QRegularExpression>
#include <QVector>

namespace kd_app {
namespace views {

QPoint COverlayRules::popupPosition(const QRect &buttonGlobal, const QSize &popup)
{
    return QPoint(buttonGlobal.x() - (popup.width() - buttonGlobal.width()) / 2,
                  buttonGlobal.y() + buttonGlobal.height() + kPopupGap);
}

QPoint COverlayRules::toolMenuPosition(const QRect &screen, int menuWidth, double scale)
{
    return QPoint(screen.x() + (screen.width() - menuWidth) / 2, screen.y() + int(kToolMenuTop * scale));
}

QPoint COverlayRules::pickerPosition(const QRect &menu, int entryX, int pickerHeight, int desktopHeight)
{
    const int x = menu.x() + entryX;
    if (menu.y() > desktopHeight / 2) {
        return QPoint(x, menu.y() - pickerHeight - kPopupGap);
    }
    return QPoint(x, menu.y() + menu.height() + kPopupGap);
}

QRegion COverlayRules::frameRegion(const QSize &window)
{
    if (window.isEmpty()) {
        return QRegion();
    }
    // Each line is centred on the outermost row or column, so a little more
    // than half of the pen's width falls inside the window.
    const int band = qMin(kFramePenWidth / 2 + 1, qMin(window.width(), window.height()));
    const int w = window.width();
    const int h = window.height();
    QRegion region(0, 0, w, band);
    region += QRect(0, h - band, w, band);
    region += QRect(0, 0, band, h);
    region += QRect(w - band, 0, band, h);
    return region;
}

QRegion COverlayRules::visiblePixels(const QImage &layer)
{
    if (layer.isNull()) {
        return QRegion();
    }
    const QImage argb = layer.format() == QImage::Format_ARGB32_Premultiplied
                            ? layer
                            : layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Lines with the same runs of shown pixels make one band: the bands are
    // sorted, apart and never abut, which is what QRegion::setRects takes.
    QVector<QRect> rects;
    QVector<QPair<int, int>> bandRuns;
    int bandTop = 0;
    const auto flush = [&rects, &bandRuns, &bandTop](int bottom) {
        for (const QPair<int, int> &run : bandRuns) {
            rects.append(QRect(run.first, bandTop, run.second - run.first, bottom - bandTop));
        }
    };
    QVector<QPair<int, int>> runs;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        runs.clear();
        int runStart = -1;
        for (int x = 0; x <= argb.width(); ++x) {
            const bool shown = x < argb.width() && qAlpha(line[x]) > 1;
            if (shown && runStart < 0) {
                runStart = x;
            } else if (!shown && runStart >= 0) {
                runs.append(qMakePair(runStart, x));
                runStart = -1;
            }
        }
        if (runs != bandRuns) {
            flush(y);
            bandRuns = runs;
            bandTop = y;
        }
    }
    flush(argb.height());
    QRegion region;
    region.setRects(rects.constData(), rects.size());
    return region;
}

QColor COverlayRules::parseBackground(const QString &colourText)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*rgba?\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(colourText);
    if (!match.hasMatch()) {
        return QColor();
    }
    const int alpha = match.captured(4).isEmpty() ? 255 : match.captured(4).toInt();
    const int values[] = {match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(), alpha};
    for (int value : values) {
        if (value > 255) {
            return QColor();
        }
    }
    return QColor(values[0], values[1], values[2], values[3]);
}

QString COverlayRules::snapshotFileName(const QString &folder, const QString &word, const QDateTime &time)
{
    return folder + QLatin1Char('/') + word + time.toString(QStringLiteral("_yyyy-MM-dd_hh-mm-ss.zzz")) +
           QStringLiteral(".jpg");
}

QRegion COverlayRules::roundedRegion(const QSize &window, int radius)
{
    const QRect whole(QPoint(0, 0), window);
    if (radius <= 0 || whole.isEmpty()) {
        return QRegion(whole);
    }
    // Whole lines of pixels, each as wide as the rounding lets it be: a
    // pixel stays when the curve covers most of it.
    const int r = qMin(radius, qMin(window.width(), window.height()) / 2);
    QRegion region(whole.adjusted(0, r, 0, -r));
    for (int line = 0; line < r; ++line) {
        const double dy = r - line - 0.5;
        const int inset = qRound(r - std::sqrt(double(r) * r - dy * dy));
        const int width = window.width() - 2 * inset;
        region += QRect(inset, line, width, 1);
        region += QRect(inset, window.height() - 1 - line, width, 1);
    }
    return region;
}

} // namespace views
} // namespace kd_app
