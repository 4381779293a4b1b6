#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace confserver {

// Keeps one client from holding the server's workers: connections from one
// address are counted and those over the cap are closed at once, and a
// connection that has not finished its next request's head in time (from
// its accept, or from its last answer) is shut down.
class CConnectionGuard
{
public:
    CConnectionGuard(int perAddress, std::chrono::milliseconds headTime);
    ~CConnectionGuard();
    CConnectionGuard(const CConnectionGuard &) = delete;
    CConnectionGuard &operator=(const CConnectionGuard &) = delete;

    // A connection's peer, as the HTTP library names it in a request.
    using Peer = std::pair<std::string, int>;

    // False when the socket's address has its connections already, or has
    // no address; else the connection counts until leave().
    bool admit(int socket, Peer *peer);
    void leave(const Peer &peer);
    // The connection's request head has arrived: no deadline until answered.
    void headArrived(const Peer &peer);
    // The connection was answered: the next head is due within the time.
    void answered(const Peer &peer);

private:
    struct CConnection
    {
        int socket = -1;
        bool waitingForHead = true;
        std::chrono::steady_clock::time_point since;
    };

    void watch();

    const int m_perAddress;
    const std::chrono::milliseconds m_headTime;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bStopping = false;
    std::map<Peer, CConnection> m_connections;
    std::map<std::string, int> m_perAddressCount;
    std::thread m_watcher;
};

} // namespace confserver
