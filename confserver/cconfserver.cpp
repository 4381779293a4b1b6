#include "cconfserver.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>

#include <httplib.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include "cacsroutes.h"
#include "cattemptlimiter.h"
#include "cconfreply.h"
#include "cconfstore.h"
#include "cconnectionguard.h"
#include "cgrowingtaskqueue.h"
#include "cguardedserver.h"
#include "cportalroutes.h"
#include "cprobeandsiproutes.h"
#include "cupgraderoutes.h"
#include "cwhiteboards.h"

namespace confserver {

namespace {

constexpr size_t kRequestsKept = 2000;
// A request must arrive, and an answer leave, at a steady pace; a
// connection serves a bounded number of requests.
constexpr time_t kReadTimeoutSeconds = 5;
constexpr time_t kWriteTimeoutSeconds = 5;
constexpr time_t kKeepAliveSeconds = 5;
constexpr size_t kKeepAliveRequests = 100;
// Request bodies: JSON and pictures fit easily; feedback archives of logs
// are allowed more.
constexpr size_t kMaxBodyBytes = 16 * 1024 * 1024;
constexpr size_t kMaxArchiveBytes = 64 * 1024 * 1024;
// A background picture's form: the picture and its part's headers.
constexpr size_t kMaxPictureFormBytes = CWhiteboards::kMaxPictureBytes + 64 * 1024;

const char kFeedbackPath[] = "/api/engine/v1/feedback";

size_t bodyLimitOf(const std::string &path)
{
    if (path == CAcsRoutes::kUploadPath) {
        return kMaxPictureFormBytes;
    }
    return path == kFeedbackPath ? kMaxArchiveBytes : kMaxBodyBytes;
}

// A request that announces neither a length nor chunks has no body
// (HTTP/1.1). The library would read one until the connection closes, with
// no limit: it is told the length instead.
void keepBodyless(const httplib::Request &request)
{
    if (request.has_header("Content-Length")) {
        return;
    }
    // The request object itself is not const; the library hands it to this
    // hook read-only because hooks seldom change it.
    const_cast<httplib::Request &>(request).headers.emplace("Content-Length", "0");
}

// A body refused unread would be taken for the connection's next request:
// the connection ends with the answer.
void closeAfterAnswer(const httplib::Request &request)
{
    auto &headers = const_cast<httplib::Request &>(request).headers;
    headers.erase("Connection");
    headers.emplace("Connection", "close");
}

// Refuses, before the body is read, what this server does not take: bodies
// over the route's limit, compressed bodies (a small one can inflate to
// gigabytes) and bodies of unannounced length.
bool refuseBody(const httplib::Request &request, httplib::Response &response)
{
    const std::string encoding = request.get_header_value("Content-Encoding");
    if (!encoding.empty() && encoding != "identity") {
        response.status = 415;
        return true;
    }
    // Chunks or any other coding of the transfer: only an announced length is read.
    if (request.has_header("Transfer-Encoding")) {
        response.status = 411;
        return true;
    }
    const std::string length = request.get_header_value("Content-Length");
    if (!length.empty()) {
        char *end = nullptr;
        errno = 0;
        const unsigned long long bytes = std::strtoull(length.c_str(), &end, 10);
        if (errno != 0 || *end != '\0' || length[0] == '-' || bytes > bodyLimitOf(request.path)) {
            response.status = 413;
            return true;
        }
    }
    return false;
}
// A throttled answer goes out in a piece every this many milliseconds.
constexpr int kThrottleStepMs = 50;
// Marks an answer for throttling between the fault and the route's handler;
// never sent.
const char kThrottleHeader[] = "X-Confserver-Throttle";

// The routes here answer as the route files do.
void send(httplib::Response &response, const CResult &result)
{
    sendResult(response, result);
}

QString param(const httplib::Request &request, const char *name)
{
    return QString::fromStdString(request.get_param_value(name));
}

QString token(const httplib::Request &request)
{
    return param(request, "token");
}

QString match(const httplib::Request &request, int index = 1)
{
    return QString::fromStdString(request.matches[index].str());
}

QByteArray body(const httplib::Request &request)
{
    return QByteArray::fromStdString(request.body);
}

} // namespace

bool CFault::parse(const QString &text, CFault *fault)
{
    const QStringList parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 4) {
        return false;
    }
    static const std::pair<const char *, Kind> kinds[] = {
        {"delay", Kind::Delay}, {"error", Kind::ErrorCode},   {"http500", Kind::Http500}, {"notjson", Kind::NotJson},
        {"drop", Kind::Drop},   {"throttle", Kind::Throttle}, {"blank", Kind::Blank},     {"status", Kind::Status}};
    bool known = false;
    for (const auto &kind : kinds) {
        if (parts[1] == QLatin1String(kind.first)) {
            fault->kind = kind.second;
            known = true;
        }
    }
    bool numbers = true;
    fault->route = parts[0].toStdString();
    fault->value = parts.size() > 2 ? parts[2].toInt(&numbers) : 0;
    if (numbers && parts.size() > 3) {
        fault->times = parts[3].toInt(&numbers);
    }
    // A status fault needs a status to answer.
    const bool status = fault->kind != Kind::Status || (fault->value >= 100 && fault->value <= 599);
    return known && numbers && status;
}

CConfServer::CConfServer(CConfStore &store, bool tls, const std::string &certPath, const std::string &keyPath)
    : m_store(store), m_bTls(tls)
{
    m_guard = std::make_unique<CConnectionGuard>(m_limits.connectionsPerAddress, m_limits.headTime);
    if (tls) {
        m_server = std::make_unique<CGuardedServer<httplib::SSLServer>>(m_guard, certPath.c_str(), keyPath.c_str());
    } else {
        m_server = std::make_unique<CGuardedServer<httplib::Server>>(m_guard);
    }
    m_server->new_task_queue = [this] { return new CGrowingTaskQueue(m_limits.maxWorkers, m_limits.maxWaiting); };
    m_server->set_read_timeout(kReadTimeoutSeconds);
    m_server->set_write_timeout(kWriteTimeoutSeconds);
    m_server->set_keep_alive_timeout(kKeepAliveSeconds);
    m_server->set_keep_alive_max_count(kKeepAliveRequests);
    m_server->set_payload_max_length(kMaxArchiveBytes);
    m_passwordGuesses = std::make_unique<CAttemptLimiter>();
    m_anonymousFeedbacks =
        std::make_unique<CAttemptLimiter>(m_limits.anonymousFeedbacks, m_limits.anonymousFeedbackWindow);
    m_whiteboards = std::make_unique<CWhiteboards>();
    installRoutes();
}

CConfServer::~CConfServer()
{
    stop();
}

std::string CConfServer::defaultCertPath()
{
    return CONFSERVER_TLS_DIR "/server.pem";
}

std::string CConfServer::defaultKeyPath()
{
    return CONFSERVER_TLS_DIR "/server.key";
}

std::string CConfServer::rootCaPath()
{
    return CONFSERVER_TLS_DIR "/rootca.pem";
}

std::string CConfServer::selfSignedCertPath()
{
    return CONFSERVER_TLS_DIR "/selfsigned.pem";
}

std::string CConfServer::selfSignedKeyPath()
{
    return CONFSERVER_TLS_DIR "/selfsigned.key";
}

bool CConfServer::start(const std::string &host, int port)
{
    if (!m_server->is_valid() || m_thread.joinable()) {
        return false;
    }
    m_host = host;
    if (port == 0) {
        m_port = m_server->bind_to_any_port(host);
    } else {
        m_port = m_server->bind_to_port(host, port) ? port : -1;
    }
    if (m_port <= 0) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_faultMutex);
        m_bStopping = false;
    }
    m_bListenEnded = false;
    m_thread = std::thread([this] {
        m_server->listen_after_bind();
        m_bListenEnded = true;
    });
    return true;
}

void CConfServer::stop()
{
    {
        std::lock_guard<std::mutex> lock(m_faultMutex);
        m_bStopping = true;
    }
    m_stopCondition.notify_all();
    if (!m_thread.joinable()) {
        return;
    }
    // A stop that comes before the thread has begun to listen is lost, and
    // the listen then waits for a connection for ever: on a busy machine the
    // thread may not have run yet when a test is already done with us.
    const auto asked = std::chrono::steady_clock::now();
    auto warnAt = asked + std::chrono::seconds(5);
    while (!m_server->is_running() && !m_bListenEnded) {
        if (std::chrono::steady_clock::now() >= warnAt) {
            qWarning("confserver: the listening thread has not started %lld s after the stop was asked",
                     static_cast<long long>(
                         std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - asked)
                             .count()));
            warnAt += std::chrono::seconds(5);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    m_server->stop();
    m_thread.join();
}

void CConfServer::wait()
{
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

QString CConfServer::baseUrl() const
{
    return QStringLiteral("%1://%2:%3")
        .arg(m_bTls ? QStringLiteral("https") : QStringLiteral("http"), QString::fromStdString(m_host))
        .arg(m_port);
}

void CConfServer::addFault(const CFault &fault)
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    m_faults.push_back(fault);
}

void CConfServer::setLimits(const CServerLimits &limits)
{
    m_limits = limits;
    m_guard = std::make_unique<CConnectionGuard>(limits.connectionsPerAddress, limits.headTime);
    m_anonymousFeedbacks->setLimit(limits.anonymousFeedbacks, limits.anonymousFeedbackWindow);
}

bool CConfServer::refuseAnonymousFeedback(const httplib::Request &request, httplib::Response &response)
{
    if (request.path != kFeedbackPath || !request.get_param_value("token").empty()) {
        return false;
    }
    if (m_anonymousFeedbacks->blocked(request.remote_addr)) {
        sendError(response, codes::kTooManyAttempts, QStringLiteral("Too many feedback uploads, try again later"));
        return true;
    }
    m_anonymousFeedbacks->failed(request.remote_addr);
    return false;
}

void CConfServer::setPasswordAttemptLimit(int attempts, std::chrono::milliseconds window)
{
    m_passwordGuesses->setLimit(attempts, window);
}

void CConfServer::clearFaults()
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    m_faults.clear();
}

bool CConfServer::isStopping() const
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    return m_bStopping;
}

bool CConfServer::sleepUnlessStopped(int ms)
{
    std::unique_lock<std::mutex> lock(m_faultMutex);
    return !m_stopCondition.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bStopping; });
}

void CConfServer::throttle(httplib::Response &response)
{
    const int rate = std::max(1, std::atoi(response.get_header_value(kThrottleHeader).c_str()));
    response.headers.erase(kThrottleHeader);
    const std::string type = response.get_header_value("Content-Type");
    response.headers.erase("Content-Type");
    auto body = std::make_shared<std::string>(std::move(response.body));
    response.body.clear();
    const size_t piece = std::max<size_t>(1, size_t(rate) * kThrottleStepMs / 1000);
    response.set_content_provider(
        body->size(), type.empty() ? "application/octet-stream" : type,
        [this, body, piece](size_t offset, size_t length, httplib::DataSink &sink) {
            if (!sink.write(body->data() + offset, std::min(piece, length))) {
                return false;
            }
            return sleepUnlessStopped(kThrottleStepMs);
        },
        nullptr);
}

std::vector<std::string> CConfServer::requestsTo(const std::string &route) const
{
    std::lock_guard<std::mutex> lock(m_faultMutex);
    std::vector<std::string> targets;
    for (const auto &request : m_requests) {
        if (request.first.find(route) != std::string::npos) {
            targets.push_back(request.second);
        }
    }
    return targets;
}

bool CConfServer::applyFault(const httplib::Request &request, httplib::Response &response)
{
    // A signed-in engine asks for incoming calls every 2 s by itself: the poll
    // is neither recorded nor hit by faults, which stay about what clients do.
    if (request.path == "/api/engine/v1/incoming") {
        return false;
    }
    CFault fault;
    {
        std::lock_guard<std::mutex> lock(m_faultMutex);
        // Bounded, so a server that runs for days does not grow without end.
        if (m_requests.size() >= kRequestsKept) {
            m_requests.erase(m_requests.begin(), m_requests.begin() + kRequestsKept / 2);
        }
        m_requests.emplace_back(request.path, request.target);
        auto found = std::find_if(m_faults.begin(), m_faults.end(), [&request](const CFault &candidate) {
            return request.path.find(candidate.route) != std::string::npos;
        });
        if (found == m_faults.end()) {
            return false;
        }
        fault = *found;
        if (found->times > 0 && --found->times == 0) {
            m_faults.erase(found);
        }
    }
    switch (fault.kind) {
    case CFault::Kind::Delay:
        sleepUnlessStopped(fault.value);
        return false;
    case CFault::Kind::ErrorCode:
        sendError(response, fault.value, QStringLiteral("Injected error"));
        return true;
    case CFault::Kind::Http500:
        response.status = 500;
        response.set_content("<html><body><h1>500 Internal Server Error</h1></body></html>", "text/html");
        return true;
    case CFault::Kind::NotJson:
        response.status = 200;
        response.set_content("Service temporarily unavailable", "text/plain");
        return true;
    case CFault::Kind::Throttle:
        // The route answers; the post-routing handler then sends it slowly.
        response.set_header(kThrottleHeader, std::to_string(fault.value));
        return false;
    case CFault::Kind::Blank:
        response.status = 200;
        response.set_header("Cache-Control", "no-store");
        response.set_content("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body></body></html>",
                             "text/html; charset=utf-8");
        return true;
    case CFault::Kind::Status:
        response.status = fault.value;
        return true;
    case CFault::Kind::Drop:
        // The headers promise a body that never comes: the client sees the
        // connection closed in the middle of the reply.
        response.set_content_provider(
            64, "application/json", [](size_t, size_t, httplib::DataSink &) { return false; }, nullptr);
        return true;
    }
    return false;
}

void CConfServer::installRoutes()
{
    httplib::Server &server = *m_server;
    server.set_pre_routing_handler([this](const httplib::Request &request, httplib::Response &response) {
        m_guard->headArrived({request.remote_addr, request.remote_port});
        if (refuseBody(request, response) || refuseAnonymousFeedback(request, response)) {
            closeAfterAnswer(request);
            return httplib::Server::HandlerResponse::Handled;
        }
        if (applyFault(request, response)) {
            return httplib::Server::HandlerResponse::Handled;
        }
        keepBodyless(request);
        CAcsRoutes::keepFormRaw(request);
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // Called once an answer has gone out: the connection's next head is due.
    server.set_logger([this](const httplib::Request &request, const httplib::Response &) {
        m_guard->answered({request.remote_addr, request.remote_port});
    });
    server.set_post_routing_handler([this](const httplib::Request &, httplib::Response &response) {
        if (response.has_header(kThrottleHeader)) {
            throttle(response);
        }
    });
    CConfStore &store = m_store;
    installProbeAndSipRoutes(server, store);

    const std::string rest = "/api/rest/v2.0";
    server.Get(rest + "/users", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.users(token(request)));
    });
    server.Get(rest + R"(/users/([^/]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.user(token(request), match(request)));
    });
    server.Get(rest + "/contacts", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.contacts(token(request)));
    });
    server.Post(rest + "/contacts", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.addContact(token(request), body(request)));
    });
    server.Delete(rest + R"(/contacts/([^/]+))",
                  [&store](const httplib::Request &request, httplib::Response &response) {
                      send(response, store.deleteContact(token(request), match(request)));
                  });
    server.Get(rest + "/meetings", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.meetings(token(request)));
    });
    server.Post(rest + "/meetings", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.addMeeting(token(request), body(request)));
    });
    server.Put(rest + R"(/meetings/([^/]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.editMeeting(token(request), match(request), body(request)));
    });
    server.Delete(rest + R"(/meetings/([^/]+))",
                  [&store](const httplib::Request &request, httplib::Response &response) {
                      send(response, store.deleteMeeting(token(request), match(request)));
                  });
    server.Put(rest + R"(/meetings/([^/]+)/control/terminate)",
               [&store](const httplib::Request &request, httplib::Response &response) {
                   send(response, store.terminateMeeting(token(request), match(request)));
               });
    server.Get(rest + R"(/meetings/([^/]+)/simpleparticipants)",
               [&store](const httplib::Request &request, httplib::Response &response) {
                   send(response, store.participants(token(request), match(request)));
               });
    server.Get(rest + "/acsToken", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.acsToken(token(request), param(request, "confNumericId"), param(request, "deviceId")));
    });

    server.Get(R"(/userFiles/avatar/([0-9]{1,9})\.jpg)",
               [&store](const httplib::Request &request, httplib::Response &response) {
                   const QByteArray image = store.avatar(match(request).toInt());
                   if (image.isEmpty()) {
                       response.status = 404;
                       return;
                   }
                   response.set_content(image.toStdString(), "image/jpeg");
               });

    const std::string engine = "/api/engine/v1";
    server.Get(engine + "/features",
               [&store](const httplib::Request &, httplib::Response &response) { send(response, store.features()); });
    server.Post(engine + "/login", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.login(body(request)));
    });
    server.Get(engine + "/user", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.refreshUser(token(request)));
    });
    server.Put(engine + "/user/displayName", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.changeDisplayName(token(request), body(request)));
    });
    server.Post(engine + "/ring", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.ring(body(request)));
    });
    server.Get(engine + "/incoming", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.takeIncoming(token(request)));
    });
    server.Get(engine + "/passwordPolicy", [&store](const httplib::Request &, httplib::Response &response) {
        send(response, store.passwordPolicy());
    });
    server.Post(engine + "/password", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.changePassword(token(request), body(request)));
    });
    server.Get(engine + "/avatar", [&store](const httplib::Request &request, httplib::Response &response) {
        const QByteArray image = store.avatarOfToken(token(request));
        if (image.isEmpty()) {
            sendError(response, codes::kInvalidToken, QStringLiteral("Invalid token"));
            return;
        }
        response.set_content(image.toStdString(), "image/jpeg");
    });
    server.Post(engine + "/avatar", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.uploadAvatar(token(request), body(request)));
    });
    server.Post(engine + "/feedback", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.uploadFeedback(token(request), param(request, "contact"), param(request, "description"),
                                            body(request)));
    });
    server.Get(engine + R"(/meetings/([^/]+))", [&store](const httplib::Request &request, httplib::Response &response) {
        send(response, store.meetingInfo(match(request)));
    });
    // Both routes take the meeting password: wrong guesses are counted per
    // client and meeting.
    CAttemptLimiter &guesses = *m_passwordGuesses;
    const auto guarded = [&guesses](const httplib::Request &request, httplib::Response &response,
                                    const std::function<CResult()> &check) {
        const std::string key = request.remote_addr + '|' + request.matches[1].str();
        if (guesses.blocked(key)) {
            sendError(response, codes::kTooManyAttempts, QStringLiteral("Too many wrong passwords, try again later"));
            return;
        }
        const CResult result = check();
        if (result.errorCode == codes::kWrongMeetingRoomPassword) {
            guesses.failed(key);
        }
        send(response, result);
    };
    server.Post(engine + R"(/meetings/([^/]+)/password)", [&store, guarded](const httplib::Request &request,
                                                                            httplib::Response &response) {
        guarded(request, response, [&] { return store.checkMeetingPassword(match(request), body(request)); });
    });
    server.Get(engine + R"(/meetings/([^/]+)/participants)", [&store](const httplib::Request &request,
                                                                      httplib::Response &response) {
        send(response, store.meetingParticipants(match(request), token(request), param(request, "participantId")));
    });
    server.Post(engine + R"(/meetings/([^/]+)/join)", [&store, guarded](const httplib::Request &request,
                                                                        httplib::Response &response) {
        guarded(request, response, [&] { return store.joinMeeting(token(request), match(request), body(request)); });
    });
    server.Post(engine + R"(/meetings/([^/]+)/leave)",
                [&store](const httplib::Request &request, httplib::Response &response) {
                    send(response, store.leaveMeeting(match(request), body(request)));
                });

    CAcsRoutes::install(server, store, *m_whiteboards, [this] { return isStopping(); });
    CUpgradeRoutes::install(server, store, m_bTls,
                            [](httplib::Response &response, const CResult &result) { send(response, result); });
    // Last: its pattern takes any one-word path, after the routes above had theirs.
    CPortalRoutes::install(server, store);
}

} // namespace confserver
