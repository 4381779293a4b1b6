#include "paintlistwidget.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "ui_paintlistwidget.h"
#include "views/sharing/coverlayrules.h"

namespace kd_app {
namespace views {

namespace {

const char kIconFolder[] = ":/resources/images/ScreenDrawing/";

QString icon(const char *name)
{
    return QString::fromLatin1(kIconFolder) + QString::fromLatin1(name);
}

} // namespace

PaintListWidget::PaintListWidget(QWidget *parent) : CBaseWgt(parent), m_pUi(std::make_unique<Ui::PaintListWidget>())
{
    m_pUi->setupUi(this);
    setWindowFlags(windowFlags() | Qt::Tool | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose);

    const struct
    {
        Cmenubutton *entry;
        const char *normal;
        const char *click;
        bool tool;
    } entries[] = {
        {m_pUi->button_mouse, "icon_mouse_default", "icon_mouse_click", true},
        {m_pUi->button_pen, "icon_brush_default", "icon_brush_click", true},
        {m_pUi->button_niteWriterPen, "icon_highlighter_default", "icon_highlighter_click", true},
        {m_pUi->button_eraser, "icon_eraser_default", "icon_eraser_click", true},
        {m_pUi->button_revocation, "icon_revoke_default", "icon_revoke_click", false},
        {m_pUi->button_paintBackground, "icon_bg_default", "icon_bg_click", false},
        {m_pUi->button_paintClear, "icon_clear_default", "icon_clear_click", false},
        {m_pUi->button_save, "icon_save_default", "icon_save_click", false},
        {m_pUi->button_exit, "icon_exit_default", "icon_exit_click", false},
    };
    for (const auto &entry : entries) {
        entry.entry->setImagePath(icon(entry.normal));
        entry.entry->setClickImagePath(icon(entry.click));
        entry.entry->m_bCheckable = entry.tool;
    }
    m_pUi->button_mouse->setUnselectedStyle();
    m_pUi->button_pen->setSelectedStyle();

    connect(m_pUi->button_mouse, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnMouseClicked);
    connect(m_pUi->button_pen, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnPenClicked);
    connect(m_pUi->button_niteWriterPen, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnNitePenClicked);
    connect(m_pUi->button_eraser, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnEraserClicked);
    connect(m_pUi->button_revocation, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnRevokeClicked);
    connect(m_pUi->button_paintBackground, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnBgClicked);
    connect(m_pUi->button_paintClear, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnClearClicked);
    connect(m_pUi->button_exit, &Cmenubutton::btnClicked, this, &PaintListWidget::onBtnExitClicked);
    connect(m_pUi->button_save, &Cmenubutton::btnClicked, this, &PaintListWidget::slotBtnSaveClicked);
    connect(m_pUi->button_pen_select, &CimageWidget::btnClicked, this, &PaintListWidget::onBtnSelectPenClicked);
    connect(m_pUi->button_nite_pen_select, &CimageWidget::btnClicked, this,
            &PaintListWidget::onBtnSelectNitePenClicked);
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &PaintListWidget::slotOnLanguageChanged);

    m_pUi->m_pBgFrame->setMouseTracking(true);
    m_pUi->m_pBgFrame->installEventFilter(this);
    slotOnLanguageChanged();
}

PaintListWidget::~PaintListWidget() = default;

void PaintListWidget::selectTool(Cmenubutton *tool)
{
    for (Cmenubutton *entry :
         {m_pUi->button_mouse, m_pUi->button_pen, m_pUi->button_niteWriterPen, m_pUi->button_eraser}) {
        if (entry == tool) {
            entry->setSelectedStyle();
        } else {
            entry->setUnselectedStyle();
        }
    }
}

void PaintListWidget::selectPenButton()
{
    selectTool(m_pUi->button_pen);
}

void PaintListWidget::togglePicker(QWidget *picker, int entryX, bool shown) const
{
    if (shown) {
        picker->hide();
        return;
    }
    const QScreen *primary = QGuiApplication::primaryScreen();
    const int desktopHeight = primary ? primary->availableVirtualGeometry().height() : 0;
    picker->show();
    picker->raise();
    picker->move(COverlayRules::pickerPosition(geometry(), entryX, picker->height(), desktopHeight));
}

void PaintListWidget::selectNitePenButton()
{
    selectTool(m_pUi->button_niteWriterPen);
}

void PaintListWidget::resetToPen()
{
    selectTool(m_pUi->button_pen);
    emit penClicked();
}

void PaintListWidget::setSendWhiteBoardType()
{
    m_pUi->button_mouse->hide();
    m_pUi->button_exit->show();
}

void PaintListWidget::setReceiveWhiteBoardType()
{
    m_pUi->button_mouse->hide();
    m_pUi->button_exit->hide();
}

void PaintListWidget::onBtnMouseClicked()
{
    selectTool(m_pUi->button_mouse);
    emit enabelMouse();
}

void PaintListWidget::onBtnPenClicked()
{
    selectTool(m_pUi->button_pen);
    emit penClicked();
}

void PaintListWidget::onBtnNitePenClicked()
{
    selectTool(m_pUi->button_niteWriterPen);
    emit nitePenClicked();
}

void PaintListWidget::onBtnEraserClicked()
{
    selectTool(m_pUi->button_eraser);
    emit eraserClicked();
}

void PaintListWidget::onBtnRevokeClicked()
{
    emit revokeClicked();
}

void PaintListWidget::onBtnBgClicked()
{
    emit bgClicked();
}

void PaintListWidget::onBtnClearClicked()
{
    emit clearClicked();
}

void PaintListWidget::onBtnExitClicked()
{
    emit exitClicked();
}

void PaintListWidget::onBtnSelectPenClicked()
{
    emit selectPenClicked();
}

void PaintListWidget::onBtnSelectNitePenClicked()
{
    emit selectNitePenClicked();
}

void PaintListWidget::slotBtnSaveClicked()
{
    emit sigSaveClicked();
}

void PaintListWidget::slotOnLanguageChanged()
{
    setWindowTitle(QString());
    m_pUi->button_mouse->setText(tr("Mouse"));
    m_pUi->button_pen->setText(tr("Pen"));
    m_pUi->button_niteWriterPen->setText(tr("Marker"));
    m_pUi->button_eraser->setText(tr("Eraser"));
    m_pUi->button_revocation->setText(tr("Revoke"));
    m_pUi->button_paintBackground->setText(tr("Background"));
    m_pUi->button_paintClear->setText(tr("Clear"));
    m_pUi->button_save->setText(tr("Save"));
    m_pUi->button_exit->setText(tr("Exit"));
}

bool PaintListWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_pUi->m_pBgFrame && event->type() == QEvent::MouseMove) {
        emit sigMouseMove();
    }
    return CBaseWgt::eventFilter(watched, event);
}

void PaintListWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    m_bDragging = true;
    m_pressPoint = event->pos();
}

void PaintListWidget::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    m_bDragging = false;
}

void PaintListWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_bDragging) {
        move(pos() + event->pos() - m_pressPoint);
    }
}

void PaintListWidget::onDpiChanged()
{
    KD_LOG << "PaintListWidget onDpiChanged";
    const double s = m_fStretchFactor;
    setFixedSize(int(730 * s), int(56 * s));
    m_pUi->m_pNitePenBg->setMinimumWidth(int(64 * s));
    m_pUi->m_pPenBg->setMinimumWidth(int(64 * s));
    m_pUi->button_pen_select->setMinimumWidth(int(18 * s));
    m_pUi->button_nite_pen_select->setMinimumWidth(int(18 * s));
    m_pUi->button_pen_select->setMaximumWidth(int(18 * s));
    m_pUi->button_nite_pen_select->setMaximumWidth(int(18 * s));
    m_pUi->button_pen_select->setScale(s);
    m_pUi->button_nite_pen_select->setScale(s);
    for (Cmenubutton *entry : {m_pUi->button_mouse, m_pUi->button_pen, m_pUi->button_niteWriterPen,
                               m_pUi->button_eraser, m_pUi->button_revocation, m_pUi->button_paintBackground,
                               m_pUi->button_paintClear, m_pUi->button_save, m_pUi->button_exit}) {
        entry->onDpiUpDate(s);
    }
    // The x positions are those of the laid-out menu at the new size.
    if (layout()) {
        layout()->activate();
    }
    m_pUi->m_pBgFrame->layout()->activate();
    m_nPenBgX = m_pUi->m_pPenBg->x();
    m_nNitePenBgX = m_pUi->m_pNitePenBg->x();
    m_nBgBtnX = m_pUi->button_paintBackground->x();
}

} // namespace views
} // namespace kd_app
