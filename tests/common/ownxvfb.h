#pragma once

// A private X server for one test or benchmark process, so that screen grabs
// and compositor effects never see another test's windows: ctest runs tests
// side by side, and a grab covers a whole display.
//
//   int main(int argc, char **argv)
//   {
//       OwnXvfb xvfb;                  // before the application object
//       if (!xvfb.ok()) { ... xvfb.error() ... }
//       QApplication app(argc, argv);  // now on the private display
//   }
//
// or KD_OWN_XVFB_TEST_MAIN(TestClass) in place of QTEST_MAIN. The server
// picks a free display number itself (-displayfd); DISPLAY and the Qt
// platform are set for this process. Both the server and the optional
// compositor are ended by their process ids, never by name.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <xcb/xcb.h>

class OwnXvfb
{
public:
    struct Options
    {
        std::string screen = "1920x1080x24";
        bool compositor = false; // also start xcompmgr on the display
    };

    OwnXvfb() : OwnXvfb(Options()) {}
    explicit OwnXvfb(const Options &options)
    {
        if (!startServer(options.screen)) {
            return;
        }
        setenv("DISPLAY", m_display.c_str(), 1);
        // Qt must talk to this server, whatever the test harness chose.
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        if (options.compositor && !startCompositor()) {
            return;
        }
        m_ok = true;
    }

    ~OwnXvfb()
    {
        endChild(m_compositorPid);
        endChild(m_serverPid);
    }

    OwnXvfb(const OwnXvfb &) = delete;
    OwnXvfb &operator=(const OwnXvfb &) = delete;

    bool ok() const { return m_ok; }
    const std::string &error() const { return m_error; }
    const std::string &display() const { return m_display; }
    pid_t serverPid() const { return m_serverPid; }
    pid_t compositorPid() const { return m_compositorPid; }

private:
    // An X server starts in well under a second on a quiet machine; a fully
    // loaded one has been seen to need more than 15 s.
    static constexpr int kStartTimeoutMs = 60000;

    static pid_t spawn(const std::vector<std::string> &arguments)
    {
        // The pipe's write end stays open across exec: -displayfd names it.
        const pid_t pid = fork();
        if (pid != 0) {
            return pid;
        }
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        // A test killed on its time-out must not leave its server behind.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        std::vector<char *> argv;
        for (const std::string &argument : arguments) {
            argv.push_back(const_cast<char *>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }

    bool startServer(const std::string &screen)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) {
            m_error = "pipe failed";
            return false;
        }
        m_serverPid = spawn(
            {"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
        close(pipeFds[1]);
        if (m_serverPid < 0) {
            close(pipeFds[0]);
            m_error = "fork failed";
            return false;
        }
        // The server writes its display number once it accepts clients.
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
        while (number.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd poller{pipeFds[0], POLLIN, 0};
            if (left.count() <= 0 || poll(&poller, 1, int(left.count())) <= 0) {
                break;
            }
            char buffer[32];
            const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            number.append(buffer, size_t(got));
        }
        close(pipeFds[0]);
        if (number.find('\n') == std::string::npos) {
            m_error = "Xvfb did not start (is it installed?)";
            endChild(m_serverPid);
            return false;
        }
        m_display = ":" + number.substr(0, number.find('\n'));
        return true;
    }

    // xcompmgr says nothing when it is ready; it is once it owns the
    // compositing-manager selection of screen 0.
    bool startCompositor()
    {
        m_compositorPid = spawn({"xcompmgr"});
        if (m_compositorPid < 0) {
            m_error = "fork failed";
            return false;
        }
        xcb_connection_t *connection = xcb_connect(m_display.c_str(), nullptr);
        if (xcb_connection_has_error(connection)) {
            xcb_disconnect(connection);
            m_error = "cannot connect to the private display";
            return false;
        }
        const char name[] = "_NET_WM_CM_S0";
        xcb_intern_atom_reply_t *atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, strlen(name), name), nullptr);
        bool owned = false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartTimeoutMs);
        while (atom && !owned && std::chrono::steady_clock::now() < deadline) {
            xcb_get_selection_owner_reply_t *owner =
                xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
            owned = owner && owner->owner != XCB_NONE;
            free(owner);
            if (!owned) {
                if (waitpid(m_compositorPid, nullptr, WNOHANG) == m_compositorPid) {
                    m_compositorPid = -1;
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        free(atom);
        xcb_disconnect(connection);
        if (!owned) {
            m_error = "xcompmgr did not start (is it installed?)";
        }
        return owned;
    }

    static void endChild(pid_t &pid)
    {
        if (pid <= 0) {
            return;
        }
        kill(pid, SIGTERM);
        // A server that hangs on SIGTERM must not outlive the test either.
        for (int i = 0; i < 250; ++i) {
            if (waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        pid = -1;
    }

    pid_t m_serverPid = -1;
    pid_t m_compositorPid = -1;
    std::string m_display;
    std::string m_error;
    bool m_ok = false;
};

// QTEST_MAIN for a test that needs its own X server.
#define KD_OWN_XVFB_TEST_MAIN_OPTIONS(TestObject, xvfbOptions)                                                         \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        OwnXvfb xvfb{xvfbOptions};                                                                                     \
        if (!xvfb.ok()) {                                                                                              \
            fprintf(stderr, "FAIL: no private X server: %s\n", xvfb.error().c_str());                                  \
            return 1;                                                                                                  \
        }                                                                                                              \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        TestObject tc;                                                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }

#define KD_OWN_XVFB_TEST_MAIN(TestObject) KD_OWN_XVFB_TEST_MAIN_OPTIONS(TestObject, OwnXvfb::Options())
