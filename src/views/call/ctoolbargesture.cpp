#include "ctoolbargesture.h"

namespace kd_app {
namespace views {

CToolbarGesture::CToolbarGesture(qint64 nowMs) : m_lastMoveMs(nowMs)
{
}

bool CToolbarGesture::onMove(const QPoint &globalPos, qint64 nowMs)
{
    const qint64 elapsed = nowMs - m_lastMoveMs;
    m_lastMoveMs = nowMs;
    if (elapsed > GESTURE_GAP_MS) {
        m_anchor = globalPos;
        m_bShownInGesture = false;
        return false;
    }
    if (m_bShownInGesture) {
        return true;
    }
    const QPoint distance = globalPos - m_anchor;
    if (distance.x() * distance.x() + distance.y() * distance.y() > START_DISTANCE * START_DISTANCE) {
        m_bShownInGesture = true;
        return true;
    }
    return false;
}

} // namespace views
} // namespace kd_app
