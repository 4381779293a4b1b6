#pragma once

#include <functional>

class QScreen;
class QWidget;

namespace kd_app {
namespace views {

class CScreenDpiWatcher;

// At a window's show: tells onDpi the logical DPI of the window's screen at
// once, then has the watcher tell every later change. False (and nothing
// told) without a screen.
bool applyAndWatchDpi(CScreenDpiWatcher &watcher, QWidget *window, const QScreen *screen,
                      const std::function<void(unsigned int)> &onDpi);

} // namespace views
} // namespace kd_app
