#pragma once

#include <atomic>
#include <memory>

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include "app/cscreengrab.h"

namespace kd_app {
namespace models {

// Grabs the primary screen, or one window by its native id, about ten times
// a second and hands each frame to the engine as the local content source.
// The owners drive it from the graphical thread: setWhiteBoardAndWinId,
// start and stop may come at any time, also while the loop runs, and none
// of them is lost.
class ScreenThread : public QThread
{
    Q_OBJECT

public:
    explicit ScreenThread(QObject *parent = nullptr);
    // Stops the loop and waits for it: the engine must not get a frame from
    // an object that is gone.
    ~ScreenThread() override;

    void setWhiteBoardAndWinId(bool isWhiteBoard, unsigned winId);
    // Starts the loop, or keeps a loop that is stopping running.
    void start(QThread::Priority priority = QThread::InheritPriority);
    // Asks the loop to end and returns at once; a sleeping loop wakes up.
    void stop();

    // Stops every capture thread and waits for each: the engine wrapper is
    // released after this at exit.
    static void stopAllAndWait();

    static constexpr int kPauseMs = 100;
    // The pause after each frame; tests on a busy machine lengthen it so
    // that what they do between two frames surely falls inside one pause.
    void setPause(int milliseconds) { m_pauseMs = milliseconds; }

    std::atomic<bool> m_bIsStopped{false};
    std::atomic<bool> m_bIsWhiteBoard{false};
    std::atomic<quint32> m_winId{0};
    std::atomic<int> m_pauseMs{kPauseMs};

protected:
    void run() override;

private:
    void captureScreen();
    void warnOnce(const char *what);

    // Used by the capture thread only.
    CScreenGrab m_screenGrab;
    QMutex m_mutex;
    QWaitCondition m_wakeUp;
    // The loop runs and has not yet decided to end; guarded by m_mutex.
    bool m_bLoopActive = false;
    // One warning per run of failed grabs instead of one every pause.
    bool m_bWarned = false;
};

} // namespace models
} // namespace kd_app
