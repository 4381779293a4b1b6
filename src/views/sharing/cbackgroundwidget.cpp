#include "cbackgroundwidget.h"

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"

namespace kd_app {
namespace views {

using models::CCallController;

CbackgroundWidget::CbackgroundWidget(QWidget *parent) : CBaseWgt(parent)
{
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool);
}

CbackgroundWidget::~CbackgroundWidget() = default;

void CbackgroundWidget::setShowPicBtnVisible(bool visible)
{
    m_bShowPicBtnVisible = visible;
}

void CbackgroundWidget::setParticipantNumber()
{
    m_qstrParticipantNumber = CCallController::getInstance().getParticipantNumber();
}

void CbackgroundWidget::muteAudio()
{
    KD_LOG;
    CCallController::enableMic(false);
    emit sigRefreshStatus();
}

void CbackgroundWidget::unmuteAudio()
{
    KD_LOG;
    CCallController::enableMic(true);
    emit sigRefreshStatus();
}

void CbackgroundWidget::slotHidePicture()
{
    setShowPicBtnVisible(true);
}

} // namespace views
} // namespace kd_app
