#include "caudiomodewidget.h"

#include <QMouseEvent>

#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "ui_caudiomodewidget.h"

namespace kd_app {
namespace views {

CAudioModeWidget::CAudioModeWidget(QWidget *parent) : CBaseWgt(parent), ui(std::make_unique<Ui::CAudioModeWidget>())
{
    ui->setupUi(this);
    ui->m_pWgtBg->setMouseTracking(true);
    ui->m_pWgtBg->installEventFilter(this);
    helpers::CGeneralUtils::setStyle(this, QStringLiteral(":/resources/qss/audio-mode-widget.qss"));
}

CAudioModeWidget::~CAudioModeWidget() = default;

void CAudioModeWidget::setMicMuted(bool micEnabled)
{
    KD_LOG << "micEnabled:" << micEnabled;
    ui->m_pWgtAudioStatus->setStyleSheet(
        micEnabled ? QStringLiteral("border-image:url(:/resources/images/audio_unmute-1x.png) no-repeat")
                   : QStringLiteral("border-image:url(:/resources/images/audio_mute-1x.png) no-repeat"));
}

bool CAudioModeWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->m_pWgtBg && event->type() == QEvent::MouseMove) {
        emit sigMouseMove(static_cast<QMouseEvent *>(event));
    }
    return CBaseWgt::eventFilter(watched, event);
}

void CAudioModeWidget::mouseMoveEvent(QMouseEvent *event)
{
    CBaseWgt::mouseMoveEvent(event);
    emit sigMouseMove(event);
}

void CAudioModeWidget::mousePressEvent(QMouseEvent *event)
{
    CBaseWgt::mousePressEvent(event);
    emit sigMousePress(event);
}

void CAudioModeWidget::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseWgt::showEvent(event);
}

void CAudioModeWidget::onDpiChanged()
{
    CBaseWgt::onDpiChanged();
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
}

} // namespace views
} // namespace kd_app
