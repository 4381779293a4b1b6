#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace kd {
namespace sdk {

// The engine's own thread: runs queued work at its due time, in the order it
// was queued among equal times, so events reach the client as they would from
// a remote peer, never on the caller's thread.
class CEventDispatcher
{
public:
    CEventDispatcher();
    ~CEventDispatcher();
    CEventDispatcher(const CEventDispatcher &) = delete;
    CEventDispatcher &operator=(const CEventDispatcher &) = delete;

    void post(std::function<void()> task, int delayMs);
    bool waitForIdle(int timeoutMs);
    // Held, queued work waits (and does not count against idle) until released.
    void setHeld(bool held);
    // Drops what is queued and joins the thread; later posts are ignored.
    void stop();
    bool isDispatcherThread() const;

private:
    using Clock = std::chrono::steady_clock;
    using Key = std::pair<Clock::time_point, uint64_t>;

    void run();

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::map<Key, std::function<void()>> m_queue;
    uint64_t m_nextSequence = 0;
    bool m_running = false;
    bool m_stopping = false;
    bool m_held = false;
    std::thread m_thread;
};

} // namespace sdk
} // namespace kd
