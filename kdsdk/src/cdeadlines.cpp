#include "cdeadlines.h"

#include <algorithm>
#include <utility>

namespace kd {
namespace sdk {

CDeadlines::CDeadlines()
{
    m_thread = std::thread([this] { run(); });
}

CDeadlines::~CDeadlines()
{
    stop();
}

void CDeadlines::schedule(const std::string &name, int delayMs, std::function<void()> work)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_stopping) {
        return;
    }
    m_due[name] = CEntry{Clock::now() + std::chrono::milliseconds(std::max(0, delayMs)), std::move(work)};
    m_wake.notify_all();
}

void CDeadlines::cancel(const std::string &name)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_due.erase(name);
}

void CDeadlines::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_due.clear();
        m_wake.notify_all();
    }
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) {
        m_thread.join();
    }
}

void CDeadlines::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_due.empty()) {
            m_wake.wait(lock);
            continue;
        }
        auto next = std::min_element(m_due.begin(), m_due.end(),
                                     [](const auto &a, const auto &b) { return a.second.due < b.second.due; });
        // A copy: stop() or cancel() may remove the entry while this waits,
        // and the wait reads its deadline again when it wakes.
        const Clock::time_point due = next->second.due;
        if (Clock::now() < due) {
            m_wake.wait_until(lock, due);
            continue;
        }
        std::function<void()> work = std::move(next->second.work);
        m_due.erase(next);
        lock.unlock();
        work();
        lock.lock();
    }
}

} // namespace sdk
} // namespace kd
