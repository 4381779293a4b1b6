// What our engine reads from outside: the model file of its in-memory
// backend, and every reply of the server behind its HTTP backend. The HTTP
// side runs against a server in this process that answers every request
// with the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include <unistd.h>

#include <httplib.h>

#include "chttpbackend.h"
#include "cmodelbackend.h"

using kd::engine::AVFeature;
using kd::engine::KDUserInfo;
using namespace kd::sdk;

namespace {

class CReplyServer
{
public:
    CReplyServer()
    {
        const auto answer = [this](const httplib::Request &, httplib::Response &response) {
            std::lock_guard<std::mutex> lock(m_mutex);
            response.status = m_status;
            response.set_content(m_body, "application/json");
        };
        // Every backend of a run opens its own connections: closed after
        // each answer, none of them waits on a worker of this server.
        m_server.set_keep_alive_max_count(1);
        m_server.Get(".*", answer);
        m_server.Post(".*", answer);
        m_port = m_server.bind_to_any_port("127.0.0.1");
        if (m_port <= 0) {
            std::abort();
        }
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
    }

    void setReply(int status, std::string body)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_status = status;
        m_body = std::move(body);
    }

    unsigned port() const { return unsigned(m_port); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
    std::mutex m_mutex;
    int m_status = 200;
    std::string m_body;
};

CReplyServer &replyServer()
{
    // Lives until the process ends: the fuzzer never returns.
    static CReplyServer *server = new CReplyServer;
    return *server;
}

std::string modelPath()
{
    static const std::string path = [] {
        char pattern[] = "/tmp/fuzz-enginejson-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::abort();
        }
        return std::string(pattern) + "/model.json";
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The first byte picks the reply's status, the rest is the body.
    static const int statuses[] = {200, 200, 200, 400, 401, 403, 404, 500};
    const int status = statuses[data[0] % 8];
    const std::string body(reinterpret_cast<const char *>(data) + 1, size - 1);

    {
        std::ofstream(modelPath(), std::ios::binary | std::ios::trunc) << body;
        CModelBackend model;
        if (model.loadModel(modelPath())) {
            KDUserInfo user;
            model.signIn("127.0.0.1", 0, "alice", "secret", user);
            KDMeetingInfo meeting;
            model.joinMeeting("80001", "", "", KDJoinRequest(), meeting);
        }
    }

    CReplyServer &server = replyServer();
    server.setReply(status, body);
    CHttpBackend http(std::chrono::milliseconds(2000));
    // Plain HTTP: what is fuzzed is the reading of replies, not TLS.
    http.setTransport(false, std::string());
    AVFeature feature;
    http.getFeature("127.0.0.1", server.port(), feature);
    KDUserInfo user;
    if (http.signIn("127.0.0.1", server.port(), "alice", "secret", user).ok()) {
        http.refreshUser(user.token, user);
        http.passwordPolicy();
    }
    KDMeetingInfo meeting;
    http.joinMeeting("80001", "4711", "127.0.0.1:" + std::to_string(server.port()), KDJoinRequest(), meeting);
    return 0;
}
