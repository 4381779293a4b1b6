#include "cnativeeventfilters.h"

#include "app/cplatform.h"

namespace kd_app {

namespace {
constexpr unsigned int kSysCommand = 0x0112;
constexpr quintptr kScreenSave = 0xF140;
constexpr quintptr kMonitorPower = 0xF170;
} // namespace

bool CNativeEventFilters::nativeEventFilter(const QByteArray &eventType, void *message, long *result)
{
    return CPlatform::swallowsNativeEvent(eventType, message);
}

bool CNativeEventFilters::isSwallowedSysCommand(unsigned int message, quintptr wParam)
{
    return message == kSysCommand && (wParam == kScreenSave || wParam == kMonitorPower);
}

} // namespace kd_app
