#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include <QImage>
#include <QRect>

namespace kd {
namespace sdk {

// The engine's own capture of a shared screen: on a thread of its own it
// grabs the screen's rectangle about ten times a second and hands each
// picture to the engine, until it is stopped. With a compositor the grab
// shows what is composited, windows laid over the screen included.
class CScreenCapture
{
public:
    using FrameSink = std::function<void(const QImage &frame)>;

    static constexpr int kPauseMs = 100;

    explicit CScreenCapture(FrameSink sink);
    // Stops the thread and waits for it.
    ~CScreenCapture();
    CScreenCapture(const CScreenCapture &) = delete;
    CScreenCapture &operator=(const CScreenCapture &) = delete;

    // Captures this rectangle of the desktop from now on; starts the thread
    // when it does not run.
    void start(const QRect &area);
    // Ends the thread and waits for it; no frame reaches the sink after.
    void stop();
    bool isRunning() const;

private:
    void run();

    FrameSink m_sink;
    // Serialises start and stop, which callers on any thread may use.
    mutable std::mutex m_control;
    std::thread m_thread;
    // Guards what the loop reads.
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    QRect m_area;
};

} // namespace sdk
} // namespace kd
