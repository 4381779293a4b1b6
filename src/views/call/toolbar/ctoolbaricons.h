#pragma once

#include <QString>

namespace kd_app {
namespace views {

// The call toolbar's button pictures for a display scale. Their files are
// not named alike ("@1.5x" for some, "-1.5x" for others), so the names are
// kept in one table.
class CToolbarIcons
{
public:
    enum Icon {
        MicOn,
        MicOff,
        CameraOn,
        CameraOff,
        Volume,
        VolumeMuted,
        Share,
        More,
        DialPad,
        LayoutContentPreferred,
        LayoutContentOnly,
        DeviceArrow,
    };

    CToolbarIcons() = delete;

    // Exactly 1.5 and exactly 2 take their own files; any other scale the plain one.
    static QString path(Icon icon, double scale);
};

} // namespace views
} // namespace kd_app
