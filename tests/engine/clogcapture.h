#pragma once

#include <mutex>

#include <QStringList>
#include <QtGlobal>

// Collects every Qt log line of the process (from any thread) while alive.
class CLogCapture
{
public:
    CLogCapture()
    {
        lines().clear();
        warnings().clear();
        s_previous = qInstallMessageHandler(&CLogCapture::handle);
    }
    ~CLogCapture() { qInstallMessageHandler(s_previous); }

    QStringList all() const
    {
        std::lock_guard<std::mutex> lock(mutex());
        return lines();
    }
    QStringList warningLines() const
    {
        std::lock_guard<std::mutex> lock(mutex());
        return warnings();
    }
    bool contains(const QString &text) const
    {
        for (const QString &line : all()) {
            if (line.contains(text)) {
                return true;
            }
        }
        return false;
    }
    void clear()
    {
        std::lock_guard<std::mutex> lock(mutex());
        lines().clear();
        warnings().clear();
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        std::lock_guard<std::mutex> lock(mutex());
        lines().append(message);
        if (type == QtWarningMsg) {
            warnings().append(message);
        }
    }
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }
    static QStringList &lines()
    {
        static QStringList l;
        return l;
    }
    static QStringList &warnings()
    {
        static QStringList w;
        return w;
    }

    static inline QtMessageHandler s_previous = nullptr;
};
