#pragma once

#include <QPointer>
#include <QRect>

class QScreen;
class QWidget;

namespace kd_app {
namespace views {

// The maximise of the large frameless main windows: the window takes the
// free area of the screen under the mouse cursor as its fixed size, and
// restore gives back the geometry it had before. The window state itself
// stays normal, so the window's own title bar keeps working and the window
// manager can move it between screens. The maximise and restore buttons,
// when given, show whichever of the two applies.
class CWindowMaximizer
{
public:
    void setButtons(QWidget *maxButton, QWidget *restoreButton);

    void maximize(QWidget *window);
    // Does nothing to the geometry when nothing was saved.
    void restore(QWidget *window);

    bool isMaximized() const { return m_bMaximized; }
    QRect normalGeometry() const { return m_normalGeometry; }

    // The screen under the cursor; when there is none (the cursor may be off
    // every screen) the one holding the window's centre, else the primary.
    static QScreen *targetScreen(const QWidget *window);

private:
    void showButtons();

    QPointer<QWidget> m_pBtnMax;
    QPointer<QWidget> m_pBtnRestore;
    QRect m_normalGeometry;
    bool m_bMaximized = false;
};

} // namespace views
} // namespace kd_app
