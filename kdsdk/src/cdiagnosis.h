#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "coutcome.h"
#include "engine/kdtypes.h"

namespace kd {
namespace sdk {

// What the engine knows when it is asked for the report.
struct CDiagFacts
{
    bool signedIn = false;
    bool signInRefused = false;
    bool accountRegistered = false;
    std::string sipServer; // the SIP server of the registration, "" for none
    int sipState = 0;      // KD_REGISTER_STATE of that registration
    int sipFailure = 0;    // why it failed: an engine result code, 0 when it did not
    bool inCall = false;
    std::string callNumber;
    std::string meetingName;
    long long callSeconds = 0;
    unsigned callRate = 0; // kbit/s
    bool video = false;
    bool content = false;
};

// One probe of the server: answered in that many milliseconds, or not at all.
struct CProbeRecord
{
    bool answered = false;
    int roundTripMs = 0;
};

// What the probes of one server measured.
struct CDiagMeasurements
{
    std::string server;              // "host:port"; "" while no server is probed
    std::deque<CProbeRecord> probes; // the latest last
    int lastFailure = 0;             // result of the latest probe; 0 when it answered
    long long msWithoutAnswer = 0;   // since the last answer, or since probing began
    int downloadKbps = -1;           // of the latest transfer; -1 before the first
    int uploadKbps = -1;
};

// The engine's network diagnosis. Once a feature query or a sign-in names a
// server, a thread of its own probes that server (a small request without a
// token, every period, each bounded in time) and, during a call, also
// carries a small transfer each way every five periods. The report is built
// from the latest measurements and the engine's facts, so asking for it
// never waits for the network.
class CDiagnosis
{
public:
    // One request to a server: `upload` bytes there, `download` bytes back.
    using Ping = std::function<COutcome(const std::string &host, unsigned port, size_t upload, size_t download,
                                        std::chrono::milliseconds limit)>;

    static const int kProbeLimitMs = 2000;
    static const int kDefaultPeriodMs = 2000;
    static const int kKeptProbes = 20;
    static const size_t kTransferBytes = 128 * 1024;

    explicit CDiagnosis(Ping ping);
    ~CDiagnosis();
    CDiagnosis(const CDiagnosis &) = delete;
    CDiagnosis &operator=(const CDiagnosis &) = delete;

    // Probes this server from now on. A query that failed already counts as
    // a probe that went unanswered; one that answered brings a probe at once.
    void watch(const std::string &host, unsigned port, const COutcome &firstAnswer);
    void forget();
    bool isWatching() const;
    void setInCall(bool inCall);
    void setPeriod(int milliseconds);
    int period() const;
    void stop();

    CDiagMeasurements measurements() const;

    // The report of these facts and measurements.
    static kd::engine::KDDiag build(const CDiagFacts &facts, const CDiagMeasurements &measured, int silentCallMs);
    // The report as text for the user to pass on: what the table shows and
    // the measured values, nothing secret.
    static std::string describe(const kd::engine::KDDiag &diag, const std::string &meetingName);

    // Whatever a server said, it answered; only silence, a name that does not
    // resolve or a certificate that does not verify count as no answer.
    static bool isAnswer(const COutcome &outcome);
    static int delayStatus(int milliseconds);
    static int lossStatus(double percent);
    static int jitterStatus(int milliseconds);
    static int rateStatus(int measuredKbps, unsigned callRateKbps);

private:
    using Clock = std::chrono::steady_clock;

    void run();
    void recordLocked(const COutcome &outcome, int roundTripMs);

    const Ping m_ping;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::string m_host;
    unsigned m_port = 0;
    unsigned long long m_generation = 0;
    int m_periodMs = kDefaultPeriodMs;
    bool m_inCall = false;
    Clock::time_point m_nextProbe;
    Clock::time_point m_nextTransfer;
    Clock::time_point m_lastAnswer;
    std::deque<CProbeRecord> m_probes;
    int m_lastFailure = 0;
    int m_downloadKbps = -1;
    int m_uploadKbps = -1;
    std::thread m_thread;
};

} // namespace sdk
} // namespace kd
