#pragma once

#include <QAbstractNativeEventFilter>

namespace kd_app {

// Keeps the system from starting the screen saver or powering the monitor
// down while the program runs.
class CNativeEventFilters : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &eventType, void *message, long *result) override;

    // The system command (message and its wParam) that the filter discards:
    // WM_SYSCOMMAND with SC_SCREENSAVE or SC_MONITORPOWER, compared whole.
    static bool isSwallowedSysCommand(unsigned int message, quintptr wParam);
};

} // namespace kd_app
