#include "cstackingwatcher.h"

#include <QCoreApplication>
#include <QEvent>

namespace kd_app {

CStackingWatcher::CStackingWatcher(QWidget *window) : QObject(nullptr), m_window(window)
{
    if (m_window) {
        m_window->installEventFilter(this);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CStackingWatcher::~CStackingWatcher()
{
    if (QCoreApplication *app = QCoreApplication::instance()) {
        app->removeNativeEventFilter(this);
    }
}

bool CStackingWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::WindowActivate:
        case QEvent::ZOrderChange:
            notifyLater();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CStackingWatcher::nativeEventFilter(const QByteArray &eventType, void *message, long *)
{
    if (m_window && isRestackOfWindow(eventType, message)) {
        notifyLater();
    }
    return false;
}

void CStackingWatcher::notifyLater()
{
    if (m_bPending) {
        return;
    }
    m_bPending = true;
    // After the raise itself: the event comes before it is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_bPending = false;
            emit sigRestacked();
        },
        Qt::QueuedConnection);
}

} // namespace kd_app
