#include "ccoverinputforwarder.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace kd_app {
namespace views {

bool CCoverInputForwarder::forwardMouse(const QMouseEvent *event, QWidget *cover)
{
    if (!cover || !cover->isVisible()) {
        return false;
    }
    const QPoint global = event->globalPos();
    const QPoint inCover = cover->mapFromGlobal(global);
    QWidget *target = cover->childAt(inCover);
    if (!target) {
        target = cover;
    }
    QMouseEvent copy(event->type(), target->mapFromGlobal(global), inCover, event->screenPos(), event->button(),
                     event->buttons(), event->modifiers(), Qt::MouseEventSynthesizedByApplication);
    copy.setTimestamp(event->timestamp());
    QCoreApplication::sendEvent(target, &copy);
    return true;
}

void CCoverInputForwarder::forwardEnter(QWidget *cover, const QPoint &globalPos)
{
    if (!cover || !cover->isVisible()) {
        return;
    }
    const QPoint local = cover->mapFromGlobal(globalPos);
    QEnterEvent enter(local, local, globalPos);
    QCoreApplication::sendEvent(cover, &enter);
}

void CCoverInputForwarder::forwardLeave(QWidget *cover)
{
    if (!cover || !cover->isVisible() || cover->geometry().contains(QCursor::pos())) {
        return;
    }
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(cover, &leave);
}

} // namespace views
} // namespace kd_app
