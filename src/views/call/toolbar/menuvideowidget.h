#pragma once

#include "views/call/toolbar/cdevicemenuwidget.h"

namespace kd_app {
namespace views {

// The camera arrow's popup: the cameras and a link to the video settings.
class menuVideoWidget : public CDeviceMenuWidget
{
    Q_OBJECT

public:
    menuVideoWidget(double scale, QWidget *parent);
    ~menuVideoWidget() override;

    // Reads the cameras and builds the menu; called once, before showing it.
    void loadDevices();

signals:
    void sigShowVideoSetting();

public slots:
    void slot_checked_cam(int nId);
    void slot_clicked_showsets();

private:
    Section m_cameras;
};

} // namespace views
} // namespace kd_app
