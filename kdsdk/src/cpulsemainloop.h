#pragma once

#include <pulse/mainloop-api.h>

#include <QObject>

class QTimer;

namespace kd {
namespace sdk {

// The sound server library's main loop on the Qt event loop of the thread
// that creates it: its sockets, timers and deferred calls run there, so a
// connection to the sound server needs no thread of its own. Delete it only
// after every connection that uses it is gone.
class CPulseMainloop : public QObject
{
public:
    explicit CPulseMainloop(QObject *parent = nullptr);
    ~CPulseMainloop() override;

    pa_mainloop_api *api() { return &m_api; }
    // Runs the deferred calls that are on from the next turn of the loop.
    void wakeDeferred();

private:
    void runDeferred();

    pa_mainloop_api m_api{};
    QTimer *m_deferTimer = nullptr;
};

} // namespace sdk
} // namespace kd
