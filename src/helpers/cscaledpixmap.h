#pragma once

#include <QPixmap>
#include <QString>

namespace kd_app {
namespace helpers {

// A picture for the program's own display scale. Beside "name.png" the
// resources keep "name@1.5x.png" and "name@2x.png"; Qt would take an "@2x"
// file for a double-density screen and draw it at half its size, while this
// program scales itself on a plain screen.
class CScaledPixmap
{
public:
    CScaledPixmap() = delete;

    // The file for exactly 1.5 and exactly 2, the plain one otherwise, to be
    // drawn at its full size.
    static QPixmap load(const QString &plainPath, double scale);
};

} // namespace helpers
} // namespace kd_app
