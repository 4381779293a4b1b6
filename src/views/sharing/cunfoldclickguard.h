#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace kd_app {
namespace views {

// A folded sharing toolbar unfolds when the pointer enters its tab, and the
// face that unfolds comes to lie under the pointer: the click the user
// meant for the tab would press whatever button now lies there. Armed with
// the tab's place on the screen, the guard takes the next press (and its
// release) inside the toolbar at that place; the pointer moving off that
// place, or a press elsewhere, disarms it.
class CUnfoldClickGuard : public QObject
{
public:
    explicit CUnfoldClickGuard(QWidget *toolbar);
    ~CUnfoldClickGuard() override;

    // globalTab: where the folded tab lay, in screen coordinates.
    void arm(const QRect &globalTab);
    void disarm();
    bool isArmed() const { return m_bArmed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOnToolbar(QObject *watched) const;
    void stopWatching();

    QPointer<QWidget> m_pToolbar;
    QRect m_tab;
    bool m_bArmed = false;
    bool m_bTakingRelease = false;
    bool m_bWatching = false;
};

} // namespace views
} // namespace kd_app
