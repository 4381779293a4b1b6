#include "ceventfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "helpers/clogformat.h"
#include "views/call/clayoutbackgrounddlg.h"

namespace kd_app {
namespace views {

const char *const CEventFilter::WHITEBOARD_CLASS = "kd_app::views::WhiteBoardDlg";
const char *const CEventFilter::REMOTE_CONTENT_CLASS = "kd_app::views::CRemoteContentDlg";

namespace {

bool isWhiteBoard(const QObject *object)
{
    return object && object->inherits(CEventFilter::WHITEBOARD_CLASS);
}

bool isRemoteContent(const QObject *object)
{
    return object && object->inherits(CEventFilter::REMOTE_CONTENT_CLASS);
}

} // namespace

CEventFilter::CEventFilter(CLayoutBackgroundDlg *frame) : QObject(nullptr), m_pFrame(frame)
{
}

CEventFilter::~CEventFilter() = default;

bool CEventFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_pFrame) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return onKeyPress(event);
    case QEvent::WindowActivate:
        return onWindowActivate(watched);
    case QEvent::ZOrderChange:
        return onZOrderChange(watched);
    default:
        return false;
    }
}

bool CEventFilter::onKeyPress(QEvent *event)
{
    if (static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape) {
        return false;
    }
    // Escape never reaches the windows: outside full screen it does nothing.
    if (m_pFrame->isFullScreenFlag()) {
        KD_LOG << "exit full screen";
        m_pFrame->slotOnWinFullScreenExit();
    }
    return true;
}

bool CEventFilter::onWindowActivate(QObject *watched)
{
    if (isWhiteBoard(watched)) {
        m_pWhiteBoardDlg = qobject_cast<QWidget *>(watched);
        if (m_pWhiteBoardDlg) {
            m_pWhiteBoardDlg->raise();
        }
        return true;
    }
    m_pWhiteBoardDlg = nullptr;
    if (isRemoteContent(watched)) {
        m_pRemoteContentDlg = qobject_cast<QWidget *>(watched);
        if (m_pRemoteContentDlg) {
            m_pRemoteContentDlg->raise();
        }
    } else {
        m_pRemoteContentDlg = nullptr;
    }
    return true;
}

bool CEventFilter::onZOrderChange(QObject *watched)
{
    if (isWhiteBoard(watched) || isRemoteContent(watched)) {
        return false;
    }
    if (QWidget *active = QApplication::activeWindow()) {
        if (isWhiteBoard(active) || isRemoteContent(active)) {
            active->raise();
            return true;
        }
        return false;
    }
    QWidget *remembered = m_pWhiteBoardDlg ? m_pWhiteBoardDlg.data() : m_pRemoteContentDlg.data();
    if (!remembered) {
        return false;
    }
    remembered->raise();
    return true;
}

} // namespace views
} // namespace kd_app
