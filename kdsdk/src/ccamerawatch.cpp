#include "ccamerawatch.h"

#include <libudev.h>
#include <unistd.h>

#include <QSocketNotifier>

namespace kd {
namespace sdk {

namespace {

// Present while the device manager runs; without it (containers, minimal
// systems) a monitor opens but never hears of a device.
const char kManagerControl[] = "/run/udev/control";

} // namespace

CCameraWatch::CCameraWatch(std::function<void()> changed, QObject *parent)
    : QObject(parent), m_changed(std::move(changed))
{
}

CCameraWatch::~CCameraWatch()
{
    if (m_monitor) {
        udev_monitor_unref(m_monitor);
    }
    if (m_udev) {
        udev_unref(m_udev);
    }
}

bool CCameraWatch::start()
{
    if (m_monitor) {
        return true;
    }
    if (::access(kManagerControl, F_OK) != 0) {
        return false;
    }
    m_udev = udev_new();
    if (!m_udev) {
        return false;
    }
    m_monitor = udev_monitor_new_from_netlink(m_udev, "udev");
    if (!m_monitor || udev_monitor_filter_add_match_subsystem_devtype(m_monitor, "video4linux", nullptr) < 0 ||
        udev_monitor_enable_receiving(m_monitor) < 0) {
        if (m_monitor) {
            udev_monitor_unref(m_monitor);
            m_monitor = nullptr;
        }
        return false;
    }
    auto *notifier = new QSocketNotifier(udev_monitor_get_fd(m_monitor), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &CCameraWatch::receive);
    return true;
}

void CCameraWatch::receive()
{
    bool any = false;
    while (udev_device *device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        any = true;
    }
    if (any) {
        m_changed();
    }
}

} // namespace sdk
} // namespace kd
