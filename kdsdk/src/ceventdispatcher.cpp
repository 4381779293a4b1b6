#include "ceventdispatcher.h"

namespace kd {
namespace sdk {

CEventDispatcher::CEventDispatcher() : m_thread([this] { run(); })
{
}

CEventDispatcher::~CEventDispatcher()
{
    stop();
}

void CEventDispatcher::post(std::function<void()> task, int delayMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) {
        return;
    }
    const Clock::time_point due = Clock::now() + std::chrono::milliseconds(delayMs > 0 ? delayMs : 0);
    m_queue.emplace(Key(due, m_nextSequence++), std::move(task));
    m_wake.notify_one();
}

bool CEventDispatcher::waitForIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    // Work may queue more work; idle means nothing queued and nothing running.
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_stopping || ((m_queue.empty() || m_held) && !m_running); });
}

void CEventDispatcher::setHeld(bool held)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_held = held;
    m_wake.notify_all();
    m_idle.notify_all();
}

void CEventDispatcher::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
        m_wake.notify_all();
        m_idle.notify_all();
    }
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

bool CEventDispatcher::isDispatcherThread() const
{
    return std::this_thread::get_id() == m_thread.get_id();
}

void CEventDispatcher::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_queue.empty() || m_held) {
            m_idle.notify_all();
            m_wake.wait(lock);
            continue;
        }
        const auto first = m_queue.begin();
        // A copy: the wait reads the deadline again on waking, and stop()
        // may have cleared the queue, and the entry with it, meanwhile.
        const Clock::time_point due = first->first.first;
        if (due > Clock::now()) {
            m_wake.wait_until(lock, due);
            continue;
        }
        std::function<void()> task = std::move(first->second);
        m_queue.erase(first);
        m_running = true;
        lock.unlock();
        task();
        lock.lock();
        m_running = false;
    }
    m_idle.notify_all();
}

} // namespace sdk
} // namespace kd
