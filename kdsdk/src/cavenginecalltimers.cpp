// The timed work of a call: an incoming call that rings out, and the network
// rating of a connected call, given at the connect and then every period.

#include "cavengine.h"

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

const char kRingDeadline[] = "ring";
const char kRatingDeadline[] = "rating";
const char kQueueDeadline[] = "queue";
const char kIncomingDeadline[] = "incoming";
constexpr int kIncomingPollMs = 2000;
constexpr int kQueueStepMs = 1000;

// The rating of a round trip to the meeting's server (see README).
float ratingForRoundTrip(int milliseconds)
{
    if (milliseconds < 0) {
        return 1.0f;
    }
    if (milliseconds < 150) {
        return 5.0f;
    }
    if (milliseconds < 300) {
        return 4.0f;
    }
    if (milliseconds < 600) {
        return 3.0f;
    }
    if (milliseconds < 1200) {
        return 2.0f;
    }
    return 1.0f;
}

} // namespace

void CAVEngine::setRingTimeout(int milliseconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ringTimeoutMs = milliseconds;
}

void CAVEngine::setNetworkRatingPeriod(int milliseconds)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ratingPeriodMs = milliseconds;
}

void CAVEngine::injectNetworkQuality(float rating)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_modelRating = rating;
    }
    raise([rating](IAVEventHandler &handler) { handler.onNetworkQuality(rating); });
}

void CAVEngine::startIncomingPolling()
{
    m_deadlines->schedule(kIncomingDeadline, kIncomingPollMs, [this] { pollIncoming(); });
}

// Runs on the deadlines' thread; ends by itself once signed out.
void CAVEngine::pollIncoming()
{
    bool idle = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_signedIn) {
            return;
        }
        idle = m_phase == CallPhase::Idle;
    }
    // A ring while busy is taken and refused now: left on the server it
    // would ring after this call, long after its caller gave up.
    KDCallInfo call;
    if (m_backend->takeIncomingCall(call)) {
        if (idle) {
            writeLog("incoming call from the server");
            injectIncomingCall(call.peer, call.conference_number, call.isAudioOnly);
        } else {
            writeLog("incoming call refused: busy in another call");
        }
    }
    startIncomingPolling();
}

void CAVEngine::startRingTimeout(uint64_t serial)
{
    int timeout = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        timeout = m_ringTimeoutMs;
    }
    // Nobody answered: the call ends, so the engine is free for the next one.
    m_deadlines->schedule(kRingDeadline, timeout, [this, serial] {
        post([this, serial] {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                if (m_phase != CallPhase::Incoming || m_callSerial != serial) {
                    return;
                }
            }
            writeLog("incoming call rang out");
            endCall(KD_OK, std::string());
        });
    });
}

void CAVEngine::waitInQueue(uint64_t serial, const KDMeetingInfo &meeting, int ahead)
{
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!stillDialling(lock, serial, meeting)) {
            return;
        }
    }
    if (ahead <= 0) {
        connectDialled(serial, meeting);
        return;
    }
    deliver([ahead](IAVEventHandler &handler) { handler.onWaitQueue(ahead); });
    m_deadlines->schedule(kQueueDeadline, kQueueStepMs, [this, serial, meeting, ahead] {
        post([this, serial, meeting, ahead] { waitInQueue(serial, meeting, ahead - 1); });
    });
}

void CAVEngine::startNetworkRating(uint64_t serial)
{
    m_deadlines->schedule(kRatingDeadline, 0, [this, serial] { rateNetwork(serial); });
}

// Runs on the deadlines' thread: a round trip to the server may take a while.
void CAVEngine::rateNetwork(uint64_t serial)
{
    std::string number;
    float rating = 0.0f;
    int period = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Connected || m_callSerial != serial) {
            return;
        }
        number = m_meeting.number.empty() ? m_call.conference_number : m_meeting.number;
        rating = m_modelRating;
        period = m_ratingPeriodMs;
    }
    int roundTrip = 0;
    if (!number.empty() && m_backend->meetingRoundTrip(number, roundTrip)) {
        rating = ratingForRoundTrip(roundTrip);
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_phase != CallPhase::Connected || m_callSerial != serial) {
            return;
        }
    }
    raise([rating](IAVEventHandler &handler) { handler.onNetworkQuality(rating); });
    if (period > 0) {
        m_deadlines->schedule(kRatingDeadline, period, [this, serial] { rateNetwork(serial); });
    }
}

} // namespace sdk
} // namespace kd
