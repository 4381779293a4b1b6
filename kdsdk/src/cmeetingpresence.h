#pragma once

#include <mutex>
#include <vector>

#include "ibackend.h"

namespace kd {
namespace sdk {

// The meetings this engine joined at the server and still has to leave.
// Leaves go out from the dispatcher thread, so hanging up never waits on the
// network; whatever is still owed when the engine is released goes out then.
class CMeetingPresence
{
public:
    explicit CMeetingPresence(IBackend &backend);

    // The call in this meeting is over; a meeting the server gave no
    // participant entry owes nothing.
    void owe(const KDMeetingInfo &meeting);
    // Sends every leave still owed.
    void leaveOwed();

private:
    IBackend &m_backend;
    std::mutex m_mutex;
    std::vector<KDMeetingInfo> m_owed;
};

} // namespace sdk
} // namespace kd
