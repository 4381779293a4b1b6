#pragma once

#include "views/call/toolbar/cdevicemenuwidget.h"

namespace kd_app {
namespace views {

// The microphone arrow's popup: microphones and speakers, and a link to the
// audio settings.
class menuAudioWidget : public CDeviceMenuWidget
{
    Q_OBJECT

public:
    menuAudioWidget(double scale, QWidget *parent);
    ~menuAudioWidget() override;

    // Reads the devices and builds the menu; called once, before showing it.
    void loadDevices();

signals:
    void sigShowAudioSetting();

public slots:
    void slot_checked_mic(int nId);
    void slot_checked_speaker(int nId);
    void slot_clicked_showsets();

private:
    Section m_mics;
    Section m_speakers;
};

} // namespace views
} // namespace kd_app
