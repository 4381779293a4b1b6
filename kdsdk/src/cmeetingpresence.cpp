#include "cmeetingpresence.h"

namespace kd {
namespace sdk {

CMeetingPresence::CMeetingPresence(IBackend &backend) : m_backend(backend)
{
}

void CMeetingPresence::owe(const KDMeetingInfo &meeting)
{
    if (meeting.participantId == 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_owed.push_back(meeting);
}

void CMeetingPresence::leaveOwed()
{
    std::vector<KDMeetingInfo> owed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        owed.swap(m_owed);
    }
    for (const KDMeetingInfo &meeting : owed) {
        m_backend.leaveMeeting(meeting);
    }
}

} // namespace sdk
} // namespace kd
