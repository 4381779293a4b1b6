#include "cscreencapture.h"

#include <chrono>

#include "app/cscreengrab.h"

namespace kd {
namespace sdk {

CScreenCapture::CScreenCapture(FrameSink sink) : m_sink(std::move(sink))
{
}

CScreenCapture::~CScreenCapture()
{
    stop();
}

void CScreenCapture::start(const QRect &area)
{
    std::lock_guard<std::mutex> control(m_control);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_area = area;
    }
    if (m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = false;
    }
    m_thread = std::thread([this] { run(); });
}

void CScreenCapture::stop()
{
    std::lock_guard<std::mutex> control(m_control);
    if (!m_thread.joinable()) {
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

bool CScreenCapture::isRunning() const
{
    std::lock_guard<std::mutex> control(m_control);
    return m_thread.joinable();
}

void CScreenCapture::run()
{
    // The grab keeps its connection and memory for the thread's life.
    kd_app::CScreenGrab grab;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        const QRect area = m_area;
        lock.unlock();
        // The picture may share memory with the grab: the sink gets a copy.
        const QImage frame = grab.grabArea(area).copy();
        if (!frame.isNull()) {
            m_sink(frame);
        }
        lock.lock();
        m_wake.wait_for(lock, std::chrono::milliseconds(kPauseMs), [this] { return m_stopping; });
    }
}

} // namespace sdk
} // namespace kd
