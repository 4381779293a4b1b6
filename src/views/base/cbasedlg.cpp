#include "cbasedlg.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

#include "helpers/clogformat.h"
#include "views/base/cdisplayscale.h"
#include "views/base/cshowdpi.h"
#include "helpers/cgeneralutils.h"

namespace kd_app {
namespace views {

namespace {

enum ResizeZone {
    NoZone = 0,
    TopRight = 2,
    Right = 3,
    BottomRight = 4,
    Bottom = 5,
    BottomLeft = 6,
};

} // namespace

CBaseDlg::CBaseDlg(QWidget *parent) : QDialog(parent)
{
    setWindowIcon(QIcon(":/resources/images/logo_about.png"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    setAttribute(Qt::WA_MouseTracking);
}

CBaseDlg::~CBaseDlg() = default;

QScreen *CBaseDlg::getDisplayScreen(QWidget *reference) const
{
    return CDisplayScale::screenAtCenterOf(reference ? reference : this);
}

void CBaseDlg::centerWindowOnScreen(QWidget *reference)
{
    CDisplayScale::centerOn(this, getDisplayScreen(reference));
}

void CBaseDlg::updateDpi(unsigned int dpi)
{
    if (CDisplayScale::update(dpi, m_nDpi, m_fStretchFactor)) {
        onDpiChanged();
    }
}

void CBaseDlg::setStyleSheetByScale(const QString &base)
{
    CDisplayScale::applyStyleSheets(this, base, m_fStretchFactor);
}

void CBaseDlg::onDpiChanged()
{
    KD_LOG << this << "fStretchFactor:" << m_fStretchFactor;
}

void CBaseDlg::clearDefaultButtons()
{
    const QList<QPushButton *> buttons = findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void CBaseDlg::showEvent(QShowEvent *event)
{
    if (!applyAndWatchDpi(m_dpiWatcher, this, getDisplayScreen(), [this](unsigned int dpi) { updateDpi(dpi); })) {
        return;
    }
    // Centred at the size of the screen's scale: centred before scaling, a
    // window that grows runs off the bottom of the screen.
    if (m_bFirstShow) {
        m_bFirstShow = false;
        KD_LOG << "Dialog firstly show and center it:" << m_bCenterOnFirstShow << this << ", initial position:" << x()
               << y() << ", size:" << width() << height();
        if (m_bCenterOnFirstShow) {
            centerWindowOnScreen();
        }
    }
    QDialog::showEvent(event);
}

void CBaseDlg::keyPressEvent(QKeyEvent *event)
{
    // A frameless window has no other way to tell the user it was dismissed,
    // so Escape must not reject it behind the user's back.
    if (event->key() == Qt::Key_Escape) {
        return;
    }
    QDialog::keyPressEvent(event);
}

void CBaseDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && windowState() != Qt::WindowMaximized && !isFullScreen()) {
        KD_LOG << "LeftButton press and not maximized, set m_bDrag to true." << this;
        m_bDrag = true;
        m_pressPos = event->pos();
        m_pressGlobalPos = event->globalPos();
        m_pressRect = rect();
    }
    QWidget::mousePressEvent(event);
}

void CBaseDlg::moveByDrag(const QPoint &globalPos)
{
    const QPoint before = pos();
    move(globalPos - m_pressPos);
    const QPoint step = pos() - before;
    emit sigDragPosChanged(this, step.x(), step.y());
}

void CBaseDlg::mouseMoveEvent(QMouseEvent *event)
{
    if (m_nResizeZone != NoZone) {
        resizeStep();
        return;
    }
    if (m_bMoving) {
        moveByDrag(event->globalPos());
        return;
    }
    const QPoint p = event->pos();
    const int b = m_nBorderWidth;
    const bool inBand = rect().contains(p) && !QRect(0, 0, width() - b, height() - b).contains(p);
    const bool leftHeld = event->buttons() & Qt::LeftButton;
    if (!inBand) {
        setCursor(Qt::ArrowCursor);
        if (p.y() > m_nTitleHeight) {
            return;
        }
        if (m_bDrag && leftHeld) {
            m_bMoving = true;
            moveByDrag(event->globalPos());
        }
        QWidget::mouseMoveEvent(event);
        return;
    }
    if (!m_bResizable) {
        return;
    }
    const int zone = resizeZoneAt(p);
    static const QHash<int, Qt::CursorShape> cursors = {
        {TopRight, Qt::SizeBDiagCursor}, {Right, Qt::SizeHorCursor},        {BottomRight, Qt::SizeFDiagCursor},
        {Bottom, Qt::SizeVerCursor},     {BottomLeft, Qt::SizeBDiagCursor},
    };
    setCursor(cursors.value(zone, Qt::ArrowCursor));
    if (m_bDrag && leftHeld && zone != NoZone) {
        m_nResizeZone = zone;
        resizeStep();
    }
    QWidget::mouseMoveEvent(event);
}

int CBaseDlg::resizeZoneAt(const QPoint &pos) const
{
    const int b = m_nBorderWidth;
    const bool top = pos.y() <= b;
    const bool bottom = pos.y() >= height() - b;
    const bool left = pos.x() <= b;
    const bool right = pos.x() >= width() - b;
    if (bottom) {
        if (right) {
            return BottomRight;
        }
        return left ? BottomLeft : Bottom;
    }
    if (right) {
        return top ? TopRight : Right;
    }
    return NoZone;
}

void CBaseDlg::resizeStep()
{
    const QPoint cursor = QCursor::pos();
    const int dx = cursor.x() - m_pressGlobalPos.x();
    const int dy = cursor.y() - m_pressGlobalPos.y();
    const int w = m_pressRect.width();
    const int h = m_pressRect.height();
    switch (m_nResizeZone) {
    case TopRight:
        resize(w + dx, h - dy);
        move(x(), m_pressGlobalPos.y() + dy);
        break;
    case Right:
        resize(w + dx, height());
        break;
    case BottomRight:
        resize(w + dx, h + dy);
        break;
    case Bottom:
        resize(width(), h + dy);
        break;
    case BottomLeft:
        resize(w - dx, h + dy);
        move(m_pressGlobalPos.x() + dx, y());
        break;
    default:
        break;
    }
}

void CBaseDlg::mouseReleaseEvent(QMouseEvent *event)
{
    m_bDrag = false;
    if (m_bMoving) {
        m_bMoving = false;
        moveByDrag(event->globalPos());
    }
    m_nResizeZone = NoZone;
    setCursor(Qt::ArrowCursor);
    QWidget::mouseReleaseEvent(event);
}

} // namespace views
} // namespace kd_app
