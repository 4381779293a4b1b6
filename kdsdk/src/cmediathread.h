#pragma once

#include <functional>
#include <memory>

#include <QThread>

class QObject;

namespace kd {
namespace sdk {

// The engine's own thread for the system's sound and camera devices: Qt
// Multimedia wants an event loop, and work on it must not wait for the
// client's graphical thread nor hold up the engine's event dispatcher.
class CMediaThread
{
public:
    CMediaThread();
    ~CMediaThread();
    CMediaThread(const CMediaThread &) = delete;
    CMediaThread &operator=(const CMediaThread &) = delete;

    // Runs the work there and waits for it; directly when already there.
    void run(const std::function<void()> &work);
    // Runs the work there later.
    void post(std::function<void()> work);
    // Lives on the thread: the parent of the objects that must live there.
    QObject *context() const { return m_context; }
    bool isCurrent() const;

private:
    QThread m_thread;
    QObject *m_context = nullptr;
};

} // namespace sdk
} // namespace kd
