#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include <httplib.h>

namespace confserver {

// The server's connection workers. Every open connection holds a worker
// while it waits for its next request, so a fixed pool lets a handful of
// idle or slow clients starve everybody else. This queue starts a worker
// whenever none is free, up to a generous ceiling, and lets surplus
// workers end after a quiet spell. Connections that find every worker busy
// wait, up to a limit; beyond it the load is shed: the task runs at once on
// the accepting thread with isShedding() true, and is to close its
// connection unserved.
class CGrowingTaskQueue : public httplib::TaskQueue
{
public:
    explicit CGrowingTaskQueue(size_t maxWorkers = 512, size_t maxWaiting = 1024, size_t keptWorkers = 8);
    ~CGrowingTaskQueue() override;

    void enqueue(std::function<void()> fn) override;
    void shutdown() override;

    size_t workerCount() const;
    // True on the thread running a task that is shed.
    static bool isShedding();

private:
    void work();

    const size_t m_maxWorkers;
    const size_t m_maxWaiting;
    const size_t m_keptWorkers;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_allDone;
    std::deque<std::function<void()>> m_tasks;
    size_t m_workers = 0;
    size_t m_idle = 0;
    bool m_bShutdown = false;
};

} // namespace confserver
