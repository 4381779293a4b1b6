#include "csnapshotsaver.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QStandardPaths>

#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "views/base/alertdlg.h"
#include "views/sharing/coverlayrules.h"

namespace kd_app {
namespace views {

QString CSnapshotSaver::filePath(const QString &word, const QDateTime &time)
{
    helpers::CUserConfigUtils *config = helpers::CUserConfigUtils::getInstance();
    QString folder = config ? config->getScreenPicPath() : QString();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    }
    KD_LOG << "savePath:" << folder;
    return COverlayRules::snapshotFileName(folder, word, time);
}

bool CSnapshotSaver::saveAndTell(QWidget *parent, const QPixmap &picture, const QString &file)
{
    // A picture folder that was never made is made now; anything else that
    // stands in the way makes the save fail.
    const bool saved = !picture.isNull() && QDir().mkpath(QFileInfo(file).path()) && picture.save(file, "jpg");
    KD_LOG << "file:" << file << ", saved:" << saved;
    AlertDlg::question(parent, tr("Note"), saved ? tr("Save successfully") : tr("Save failed"), QMessageBox::Yes,
                       QMessageBox::NoButton);
    return saved;
}

} // namespace views
} // namespace kd_app
