#pragma once

#include <functional>
#include <vector>

#include "engine/kdtypes.h"
#include "views/base/cbasewgt.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace kd_app {
namespace views {

// What the microphone/speaker menu and the camera menu share: a dark,
// frameless popup of device sections (a title, one exclusive check box per
// device, a line) and a link to the settings page, which switches the
// engine's current device when another box is clicked.
class CDeviceMenuWidget : public CBaseWgt
{
    Q_OBJECT

public:
    ~CDeviceMenuWidget() override;

    // The section of one device type, as the menu was built.
    struct Section
    {
        kd::engine::KD_DEVICE_TYPE type = kd::engine::KD_DEVICE_MIC;
        QButtonGroup *group = nullptr;
        std::vector<kd::engine::KDDevice> devices;
        kd::engine::KDDevice current;
    };

protected:
    CDeviceMenuWidget(double scale, QWidget *parent, const char *styleBase);

    // Reads the devices and the current device of the section's type.
    static void readDevices(Section &section);
    // Starts the layout: nothing is built before the devices are read.
    void beginLayout();
    // Adds the title, the boxes and the line; nothing when there is no
    // device. A device named exactly `renamedName` is shown as "System Default".
    // A click on a box calls `checked` once with the device id.
    void addSection(Section &section, const QString &title, const char *renamedName,
                    const std::function<void(int)> &checked);
    // Adds the link and the closing spacer, and sets the menu's size rules.
    void finishLayout(const char *linkName, const QString &linkText, const std::function<void()> &clicked);
    // A click on the box of another device makes it the engine's current one.
    static void selectDevice(Section &section, int nId);

private:
    // Names a row and gives it the scaled row size.
    void sizeRow(QWidget *row, const char *name) const;

    QVBoxLayout *m_vLayout = nullptr;
};

} // namespace views
} // namespace kd_app
