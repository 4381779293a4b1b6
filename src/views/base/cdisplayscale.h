#pragma once

#include <QString>
#include <QStringList>

class QScreen;
class QWidget;

namespace kd_app {
namespace views {

// The display-scale rules every window shares: the factor a screen's logical
// DPI gives, and the resource names that belong to a factor.
class CDisplayScale
{
public:
    CDisplayScale() = delete;

    // 2 when dpi / 96 is at least 2, 1.5 when at least 1.5, else 1.
    static double factorForDpi(unsigned int dpi);

    // Stores a new DPI and its factor. Returns true only when the factor
    // changed, which is when a window must re-apply its sizes.
    static bool update(unsigned int dpi, unsigned int &storedDpi, double &storedFactor);

    // "1", "1.5" or "2": the factor as the resource names write it.
    static QString factorText(double factor);

    // The files that make up the style of a window whose sheets start with
    // base: the shared theme first, so that the window's own rules win, then
    // base + ".qss" and base + "-" + factor + "x.qss".
    static QStringList styleSheetFiles(const QString &base, double factor);

    // Applies the theme and a window's own sheets for a scale. A sheet's text
    // colour also colours placeholders in Qt 5, so they are toned down here,
    // for every window alike.
    static void applyStyleSheets(QWidget *window, const QString &base, double factor);

    // An image for a factor: "a/b.png" stays as it is at 1 and becomes
    // "a/b_1.5x.png" or "a/b_2x.png" at 1.5 and 2.
    static QString imageForFactor(const QString &path, double factor);

    // The screen holding the widget's centre, else the primary screen, else null.
    static QScreen *screenAtCenterOf(const QWidget *widget);

    // Moves the window to the middle of the screen's available area; logs
    // and leaves it where it is when there is no screen.
    static void centerOn(QWidget *window, const QScreen *screen);

    static const char *const THEME_STYLE_BASE;
};

} // namespace views
} // namespace kd_app
