#include "cfeedbackuploads.h"

#include <QCoreApplication>
#include <QMutexLocker>

#include "helpers/clogformat.h"
#include "models/ckdsdkmanager.h"
#include "views/feedback/feedbackdlg.h"

namespace kd_app {
namespace views {

namespace {

constexpr int kUploadFailed = -1;

bool isFinal(int value)
{
    return value < 0 || value == 100;
}

} // namespace

CFeedbackUploads *CFeedbackUploads::instance()
{
    // Made on the graphical thread by the first send; its queued calls from
    // the workers run there.
    static CFeedbackUploads *uploads = [] {
        auto *created = new CFeedbackUploads();
        QObject::connect(qApp, &QObject::destroyed, [] { delete uploads; });
        return created;
    }();
    return uploads;
}

quint64 CFeedbackUploads::addSend(FeedBackDlg *dialog)
{
    connectEngine();
    const quint64 id = m_nextId++;
    m_dialogs[id] = dialog;
    KD_LOG << "send:" << id;
    return id;
}

void CFeedbackUploads::connectEngine()
{
    models::CKDSdkManager *engine = models::CKDSdkManager::getInstance();
    if (engine) {
        connect(engine, &models::CKDSdkManager::eventUploadFeedback, this, &CFeedbackUploads::onUploadFeedback,
                Qt::UniqueConnection);
    }
}

QStringList CFeedbackUploads::archivesInUse() const
{
    QMutexLocker pending(&m_pendingLock);
    QStringList archives;
    for (const auto &archive : m_archives) {
        archives << archive.second;
    }
    return archives;
}

void CFeedbackUploads::releaseArchive(quint64 id)
{
    QMutexLocker pending(&m_pendingLock);
    m_archives.erase(id);
}

void CFeedbackUploads::reportArchiveWritten(quint64 id, const QString &zipName, const QString &tempPath,
                                            const QString &archivePath)
{
    {
        QMutexLocker pending(&m_pendingLock);
        m_archives[id] = archivePath;
    }
    QMetaObject::invokeMethod(
        this,
        [this, id, zipName, tempPath] {
            const auto found = m_dialogs.find(id);
            if (found != m_dialogs.end() && found->second) {
                found->second->slotArchiveWritten(zipName, tempPath);
            }
        },
        Qt::QueuedConnection);
}

void CFeedbackUploads::reportStopped(quint64 id)
{
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            releaseArchive(id);
            const auto found = m_dialogs.find(id);
            if (found == m_dialogs.end()) {
                return;
            }
            const QPointer<FeedBackDlg> dialog = found->second;
            m_dialogs.erase(found);
            if (dialog) {
                dialog->hideWaitingDlg();
            }
        },
        Qt::QueuedConnection);
}

void CFeedbackUploads::startUpload(quint64 id, const std::function<bool()> &upload)
{
    // Before the upload: its result must find the queue listening.
    connectEngine();
    QMutexLocker order(&m_uploadOrder);
    {
        QMutexLocker pending(&m_pendingLock);
        m_pending.push_back(id);
    }
    if (upload()) {
        return;
    }
    {
        QMutexLocker pending(&m_pendingLock);
        // Still the last one queued: the order lock kept every other send out.
        if (!m_pending.empty() && m_pending.back() == id) {
            m_pending.pop_back();
        }
    }
    KD_WARN << "The engine refused the upload of send" << id;
    QMetaObject::invokeMethod(
        this, [this, id] { finish(id, kUploadFailed); }, Qt::QueuedConnection);
}

int CFeedbackUploads::pendingCount() const
{
    QMutexLocker pending(&m_pendingLock);
    return int(m_pending.size());
}

void CFeedbackUploads::onUploadFeedback(int value)
{
    if (!isFinal(value)) {
        return;
    }
    quint64 id = 0;
    {
        QMutexLocker pending(&m_pendingLock);
        if (m_pending.empty()) {
            KD_LOG << "no send waits for the result:" << value;
            return;
        }
        id = m_pending.front();
        m_pending.pop_front();
    }
    finish(id, value);
}

void CFeedbackUploads::finish(quint64 id, int value)
{
    KD_LOG << "send:" << id << "result:" << value;
    const auto found = m_dialogs.find(id);
    if (found == m_dialogs.end()) {
        releaseArchive(id);
        return;
    }
    const QPointer<FeedBackDlg> dialog = found->second;
    m_dialogs.erase(found);
    if (dialog) {
        // Returns once the user has dealt with the result, save offer included.
        dialog->slotUploadFeedback(value);
    }
    if (dialog && value < 0) {
        // The archive of a failed send stays its dialog's while that is
        // open: a send started meanwhile must not take it for a left-over
        // (and, in the same second, reuse its name).
        connect(dialog, &QObject::destroyed, this, [this, id] { releaseArchive(id); });
        return;
    }
    releaseArchive(id);
}

} // namespace views
} // namespace kd_app
