#include "whiteboard.h"

#include "app/cwindowshape.h"
#include "helpers/clogformat.h"
#include "ui_whiteboard.h"

namespace kd_app {
namespace views {

WhiteBoard::WhiteBoard(QWidget *parent) : QWidget(nullptr), m_pUi(std::make_unique<Ui::WhiteBoard>())
{
    Q_UNUSED(parent)
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    QPalette pal = palette();
    pal.setBrush(QPalette::All, QPalette::Window, QBrush(QColor(0, 255, 0, 0)));
    setPalette(pal);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::WindowStaysOnTopHint);
    m_pUi->setupUi(this);
}

WhiteBoard::~WhiteBoard()
{
    KD_LOG << "WhiteBoard::~WhiteBoard";
    KD_LOG << "done";
}

void WhiteBoard::setBackgroundColor(const QString &colour)
{
    KD_LOG << "colour:" << colour;
    m_qstrBackgroundColor = colour;
    m_pUi->bg->setStyleSheet(QStringLiteral("#bg{background-color: ") + colour + QStringLiteral("}"));
}

void WhiteBoard::clearBackground()
{
    KD_LOG;
    m_qstrBackgroundColor.clear();
    m_pUi->bg->setStyleSheet(QStringLiteral("#bg{background-color: rgb(255,255,255,0)}"));
}

void WhiteBoard::setVisible(bool visible)
{
    // Without a compositor a transparent window shows black over the whole
    // shared screen; the overlay then paints the chosen board itself.
    if (visible && !CWindowShape::isCompositorRunning()) {
        KD_LOG << "no compositor, stays hidden";
        QWidget::setVisible(false);
        return;
    }
    QWidget::setVisible(visible);
}

void WhiteBoard::showEvent(QShowEvent *event)
{
    KD_LOG << "WhiteBoard::showEvent";
    QWidget::showEvent(event);
    passClicksThrough();
}

bool WhiteBoard::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WinIdChange) {
        passClicksThrough();
    }
    return handled;
}

void WhiteBoard::passClicksThrough()
{
    // The window system hands clicks on transparent pixels to the window as
    // well; the board lies under the overlay and never takes one, or clicks
    // meant for the desktop would end here while drawing is off.
    if (testAttribute(Qt::WA_WState_Created)) {
        CWindowShape::setInputRegion(winId(), QRegion());
    }
}

void WhiteBoard::hideEvent(QHideEvent *event)
{
    KD_LOG << "WhiteBoard::hideEvent";
    QWidget::hideEvent(event);
}

} // namespace views
} // namespace kd_app
