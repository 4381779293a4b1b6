#include "cdiagnosis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "kdsdkcontrol.h"

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

// Limits between the states of a measurement: below the first it is
// normal, below the second still usable, from the second on poor.
constexpr int kDelayMs[2] = {150, 400};
constexpr double kLossPercent[2] = {1.0, 5.0};
constexpr int kJitterMs[2] = {30, 60};
// Transfers come every this many probe periods during a call.
constexpr int kTransferEveryPeriods = 5;

constexpr int kLogin = 0;
constexpr int kRegistration = 2;
constexpr int kDuration = 2;
constexpr int kDownload = 0;
constexpr int kUpload = 1;
constexpr int kQuality = 0;
constexpr int kLoss = 1;
constexpr int kJitter = 2;

std::string format(const char *pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), pattern, value);
    return text;
}

std::string clock(long long seconds)
{
    char text[32];
    std::snprintf(text, sizeof(text), "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

const char *const kStreamNames[3] = {"audio", "video", "content"};

// What each stream carries, as the statistics name it.
std::string streamText(int stream, unsigned callRate)
{
    switch (stream) {
    case 0:
        return "OPUS 64 kbps";
    case 1:
        return "H.264 " + std::to_string(callRate) + " kbps";
    default:
        return "H.264 512 kbps";
    }
}

void fillStream(KDDiagStream &stream, const std::string &text, const std::deque<CProbeRecord> &probes)
{
    if (probes.empty()) {
        return;
    }
    std::vector<int> answered;
    for (const CProbeRecord &probe : probes) {
        if (probe.answered) {
            answered.push_back(probe.roundTripMs);
        }
    }
    const double loss = 100.0 * double(probes.size() - answered.size()) / double(probes.size());
    KDDiagItem delay;
    KDDiagItem jitter;
    if (answered.empty()) {
        delay.name = "-";
        delay.status = 4;
    } else {
        std::vector<int> sorted = answered;
        std::sort(sorted.begin(), sorted.end());
        const int median = sorted[sorted.size() / 2];
        delay.name = std::to_string(median) + " ms";
        delay.status = CDiagnosis::delayStatus(median);
        double change = 0.0;
        for (size_t i = 1; i < answered.size(); ++i) {
            change += std::abs(answered[i] - answered[i - 1]);
        }
        const int mean = answered.size() > 1 ? int(std::lround(change / double(answered.size() - 1))) : 0;
        jitter.name = std::to_string(mean) + " ms";
        jitter.status = CDiagnosis::jitterStatus(mean);
    }
    KDDiagItem lost;
    lost.name = format("%.1f%%", loss);
    lost.status = CDiagnosis::lossStatus(loss);
    KDDiagItem quality;
    quality.status = std::max({delay.status, lost.status, jitter.status});
    quality.name = quality.status <= 2 ? "good" : (quality.status == 3 ? "poor" : "no answer");
    // The probes measure the way there and back together: both directions
    // read the same.
    for (KDDiagMedia &media : stream.media) {
        media.texts[0] = text;
        media.items[kQuality] = quality;
        media.items[kLoss] = lost;
        media.items[kJitter] = jitter;
    }
    stream.item = delay;
}

void describeItem(std::ostringstream &out, const char *what, const KDDiagItem &item)
{
    if (item.status != 0) {
        out << what << ' ' << item.name << " (status " << item.status << ")";
    }
}

} // namespace

CDiagnosis::CDiagnosis(Ping ping) : m_ping(std::move(ping))
{
    m_thread = std::thread([this] { run(); });
}

CDiagnosis::~CDiagnosis()
{
    stop();
}

void CDiagnosis::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void CDiagnosis::watch(const std::string &host, unsigned port, const COutcome &firstAnswer)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (host != m_host || port != m_port) {
            m_host = host;
            m_port = port;
            ++m_generation;
            m_probes.clear();
            m_lastFailure = 0;
            m_downloadKbps = -1;
            m_uploadKbps = -1;
            m_lastAnswer = Clock::now();
            m_nextTransfer = Clock::now();
        }
        if (!firstAnswer.ok()) {
            recordLocked(firstAnswer, 0);
        }
        m_nextProbe =
            Clock::now() + (firstAnswer.ok() ? std::chrono::milliseconds(0) : std::chrono::milliseconds(m_periodMs));
    }
    m_wake.notify_all();
}

void CDiagnosis::forget()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_host.clear();
    m_port = 0;
    ++m_generation;
    m_probes.clear();
    m_lastFailure = 0;
    m_downloadKbps = -1;
    m_uploadKbps = -1;
}

bool CDiagnosis::isWatching() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_host.empty();
}

void CDiagnosis::setInCall(bool inCall)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (inCall == m_inCall) {
            return;
        }
        m_inCall = inCall;
        if (inCall) {
            // A call counts its own silence: from its start or the last answer.
            m_lastAnswer = std::max(m_lastAnswer, Clock::now());
            // A call's rates are measured at its start, then now and then.
            m_nextTransfer = Clock::now();
            m_nextProbe = Clock::now();
        } else {
            m_downloadKbps = -1;
            m_uploadKbps = -1;
        }
    }
    m_wake.notify_all();
}

void CDiagnosis::setPeriod(int milliseconds)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_periodMs = std::max(10, milliseconds);
        m_nextProbe = std::min(m_nextProbe, Clock::now() + std::chrono::milliseconds(m_periodMs));
    }
    m_wake.notify_all();
}

int CDiagnosis::period() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_periodMs;
}

void CDiagnosis::recordLocked(const COutcome &outcome, int roundTripMs)
{
    const bool answered = isAnswer(outcome);
    CProbeRecord probe;
    probe.answered = answered;
    probe.roundTripMs = roundTripMs;
    m_probes.push_back(probe);
    while (m_probes.size() > size_t(kKeptProbes)) {
        m_probes.pop_front();
    }
    m_lastFailure = answered ? 0 : outcome.result();
    if (answered) {
        m_lastAnswer = Clock::now();
    }
}

void CDiagnosis::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_host.empty()) {
            m_wake.wait(lock);
            continue;
        }
        if (Clock::now() < m_nextProbe) {
            m_wake.wait_until(lock, m_nextProbe);
            continue;
        }
        const std::string host = m_host;
        const unsigned port = m_port;
        const unsigned long long generation = m_generation;
        const auto limit = std::chrono::milliseconds(kProbeLimitMs);
        const Clock::time_point start = Clock::now();
        const bool transfer = m_inCall && start >= m_nextTransfer;
        m_nextProbe = start + std::chrono::milliseconds(m_periodMs);
        lock.unlock();

        const COutcome answer = m_ping(host, port, 0, 0, limit);
        const auto elapsed = [](Clock::time_point since) {
            return int(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
        };
        const int roundTrip = elapsed(start);
        int uploadMs = -1;
        int downloadMs = -1;
        if (transfer && isAnswer(answer)) {
            Clock::time_point begin = Clock::now();
            uploadMs = m_ping(host, port, kTransferBytes, 0, limit).ok() ? elapsed(begin) : kProbeLimitMs;
            begin = Clock::now();
            downloadMs = m_ping(host, port, 0, kTransferBytes, limit).ok() ? elapsed(begin) : kProbeLimitMs;
        }

        lock.lock();
        if (generation != m_generation) {
            continue;
        }
        recordLocked(answer, roundTrip);
        if (uploadMs >= 0) {
            // The time of the bytes alone: what the round trip adds goes.
            std::vector<int> answered;
            for (const CProbeRecord &probe : m_probes) {
                if (probe.answered) {
                    answered.push_back(probe.roundTripMs);
                }
            }
            std::sort(answered.begin(), answered.end());
            const int latency = answered.empty() ? 0 : answered[answered.size() / 2];
            const auto kbps = [latency](int milliseconds) {
                const int netMs = std::max(1, milliseconds - latency);
                return int(std::min<long long>(1000000000LL, (long long)(kTransferBytes)*8 / netMs));
            };
            m_uploadKbps = kbps(uploadMs);
            m_downloadKbps = kbps(downloadMs);
            m_nextTransfer = start + std::chrono::milliseconds(m_periodMs * kTransferEveryPeriods);
        }
    }
}

CDiagMeasurements CDiagnosis::measurements() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CDiagMeasurements measured;
    if (!m_host.empty()) {
        measured.server = m_host + ":" + std::to_string(m_port);
    }
    measured.probes = m_probes;
    measured.lastFailure = m_lastFailure;
    measured.msWithoutAnswer =
        m_host.empty() ? 0 : std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - m_lastAnswer).count();
    measured.downloadKbps = m_downloadKbps;
    measured.uploadKbps = m_uploadKbps;
    return measured;
}

bool CDiagnosis::isAnswer(const COutcome &outcome)
{
    const int result = outcome.result();
    return result != KD_ERR_SERVER_UNREACHABLE && result != KD_ERR_NAME_NOT_RESOLVED &&
           result != KD_ERR_UNTRUSTED_SERVER;
}

int CDiagnosis::delayStatus(int milliseconds)
{
    return milliseconds < kDelayMs[0] ? 1 : (milliseconds < kDelayMs[1] ? 2 : 3);
}

int CDiagnosis::lossStatus(double percent)
{
    return percent < kLossPercent[0] ? 1 : (percent < kLossPercent[1] ? 2 : 3);
}

int CDiagnosis::jitterStatus(int milliseconds)
{
    return milliseconds < kJitterMs[0] ? 1 : (milliseconds < kJitterMs[1] ? 2 : 3);
}

int CDiagnosis::rateStatus(int measuredKbps, unsigned callRateKbps)
{
    if (measuredKbps < 0) {
        return 0;
    }
    if (unsigned(measuredKbps) >= callRateKbps) {
        return 1;
    }
    return unsigned(measuredKbps) * 2 >= callRateKbps ? 2 : 3;
}

KDDiag CDiagnosis::build(const CDiagFacts &facts, const CDiagMeasurements &measured, int silentCallMs)
{
    KDDiag diag;
    KDDiagItem &login = diag.items[kLogin];
    login.name = measured.server;
    if (!measured.server.empty()) {
        if (measured.lastFailure != 0) {
            login.status = 4;
        } else if (facts.signInRefused) {
            login.status = 5;
        } else {
            login.status = facts.signedIn ? 1 : 2;
        }
    }
    KDDiagItem &registration = diag.items[kRegistration];
    if (!facts.sipServer.empty()) {
        registration.name = facts.sipServer;
        if (facts.sipState == KD_REGISTER_OK) {
            registration.status = 1;
        } else if (facts.sipFailure == KD_ERR_AUTH_FAILED) {
            registration.status = 5;
        } else if (facts.sipFailure != 0) {
            registration.status = 4;
        }
    } else if (facts.signedIn) {
        registration.name = measured.server;
        registration.status = facts.accountRegistered ? 1 : 5;
    }
    if (facts.inCall) {
        KDDiagCall &call = diag.call;
        call.item.name = facts.callNumber;
        call.item.status = 1;
        call.texts[kDuration] = clock(facts.callSeconds);
        const int measuredRates[2] = {measured.downloadKbps, measured.uploadKbps};
        for (int direction : {kDownload, kUpload}) {
            KDDiagItem &rate = call.roles[direction].item;
            rate.status = rateStatus(measuredRates[direction], facts.callRate);
            rate.name =
                measuredRates[direction] < 0 ? std::string() : std::to_string(measuredRates[direction]) + " kbps";
        }
        const bool active[3] = {true, facts.video, facts.content};
        for (int stream = 0; stream < 3; ++stream) {
            if (active[stream]) {
                fillStream(call.streams[stream], streamText(stream, facts.callRate), measured.probes);
            }
        }
    }
    if (facts.inCall && measured.msWithoutAnswer > silentCallMs) {
        diag.advice = 3;
    } else if (measured.lastFailure != 0) {
        diag.advice = measured.lastFailure == KD_ERR_NAME_NOT_RESOLVED ? 1 : 2;
        diag.adviceParam = measured.server;
    } else if (!facts.sipServer.empty() && facts.sipFailure != 0 && facts.sipFailure != KD_ERR_AUTH_FAILED) {
        diag.advice = facts.sipFailure == KD_ERR_NAME_NOT_RESOLVED ? 1 : 2;
        diag.adviceParam = facts.sipServer;
    }
    return diag;
}

std::string CDiagnosis::describe(const KDDiag &diag, const std::string &meetingName)
{
    std::ostringstream out;
    out << "login: " << diag.items[kLogin].name << " status " << diag.items[kLogin].status << "\n";
    out << "registration: " << diag.items[kRegistration].name << " status " << diag.items[kRegistration].status << "\n";
    const KDDiagCall &call = diag.call;
    out << "call: " << call.item.name << " status " << call.item.status;
    if (!call.texts[kDuration].empty()) {
        out << " duration " << call.texts[kDuration];
    }
    out << "\n";
    if (call.item.status != 0 && !meetingName.empty()) {
        out << "meeting: " << meetingName << "\n";
    }
    for (int direction : {kDownload, kUpload}) {
        const KDDiagItem &rate = call.roles[direction].item;
        if (rate.status != 0) {
            out << "call rate " << (direction == kDownload ? "download" : "upload") << ": " << rate.name << " status "
                << rate.status << "\n";
        }
    }
    for (int stream = 0; stream < 3; ++stream) {
        const KDDiagStream &measured = call.streams[stream];
        const KDDiagMedia &media = measured.media[kDownload];
        out << kStreamNames[stream] << ": status " << media.items[kQuality].status;
        if (media.items[kQuality].status != 0) {
            out << " " << media.texts[0] << ",";
            describeItem(out, " delay", measured.item);
            describeItem(out, ", jitter", media.items[kJitter]);
            describeItem(out, ", packet loss", media.items[kLoss]);
        }
        out << "\n";
    }
    out << "advice: " << diag.advice;
    if (!diag.adviceParam.empty()) {
        out << " " << diag.adviceParam;
    }
    out << "\n";
    return out.str();
}

} // namespace sdk
} // namespace kd
