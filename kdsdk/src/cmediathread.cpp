#include "cmediathread.h"

#include <QObject>

namespace kd {
namespace sdk {

CMediaThread::CMediaThread()
{
    m_thread.setObjectName(QStringLiteral("kdsdk media"));
    m_context = new QObject();
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

CMediaThread::~CMediaThread()
{
    // The objects living there are deleted there: a deletion asked for
    // before the loop ends is carried out when the thread finishes.
    m_context->deleteLater();
    m_context = nullptr;
    m_thread.quit();
    m_thread.wait();
}

bool CMediaThread::isCurrent() const
{
    return QThread::currentThread() == &m_thread;
}

void CMediaThread::run(const std::function<void()> &work)
{
    if (isCurrent() || !m_context) {
        work();
        return;
    }
    QMetaObject::invokeMethod(m_context, work, Qt::BlockingQueuedConnection);
}

void CMediaThread::post(std::function<void()> work)
{
    if (!m_context) {
        return;
    }
    QMetaObject::invokeMethod(m_context, std::move(work), Qt::QueuedConnection);
}

} // namespace sdk
} // namespace kd
