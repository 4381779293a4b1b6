#pragma once

#include <csignal>

#include <sys/types.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A PulseAudio server of the test's own: its runtime folder is private, it
// starts with one null sink "t" (Qt lists the sink and its monitor source),
// and it is ended by its process id, never by name. Start it before anything
// in the process asks for sound devices: start() points this process at it.
class CPrivatePulse
{
public:
    ~CPrivatePulse() { stop(); }

    static bool available() { return !QStandardPaths::findExecutable("pulseaudio").isEmpty(); }

    bool start()
    {
        if (!m_dir.isValid()) {
            return false;
        }
        QProcess daemon;
        daemon.setProcessEnvironment(environment());
        daemon.start("pulseaudio",
                     {"-n", "--daemonize=yes", "--exit-idle-time=-1", "-L",
                      "module-native-protocol-unix auth-anonymous=1", "-L", "module-null-sink sink_name=t"});
        if (!daemon.waitForFinished(20000) || daemon.exitCode() != 0) {
            return false;
        }
        const QString pidFile = m_dir.filePath("pulse/pid");
        if (!QTest::qWaitFor([&pidFile] { return QFile::exists(pidFile); }, 10000)) {
            return false;
        }
        QFile file(pidFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return false;
        }
        m_pid = file.readAll().trimmed().toLongLong();
        if (m_pid <= 0) {
            return false;
        }
        // A busy machine may write the pid before the server takes clients;
        // a client that connects too early is never told the server came.
        if (!QTest::qWaitFor([this] { return pactl({"info"}); }, 20000)) {
            return false;
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_dir.path()));
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(m_dir.filePath("pulse/native")));
        return true;
    }

    // pactl against this server; true when it succeeded.
    bool pactl(const QStringList &arguments, QString *output = nullptr) const
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start("pactl", arguments);
        if (!tool.waitForFinished(10000) || tool.exitCode() != 0) {
            return false;
        }
        if (output) {
            *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
        }
        return true;
    }

    void stop()
    {
        if (m_pid <= 0) {
            return;
        }
        const pid_t pid = pid_t(m_pid);
        m_pid = 0;
        ::kill(pid, SIGTERM);
        QDeadlineTimer deadline(5000);
        while (::kill(pid, 0) == 0 && !deadline.hasExpired()) {
            QTest::qWait(20);
        }
        if (::kill(pid, 0) == 0) {
            ::kill(pid, SIGKILL);
        }
    }

private:
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_dir.path());
        env.insert("PULSE_SERVER", "unix:" + m_dir.filePath("pulse/native"));
        return env;
    }

    QTemporaryDir m_dir;
    qint64 m_pid = 0;
};
