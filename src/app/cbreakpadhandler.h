#pragma once

#include <memory>

#include <QMutex>
#include <QObject>
#include <QString>

namespace kd_app {
namespace breadpad_wrapper {

class CCrashSignalHandler;

// Leaves a crash report ("<GUID>.dmp") in the dump folder when the process
// crashes, so that the feedback dialog can collect it later.
class CBreakpadHandler : public QObject
{
    Q_OBJECT

public:
    static CBreakpadHandler *getInstance();

    void setDumpPath(const QString &path);
    QString dumpPath() const;
    bool isInstalled() const;
    // The name the next report will get, without ".dmp".
    QString nextDumpId() const;

    static bool dumpCallback(const QString &folder, const QString &id, bool succeeded);

signals:
    void onCrash(bool is_success, QString dump_dir, QString dump_file_name);

private:
    CBreakpadHandler();
    ~CBreakpadHandler() override;

    struct Private
    {
        std::unique_ptr<CCrashSignalHandler> handler;
        QString dumpPath;
    };
    std::unique_ptr<Private> d;

    static CBreakpadHandler *s_pInstance;
    static QMutex s_mutex;
};

} // namespace breadpad_wrapper
} // namespace kd_app
