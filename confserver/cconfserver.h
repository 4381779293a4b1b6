#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <QString>

namespace httplib {
class Server;
struct Request;
struct Response;
} // namespace httplib

namespace confserver {

class CAttemptLimiter;
class CConnectionGuard;
class CConfStore;
class CWhiteboards;
struct CResult;

// A switch that makes matching requests misbehave, so clients can be tried
// against slow, failing and broken servers.
struct CFault
{
    enum class Kind {
        Delay,     // wait `value` ms, then answer normally
        ErrorCode, // answer {"errorCode": value, "errorInfo": ...}
        Http500,   // answer status 500 with an HTML page
        NotJson,   // answer status 200 with a body that is not JSON
        Drop,      // close the connection in the middle of the answer
        Throttle,  // send the answer at `value` bytes a second, in small pieces
        Blank,     // answer an empty web page: it loads, but never tells its host it is ready
        Status,    // answer status `value` with an empty body
    };
    std::string route; // requests whose path contains this text; empty: every request
    Kind kind = Kind::Delay;
    int value = 0;
    int times = -1; // how many requests it hits; -1: all of them

    // "route:kind[:value[:times]]", kind one of delay, error, http500, notjson, drop, throttle, blank, status.
    static bool parse(const QString &text, CFault *fault);
};

// What one client may hold of the server; tests set small ones.
struct CServerLimits
{
    size_t maxWorkers = 512;
    // Connections that wait for a worker while all are busy; more are closed unserved.
    size_t maxWaiting = 1024;
    int connectionsPerAddress = 128;
    // From a connection's accept, or its last answer, to its next request's whole head.
    std::chrono::milliseconds headTime{10000};
    // Anonymous feedback uploads per client address within the window.
    int anonymousFeedbacks = 5;
    std::chrono::milliseconds anonymousFeedbackWindow{std::chrono::minutes(10)};
};

// The HTTP(S) front of a CConfStore: the REST API under "/api/rest/v2.0/",
// the engine's API under "/api/engine/v1/", the avatar pictures under
// "/userFiles/avatar/" and the web whiteboard under "/acs/". It serves from
// its own threads until stopped.
class CConfServer
{
public:
    // With tls, serves HTTPS with the given certificate and key (PEM).
    explicit CConfServer(CConfStore &store, bool tls = false, const std::string &certPath = defaultCertPath(),
                         const std::string &keyPath = defaultKeyPath());
    ~CConfServer();
    CConfServer(const CConfServer &) = delete;
    CConfServer &operator=(const CConfServer &) = delete;

    // Port 0 takes any free port. False when the address cannot be bound or
    // the certificate cannot be read.
    bool start(const std::string &host = "127.0.0.1", int port = 0);
    void stop();
    // Blocks until the server stops.
    void wait();
    int port() const { return m_port; }
    // "http://host:port", or "https://host:port" with TLS.
    QString baseUrl() const;

    // Before start().
    void setLimits(const CServerLimits &limits);
    void addFault(const CFault &fault);
    // How many wrong meeting passwords a client may send per meeting within the window.
    void setPasswordAttemptLimit(int attempts, std::chrono::milliseconds window);
    void clearFaults();
    // The target (path and query, as sent) of every request so far whose
    // path contains route, oldest first; tests see what a client asked.
    std::vector<std::string> requestsTo(const std::string &route) const;
    // The meetings' whiteboards, with the last background upload.
    CWhiteboards &whiteboards() { return *m_whiteboards; }

    static std::string defaultCertPath();
    static std::string defaultKeyPath();
    static std::string rootCaPath();
    // A certificate for 127.0.0.1/localhost that signs itself, outside the
    // test authority: clients must refuse it.
    static std::string selfSignedCertPath();
    static std::string selfSignedKeyPath();

private:
    void installRoutes();
    bool applyFault(const httplib::Request &request, httplib::Response &response);
    // Over the client's anonymous feedback uploads: answered 429 before the body is read.
    bool refuseAnonymousFeedback(const httplib::Request &request, httplib::Response &response);
    // False once the server is stopping.
    bool sleepUnlessStopped(int ms);
    bool isStopping() const;
    void throttle(httplib::Response &response);

    CConfStore &m_store;
    bool m_bTls;
    CServerLimits m_limits;
    std::unique_ptr<CConnectionGuard> m_guard;
    std::unique_ptr<CAttemptLimiter> m_passwordGuesses;
    std::unique_ptr<CAttemptLimiter> m_anonymousFeedbacks;
    std::unique_ptr<CWhiteboards> m_whiteboards;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    std::atomic<bool> m_bListenEnded{false};
    int m_port = 0;
    std::string m_host;

    mutable std::mutex m_faultMutex;
    std::vector<CFault> m_faults;
    std::vector<std::pair<std::string, std::string>> m_requests; // path, target
    std::condition_variable m_stopCondition;
    bool m_bStopping = false;
};

} // namespace confserver
