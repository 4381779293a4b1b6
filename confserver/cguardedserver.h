#pragma once

#include <memory>

#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include "cconnectionguard.h"
#include "cgrowingtaskqueue.h"

namespace confserver {

// The library's own handling of one connection, reached without virtual
// dispatch: the library keeps it private, and a server that counts its
// connections must still hand them on to it.
bool processConnection(httplib::Server *server, socket_t socket) asm("_ZN7httplib6Server24process_and_close_socketEi");
bool processConnection(httplib::SSLServer *server,
                       socket_t socket) asm("_ZN7httplib9SSLServer24process_and_close_socketEi");

// An HTTP or HTTPS server whose connections pass its guard first: one that
// the guard refuses, or that came while the workers' queue was full, is
// closed unread.
template <class Base> class CGuardedServer : public Base
{
public:
    template <class... Args>
    explicit CGuardedServer(const std::unique_ptr<CConnectionGuard> &guard, Args &&...args)
        : Base(std::forward<Args>(args)...), m_guard(guard)
    {
    }

private:
    bool process_and_close_socket(socket_t socket) override
    {
        CConnectionGuard::Peer peer;
        if (CGrowingTaskQueue::isShedding() || !m_guard->admit(socket, &peer)) {
            ::shutdown(socket, SHUT_RDWR);
            ::close(socket);
            return false;
        }
        const bool served = processConnection(static_cast<Base *>(this), socket);
        m_guard->leave(peer);
        return served;
    }

    const std::unique_ptr<CConnectionGuard> &m_guard;
};

} // namespace confserver
