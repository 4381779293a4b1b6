#pragma once

#include <QPoint>
#include <QtGlobal>

namespace kd_app {
namespace views {

// When the pointer moving over the video asks for the call toolbar. A move
// that comes more than 300 ms after the one before starts a gesture at its
// point; a later move of that gesture shows the toolbar once it ends more
// than 10 px away from that point, and every move of the gesture after that
// shows it again (which restarts its hide timer). A clock that went back
// counts as no time passed.
class CToolbarGesture
{
public:
    static constexpr qint64 GESTURE_GAP_MS = 300;
    static constexpr int START_DISTANCE = 10;

    // The time of the construction counts as the previous move.
    explicit CToolbarGesture(qint64 nowMs);

    // true when this move shows the toolbar.
    bool onMove(const QPoint &globalPos, qint64 nowMs);

private:
    qint64 m_lastMoveMs;
    QPoint m_anchor;
    bool m_bShownInGesture = false;
};

} // namespace views
} // namespace kd_app
