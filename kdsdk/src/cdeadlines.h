#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

namespace kd {
namespace sdk {

// Work the engine owes at a later time (a ring that times out, the next
// network rating), kept on a thread of its own so that the event queue stays
// idle between them. Each piece of work has a name; scheduling a name again
// replaces what was due under it. Work runs on this thread, outside its lock.
class CDeadlines
{
public:
    CDeadlines();
    ~CDeadlines();
    CDeadlines(const CDeadlines &) = delete;
    CDeadlines &operator=(const CDeadlines &) = delete;

    void schedule(const std::string &name, int delayMs, std::function<void()> work);
    void cancel(const std::string &name);
    // Drops what is due and joins the thread; later schedules are ignored.
    void stop();

private:
    using Clock = std::chrono::steady_clock;

    struct CEntry
    {
        Clock::time_point due;
        std::function<void()> work;
    };

    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<std::string, CEntry> m_due;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace sdk
} // namespace kd
