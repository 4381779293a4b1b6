#pragma once

#include <functional>

#include <QObject>

struct udev;
struct udev_monitor;

namespace kd {
namespace sdk {

// Follows cameras coming and going through the device manager's
// notifications: `changed` is called on the thread whose event loop runs
// it. Without a running device manager there is nothing to follow.
class CCameraWatch : public QObject
{
public:
    explicit CCameraWatch(std::function<void()> changed, QObject *parent = nullptr);
    ~CCameraWatch() override;

    // False when the system cannot tell camera changes.
    bool start();

private:
    void receive();

    std::function<void()> m_changed;
    udev *m_udev = nullptr;
    udev_monitor *m_monitor = nullptr;
};

} // namespace sdk
} // namespace kd
