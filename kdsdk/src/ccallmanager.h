#pragma once

#include <memory>
#include <mutex>

#include "engine/kdtypes.h"

namespace kd {
namespace sdk {

// The engine's call area beside the call state itself: figures given by the
// control interface in place of the synthesised statistics.
class CCallManager
{
public:
    CCallManager() = default;
    CCallManager(const CCallManager &) = delete;
    CCallManager &operator=(const CCallManager &) = delete;

    // Every statistics query of a call returns these as given (a count
    // outside 0..32 included) until cleared.
    void setStats(const kd::engine::KDStats &stats);
    void clearStats();
    // True, with the figures, while some are given.
    bool givenStats(kd::engine::KDStats &stats) const;

private:
    mutable std::mutex m_mutex;
    std::unique_ptr<kd::engine::KDStats> m_stats;
};

} // namespace sdk
} // namespace kd
