// The control's timing of single operations: a call held up on its way in,
// so a test can keep a caller's worker busy while the caller goes away; and
// the engine's whole thread held, so a state that a later event would end
// stands still for as long as a test looks at it.

#include <algorithm>
#include <chrono>
#include <thread>

#include "cavengine.h"

namespace kd {
namespace sdk {

void CAVEngine::delayNext(const std::string &operation, int milliseconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delays[operation].push_back(std::max(0, milliseconds));
}

void CAVEngine::holdEvents(bool held)
{
    m_dispatcher.setHeld(held);
}

void CAVEngine::waitIfDelayed(const char *operation)
{
    int delayMs = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto delay = m_delays.find(operation);
        if (delay == m_delays.end() || delay->second.empty()) {
            return;
        }
        delayMs = delay->second.front();
        delay->second.pop_front();
    }
    writeLog(std::string(operation) + " held for " + std::to_string(delayMs) + " ms");
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
}

} // namespace sdk
} // namespace kd
