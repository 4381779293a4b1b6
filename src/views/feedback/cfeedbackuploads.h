#pragma once

#include <deque>
#include <functional>
#include <map>

#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QString>

namespace kd_app {
namespace views {

class FeedBackDlg;

// Pairs the engine's upload results with the feedback sends that asked for
// them. The engine uploads one archive after another in the order asked and
// ends each with 100 or a negative value, but its event names no upload: the
// n-th final value belongs to the n-th upload started. Values in between are
// progress and go nowhere. Dialogs that are not sending never hear of any.
//
// Lives on the graphical thread; the feedback workers report to it from the
// pool, and it passes their reports on to the dialog of the send as long as
// that dialog exists.
class CFeedbackUploads : public QObject
{
    Q_OBJECT

public:
    static CFeedbackUploads *instance();

    // Graphical thread: a new send of the dialog; returns its ticket.
    quint64 addSend(FeedBackDlg *dialog);

    // Worker threads. One worker at a time: they share the temp folder, and
    // each one's clean-up must see the archives the others made.
    QMutex *workLock() { return &m_workLock; }
    // The archives that sends still need (to upload, or to offer for saving).
    QStringList archivesInUse() const;
    // The archive of the send is written (queued to the dialog); it stays
    // in use until the dialog has dealt with the send's result.
    void reportArchiveWritten(quint64 id, const QString &zipName, const QString &tempPath, const QString &archivePath);
    // The send stopped before the upload: no result will come.
    void reportStopped(quint64 id);
    // Calls upload (the engine) with the send queued for the next result, so
    // that the order of the queue is the order of the engine's uploads. An
    // upload the engine refuses at once raises no event: the send then ends
    // as a failed upload.
    void startUpload(quint64 id, const std::function<bool()> &upload);

    int pendingCount() const;

private:
    CFeedbackUploads() = default;

    void onUploadFeedback(int value);
    void finish(quint64 id, int value);
    void releaseArchive(quint64 id);
    void connectEngine();

    QMutex m_workLock;
    // Held by a worker from queueing its send until the engine took the upload.
    QMutex m_uploadOrder;
    mutable QMutex m_pendingLock; // guards m_pending and m_archives
    std::deque<quint64> m_pending;
    std::map<quint64, QString> m_archives;
    // Graphical thread only.
    std::map<quint64, QPointer<FeedBackDlg>> m_dialogs;
    quint64 m_nextId = 1;
};

} // namespace views
} // namespace kd_app
