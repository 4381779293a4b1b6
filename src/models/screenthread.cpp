#include "screenthread.h"

#include <QGuiApplication>
#include <QImage>
#include <QMutexLocker>
#include <QSet>

#include "engine/kdtypes.h"
#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"

namespace kd_app {
namespace models {

namespace {

// Every live capture thread, so that the exit can stop them all before the
// engine goes away.
QMutex &registryMutex()
{
    static QMutex mutex;
    return mutex;
}

QSet<ScreenThread *> &registry()
{
    static QSet<ScreenThread *> threads;
    return threads;
}

} // namespace

ScreenThread::ScreenThread(QObject *parent) : QThread(parent)
{
    KD_LOG;
    QMutexLocker lock(&registryMutex());
    registry().insert(this);
}

ScreenThread::~ScreenThread()
{
    {
        QMutexLocker lock(&registryMutex());
        registry().remove(this);
    }
    stop();
    wait();
}

void ScreenThread::stopAllAndWait()
{
    QMutexLocker lock(&registryMutex());
    for (ScreenThread *thread : registry()) {
        thread->stop();
    }
    for (ScreenThread *thread : registry()) {
        thread->wait();
    }
}

void ScreenThread::setWhiteBoardAndWinId(bool isWhiteBoard, unsigned winId)
{
    KD_LOG << "isWhiteBoard:" << isWhiteBoard << ", winid:" << winId;
    m_bIsWhiteBoard = isWhiteBoard;
    m_winId = winId;
}

void ScreenThread::start(QThread::Priority priority)
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_bLoopActive) {
            // A stop that the loop has not acted on yet is taken back, so
            // the loop goes on instead of ending after its pause.
            if (m_bIsStopped) {
                KD_LOG << "restarted while stopping";
                m_bIsStopped = false;
            }
            return;
        }
        if (m_bIsStopped) {
            KD_WARN << "Invalid m_bIsStopped, set its value to false";
            m_bIsStopped = false;
        }
        m_bLoopActive = true;
        m_bWarned = false;
    }
    // A loop that has decided to end may still be returning from run.
    wait();
    QThread::start(priority);
}

void ScreenThread::stop()
{
    QMutexLocker lock(&m_mutex);
    KD_LOG << "m_bIsStopped:" << m_bIsStopped.load();
    m_bIsStopped = true;
    m_wakeUp.wakeAll();
    KD_LOG << "done, m_bIsStopped:" << m_bIsStopped.load();
}

void ScreenThread::run()
{
    KD_LOG << "m_bIsStopped:" << m_bIsStopped.load();
    QMutexLocker lock(&m_mutex);
    while (!m_bIsStopped) {
        lock.unlock();
        captureScreen();
        lock.relock();
        if (!m_bIsStopped) {
            m_wakeUp.wait(&m_mutex, m_pauseMs.load());
        }
    }
    m_bIsStopped = false;
    m_bLoopActive = false;
    KD_LOG << "done, m_bIsStopped:" << m_bIsStopped.load();
}

void ScreenThread::warnOnce(const char *what)
{
    if (!m_bWarned) {
        KD_WARN << what;
        m_bWarned = true;
    }
}

void ScreenThread::captureScreen()
{
    if (!QGuiApplication::primaryScreen()) {
        warnOnce("No primary screen, no frame");
        return;
    }
    const QImage image = m_screenGrab.grab(m_bIsWhiteBoard ? m_winId.load() : 0u);
    if (image.isNull()) {
        warnOnce("Empty grab, no frame");
        return;
    }
    CKDSdkManager *engine = CKDSdkManager::getInstance();
    if (!engine) {
        warnOnce("No engine, no frame");
        return;
    }
    m_bWarned = false;
    kd::engine::KDContentSourceInfo info;
    info.type = 3;
    info.captureSize.width = image.width();
    info.captureSize.height = image.height();
    // The engine only reads the pixels during the call.
    info.frameData = const_cast<uchar *>(image.constBits());
    info.frameBytesPerLine = int(image.bytesPerLine());
    info.framePixelFormat = int(image.format());
    engine->setLocalContentSource(info);
}

} // namespace models
} // namespace kd_app
