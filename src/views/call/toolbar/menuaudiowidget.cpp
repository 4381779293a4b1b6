#include "menuaudiowidget.h"

#include "helpers/clogformat.h"

namespace kd_app {
namespace views {

menuAudioWidget::menuAudioWidget(double scale, QWidget *parent)
    : CDeviceMenuWidget(scale, parent, ":/resources/qss/menuaudiowidget")
{
    setObjectName("menuAudioWidget");
    m_mics.type = kd::engine::KD_DEVICE_MIC;
    m_speakers.type = kd::engine::KD_DEVICE_SPEAKER;
}

menuAudioWidget::~menuAudioWidget() = default;

void menuAudioWidget::loadDevices()
{
    readDevices(m_mics);
    readDevices(m_speakers);
    KD_LOG << "mics:" << m_mics.devices.size() << "speakers:" << m_speakers.devices.size();
    beginLayout();
    addSection(m_mics, tr("Select microphone"), "System Default Microphone", [this](int id) { slot_checked_mic(id); });
    addSection(m_speakers, tr("Select speaker"), "System Default Speaker",
               [this](int id) { slot_checked_speaker(id); });
    finishLayout("m_showAudioSets", tr("Audio setting"), [this] { slot_clicked_showsets(); });
}

void menuAudioWidget::slot_checked_mic(int nId)
{
    selectDevice(m_mics, nId);
}

void menuAudioWidget::slot_checked_speaker(int nId)
{
    selectDevice(m_speakers, nId);
}

void menuAudioWidget::slot_clicked_showsets()
{
    emit sigShowAudioSetting();
    hide();
}

} // namespace views
} // namespace kd_app
