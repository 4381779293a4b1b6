#include "cconnectionguard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

namespace confserver {

namespace {

// How often overdue heads are looked for.
constexpr std::chrono::milliseconds kWatchStep(100);

bool peerOf(int socket, CConnectionGuard::Peer *peer)
{
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    if (::getpeername(socket, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        return false;
    }
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto *v4 = reinterpret_cast<const sockaddr_in *>(&address);
        ::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof(text));
        *peer = {text, ntohs(v4->sin_port)};
        return true;
    }
    if (address.ss_family == AF_INET6) {
        const auto *v6 = reinterpret_cast<const sockaddr_in6 *>(&address);
        ::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof(text));
        *peer = {text, ntohs(v6->sin6_port)};
        return true;
    }
    return false;
}

} // namespace

CConnectionGuard::CConnectionGuard(int perAddress, std::chrono::milliseconds headTime)
    : m_perAddress(perAddress), m_headTime(headTime)
{
    m_watcher = std::thread([this] { watch(); });
}

CConnectionGuard::~CConnectionGuard()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStopping = true;
    }
    m_wake.notify_all();
    m_watcher.join();
}

bool CConnectionGuard::admit(int socket, Peer *peer)
{
    if (!peerOf(socket, peer)) {
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    int &count = m_perAddressCount[peer->first];
    if (count >= m_perAddress) {
        if (count == 0) {
            m_perAddressCount.erase(peer->first);
        }
        return false;
    }
    ++count;
    m_connections[*peer] = CConnection{socket, true, std::chrono::steady_clock::now()};
    return true;
}

void CConnectionGuard::leave(const Peer &peer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_connections.erase(peer);
    const auto count = m_perAddressCount.find(peer.first);
    if (count != m_perAddressCount.end() && --count->second <= 0) {
        m_perAddressCount.erase(count);
    }
}

void CConnectionGuard::headArrived(const Peer &peer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_connections.find(peer);
    if (found != m_connections.end()) {
        found->second.waitingForHead = false;
    }
}

void CConnectionGuard::answered(const Peer &peer)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_connections.find(peer);
    if (found != m_connections.end()) {
        found->second.waitingForHead = true;
        found->second.since = std::chrono::steady_clock::now();
    }
}

void CConnectionGuard::watch()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, kWatchStep, [this] { return m_bStopping; })) {
        const auto overdue = std::chrono::steady_clock::now() - m_headTime;
        for (const auto &connection : m_connections) {
            if (!connection.second.waitingForHead || connection.second.since > overdue) {
                continue;
            }
            // The worker reading the head sees the connection end and lets
            // go. The socket is still the connection's own while it is
            // listed, unless the worker has just closed it and another
            // connection got its number: the peer tells them apart.
            Peer current;
            if (peerOf(connection.second.socket, &current) && current == connection.first) {
                ::shutdown(connection.second.socket, SHUT_RDWR);
            }
        }
    }
}

} // namespace confserver
