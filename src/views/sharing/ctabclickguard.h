#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace kd_app {
namespace views {

// A sharing toolbar folds or unfolds when the pointer enters its tab, and
// the tab moves away from under the resting pointer: the click the user
// meant for the tab would press whatever now lies there, a button of the
// unfolded face or the board under the folded toolbar. Armed with the tab's
// place on the screen, the guard takes the next press (and its release)
// inside the toolbar's window at that place; the pointer moving off that
// place, or a press elsewhere, disarms it.
class CTabClickGuard : public QObject
{
public:
    explicit CTabClickGuard(QWidget *toolbar);
    ~CTabClickGuard() override;

    // Called just before the toolbar folds or unfolds: takes the tab's
    // place on the screen as it is still.
    void arm(const QWidget *tab);
    void disarm();
    bool isArmed() const { return m_bArmed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isInToolbarWindow(QObject *watched) const;
    void stopWatching();

    QPointer<QWidget> m_pToolbar;
    QRect m_tab;
    bool m_bArmed = false;
    bool m_bTakingRelease = false;
    bool m_bWatching = false;
};

} // namespace views
} // namespace kd_app
