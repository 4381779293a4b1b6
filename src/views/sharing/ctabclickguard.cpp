#include "ctabclickguard.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

CTabClickGuard::CTabClickGuard(QWidget *toolbar) : QObject(toolbar), m_pToolbar(toolbar)
{
}

CTabClickGuard::~CTabClickGuard()
{
    stopWatching();
}

void CTabClickGuard::arm(const QWidget *tab)
{
    m_tab = QRect(tab->mapToGlobal(QPoint(0, 0)), tab->size());
    m_bArmed = true;
    m_bTakingRelease = false;
    if (!m_bWatching) {
        qApp->installEventFilter(this);
        m_bWatching = true;
    }
}

void CTabClickGuard::disarm()
{
    m_bArmed = false;
    if (!m_bTakingRelease) {
        stopWatching();
    }
}

void CTabClickGuard::stopWatching()
{
    if (m_bWatching) {
        qApp->removeEventFilter(this);
        m_bWatching = false;
    }
}

bool CTabClickGuard::isInToolbarWindow(QObject *watched) const
{
    auto *widget = qobject_cast<QWidget *>(watched);
    return widget && m_pToolbar && widget->window() == m_pToolbar->window();
}

bool CTabClickGuard::eventFilter(QObject *watched, QEvent *event)
{
    // The window's own object sees each event before the widget it goes to.
    if (!watched->isWidgetType()) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const bool onTab = m_tab.contains(static_cast<QMouseEvent *>(event)->globalPos());
        if (m_bArmed && onTab && isInToolbarWindow(watched)) {
            KD_LOG << "the press meant for the moved tab goes nowhere";
            m_bArmed = false;
            m_bTakingRelease = true;
            return true;
        }
        disarm();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_bTakingRelease && isInToolbarWindow(watched)) {
            m_bTakingRelease = false;
            stopWatching();
            return true;
        }
        break;
    case QEvent::MouseMove:
    case QEvent::HoverMove:
    case QEvent::Enter:
    case QEvent::Leave:
        if (m_bArmed && !m_tab.contains(QCursor::pos())) {
            disarm();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace views
} // namespace kd_app
