#include "feedbackdlg.h"

#include <cerrno>
#include <exception>

#include <KZip>

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextCursor>
#include <QThread>
#include <QtConcurrent>

#include "helpers/cappconfigutils.h"
#include "helpers/cgeneralutils.h"
#include "helpers/clogformat.h"
#include "helpers/cuserconfigutils.h"
#include "models/ckdsdkmanager.h"
#include "ui_feedbackdlg.h"
#include "views/base/alertdlg.h"
#include "views/base/cwaitingdlg.h"
#include "views/feedback/cfeedbackuploads.h"
#include "views/base/cfiledialogs.h"

namespace kd_app {
namespace views {

namespace {

constexpr int kMaxDescriptionLength = 200;
constexpr int kMaxImages = 6;
constexpr int kImageQuality = 50;
constexpr int kKeptDumps = 5;
constexpr int kTitleHeight = 30;
// The grey of the window's other hints and counters.
constexpr QRgb kPlaceholderColor = 0x919191;
constexpr qint64 kCopyChunk = 1 << 20;
constexpr unsigned long kNameWaitMs = 200;

const char kTempFolder[] = "/temp";
const char kEngineRcFile[] = "/parvelarc";
const char kUserSettingsFile[] = "/Brivana/Config/config.ini";
// Files gathered by a part of their name, letter case ignored.
const char *const kGatheredNames[] = {"app.log", "app-conflict.log", "config.ini", "parvelarc", "privoxy"};
// The engine's logs: a name holding one of these and ending exactly in "log".
const char *const kEngineLogNames[] = {"kdsdk", "qnsdk"};
// Settings keys whose values stay out of the archive: the enciphered sign-in
// password (its key is fixed and known), the SIP password in clear and the
// last meeting password.
const char *const kSecretKeys[] = {"Password", "AuthenticationPassword", "JoinConfPassword"};

QString endingOf(const QString &name)
{
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

bool isDumpName(const QString &name)
{
    return endingOf(name) == QLatin1String("dmp");
}

bool isGatheredName(const QString &name)
{
    for (const char *part : kGatheredNames) {
        if (name.contains(QLatin1String(part), Qt::CaseInsensitive)) {
            return true;
        }
    }
    if (endingOf(name) != QLatin1String("log")) {
        return false;
    }
    for (const char *part : kEngineLogNames) {
        if (name.contains(QLatin1String(part), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool isSettingsName(const QString &name)
{
    return name.contains(QLatin1String("config.ini"), Qt::CaseInsensitive);
}

bool isRedundantName(const QString &name)
{
    const QString ending = endingOf(name);
    return (name.contains(QLatin1String("Parvela"), Qt::CaseInsensitive) && ending == QLatin1String("log")) ||
           name.contains(QLatin1String("ParvelaZNPApp.log"), Qt::CaseInsensitive) || ending == QLatin1String("zip") ||
           name == QLatin1String("CEF.log");
}

QString pictureFile(const QString &folder, int index)
{
    return folder + QStringLiteral("/IMG_") + QString::number(index) + QStringLiteral(".jpg");
}

// A dump goes out under its name followed by its birth time, so that dumps
// of the same name from several folders keep apart.
QString dumpCopyName(const QFileInfo &dump)
{
    const QDateTime born = dump.birthTime();
    const QString time = born.isValid() ? born.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss")) : QString();
    return dump.fileName() + time + QStringLiteral(".dmp");
}

QString keyOfLine(const QByteArray &line)
{
    const int equals = line.indexOf('=');
    return equals < 0 ? QString() : QString::fromUtf8(line.left(equals)).trimmed();
}

bool isSecretKey(const QString &key)
{
    for (const char *secret : kSecretKeys) {
        if (key.compare(QLatin1String(secret), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

// A settings file line by line, each secret's value emptied. Lines are never
// joined or split (values that hold line ends are written escaped), so a
// damaged file is masked as well as a sound one.
QByteArray maskedSettings(const QByteArray &content)
{
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray &line : lines) {
        if (!isSecretKey(keyOfLine(line))) {
            continue;
        }
        const bool carriageReturn = line.endsWith('\r');
        line = line.left(line.indexOf('=') + 1) + (carriageReturn ? QByteArray("\r") : QByteArray());
    }
    return lines.join('\n');
}

// Like QFile::copy, never over an existing file; the user's own file stays as it is.
bool copyMaskedSettings(const QString &from, const QString &to)
{
    QFile source(from);
    if (QFileInfo::exists(to) || !source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    const QByteArray masked = maskedSettings(source.readAll());
    return target.write(masked) == masked.size() && target.flush();
}

// One entry, read in pieces so that large logs never sit in memory whole. A
// file that grows meanwhile (a log still written) goes out as it was when opened.
bool addArchiveEntry(KZip &zip, const QString &name, QFile &file)
{
    const qint64 size = file.size();
    if (!zip.prepareWriting(name, QString(), QString(), size)) {
        return false;
    }
    qint64 written = 0;
    while (written < size) {
        const QByteArray piece = file.read(qMin(kCopyChunk, size - written));
        if (piece.isEmpty()) {
            break;
        }
        if (!zip.writeData(piece.constData(), piece.size())) {
            return false;
        }
        written += piece.size();
    }
    if (file.error() != QFileDevice::NoError) {
        return false;
    }
    return zip.finishWriting(written);
}

// Replaces the target only once the whole copy is written, so a failed copy
// leaves whatever stood there.
bool copyReplacing(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    while (!source.atEnd()) {
        const QByteArray piece = source.read(kCopyChunk);
        if (piece.isEmpty() || target.write(piece) != piece.size()) {
            target.cancelWriting();
            return false;
        }
    }
    return source.error() == QFileDevice::NoError && target.commit();
}

} // namespace

void FeedBackDlg::WaitingDlgDeleter::operator()(CWaitingDlg *dialog) const
{
    // Detached first: deleting a child of a dialog being destroyed would
    // leave the dialog's child list pointing at it.
    dialog->setParent(nullptr);
    delete dialog;
}

FeedBackDlg::FeedBackDlg(QWidget *parent) : CBaseDlg(parent), ui(std::make_unique<Ui::FeedBackDlg>())
{
    ui->setupUi(this);
    initUI();
}

FeedBackDlg::~FeedBackDlg()
{
    KD_LOG;
    m_pWaitingDlg.reset();
    ui.reset();
    KD_LOG << "done";
}

void FeedBackDlg::initUI()
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::FramelessWindowHint);
    refreshImages();
    ui->m_textEdit->setPlaceholderText(tr("Please fill in the problem description of more than 10 words, so that we "
                                          "can help you solve the problem more precisely."));
    ui->m_contactsEdit->setPlaceholderText(
        tr("Fill in your mobile phone number or email address, so that we can contact you."));
    const QList<FeedBackImgButton *> thumbnails = {ui->imageButton_1, ui->imageButton_2, ui->imageButton_3,
                                                   ui->imageButton_4, ui->imageButton_5, ui->imageButton_6};
    for (int i = 0; i < thumbnails.size(); ++i) {
        thumbnails.at(i)->setIndex(i);
        connect(thumbnails.at(i), &FeedBackImgButton::sigeleteTag, this, &FeedBackDlg::slotRemoveImgAction);
    }
    connect(ui->m_textEdit, &QPlainTextEdit::textChanged, this, &FeedBackDlg::slotTextEditTextChanged);
    connect(ui->m_pCloseBtn, &QPushButton::clicked, this, &FeedBackDlg::slotCloseWindow);
    connect(ui->m_uploadButton, &QPushButton::clicked, this, &FeedBackDlg::slotUploadAction);
    connect(ui->m_imgButton, &QPushButton::clicked, this, &FeedBackDlg::slotClickImgBtn);
}

QString FeedBackDlg::userFolder() const
{
    return helpers::CUserConfigUtils::getUserConfigPath();
}

// ---- editing -------------------------------------------------------------

void FeedBackDlg::slotTextEditTextChanged()
{
    QString text = ui->m_textEdit->toPlainText();
    const int length = text.length();
    ui->m_showContactsNum->setText(QStringLiteral("%1/%2").arg(length).arg(kMaxDescriptionLength));
    if (length <= kMaxDescriptionLength) {
        return;
    }
    // What was just typed or pasted ends at the cursor: its newest part goes.
    const int excess = length - kMaxDescriptionLength;
    const int cursorPosition = ui->m_textEdit->textCursor().position();
    const int from = qBound(0, cursorPosition - excess, kMaxDescriptionLength);
    text.remove(from, excess);
    ui->m_textEdit->setPlainText(text);
    QTextCursor cursor = ui->m_textEdit->textCursor();
    cursor.setPosition(from);
    ui->m_textEdit->setTextCursor(cursor);
}

void FeedBackDlg::slotClickImgBtn()
{
    const QString file =
        CFileDialogs::openFileName(this, QStringLiteral("Please choose an image file"), QString(),
                                   QStringLiteral("Image Files(*.jpg *.png *.bmp *.pgm *.pbm);;All(*.*)"));
    KD_LOG << "file:" << file;
    if (file.isEmpty()) {
        return;
    }
    QImage image;
    if (!image.load(file) || m_vecImages.size() >= kMaxImages) {
        return;
    }
    m_vecImages.append(image);
    refreshImages();
}

void FeedBackDlg::slotRemoveImgAction(int index)
{
    KD_LOG << "index:" << index;
    if (index < 0 || index >= m_vecImages.size()) {
        return;
    }
    m_vecImages.remove(index);
    refreshImages();
}

void FeedBackDlg::refreshImages()
{
    const int count = m_vecImages.size();
    ui->m_showImgNum->setText(QStringLiteral("%1/%2").arg(count).arg(kMaxImages));
    const QString folder = userFolder();
    for (int i = 0; i < kMaxImages; ++i) {
        if (QFileInfo::exists(pictureFile(folder, i))) {
            QFile::remove(pictureFile(folder, i));
        }
    }
    for (int i = 0; i < count; ++i) {
        m_vecImages.at(i).save(pictureFile(folder, i), "JPG", kImageQuality);
    }
    const QList<FeedBackImgButton *> thumbnails = {ui->imageButton_1, ui->imageButton_2, ui->imageButton_3,
                                                   ui->imageButton_4, ui->imageButton_5, ui->imageButton_6};
    for (int i = 0; i < thumbnails.size(); ++i) {
        if (i < count) {
            thumbnails.at(i)->setImage(m_vecImages.at(i));
        }
        thumbnails.at(i)->setVisible(i < count);
    }
}

// ---- sending -------------------------------------------------------------

void FeedBackDlg::slotUploadAction()
{
    if (m_bSending) {
        return;
    }
    if (!m_pWaitingDlg) {
        m_pWaitingDlg.reset(new CWaitingDlg(nullptr));
        m_pWaitingDlg->setParent(this, Qt::SplashScreen);
    }
    m_pWaitingDlg->show();
    m_pWaitingDlg->move(pos());
    m_pWaitingDlg->setFixedSize(size());
    KD_LOG << "show and position waiting...";

    CFeedbackSend send;
    send.id = CFeedbackUploads::instance()->addSend(this);
    send.userFolder = userFolder();
    send.description = ui->m_textEdit->toPlainText();
    send.contact = ui->m_contactsEdit->text();
    send.feedbackAddress = helpers::CAppConfigUtils::instance().getFeedbackAddress();
    send.pictures = m_vecImages;
    m_bSending = true;
    QtConcurrent::run([send] { FeedBackDlg::execUploadLog(send); });
}

void FeedBackDlg::slotArchiveWritten(const QString &zipName, const QString &tempPath)
{
    KD_LOG << "zip:" << zipName;
    m_qstrZipName = zipName;
    m_qstrTempPath = tempPath;
}

void FeedBackDlg::slotUploadFeedback(int value)
{
    KD_LOG << "value:" << value << "sending:" << m_bSending;
    if (!m_bSending || (value >= 0 && value != 100)) {
        return;
    }
    m_bSending = false;
    if (value < 0) {
        if (AlertDlg::question(this, tr("Note"), tr("Uploaded failed"), QMessageBox::Ok, QMessageBox::NoButton) ==
            QMessageBox::Ok) {
            saveLog();
        }
    } else {
        if (AlertDlg::question(this, tr("Note"), tr("Uploaded successfully"), QMessageBox::Ok, QMessageBox::NoButton) ==
            QMessageBox::Ok) {
            close();
        }
        removeZip();
    }
    hideWaitingDlg();
}

void FeedBackDlg::hideWaitingDlg()
{
    KD_LOG;
    m_bSending = false;
    if (m_pWaitingDlg) {
        m_pWaitingDlg->hide();
    }
}

void FeedBackDlg::saveLog()
{
    const QString archive = userFolder() + m_qstrZipName;
    QString folder = helpers::CUserConfigUtils::getInstance()
                         ? helpers::CUserConfigUtils::getInstance()->getScreenPicPath()
                         : QString();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    }
    const QString target =
        CFileDialogs::saveFileName(this, tr("Save Log"), folder + m_qstrZipName, QStringLiteral("(*.zip)"));
    KD_LOG << "target:" << target;
    bool saved = false;
    if (target.isEmpty()) {
        QFile::remove(archive);
    } else if (QFileInfo(target).canonicalFilePath() == QFileInfo(archive).canonicalFilePath()) {
        // Saved onto itself: it is where the user wants it already.
        saved = true;
    } else {
        saved = copyReplacing(archive, target);
        // A failed copy keeps the archive: it may be the only one.
        if (saved) {
            QFile::remove(archive);
        }
    }
    if (AlertDlg::question(this, tr("Note"), saved ? tr("Save successfully") : tr("Save failed"), QMessageBox::Ok,
                           QMessageBox::NoButton) == QMessageBox::Ok) {
        close();
    }
}

void FeedBackDlg::removeZip()
{
    const QString folder = userFolder();
    for (int i = 0; i < kMaxImages; ++i) {
        if (QFileInfo::exists(pictureFile(folder, i))) {
            QFile::remove(pictureFile(folder, i));
        }
    }
    if (!m_qstrZipName.isEmpty() && QFileInfo::exists(folder + m_qstrZipName)) {
        QFile::remove(folder + m_qstrZipName);
    }
}

// ---- window --------------------------------------------------------------

void FeedBackDlg::slotCloseWindow()
{
    KD_LOG;
    close();
}

void FeedBackDlg::closeEvent(QCloseEvent *event)
{
    // The send's worker and the engine's answer still need this dialog.
    if (m_bSending) {
        KD_LOG << "sending, stays open";
        event->ignore();
        return;
    }
    CBaseDlg::closeEvent(event);
}

void FeedBackDlg::showEvent(QShowEvent *event)
{
    m_dpiScaler.init(width(), height(), this);
    CBaseDlg::showEvent(event);
}

void FeedBackDlg::onDpiChanged()
{
    KD_LOG << "feedbackdlg OnDpiChanged";
    setStyleSheet(QString());
    m_nTitleHeight = int(kTitleHeight * m_fStretchFactor);
    setStyleSheetByScale(QStringLiteral(":/resources/qss/feed-back-dlg"));
    // Style sheets cannot colour a placeholder: without this the hint reads
    // like text the user typed.
    QPalette hint = ui->m_textEdit->palette();
    hint.setColor(QPalette::PlaceholderText, QColor(kPlaceholderColor));
    ui->m_textEdit->setPalette(hint);
    m_dpiScaler.scaleWindow(m_fStretchFactor, this);
}

// ---- the worker ------------------------------------------------------------

QString FeedBackDlg::archiveName(const QDateTime &time)
{
    return QStringLiteral("/appLog%1.zip").arg(time.toString(QStringLiteral("MM-dd-hh-mm-ss")));
}

void FeedBackDlg::execUploadLog(const CFeedbackSend &send)
{
    CFeedbackUploads *uploads = CFeedbackUploads::instance();
    QMutexLocker work(uploads->workLock());
    removeRedundantFile(send.userFolder, uploads->archivesInUse());
    QString tempPath;
    const bool prepared = backupNeededLogFiles(send.userFolder, &tempPath, send.pictures);
    QString zipName = archiveName(send.time.isValid() ? send.time : QDateTime::currentDateTime());
    // A send of the same second as another waits for a name of its own: an
    // archive still on disk belongs to a send in progress or to one the user
    // may still want (the clean-up above removed the rest).
    while (!send.time.isValid() && (uploads->archivesInUse().contains(send.userFolder + zipName) ||
                                    QFileInfo::exists(send.userFolder + zipName))) {
        QThread::msleep(kNameWaitMs);
        zipName = archiveName(QDateTime::currentDateTime());
    }
    const QString archivePath = send.userFolder + zipName;
    KD_LOG << "Zip file path:" << archivePath;
    if (!prepared || !QFileInfo(tempPath).isDir()) {
        KD_LOG << "Directory is not existed";
        uploads->reportStopped(send.id);
        return;
    }
    if (!writeArchive(tempPath, archivePath)) {
        KD_WARN << "The feedback archive could not be written, nothing is sent:" << archivePath;
        uploads->reportStopped(send.id);
        return;
    }
    uploads->reportArchiveWritten(send.id, zipName, tempPath, archivePath);
    uploads->startUpload(send.id, [&send, &archivePath] {
        models::CKDSdkManager *engine = models::CKDSdkManager::getInstance();
        if (!engine) {
            return false;
        }
        if (!send.feedbackAddress.isEmpty()) {
            return engine->uploadFeedbackFilesWithAddress(archivePath, send.contact, send.description,
                                                          send.feedbackAddress);
        }
        return engine->uploadFeedbackfile(archivePath, send.contact, send.description);
    });
}

void FeedBackDlg::removeRedundantFile(const QString &userFolder, const QStringList &keep)
{
    const QDir folder(userFolder);
    if (!folder.exists()) {
        return;
    }
    for (const QFileInfo &entry : folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        if (entry.isDir() || !isRedundantName(entry.fileName()) ||
            keep.contains(userFolder + QLatin1Char('/') + entry.fileName())) {
            continue;
        }
        KD_LOG << "remove file:" << entry.filePath();
        QFile::remove(entry.filePath());
    }
    // The newest dumps stay; folders take no place among them, however
    // recently they were touched ("temp" is touched by every send).
    const QFileInfoList dumps =
        folder.entryInfoList({QStringLiteral("*.dmp")}, QDir::Files | QDir::NoDotAndDotDot, QDir::Time);
    for (int position = 0; position < dumps.size(); ++position) {
        const QFileInfo &dump = dumps.at(position);
        KD_LOG << "birth time:" << dump.birthTime();
        if (position >= kKeptDumps) {
            KD_LOG << "remove file:" << dump.filePath();
            QFile::remove(dump.filePath());
        }
    }
}

bool FeedBackDlg::backupNeededLogFiles(const QString &userFolder, QString *tempPath, const QVector<QImage> &pictures)
{
    const QString temp = userFolder + QLatin1String(kTempFolder);
    *tempPath = temp;
    if (QDir().mkdir(temp)) {
        KD_LOG << "create temp dir";
    } else {
        KD_LOG << "already have folder temp";
        const QDir folder(temp);
        for (const QFileInfo &entry :
             folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
            if (!QFile::remove(entry.filePath())) {
                QDir(entry.filePath()).removeRecursively();
            }
        }
        KD_LOG << "Cleared folder temp";
    }
    if (!QFileInfo(temp).isDir()) {
        return false;
    }
    QStringList gathered;
    collectLogFiles(userFolder, gathered);
    for (const QString &path : gathered) {
        const QFileInfo file(path);
        if (!file.exists()) {
            KD_WARN << "File not existed:" << path;
            continue;
        }
        const QString name = file.fileName();
        if (isDumpName(name)) {
            QFile::copy(path, temp + QLatin1Char('/') + dumpCopyName(file));
        } else if (isSettingsName(name)) {
            copyMaskedSettings(path, temp + QLatin1Char('/') + name);
        } else if (isGatheredName(name)) {
            QFile::copy(path, temp + QLatin1Char('/') + name);
        }
    }
    // The pictures the user attached go out with the logs.
    for (int i = 0; i < pictures.size() && i < kMaxImages; ++i) {
        pictures.at(i).save(pictureFile(temp, i), "JPG", kImageQuality);
    }
    return true;
}

bool FeedBackDlg::collectLogFiles(const QString &folder, QStringList &list)
{
    const QDir dir(folder);
    if (!dir.exists()) {
        return false;
    }
    // Links are not followed: a link to a folder above would walk for ever.
    for (const QFileInfo &entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted)) {
        const QString path = folder + QLatin1Char('/') + entry.fileName();
        if (entry.isDir()) {
            collectLogFiles(path, list);
        } else if (!endingOf(entry.fileName()).isEmpty()) {
            list << path;
        }
    }
    // Neither has an ending of its own kind that the walk would take.
    if (QFileInfo::exists(folder + QLatin1String(kEngineRcFile))) {
        list << folder + QLatin1String(kEngineRcFile);
    }
    if (QFileInfo::exists(folder + QLatin1String(kUserSettingsFile))) {
        list << folder + QLatin1String(kUserSettingsFile);
    }
    return true;
}

bool FeedBackDlg::writeArchive(const QString &tempPath, const QString &archivePath)
{
    KZip zip(archivePath);
    if (!zip.open(QIODevice::WriteOnly)) {
        KD_WARN << "Failed to open the archive:" << archivePath << zip.errorString();
        return false;
    }
    zip.setCompression(KZip::DeflateCompression);
    KD_LOG << "begin to add files to compress";
    bool written = true;
    const QDir folder(tempPath);
    for (const QFileInfo &entry :
         folder.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted)) {
        const QString path = tempPath + QLatin1Char('/') + entry.fileName();
        if (!helpers::CGeneralUtils::isFile(path)) {
            KD_LOG << "File is not existed:" << path;
            continue;
        }
        KD_LOG << "add file:" << path;
        try {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                KD_WARN << "failed to open file:" << path;
                continue;
            }
            if (!addArchiveEntry(zip, entry.fileName(), file)) {
                KD_WARN << "failed to add file:" << path << zip.errorString();
                written = false;
            }
        } catch (const std::exception &exception) {
            KD_WARN << "std::exception for zip file:" << exception.what();
            written = false;
        } catch (...) {
            KD_WARN << "exception for zip file, errno:" << errno;
            written = false;
        }
        if (!written) {
            break;
        }
    }
    KD_LOG << "zipping...";
    if (!zip.close()) {
        KD_WARN << "Failed to finish the archive:" << archivePath << zip.errorString();
        written = false;
    }
    if (!written) {
        QFile::remove(archivePath);
    }
    return written;
}

} // namespace views
} // namespace kd_app
