#include "ccrashsignalhandler.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QByteArray>
#include <QUuid>

namespace kd_app {
namespace breadpad_wrapper {

namespace {

constexpr int kFatalSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
constexpr size_t kPathMax = 4096;
constexpr size_t kIdMax = 64;

// Everything the handler touches is static storage filled before any crash.
char g_folder[kPathMax];
char g_id[kIdMax];
char g_path[kPathMax + kIdMax + 8];
CCrashSignalHandler::Callback g_callback = nullptr;
std::atomic<bool> g_handling{false};
struct sigaction g_previous[sizeof(kFatalSignals) / sizeof(kFatalSignals[0])];
stack_t g_previousStack;
char *g_altStack = nullptr;

void writeText(int fd, const char *text)
{
    size_t left = strlen(text);
    while (left > 0) {
        const ssize_t written = write(fd, text, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return;
        }
        text += written;
        left -= static_cast<size_t>(written);
    }
}

void writeNumber(int fd, unsigned long value, unsigned base)
{
    char digits[32];
    int n = 0;
    do {
        const unsigned digit = value % base;
        digits[n++] = static_cast<char>(digit < 10 ? '0' + digit : 'a' + digit - 10);
        value /= base;
    } while (value != 0 && n < 31);
    char text[36];
    int pos = 0;
    if (base == 16) {
        text[pos++] = '0';
        text[pos++] = 'x';
    }
    while (n > 0) {
        text[pos++] = digits[--n];
    }
    text[pos] = '\0';
    writeText(fd, text);
}

const char *signalName(int sig)
{
    switch (sig) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGABRT:
        return "SIGABRT";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    default:
        return "signal";
    }
}

void copyFile(int out, const char *path)
{
    const int in = open(path, O_RDONLY);
    if (in < 0) {
        return;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(in, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        if (write(out, buffer, static_cast<size_t>(got)) < 0) {
            break;
        }
    }
    close(in);
}

bool writeReport(int sig, const siginfo_t *info)
{
    const int fd = open(g_path, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    writeText(fd, "Crash report\nsignal: ");
    writeNumber(fd, static_cast<unsigned long>(sig), 10);
    writeText(fd, " (");
    writeText(fd, signalName(sig));
    writeText(fd, ")\ncode: ");
    writeNumber(fd, info ? static_cast<unsigned long>(info->si_code) : 0, 10);
    writeText(fd, "\naddress: ");
    writeNumber(fd, info ? reinterpret_cast<unsigned long>(info->si_addr) : 0, 16);
    writeText(fd, "\npid: ");
    writeNumber(fd, static_cast<unsigned long>(getpid()), 10);
    writeText(fd, "\n\nbacktrace:\n");
    void *frames[64];
    const int count = backtrace(frames, 64);
    backtrace_symbols_fd(frames, count, fd);
    writeText(fd, "\nmodules:\n");
    copyFile(fd, "/proc/self/maps");
    close(fd);
    return true;
}

void restorePrevious()
{
    for (size_t i = 0; i < sizeof(kFatalSignals) / sizeof(kFatalSignals[0]); ++i) {
        sigaction(kFatalSignals[i], &g_previous[i], nullptr);
    }
}

void onFatalSignal(int sig, siginfo_t *info, void *)
{
    if (g_handling.exchange(true)) {
        // A second thread crashed too: let it wait for the first report to end the process.
        pause();
        return;
    }
    const bool succeeded = writeReport(sig, info);
    if (g_callback) {
        g_callback(g_folder, g_id, succeeded);
    }
    // End the process as the signal would have without us.
    restorePrevious();
    signal(sig, SIG_DFL);
    raise(sig);
}

} // namespace

CCrashSignalHandler::CCrashSignalHandler(const QString &folder, Callback callback)
{
    const QByteArray folderBytes = folder.toLocal8Bit();
    const QByteArray id = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    if (folderBytes.size() >= static_cast<int>(kPathMax) || id.size() >= static_cast<int>(kIdMax)) {
        return;
    }
    memcpy(g_folder, folderBytes.constData(), static_cast<size_t>(folderBytes.size()) + 1);
    memcpy(g_id, id.constData(), static_cast<size_t>(id.size()) + 1);
    const QByteArray path = folderBytes + '/' + id + ".dmp";
    memcpy(g_path, path.constData(), static_cast<size_t>(path.size()) + 1);
    g_callback = callback;

    // The first backtrace() loads the unwinder; do it now, not while crashing.
    void *warmUp[2];
    backtrace(warmUp, 2);

    const size_t stackSize = 64 * 1024;
    g_altStack = new char[stackSize];
    stack_t stack{};
    stack.ss_sp = g_altStack;
    stack.ss_size = stackSize;
    sigaltstack(&stack, &g_previousStack);

    struct sigaction action
    {
    };
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < sizeof(kFatalSignals) / sizeof(kFatalSignals[0]); ++i) {
        sigaction(kFatalSignals[i], &action, &g_previous[i]);
    }
    m_bInstalled = true;
}

CCrashSignalHandler::~CCrashSignalHandler()
{
    if (!m_bInstalled) {
        return;
    }
    restorePrevious();
    sigaltstack(&g_previousStack, nullptr);
    g_callback = nullptr;
    // The alternate stack stays allocated: another thread may still be on it.
}

QString CCrashSignalHandler::nextDumpId() const
{
    return QString::fromLatin1(g_id);
}

} // namespace breadpad_wrapper
} // namespace kd_app
