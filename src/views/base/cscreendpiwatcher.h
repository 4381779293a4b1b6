#pragma once

#include <functional>

#include <QMetaObject>
#include <QPointer>

class QScreen;
class QWidget;
class QWindow;

namespace kd_app {
namespace views {

// Tells a window the logical DPI of its screen whenever that can change
// while it is shown: the window moves to another screen, or the screen's
// own DPI is changed by the user.
class CScreenDpiWatcher
{
public:
    using DpiHandler = std::function<void(unsigned int)>;

    CScreenDpiWatcher() = default;
    ~CScreenDpiWatcher();
    CScreenDpiWatcher(const CScreenDpiWatcher &) = delete;
    CScreenDpiWatcher &operator=(const CScreenDpiWatcher &) = delete;

    // Safe to call at every show: connects only when the native window is new.
    void watch(QWidget *window, DpiHandler onDpi);

private:
    void followScreen(QWidget *window, QScreen *screen);

    QPointer<QWindow> m_pWatchedWindow;
    QMetaObject::Connection m_screenChanged;
    QMetaObject::Connection m_dpiChanged;
    DpiHandler m_onDpi;
};

} // namespace views
} // namespace kd_app
