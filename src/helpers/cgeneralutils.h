#pragma once

#include <QString>
#include <QStringList>

class QLabel;
class QWidget;

namespace kd_app {
namespace helpers {

// Static helpers shared by windows and models. Holds no state.
class CGeneralUtils
{
public:
    CGeneralUtils() = delete;

    static void setStyle(QWidget *widget, const QStringList &qssFiles);
    static void setStyle(QWidget *widget, const QString &qssFile);

    static bool drawRectroundImageOnLabel(QLabel *label, const QString &imagePath, int width, int height, int radiusX,
                                          int radiusY, bool darken);
    static bool drawRectroundImageOnLabel(QLabel *label, const QString &imagePath, int width, int height);

    static QString getLocalIpAddress();
    static bool isEqual(double a, double b);
    static bool isFile(const QString &path);
    static bool isNullOrEmpty(const QString &text);

    // Text of a style-sheet file: its bytes up to the first zero byte, as UTF-8.
    static QString readStyleText(const QByteArray &bytes);
};

} // namespace helpers
} // namespace kd_app
