// The engine's diagnosis and its SIP registration: what the network report
// is built from, and the registration whose outcome it shows.

#include "cavengine.h"

#include <QUrl>

using namespace kd::engine;

namespace kd {
namespace sdk {

namespace {

// A call without an answer from its server for this many probe periods
// gets advice 3.
constexpr int kSilentCallPeriods = 5;

std::string text(const char *value)
{
    return value ? std::string(value) : std::string();
}

// "host[:port]" as typed; a port that is not one reads as none.
void splitServer(const std::string &server, std::string *host, unsigned *port)
{
    const QUrl url(QString::fromStdString("//" + server));
    *host = url.host().toStdString();
    *port = unsigned(std::max(0, url.port(0)));
    if (host->empty()) {
        *host = server;
    }
}

} // namespace

CDiagFacts CAVEngine::diagFacts() const
{
    CDiagFacts facts;
    std::lock_guard<std::mutex> lock(m_mutex);
    facts.signedIn = m_signedIn;
    facts.signInRefused = !m_signedIn && m_lastLoginError == KD_ERR_AUTH_FAILED;
    facts.accountRegistered = m_accountRegistration.state == KD_REGISTER_OK;
    facts.sipServer = m_sipRegistration.externalServer;
    facts.sipState = m_sipRegistration.state;
    facts.sipFailure = m_sipFailure;
    facts.inCall = m_phase == CallPhase::Connected;
    if (facts.inCall) {
        facts.callNumber = m_call.conference_number;
        facts.meetingName = m_meeting.name;
        facts.callSeconds = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - m_callStart).count();
        facts.callRate = m_bandwidth;
        facts.video = !m_call.isAudioOnly;
        facts.content = m_sendingType != 0 || m_receivingType != 0;
    }
    return facts;
}

KDDiag CAVEngine::getDiag()
{
    enter("getDiag");
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_diagOverride) {
            return *m_diagOverride;
        }
    }
    return CDiagnosis::build(diagFacts(), m_diagnosis->measurements(), m_diagnosis->period() * kSilentCallPeriods);
}

std::string CAVEngine::getDiagString()
{
    enter("getDiagString");
    const CDiagFacts facts = diagFacts();
    std::unique_ptr<KDDiag> given;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_diagOverride) {
            given = std::make_unique<KDDiag>(*m_diagOverride);
        }
    }
    const KDDiag diag =
        given ? *given
              : CDiagnosis::build(facts, m_diagnosis->measurements(), m_diagnosis->period() * kSilentCallPeriods);
    return CDiagnosis::describe(diag, facts.meetingName);
}

void CAVEngine::noteServer(const std::string &host, unsigned port, const COutcome &outcome)
{
    // A refusal is an answer: only a server that could not be reached counts
    // as a probe without one.
    m_diagnosis->watch(host, port, CDiagnosis::isAnswer(outcome) ? COutcome() : outcome);
}

void CAVEngine::noteCallServer(const std::string &server, const COutcome &outcome)
{
    bool signedIn = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        signedIn = m_signedIn;
    }
    // A guest's call names its server; a signed-in user's is the one probed.
    if (server.empty() || signedIn) {
        return;
    }
    std::string host;
    unsigned port = 0;
    splitServer(server, &host, &port);
    noteServer(host, port, outcome);
}

void CAVEngine::noteCallEnded(bool signedIn)
{
    m_diagnosis->setInCall(false);
    if (!signedIn) {
        m_diagnosis->forget();
    }
}

void CAVEngine::setDiagProbePeriod(int milliseconds)
{
    m_diagnosis->setPeriod(milliseconds);
}

void CAVEngine::overrideDiag(const KDDiag &diag)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_diagOverride = std::make_unique<KDDiag>(diag);
}

void CAVEngine::clearDiagOverride()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_diagOverride.reset();
}

int CAVEngine::registerSIPServer(const char *domain, const char *displayName, const char *username,
                                 const char *password, const char *protocol)
{
    const std::string server = text(domain);
    const std::string user = text(username);
    const std::string secret = text(password);
    const std::string name = text(displayName);
    const std::string transport = text(protocol);
    if (const int forced = enter("registerSIPServer", server + "," + name + "," + user + "," + transport)) {
        return forced;
    }
    if (user.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    KDRegisterInfo registration;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!name.empty()) {
            m_localName = name;
        }
        m_sipFailure = KD_OK;
        m_sipUser = user;
        m_sipRegistration.externalServer = server;
        m_sipRegistration.internalServer = server;
        m_sipRegistration.transProtocol = transport == "TLS" ? 2 : (transport == "TCP" ? 1 : 0);
        // Without a server the account works on its own, as registered.
        m_sipRegistration.state = server.empty() ? KD_REGISTER_OK : KD_REGISTER_PROGRESS;
        registration = m_sipRegistration;
    }
    publishScene();
    if (server.empty()) {
        raise([registration](IAVEventHandler &handler) {
            KDRegisterInfo copy = registration;
            handler.onRegisterInfo(copy);
            handler.onSIPRegister(true);
        });
        return KD_OK;
    }
    post([this, server, user, secret, name, transport] {
        std::string host;
        unsigned port = 0;
        splitServer(server, &host, &port);
        const COutcome outcome = m_backend->registerSip(host, port, user, secret, name, transport);
        KDRegisterInfo done;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            // A later registration or an unregistration has taken its place.
            if (m_sipRegistration.externalServer != server || m_sipRegistration.state != KD_REGISTER_PROGRESS) {
                return;
            }
            m_sipRegistration.state = outcome.ok() ? KD_REGISTER_OK : KD_REGISTER_FAILED;
            m_sipFailure = outcome.result();
            done = m_sipRegistration;
        }
        writeLog("sip registration with " + server + ": " + (outcome.ok() ? "registered" : outcome.describe()));
        deliver([done](IAVEventHandler &handler) {
            KDRegisterInfo copy = done;
            handler.onRegisterInfo(copy);
            handler.onSIPRegister(done.state == KD_REGISTER_OK);
        });
    });
    return KD_OK;
}

int CAVEngine::unregisterSIPServer()
{
    if (const int forced = enter("unregisterSIPServer")) {
        return forced;
    }
    KDRegisterInfo registration;
    std::string server;
    std::string user;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_sipRegistration.state == KD_REGISTER_OK) {
            server = m_sipRegistration.externalServer;
            user = m_sipUser;
        }
        m_sipRegistration.state = KD_REGISTER_NONE;
        m_sipFailure = KD_OK;
        registration = m_sipRegistration;
    }
    if (!server.empty()) {
        post([this, server, user] {
            std::string host;
            unsigned port = 0;
            splitServer(server, &host, &port);
            m_backend->unregisterSip(host, port, user);
        });
    }
    raise([registration](IAVEventHandler &handler) {
        KDRegisterInfo copy = registration;
        handler.onRegisterInfo(copy);
        handler.onSIPRegister(false);
    });
    return KD_OK;
}

} // namespace sdk
} // namespace kd
