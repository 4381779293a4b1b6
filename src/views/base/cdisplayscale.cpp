#include "cdisplayscale.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPalette>
#include <QScreen>
#include <QWidget>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

const char *const CDisplayScale::THEME_STYLE_BASE = ":/resources/qss/theme";

double CDisplayScale::factorForDpi(unsigned int dpi)
{
    const double ratio = dpi / 96.0;
    if (ratio >= 2.0) {
        return 2.0;
    }
    if (ratio >= 1.5) {
        return 1.5;
    }
    return 1.0;
}

bool CDisplayScale::update(unsigned int dpi, unsigned int &storedDpi, double &storedFactor)
{
    KD_LOG << "dpi:" << dpi;
    if (dpi == storedDpi) {
        KD_LOG << "Dpi not changed";
        return false;
    }
    storedDpi = dpi;
    const double factor = factorForDpi(dpi);
    KD_LOG << "fStretchFactor:" << factor;
    if (helpers::CGeneralUtils::isEqual(factor, storedFactor)) {
        KD_LOG << "fStretchFactor not changed";
        return false;
    }
    storedFactor = factor;
    return true;
}

QString CDisplayScale::factorText(double factor)
{
    return QString::number(factor, 'g', 6);
}

QStringList CDisplayScale::styleSheetFiles(const QString &base, double factor)
{
    const QString theme = QString::fromLatin1(THEME_STYLE_BASE);
    const QString suffix = "-" + factorText(factor) + "x.qss";
    return {theme + ".qss", theme + suffix, base + ".qss", base + suffix};
}

QString CDisplayScale::imageForFactor(const QString &path, double factor)
{
    if (factor < 1.5) {
        return path;
    }
    const QFileInfo info(path);
    const QString stem = path.left(path.size() - info.suffix().size() - 1);
    return stem + "_" + factorText(factor) + "x." + info.suffix();
}

QScreen *CDisplayScale::screenAtCenterOf(const QWidget *widget)
{
    const QPoint center(widget->x() + widget->width() / 2, widget->y() + widget->height() / 2);
    if (QScreen *screen = QGuiApplication::screenAt(center)) {
        return screen;
    }
    KD_WARN << "Can not get valid screen by center point:" << center << ", this:" << widget;
    QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary) {
        KD_WARN << "primaryScreen is invalid";
    }
    return primary;
}

void CDisplayScale::centerOn(QWidget *window, const QScreen *screen)
{
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return;
    }
    const QRect available = screen->availableGeometry();
    KD_LOG << "screen name:" << screen->name() << ", logicalDotsPerInchX: " << screen->logicalDotsPerInchX()
           << "logicalDotsPerInchY: " << screen->logicalDotsPerInchY();
    KD_LOG << "Current screen availableGeometry:" << available << ", geometry:" << screen->geometry();
    // A window larger than the screen keeps its top-left corner, and with it
    // the title bar that moves it, on the screen.
    const int x = qMax(available.left(), available.left() + (available.width() - window->width()) / 2);
    const int y = qMax(available.top(), available.top() + (available.height() - window->height()) / 2);
    window->move(x, y);
    KD_LOG << "Move window to " << x << y;
}

void CDisplayScale::applyStyleSheets(QWidget *window, const QString &base, double factor)
{
    helpers::CGeneralUtils::setStyle(window, styleSheetFiles(base, factor));
    const QList<QLineEdit *> edits = window->findChildren<QLineEdit *>();
    for (QLineEdit *edit : edits) {
        // Polish now, or the sheet's own polish at the first show would
        // colour the placeholder again.
        edit->ensurePolished();
        QPalette palette = edit->palette();
        palette.setColor(QPalette::PlaceholderText, QColor(0x9a, 0xa0, 0xa6));
        edit->setPalette(palette);
    }
}

} // namespace views
} // namespace kd_app
