#include "menuvideowidget.h"

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

menuVideoWidget::menuVideoWidget(double scale, QWidget *parent)
    : CDeviceMenuWidget(scale, parent, ":/resources/qss/menuvideowidget")
{
    setObjectName("menuVideoWidget");
    m_cameras.type = kd::engine::KD_DEVICE_CAMERA;
}

menuVideoWidget::~menuVideoWidget() = default;

void menuVideoWidget::loadDevices()
{
    readDevices(m_cameras);
    KD_LOG << "cameras:" << m_cameras.devices.size();
    beginLayout();
    addSection(m_cameras, tr("Select camera"), nullptr, [this](int id) { slot_checked_cam(id); });
    finishLayout("m_showVideoSets", tr("Video setting"), [this] { slot_clicked_showsets(); });
}

void menuVideoWidget::slot_checked_cam(int nId)
{
    selectDevice(m_cameras, nId);
}

void menuVideoWidget::slot_clicked_showsets()
{
    emit sigShowVideoSetting();
    hide();
}

} // namespace views
} // namespace kd_app
