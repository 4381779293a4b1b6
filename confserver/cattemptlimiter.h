#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <mutex>
#include <string>

namespace confserver {

// Counts failed guesses (of a meeting password) per client and meeting, so
// a short password cannot be found by trying them all.
class CAttemptLimiter
{
public:
    using Clock = std::chrono::steady_clock;

    explicit CAttemptLimiter(int attempts = 5, std::chrono::milliseconds window = std::chrono::minutes(1));

    // True while the key has used up its failures within the window.
    bool blocked(const std::string &key);
    void failed(const std::string &key);
    void setLimit(int attempts, std::chrono::milliseconds window);

private:
    void forgetOld(std::deque<Clock::time_point> &failures, Clock::time_point now) const;

    std::mutex m_mutex;
    int m_attempts;
    std::chrono::milliseconds m_window;
    std::map<std::string, std::deque<Clock::time_point>> m_failures;
};

} // namespace confserver
