#include "cscreendpiwatcher.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

CScreenDpiWatcher::~CScreenDpiWatcher()
{
    QObject::disconnect(m_screenChanged);
    QObject::disconnect(m_dpiChanged);
}

void CScreenDpiWatcher::watch(QWidget *window, DpiHandler onDpi)
{
    QWindow *handle = window ? window->windowHandle() : nullptr;
    if (!handle || handle == m_pWatchedWindow) {
        return;
    }
    QObject::disconnect(m_screenChanged);
    m_pWatchedWindow = handle;
    m_onDpi = std::move(onDpi);
    m_screenChanged = QObject::connect(handle, &QWindow::screenChanged, window, [this, window](QScreen *screen) {
        followScreen(window, screen);
        if (screen) {
            KD_LOG << "screen changed:" << screen->name();
            m_onDpi(static_cast<unsigned int>(screen->logicalDotsPerInchX()));
        }
    });
    followScreen(window, handle->screen());
}

void CScreenDpiWatcher::followScreen(QWidget *window, QScreen *screen)
{
    QObject::disconnect(m_dpiChanged);
    if (!screen) {
        return;
    }
    m_dpiChanged = QObject::connect(screen, &QScreen::logicalDotsPerInchChanged, window, [this](qreal dpi) {
        KD_LOG << "logical dpi changed:" << dpi;
        m_onDpi(static_cast<unsigned int>(dpi));
    });
}

} // namespace views
} // namespace kd_app
