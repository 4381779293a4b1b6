#include "cwindowmaximizer.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "helpers/clogformat.h"
#include "views/base/cdisplayscale.h"

namespace kd_app {
namespace views {

void CWindowMaximizer::setButtons(QWidget *maxButton, QWidget *restoreButton)
{
    m_pBtnMax = maxButton;
    m_pBtnRestore = restoreButton;
    showButtons();
}

void CWindowMaximizer::showButtons()
{
    if (m_pBtnMax) {
        m_pBtnMax->setVisible(!m_bMaximized);
    }
    if (m_pBtnRestore) {
        m_pBtnRestore->setVisible(m_bMaximized);
    }
}

QScreen *CWindowMaximizer::targetScreen(const QWidget *window)
{
    if (QScreen *screen = QGuiApplication::screenAt(QCursor::pos())) {
        return screen;
    }
    return CDisplayScale::screenAtCenterOf(window);
}

void CWindowMaximizer::maximize(QWidget *window)
{
    // A second maximise must not take the maximised geometry as the normal one.
    if (!m_bMaximized) {
        m_normalGeometry = window->geometry();
    }
    m_bMaximized = true;
    showButtons();
    const QScreen *screen = targetScreen(window);
    if (!screen) {
        KD_WARN << "Can not get valid screen";
        return;
    }
    const QRect area = screen->availableGeometry();
    KD_LOG << "normal geometry:" << m_normalGeometry << "available area:" << area;
    window->setFixedSize(area.size());
    window->move(area.topLeft());
}

void CWindowMaximizer::restore(QWidget *window)
{
    m_bMaximized = false;
    showButtons();
    KD_LOG << "normal geometry:" << m_normalGeometry;
    if (!m_normalGeometry.isValid()) {
        return;
    }
    window->setFixedSize(m_normalGeometry.size());
    window->move(m_normalGeometry.topLeft());
}

} // namespace views
} // namespace kd_app
