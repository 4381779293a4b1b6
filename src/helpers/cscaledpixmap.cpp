#include "cscaledpixmap.h"

namespace kd_app {
namespace helpers {

QPixmap CScaledPixmap::load(const QString &plainPath, double scale)
{
    QString path = plainPath;
    const int suffix = path.lastIndexOf(QLatin1Char('.'));
    if (scale == 2.0) {
        path.insert(suffix, QLatin1String("@2x"));
    } else if (scale == 1.5) {
        path.insert(suffix, QLatin1String("@1.5x"));
    }
    QPixmap picture(path);
    picture.setDevicePixelRatio(1.0);
    return picture;
}

} // namespace helpers
} // namespace kd_app
