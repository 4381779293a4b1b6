#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class QPixmap;
class QWidget;

namespace kd_app {
namespace views {

// Saves a snapshot of the sharing overlay or the whiteboard window as a
// JPEG in the user's picture folder and tells the user how it went.
class CSnapshotSaver
{
    Q_DECLARE_TR_FUNCTIONS(kd_app::views::CSnapshotSaver)

public:
    CSnapshotSaver() = delete;

    // folder/<word>_yyyy-MM-dd_hh-mm-ss.zzz.jpg, the folder being the
    // configured one, else the download folder.
    static QString filePath(const QString &word, const QDateTime &time);
    // Writes the picture (a folder that was never made is made) and shows
    // "Save successfully" or "Save failed" in a box over the parent, which
    // blocks until the user closes it. Returns whether it was saved.
    static bool saveAndTell(QWidget *parent, const QPixmap &picture, const QString &file);
};

} // namespace views
} // namespace kd_app
