#include "cshowdpi.h"

#include <QScreen>

#include "helpers/clogformat.h"
#include "views/base/cscreendpiwatcher.h"

namespace kd_app {
namespace views {

bool applyAndWatchDpi(CScreenDpiWatcher &watcher, QWidget *window, const QScreen *screen,
                      const std::function<void(unsigned int)> &onDpi)
{
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return false;
    }
    onDpi(static_cast<unsigned int>(screen->logicalDotsPerInchX()));
    watcher.watch(window, onDpi);
    return true;
}

} // namespace views
} // namespace kd_app
