#include "ccallmanager.h"

namespace kd {
namespace sdk {

void CCallManager::setStats(const kd::engine::KDStats &stats)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stats = std::make_unique<kd::engine::KDStats>(stats);
}

void CCallManager::clearStats()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stats.reset();
}

bool CCallManager::givenStats(kd::engine::KDStats &stats) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_stats) {
        return false;
    }
    stats = *m_stats;
    return true;
}

} // namespace sdk
} // namespace kd
