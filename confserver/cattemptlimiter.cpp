#include "cattemptlimiter.h"

namespace confserver {

CAttemptLimiter::CAttemptLimiter(int attempts, std::chrono::milliseconds window)
    : m_attempts(attempts), m_window(window)
{
}

void CAttemptLimiter::forgetOld(std::deque<Clock::time_point> &failures, Clock::time_point now) const
{
    while (!failures.empty() && now - failures.front() >= m_window) {
        failures.pop_front();
    }
}

bool CAttemptLimiter::blocked(const std::string &key)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_failures.find(key);
    if (found == m_failures.end()) {
        return false;
    }
    forgetOld(found->second, Clock::now());
    if (found->second.empty()) {
        m_failures.erase(found);
        return false;
    }
    return int(found->second.size()) >= m_attempts;
}

void CAttemptLimiter::failed(const std::string &key)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const Clock::time_point now = Clock::now();
    // Keys of clients that stopped trying are dropped as others fail, so the
    // table stays as small as the number of recent guessers.
    for (auto entry = m_failures.begin(); entry != m_failures.end();) {
        forgetOld(entry->second, now);
        entry = entry->second.empty() && entry->first != key ? m_failures.erase(entry) : std::next(entry);
    }
    m_failures[key].push_back(now);
}

void CAttemptLimiter::setLimit(int attempts, std::chrono::milliseconds window)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_attempts = attempts;
    m_window = window;
}

} // namespace confserver
