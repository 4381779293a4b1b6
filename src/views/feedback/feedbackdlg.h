#pragma once

#include <memory>

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

#include "views/base/cbasedlg.h"
#include "views/base/cdpiscaler.h"

namespace Ui {
class FeedBackDlg;
}

namespace kd_app {
namespace views {

class CWaitingDlg;

// What one send hands to the worker: a copy of its own, so that nothing the
// dialog changes meanwhile reaches the thread.
struct CFeedbackSend
{
    quint64 id = 0;
    QString userFolder; // the per-user folder, forward slashes, no trailing slash
    QString description;
    QString contact;
    QString feedbackAddress; // empty: the signed-in server takes it
    QDateTime time;          // names the archive
    // The dialog's own pictures, in its order: the files in the per-user
    // folder are shared by every open dialog, so they cannot say whose
    // pictures they are.
    QVector<QImage> pictures;
};

// The feedback dialog: a description of at most 200 characters, an optional
// contact, up to six pictures. Sending gathers logs, dumps and settings into
// an archive on a pool thread and hands it to the engine for upload; a
// failure offers to save the archive.
//
// The worker operations are static: they work on the folders and the copy
// they are given and never on a dialog, so a dialog that goes meanwhile
// takes nothing with it. They run and are tested without any window.
class FeedBackDlg : public CBaseDlg
{
    Q_OBJECT

public:
    explicit FeedBackDlg(QWidget *parent);
    ~FeedBackDlg() override;

    // Worker side (a pool thread); see the source for what each gathers.
    static void execUploadLog(const CFeedbackSend &send);
    // Archives named in keep are still needed by other sends and stay.
    static void removeRedundantFile(const QString &userFolder, const QStringList &keep = QStringList());
    // Prepares "<userFolder>/temp" and copies what goes out into it, the
    // pictures as "IMG_<n>.jpg"; false when the folder cannot be made.
    static bool backupNeededLogFiles(const QString &userFolder, QString *tempPath,
                                     const QVector<QImage> &pictures = QVector<QImage>());
    static bool collectLogFiles(const QString &folder, QStringList &list);
    // Packs every file directly in the folder into a new archive; false, and
    // no archive left, when any entry or the archive's close fails.
    static bool writeArchive(const QString &tempPath, const QString &archivePath);
    // "/appLog<MM-dd-hh-mm-ss>.zip": the archive's name relative to the per-user folder.
    static QString archiveName(const QDateTime &time);

    // After a successful upload: the picture files and the archive go.
    void removeZip();

    bool isSending() const { return m_bSending; }
    QString zipName() const { return m_qstrZipName; }
    int imageCount() const { return m_vecImages.size(); }

public slots:
    void slotTextEditTextChanged();
    void slotCloseWindow();
    void slotUploadFeedback(int value);
    void slotClickImgBtn();
    void slotUploadAction();
    void slotRemoveImgAction(int index);
    void hideWaitingDlg();
    // The worker of this dialog's send wrote its archive.
    void slotArchiveWritten(const QString &zipName, const QString &tempPath);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void onDpiChanged() override;

private:
    struct WaitingDlgDeleter
    {
        void operator()(CWaitingDlg *dialog) const;
    };

    void initUI();
    void refreshImages();
    void saveLog();
    QString userFolder() const;

    std::unique_ptr<Ui::FeedBackDlg> ui;
    std::unique_ptr<CWaitingDlg, WaitingDlgDeleter> m_pWaitingDlg;
    QString m_qstrZipName;
    QString m_qstrTempPath;
    QVector<QImage> m_vecImages;
    CDpiScaler m_dpiScaler;
    bool m_bSending = false;
};

} // namespace views
} // namespace kd_app
