#include "chttpbackend.h"

#include <algorithm>

#include <netdb.h>
#include <sys/socket.h>

#include <httplib.h>
#include <openssl/x509.h>
#include <openssl/x509_vfy.h>

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>

#include "cjsontext.h"

namespace kd {
namespace sdk {

namespace {

const char kApi[] = "/api/engine/v1";
const char kJson[] = "application/json;charset=UTF-8";
const size_t kUploadChunk = 64 * 1024;

// Whether a host name (or address) resolves at all; a refused connection to
// a name that does not is the user's typing or name service, not the server.
bool resolves(const std::string &host)
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (found) {
        freeaddrinfo(found);
    }
    return rc == 0;
}

// Why a certificate did not verify, in words a user can pass on.
std::string certificateProblem(long verifyResult, const std::string &host)
{
    if (verifyResult != X509_V_OK) {
        return X509_verify_cert_error_string(verifyResult);
    }
    // The chain was good, but it was issued for another name.
    return "it was not issued for " + host;
}

COutcome transportOutcome(httplib::Error error, const std::string &host, long verifyResult)
{
    switch (error) {
    case httplib::Error::SSLServerVerification:
        return COutcome::untrusted(certificateProblem(verifyResult, host));
    case httplib::Error::SSLLoadingCerts:
        return COutcome::untrusted("the trusted certificates could not be loaded");
    case httplib::Error::Connection:
        if (!resolves(host)) {
            return COutcome::unresolved(host);
        }
        return COutcome::unreachable("connection refused");
    case httplib::Error::ConnectionTimeout:
        return COutcome::unreachable("connection timed out");
    case httplib::Error::Read:
    case httplib::Error::Write:
        return COutcome::unreachable("no answer, or the connection was cut");
    case httplib::Error::SSLConnection:
        return COutcome::unreachable("no secure connection could be made");
    default:
        return COutcome::unreachable(httplib::to_string(error));
    }
}

std::string encoded(const std::string &value)
{
    return QUrl::toPercentEncoding(QString::fromStdString(value)).toStdString();
}

std::string withToken(const std::string &path, const std::string &token)
{
    return path + "?token=" + encoded(token);
}

std::string text(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString().toStdString();
}

} // namespace

std::chrono::milliseconds CHttpBackend::defaultTimeout()
{
    bool valid = false;
    const int configured = qEnvironmentVariableIntValue("KDSDK_HTTP_TIMEOUT_MS", &valid);
    return std::chrono::milliseconds(valid && configured > 0 ? configured : 10000);
}

CHttpBackend::CHttpBackend(std::chrono::milliseconds timeout) : m_timeout(timeout)
{
}

CHttpBackend::~CHttpBackend()
{
    for (const auto &store : m_trustStores) {
        X509_STORE_free(store.second);
    }
}

// The system's authorities plus the configured root certificate. Reading
// the system's bundle parses every authority in it, which costs more than
// the request itself, so the store is made once per root certificate file
// (as it is on disk) and shared: each client's TLS context takes a
// reference of its own and releases it when freed.
X509_STORE *CHttpBackend::trustStore(const std::string &rootCaPath) const
{
    const QFileInfo root(QString::fromStdString(rootCaPath));
    const std::string key =
        rootCaPath + '|' + std::to_string(root.lastModified().toMSecsSinceEpoch()) + '|' + std::to_string(root.size());
    std::lock_guard<std::mutex> lock(m_trustMutex);
    X509_STORE *&store = m_trustStores[key];
    if (!store) {
        store = X509_STORE_new();
        if (!store) {
            m_trustStores.erase(key);
            return nullptr;
        }
        X509_STORE_set_default_paths(store);
        if (!rootCaPath.empty()) {
            X509_STORE_load_locations(store, rootCaPath.c_str(), nullptr);
        }
    }
    X509_STORE_up_ref(store);
    return store;
}

void CHttpBackend::setTransport(bool secure, const std::string &rootCaPath)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_secure = secure;
    m_rootCaPath = rootCaPath;
}

void CHttpBackend::abort()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_aborted = true;
    for (httplib::ClientImpl *client : m_inFlight) {
        client->stop();
    }
}

CHttpBackend::CEndpoint CHttpBackend::endpointFor(const std::string &server, unsigned port) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CEndpoint endpoint;
    endpoint.host = server;
    endpoint.secure = m_secure;
    endpoint.port = port ? port : (m_secure ? 443 : 80);
    endpoint.rootCaPath = m_rootCaPath;
    return endpoint;
}

bool CHttpBackend::sessionEndpoint(CEndpoint *endpoint) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    *endpoint = m_session;
    return m_hasSession;
}

std::string CHttpBackend::tokenFor(const CEndpoint &endpoint) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const bool issuer = QString::fromStdString(endpoint.host)
                                .compare(QString::fromStdString(m_tokenIssuer.host), Qt::CaseInsensitive) == 0 &&
                        endpoint.port == m_tokenIssuer.port && endpoint.secure == m_tokenIssuer.secure;
    return issuer ? m_token : std::string();
}

std::unique_ptr<httplib::ClientImpl> CHttpBackend::makeClient(const CEndpoint &endpoint,
                                                              std::chrono::milliseconds timeout) const
{
    const std::chrono::milliseconds limit = timeout.count() > 0 ? timeout : m_timeout;
    std::unique_ptr<httplib::ClientImpl> client;
    if (endpoint.secure) {
        auto tls = std::make_unique<httplib::SSLClient>(endpoint.host, int(endpoint.port));
        tls->set_ca_cert_store(trustStore(endpoint.rootCaPath));
        tls->enable_server_certificate_verification(true);
        client = std::move(tls);
    } else {
        client = std::make_unique<httplib::ClientImpl>(endpoint.host, int(endpoint.port));
    }
    client->set_connection_timeout(limit);
    client->set_read_timeout(limit);
    client->set_write_timeout(limit);
    client->set_keep_alive(false);
    return client;
}

namespace {

// Reads a finished exchange: a transport failure, the server's refusal, a
// status that is not success, or the body (parsed when JSON is expected).
// An answer that is not the engine API's comes from some other web server.
template <typename Reply> void readResult(const httplib::Result &result, bool expectJson, Reply &reply)
{
    reply.status = result->status;
    reply.body = result->body;
    QJsonParseError error;
    reply.json = CJsonText::parse(QByteArray::fromStdString(result->body), &error);
    const bool isJson = error.error == QJsonParseError::NoError;
    const QJsonObject object = reply.json.object();
    const QJsonValue serverCode = object.value(QLatin1String("errorCode"));
    if (isJson && reply.json.isObject() && jsonInt(serverCode) != 0) {
        reply.outcome =
            COutcome::refused(jsonInt(serverCode), object.value(QLatin1String("errorInfo")).toString().toStdString());
        return;
    }
    const std::string status = "HTTP " + std::to_string(result->status);
    if (result->status == 404) {
        reply.outcome = COutcome::invalidServer(status);
        return;
    }
    if (result->status < 200 || result->status >= 300) {
        reply.outcome = COutcome::failed("the server answered " + status);
        return;
    }
    if (expectJson && !isJson) {
        reply.outcome = COutcome::invalidServer("the answer is not JSON");
    }
}

} // namespace

CHttpBackend::CReply CHttpBackend::exchange(const CEndpoint &endpoint, bool expectJson,
                                            const std::function<httplib::Result(httplib::ClientImpl &)> &send,
                                            std::chrono::milliseconds timeout) const
{
    CReply reply;
    const std::unique_ptr<httplib::ClientImpl> client = makeClient(endpoint, timeout);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_aborted) {
            reply.outcome = COutcome::unreachable("the engine is shutting down");
            return reply;
        }
        m_inFlight.insert(client.get());
    }
    const httplib::Result result = send(*client);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_inFlight.erase(client.get());
    }
    if (!result) {
        const long verifyResult =
            endpoint.secure ? static_cast<httplib::SSLClient *>(client.get())->get_openssl_verify_result() : 0;
        reply.outcome = transportOutcome(result.error(), endpoint.host, verifyResult);
        return reply;
    }
    readResult(result, expectJson, reply);
    return reply;
}

CHttpBackend::CReply CHttpBackend::get(const CEndpoint &endpoint, const std::string &path, bool expectJson) const
{
    return exchange(endpoint, expectJson, [&path](httplib::ClientImpl &client) { return client.Get(path); });
}

CHttpBackend::CReply CHttpBackend::post(const CEndpoint &endpoint, const std::string &path, const std::string &body,
                                        const std::string &contentType, const SentCallback &sent) const
{
    if (!sent) {
        return exchange(endpoint, true,
                        [&](httplib::ClientImpl &client) { return client.Post(path, body, contentType.c_str()); });
    }
    const uint64_t total = body.size();
    auto provider = [&body, &sent, total](size_t offset, size_t length, httplib::DataSink &sink) {
        const size_t chunk = std::min(length, kUploadChunk);
        if (!sink.write(body.data() + offset, chunk)) {
            return false;
        }
        sent(offset + chunk, total);
        return true;
    };
    return exchange(endpoint, true, [&](httplib::ClientImpl &client) {
        return client.Post(path, body.size(), provider, contentType.c_str());
    });
}

COutcome CHttpBackend::ping(const std::string &host, unsigned port, size_t upload, size_t download,
                            std::chrono::milliseconds limit)
{
    const CEndpoint endpoint = endpointFor(host, port);
    const std::string path = std::string(kApi) + "/ping";
    if (upload > 0) {
        const std::string bytes(upload, 'p');
        return exchange(
                   endpoint, true,
                   [&](httplib::ClientImpl &client) { return client.Post(path, bytes, "application/octet-stream"); },
                   limit)
            .outcome;
    }
    const std::string target = download > 0 ? path + "?size=" + std::to_string(download) : path;
    return exchange(
               endpoint, download == 0, [&target](httplib::ClientImpl &client) { return client.Get(target); }, limit)
        .outcome;
}

COutcome CHttpBackend::registerSip(const std::string &host, unsigned port, const std::string &username,
                                   const std::string &password, const std::string &displayName,
                                   const std::string &protocol)
{
    QJsonObject body;
    body[QLatin1String("username")] = QString::fromStdString(username);
    body[QLatin1String("password")] = QString::fromStdString(password);
    body[QLatin1String("displayName")] = QString::fromStdString(displayName);
    body[QLatin1String("protocol")] = QString::fromStdString(protocol);
    return post(endpointFor(host, port), std::string(kApi) + "/sip/register",
                QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson)
        .outcome;
}

void CHttpBackend::unregisterSip(const std::string &host, unsigned port, const std::string &username)
{
    QJsonObject body;
    body[QLatin1String("username")] = QString::fromStdString(username);
    post(endpointFor(host, port), std::string(kApi) + "/sip/unregister",
         QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson);
}

COutcome CHttpBackend::getFeature(const std::string &server, unsigned port, kd::engine::AVFeature &feature)
{
    if (server.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    const CEndpoint endpoint = endpointFor(server, port);
    const CReply reply = get(endpoint, std::string(kApi) + "/features");
    if (!reply.outcome.ok()) {
        // A web server without our engine API has no feature record
        // (KD_ERR_NO_FEATURE_RECORD); one that fails or refuses is an error.
        return reply.outcome;
    }
    const QJsonObject features = reply.json.object();
    feature.appServerType = text(features, "appServerType");
    feature.version = text(features, "apiVersion");
    feature.apiEnabled = true;
    feature.passwordEncryptionWithAES = false;
    feature.enableChangePassword = features.value(QLatin1String("enableChangePassword")).toBool(true);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_session = endpoint;
    m_hasSession = true;
    m_appServerType = feature.appServerType;
    m_urlSuffixForPC = text(features, "urlSuffixForPC");
    return KD_OK;
}

void CHttpBackend::fillUser(const QJsonObject &reply, kd::engine::KDUserInfo &user) const
{
    const QJsonObject account = reply.value(QLatin1String("user")).toObject();
    user = kd::engine::KDUserInfo();
    user.userId = jsonUnsigned(account.value(QLatin1String("id")));
    user.username = text(account, "name");
    user.displayName = text(account, "displayName");
    if (user.displayName.empty()) {
        user.displayName = user.username;
    }
    user.org = text(account, "companyShortName");
    user.dept = text(account, "dept");
    user.email = text(account, "email");
    user.cellphone = text(account, "cellphone");
    user.telephone = text(account, "telephone");
    user.callNumber = text(account, "callNumber");
    user.vmr = text(account, "vmr");
    user.sipUserName = text(account, "sipUserName");
    user.deviceId = jsonUnsigned(account.value(QLatin1String("endpointId")));
    const bool changedByUser = account.value(QLatin1String("passwordModifiedByUser")).toBool(true);
    user.everChangedPasswd = changedByUser;
    user.passwordChangeRequired = !changedByUser;
    user.token = text(reply, "token");
    user.serverTime = uint64_t(QDateTime::currentMSecsSinceEpoch());
    user.p2pCall = true;
    user.appServerType = m_appServerType;
    user.urlSuffixForPC = m_urlSuffixForPC;
}

void CHttpBackend::fetchPolicy(const CEndpoint &endpoint)
{
    const CReply reply = get(endpoint, std::string(kApi) + "/passwordPolicy");
    if (!reply.outcome.ok()) {
        return;
    }
    const QJsonObject rules = reply.json.object();
    kd::engine::KDPasswordPolicy policy;
    policy.minLength = jsonInt(rules.value(QLatin1String("minLength")));
    policy.maxLength = jsonInt(rules.value(QLatin1String("maxLength")));
    policy.typeCount = jsonInt(rules.value(QLatin1String("charTypes")));
    policy.specialChars = text(rules, "specialChars");
    std::lock_guard<std::mutex> lock(m_mutex);
    m_policy = policy;
    m_policyKnown = true;
}

COutcome CHttpBackend::signIn(const std::string &server, unsigned port, const std::string &username,
                              const std::string &password, kd::engine::KDUserInfo &user)
{
    if (server.empty() || username.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    const CEndpoint endpoint = endpointFor(server, port);
    QJsonObject body;
    body[QLatin1String("account")] = QString::fromStdString(username);
    body[QLatin1String("password")] = QString::fromStdString(password);
    const CReply reply = post(endpoint, std::string(kApi) + "/login",
                              QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson);
    if (!reply.outcome.ok()) {
        return reply.outcome;
    }
    const QJsonObject answer = reply.json.object();
    if (text(answer, "token").empty()) {
        return COutcome::invalidServer("the sign-in answer has no token");
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_session = endpoint;
        m_hasSession = true;
        fillUser(answer, user);
        m_token = user.token;
        m_tokenIssuer = endpoint;
    }
    // Read once here, so checking a new password later needs no round trip.
    fetchPolicy(endpoint);
    return KD_OK;
}

int CHttpBackend::refreshUser(const std::string &token, kd::engine::KDUserInfo &user)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    const CReply reply = get(endpoint, withToken(std::string(kApi) + "/user", token));
    if (!reply.outcome.ok()) {
        return reply.outcome.result();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    fillUser(reply.json.object(), user);
    m_token = user.token;
    return KD_OK;
}

void CHttpBackend::signOut(const std::string &token)
{
    // The server keeps no session beyond the token; forgetting it is enough.
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_token == token) {
        m_token.clear();
    }
}

kd::engine::KDPasswordPolicy CHttpBackend::passwordPolicy()
{
    CEndpoint endpoint;
    bool known = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_policyKnown) {
            return m_policy;
        }
        known = m_hasSession;
        endpoint = m_session;
    }
    if (known) {
        fetchPolicy(endpoint);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_policyKnown) {
        return m_policy;
    }
    // No server to ask: the rules the server applies unless told otherwise.
    kd::engine::KDPasswordPolicy fallback;
    fallback.minLength = 8;
    fallback.maxLength = 32;
    fallback.typeCount = 2;
    fallback.specialChars = "~!@#$%^&*()_+-=.,?";
    return fallback;
}

int CHttpBackend::changePassword(const std::string &token, const std::string &oldPassword,
                                 const std::string &newPassword)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    QJsonObject body;
    body[QLatin1String("oldPassword")] = QString::fromStdString(oldPassword);
    body[QLatin1String("newPassword")] = QString::fromStdString(newPassword);
    return post(endpoint, withToken(std::string(kApi) + "/password", token),
                QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson)
        .outcome.result();
}

int CHttpBackend::changeDisplayName(const std::string &token, const std::string &displayName)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    QJsonObject body;
    body[QLatin1String("displayName")] = QString::fromStdString(displayName);
    const std::string path = withToken(std::string(kApi) + "/user/displayName", token);
    const std::string json = QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString();
    return exchange(endpoint, true, [&](httplib::ClientImpl &client) { return client.Put(path, json, kJson); })
        .outcome.result();
}

bool CHttpBackend::meetingRoundTrip(const std::string &number, int &milliseconds)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return false;
    }
    const auto start = std::chrono::steady_clock::now();
    const CReply reply = get(endpoint, std::string(kApi) + "/meetings/" + encoded(number));
    const auto spent = std::chrono::steady_clock::now() - start;
    milliseconds =
        reply.outcome.ok() ? int(std::chrono::duration_cast<std::chrono::milliseconds>(spent).count()) : -1;
    return true;
}

bool CHttpBackend::takeIncomingCall(kd::engine::KDCallInfo &call)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return false;
    }
    const CReply reply = get(endpoint, withToken(std::string(kApi) + "/incoming", tokenFor(endpoint)));
    if (!reply.outcome.ok()) {
        return false;
    }
    const QJsonObject incoming = reply.json.object().value(QLatin1String("incoming")).toObject();
    call.peer = text(incoming, "from");
    call.conference_number = text(incoming, "number");
    call.isAudioOnly = incoming.value(QLatin1String("audioOnly")).toBool();
    return !call.peer.empty();
}

COutcome CHttpBackend::joinMeeting(const std::string &number, const std::string &password, const std::string &server,
                                   const KDJoinRequest &who, KDMeetingInfo &meeting)
{
    CEndpoint endpoint;
    const bool known = sessionEndpoint(&endpoint);
    if (!server.empty()) {
        // A guest names the server in the dial string; a signed-in user's
        // own server keeps the port and security it was reached with.
        const QUrl url(QString::fromStdString("//" + server));
        const std::string host = url.host().toStdString();
        const unsigned port = unsigned(std::max(0, url.port(0)));
        if (host.empty()) {
            return KD_ERR_INVALID_ARGUMENT;
        }
        if (!known || endpoint.host != host || (port != 0 && port != endpoint.port)) {
            endpoint = endpointFor(host, port);
        }
    } else if (!known) {
        return KD_ERR_SERVER_UNREACHABLE;
    }
    const std::string base = std::string(kApi) + "/meetings/" + encoded(number);
    const CReply info = get(endpoint, base);
    if (!info.outcome.ok()) {
        return info.outcome;
    }
    QJsonObject details = info.json.object();
    const int waitQueue = std::max(0, details.value(QLatin1String("waitQueue")).toInt());
    if (details.value(QLatin1String("passwordRequired")).toBool()) {
        if (password.empty()) {
            // The server has said so already; asking it again without one would not help.
            return COutcome::refused(KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED, "The meeting password is required");
        }
        QJsonObject body;
        body[QLatin1String("password")] = QString::fromStdString(password);
        const CReply checked =
            post(endpoint, base + "/password", QJsonDocument(body).toJson(QJsonDocument::Compact).toStdString(), kJson);
        if (!checked.outcome.ok()) {
            return checked.outcome;
        }
        // A protected meeting tells its name only to those who know the password.
        details = checked.json.object();
    }
    meeting = KDMeetingInfo();
    meeting.number = number;
    meeting.waitQueue = waitQueue;
    meeting.name = text(details, "name");
    if (meeting.name.empty()) {
        meeting.name = number;
    }
    meeting.pointToPoint = details.value(QLatin1String("pointToPoint")).toBool();
    if (meeting.pointToPoint) {
        // A direct call to a person: there is no meeting to be listed in.
        return KD_OK;
    }
    // A guest, or a meeting on another server, joins without a token.
    const std::string token = tokenFor(endpoint);
    QJsonObject request;
    request[QLatin1String("displayName")] = QString::fromStdString(who.displayName);
    request[QLatin1String("videoMode")] = who.video;
    request[QLatin1String("password")] = QString::fromStdString(password);
    const CReply joined = post(endpoint, token.empty() ? base + "/join" : withToken(base + "/join", token),
                               QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(), kJson);
    if (!joined.outcome.ok()) {
        return joined.outcome;
    }
    const QJsonObject entry = joined.json.object();
    meeting.participantId = int64_t(entry.value(QLatin1String("participantId")).toDouble());
    meeting.controllable = entry.value(QLatin1String("controllable")).toBool();
    if (meeting.participantId != 0) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_joined[meeting.participantId] = endpoint;
    }
    // The others in the meeting before this client: the server lists them
    // only to those in it, so they come with the join.
    for (const QJsonValue &value : entry.value(QLatin1String("participants")).toArray()) {
        const std::string name = text(value.toObject(), "name");
        if (!name.empty()) {
            meeting.participants.push_back(name);
        }
    }
    return KD_OK;
}

void CHttpBackend::leaveMeeting(const KDMeetingInfo &meeting)
{
    CEndpoint endpoint;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_joined.find(meeting.participantId);
        if (found == m_joined.end()) {
            return;
        }
        endpoint = found->second;
        m_joined.erase(found);
    }
    QJsonObject request;
    request[QLatin1String("participantId")] = double(meeting.participantId);
    post(endpoint, std::string(kApi) + "/meetings/" + encoded(meeting.number) + "/leave",
         QJsonDocument(request).toJson(QJsonDocument::Compact).toStdString(), kJson);
}

COutcome CHttpBackend::uploadUserImage(const std::string &token, const std::string &path)
{
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return KD_ERR_FILE;
    }
    const std::string bytes = file.readAll().toStdString();
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    return post(endpoint, withToken(std::string(kApi) + "/avatar", token), bytes, "application/octet-stream").outcome;
}

COutcome CHttpBackend::downloadUserImage(const std::string &token, std::string &imageBytes)
{
    CEndpoint endpoint;
    if (!sessionEndpoint(&endpoint)) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    const CReply reply = get(endpoint, withToken(std::string(kApi) + "/avatar", token), false);
    if (!reply.outcome.ok()) {
        return reply.outcome;
    }
    if (reply.body.empty()) {
        return COutcome::failed("the server sent an empty picture");
    }
    imageBytes = reply.body;
    return KD_OK;
}

COutcome CHttpBackend::uploadFile(const CEndpoint &endpoint, const std::string &path, const std::string &token,
                                  const std::string &contact, const std::string &description, const SentCallback &sent)
{
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return KD_ERR_FILE;
    }
    const std::string bytes = file.readAll().toStdString();
    // Without a sign-in the upload goes out anonymously: an empty token
    // would read as a wrong one.
    const std::string route = std::string(kApi) + "/feedback";
    const std::string target = (token.empty() ? route + "?" : withToken(route, token) + "&") +
                               "contact=" + encoded(contact) + "&description=" + encoded(description);
    return post(endpoint, target, bytes, "application/octet-stream", sent).outcome;
}

void CHttpBackend::uploadFeedback(const std::vector<std::string> &files, const std::string &contact,
                                  const std::string &description, const std::string &address,
                                  const std::function<void(int)> &progress)
{
    if (files.empty()) {
        progress(-KD_ERR_INVALID_ARGUMENT);
        return;
    }
    CEndpoint endpoint;
    const bool known = sessionEndpoint(&endpoint);
    if (!address.empty()) {
        // Either a whole address ("https://host:port") or a host name, served
        // the way the signed-in server is.
        const bool explicitScheme = address.find("://") != std::string::npos;
        const QUrl url(QString::fromStdString(explicitScheme ? address : "//" + address));
        endpoint = endpointFor(url.host().toStdString(), unsigned(std::max(0, url.port(0))));
        if (explicitScheme) {
            endpoint.secure = url.scheme() == QLatin1String("https");
            endpoint.port = unsigned(url.port(endpoint.secure ? 443 : 80));
        }
    }
    // Another server, or the same one over another scheme, gets the archive
    // without the account: the token would reach a stranger, or the network
    // in clear text.
    const std::string token = tokenFor(endpoint);
    if (address.empty() && (!known || token.empty())) {
        // The signed-in server takes feedback from its users only.
        progress(-KD_ERR_NOT_SIGNED_IN);
        return;
    }
    qint64 total = 0;
    for (const std::string &path : files) {
        const QFile file(QString::fromLocal8Bit(path.c_str()));
        if (!file.exists()) {
            progress(-KD_ERR_FILE);
            return;
        }
        total += file.size();
    }
    progress(0);
    qint64 done = 0;
    int reported = 0;
    for (const std::string &path : files) {
        // 100 waits for the server's answer: sent is not yet received.
        const auto sent = [&](uint64_t current, uint64_t) {
            const int percent = total > 0 ? int((done + qint64(current)) * 99 / total) : 0;
            if (percent > reported) {
                reported = percent;
                progress(percent);
            }
        };
        const int rc = uploadFile(endpoint, path, token, contact, description, sent).result();
        if (rc != KD_OK) {
            progress(-rc);
            return;
        }
        done += QFile(QString::fromLocal8Bit(path.c_str())).size();
    }
    progress(100);
}

} // namespace sdk
} // namespace kd
