#include "cgrowingtaskqueue.h"

#include <chrono>
#include <thread>

namespace confserver {

namespace {
constexpr auto kIdleLifetime = std::chrono::seconds(30);
// Set while a shed task runs.
thread_local bool t_bShedding = false;
} // namespace

CGrowingTaskQueue::CGrowingTaskQueue(size_t maxWorkers, size_t maxWaiting, size_t keptWorkers)
    : m_maxWorkers(maxWorkers), m_maxWaiting(maxWaiting), m_keptWorkers(keptWorkers)
{
}

bool CGrowingTaskQueue::isShedding()
{
    return t_bShedding;
}

CGrowingTaskQueue::~CGrowingTaskQueue()
{
    shutdown();
}

void CGrowingTaskQueue::enqueue(std::function<void()> fn)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_bShutdown) {
        return;
    }
    if (m_workers >= m_maxWorkers && m_tasks.size() >= m_idle + m_maxWaiting) {
        lock.unlock();
        t_bShedding = true;
        fn();
        t_bShedding = false;
        return;
    }
    m_tasks.push_back(std::move(fn));
    if (m_idle < m_tasks.size() && m_workers < m_maxWorkers) {
        ++m_workers;
        // Detached: shutdown() waits for the count to reach zero instead.
        std::thread([this] { work(); }).detach();
    } else {
        m_wake.notify_one();
    }
}

void CGrowingTaskQueue::shutdown()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_bShutdown = true;
    m_wake.notify_all();
    m_allDone.wait(lock, [this] { return m_workers == 0; });
}

size_t CGrowingTaskQueue::workerCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_workers;
}

void CGrowingTaskQueue::work()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        ++m_idle;
        const bool woken = m_wake.wait_for(lock, kIdleLifetime, [this] { return m_bShutdown || !m_tasks.empty(); });
        --m_idle;
        // Queued connections are still served during shutdown: the server
        // has stopped accepting, and dropping them would leave their
        // sockets open.
        if (m_tasks.empty() && (m_bShutdown || (!woken && m_workers > m_keptWorkers))) {
            break;
        }
        if (m_tasks.empty()) {
            continue;
        }
        std::function<void()> task = std::move(m_tasks.front());
        m_tasks.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
    if (--m_workers == 0) {
        m_allDone.notify_all();
    }
}

} // namespace confserver
