#include <memory>

#include <QColor>
#include <QFileDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "filedialoganswerer.h"
#include "helpers/cuserconfigutils.h"
#include "kdsdkcontrol.h"
#include "screendpi.h"
#include "models/ckdsdkmanager.h"
#include "models/cloginmanager.h"
#include "views/base/cwaitingdlg.h"
#include "views/feedback/cfeedbackuploads.h"
#include "views/feedback/feedbackdlg.h"
#include "views/feedback/feedbackimgbutton.h"

using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CKDSdkManager;
using kd_app::views::CFeedbackUploads;
using kd_app::views::CWaitingDlg;
using kd_app::views::FeedBackDlg;

namespace {

template <typename T> T *child(QWidget *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

// A folder the program cannot write into, even for root: /proc takes no new files.
QString unwritableFolder(const QTemporaryDir &dir)
{
    const QString folder = dir.filePath("read-only");
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile probe(folder + "/probe");
    if (!probe.open(QIODevice::WriteOnly)) {
        return folder;
    }
    probe.remove();
    return QStringLiteral("/proc");
}

} // namespace

// The feedback dialog as a user meets it: the description limit, the
// picture strip and its files, the send with its waiting window, what each
// upload result does, the save offer after a failure, and sends of several
// dialogs at once.
class TestFeedbackDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void descriptionLimit_data();
    void descriptionLimit();
    void picturesAndTheirFiles();
    void aSeventhPictureIsNotAdded();
    void pictureChooserFollowsTheScale();
    void uploadEvents_data();
    void uploadEvents();
    void saveOffer_data();
    void saveOffer();
    void secondSendReusesTheWaitingWindow();
    void onlyTheSendingDialogHearsResults();
    void anUploadTheEngineRefusesFails();

private:
    FeedBackDlg *openDialog();
    QString picture(const QString &name, const QColor &color);
    void addPictures(FeedBackDlg *dialog, const QStringList &files);
    // Presses "Sure".
    void send(FeedBackDlg *dialog);
    CWaitingDlg *waitingOf(FeedBackDlg *dialog) { return dialog->findChild<CWaitingDlg *>(); }
    QString userFolder() const { return CUserConfigUtils::getUserConfigPath(); }
    void waitUntilNothingPending();

    QTemporaryDir m_dir;
    kd::sdk::IEngineControl *m_control = nullptr;
    QPointer<FeedBackDlg> m_dialog;
};

void TestFeedbackDlg::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("appdata", QFile::encodeName(m_dir.filePath("appdata")));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    kd_app::models::CLoginManager &login = kd_app::models::CLoginManager::getInstance();
    login.initKDSdkManagerInstance();
    login.initConnections();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    CUserConfigUtils::getInstance()->setScreenPicPath(m_dir.filePath("pictures"));
    QDir().mkpath(m_dir.filePath("pictures"));
}

void TestFeedbackDlg::init()
{
    m_dialog = openDialog();
}

void TestFeedbackDlg::cleanup()
{
    m_control->setOperationListener(nullptr);
    waitUntilNothingPending();
    // Pointers first: deleting a dialog deletes its waiting window, another
    // top-level widget of the list.
    QList<QPointer<FeedBackDlg>> dialogs;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<FeedBackDlg *>(window)) {
            dialogs << dialog;
        }
    }
    for (const QPointer<FeedBackDlg> &dialog : dialogs) {
        if (dialog) {
            dialog->hideWaitingDlg();
            delete dialog.data();
        }
    }
}

void TestFeedbackDlg::waitUntilNothingPending()
{
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QTRY_COMPARE(CFeedbackUploads::instance()->pendingCount(), 0);
}

FeedBackDlg *TestFeedbackDlg::openDialog()
{
    auto *dialog = new FeedBackDlg(nullptr);
    dialog->show();
    if (!QTest::qWaitForWindowExposed(dialog)) {
        qWarning("the dialog was not shown");
    }
    return dialog;
}

QString TestFeedbackDlg::picture(const QString &name, const QColor &color)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(color);
    const QString path = m_dir.filePath(name);
    image.save(path);
    return path;
}

void TestFeedbackDlg::addPictures(FeedBackDlg *dialog, const QStringList &files)
{
    CFileDialogAnswerer answerer(files);
    for (int i = 0; i < files.size(); ++i) {
        child<QPushButton>(dialog, "m_imgButton")->click();
    }
    QCOMPARE(answerer.asked(), files.size());
}

void TestFeedbackDlg::send(FeedBackDlg *dialog)
{
    child<QPushButton>(dialog, "m_uploadButton")->click();
    QVERIFY(dialog->isSending());
}

void TestFeedbackDlg::descriptionLimit_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("typed"); // one character is typed, more are pasted
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("cursorAfter");

    const QString full(200, 'a');
    QTest::newRow("the 201st character at the end") << full << 200 << "b" << full << 200;
    const QString head(100, 'h');
    const QString tail(90, 't');
    const QString paste = "0123456789ABCDEFGHIJKLMNOPQRST";
    QTest::newRow("thirty pasted into the middle of 190")
        << head + tail << 100 << paste << head + paste.left(10) + tail << 110;
    QTest::newRow("within the limit") << "abc" << 3 << "d"
                                      << "abcd" << 4;
}

void TestFeedbackDlg::descriptionLimit()
{
    QFETCH(QString, before);
    QFETCH(int, cursor);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(int, cursorAfter);
    auto *edit = child<QPlainTextEdit>(m_dialog, "m_textEdit");
    edit->setPlainText(before);
    QTextCursor position = edit->textCursor();
    position.setPosition(cursor);
    edit->setTextCursor(position);
    edit->setFocus();
    if (typed.size() == 1) {
        QTest::keyClicks(edit, typed);
    } else {
        edit->insertPlainText(typed);
    }
    QCOMPARE(edit->toPlainText(), after);
    QCOMPARE(edit->textCursor().position(), cursorAfter);
    QCOMPARE(child<QLabel>(m_dialog, "m_showContactsNum")->text(), QStringLiteral("%1/200").arg(after.size()));
}

void TestFeedbackDlg::picturesAndTheirFiles()
{
    addPictures(m_dialog,
                {picture("red.png", Qt::red), picture("green.png", Qt::green), picture("blue.bmp", Qt::blue)});
    QCOMPARE(child<QLabel>(m_dialog, "m_showImgNum")->text(), QString("3/6"));
    auto *second = child<FeedBackImgButton>(m_dialog, "imageButton_2");
    // The delete button shows only while the mouse is over the thumbnail.
    auto *remove = second->findChild<QPushButton *>("m_deleteBtn");
    QVERIFY(!remove->isVisible());
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(second, &enter);
    QVERIFY(remove->isVisible());
    remove->click();

    QCOMPARE(child<QLabel>(m_dialog, "m_showImgNum")->text(), QString("2/6"));
    QVERIFY(child<FeedBackImgButton>(m_dialog, "imageButton_1")->isVisible());
    QVERIFY(child<FeedBackImgButton>(m_dialog, "imageButton_2")->isVisible());
    QVERIFY(!child<FeedBackImgButton>(m_dialog, "imageButton_3")->isVisible());
    // The files follow the list: the third picture moved up, the last file went.
    const QImage first(userFolder() + "/IMG_0.jpg");
    const QImage third(userFolder() + "/IMG_1.jpg");
    QVERIFY(qRed(first.pixel(10, 10)) > 200 && qBlue(first.pixel(10, 10)) < 60);
    QVERIFY(qBlue(third.pixel(10, 10)) > 200 && qRed(third.pixel(10, 10)) < 60);
    QVERIFY(!QFileInfo::exists(userFolder() + "/IMG_2.jpg"));

    // A new dialog starts without the files of the last one.
    delete m_dialog;
    m_dialog = openDialog();
    QVERIFY(!QFileInfo::exists(userFolder() + "/IMG_0.jpg"));
}

void TestFeedbackDlg::aSeventhPictureIsNotAdded()
{
    QStringList six;
    for (int i = 0; i < 6; ++i) {
        six << picture(QStringLiteral("p%1.png").arg(i), QColor::fromHsv(i * 50, 200, 200));
    }
    addPictures(m_dialog, six);
    QCOMPARE(m_dialog->imageCount(), 6);
    // Nor is a file that is no picture, nor a cancelled choice.
    QFile notPicture(m_dir.filePath("notes.png"));
    QVERIFY(notPicture.open(QIODevice::WriteOnly));
    notPicture.write("not a picture");
    notPicture.close();
    addPictures(m_dialog, {picture("seventh.png", Qt::black), notPicture.fileName(), QString()});
    QCOMPARE(m_dialog->imageCount(), 6);
    QCOMPARE(child<QLabel>(m_dialog, "m_showImgNum")->text(), QString("6/6"));
    QVERIFY(!QFileInfo::exists(userFolder() + "/IMG_6.jpg"));
}

void TestFeedbackDlg::pictureChooserFollowsTheScale()
{
    // The size the chooser opens at on a screen of this DPI; it is cancelled.
    const auto chooserSize = [this](qreal dpi) {
        ScopedScreenDpi screen(dpi);
        QSize opened;
        QTimer look;
        connect(&look, &QTimer::timeout, this, [&opened] {
            if (auto *chooser = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                opened = chooser->size();
                chooser->reject();
            }
        });
        look.start(10);
        child<QPushButton>(m_dialog, "m_imgButton")->click();
        return opened;
    };
    const QSize one = chooserSize(96);
    const QSize two = chooserSize(192);
    // Twice the size, as far as the screen has room.
    const QSize room = QGuiApplication::primaryScreen()->availableSize();
    QVERIFY2(one.isValid() && two.width() >= qMin(one.width() * 2, room.width()) &&
                 two.height() >= qMin(one.height() * 2, room.height()),
             qPrintable(QString("%1x%2 at scale 1, %3x%4 at scale 2")
                            .arg(one.width())
                            .arg(one.height())
                            .arg(two.width())
                            .arg(two.height())));
    QCOMPARE(m_dialog->imageCount(), 0);
}

void TestFeedbackDlg::uploadEvents_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("note"); // empty: none
    QTest::newRow("progress") << 50 << QString();
    QTest::newRow("failure") << -1 << "Uploaded failed";
    QTest::newRow("success") << 100 << "Uploaded successfully";
}

void TestFeedbackDlg::uploadEvents()
{
    QFETCH(int, value);
    QFETCH(QString, note);
    addPictures(m_dialog, {picture("one.png", Qt::red)});
    // The send stops inside the engine's upload call, so the engine's own
    // answers wait and the values raised here are the first it reports.
    // Shared with the worker: it may still be inside them when this row ends.
    const auto entered = std::make_shared<QSemaphore>();
    const auto released = std::make_shared<QSemaphore>();
    m_control->setOperationListener([entered, released](const std::string &name) {
        if (name == "uploadFeedbackFiles") {
            entered->release();
            released->acquire();
        }
    });
    // Every note is closed without Ok: the dialog stays.
    CAlertAnswerer answerer(QMessageBox::NoButton, 5);
    child<QPushButton>(m_dialog, "m_uploadButton")->click();
    // Not tryAcquire: the macro evaluates its condition once more at the end.
    QTRY_VERIFY(entered->available() > 0);
    entered->acquire();
    QTRY_VERIFY(!m_dialog->zipName().isEmpty());
    const QString archive = userFolder() + m_dialog->zipName();
    QVERIFY(QFileInfo::exists(archive));
    QVERIFY(waitingOf(m_dialog)->isVisible());

    m_control->raise([value](kd::engine::IAVEventHandler &handler) { handler.onUploadFeedback(value); });
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    if (note.isEmpty()) {
        QTest::qWait(50);
        QCOMPARE(answerer.answered(), 0);
        QVERIFY(m_dialog->isSending());
        QVERIFY(waitingOf(m_dialog)->isVisible());
    } else {
        QTRY_COMPARE(answerer.texts(), QStringList{note});
        QVERIFY(!m_dialog->isSending());
        QVERIFY(!waitingOf(m_dialog)->isVisible());
        QVERIFY(m_dialog->isVisible());
        // Success cleans up even though the note was not answered with Ok.
        QCOMPARE(QFileInfo::exists(archive), value < 0);
        QCOMPARE(QFileInfo::exists(userFolder() + "/IMG_0.jpg"), value < 0);
    }
    released->release();
    m_control->setOperationListener(nullptr);
    waitUntilNothingPending();
}

void TestFeedbackDlg::saveOffer_data()
{
    QTest::addColumn<QString>("target"); // "<dir>" stands for the test's folder
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("archiveKept");

    QTest::newRow("saved") << "<dir>/pictures/mine.zip" << false << "Save successfully" << false;
    QTest::newRow("replacing a file the user chose")
        << "<dir>/pictures/old.zip" << true << "Save successfully" << false;
    QTest::newRow("into a folder that takes no file") << "<ro>/mine.zip" << false << "Save failed" << true;
    QTest::newRow("cancelled") << QString() << false << "Save failed" << false;
}

void TestFeedbackDlg::saveOffer()
{
    QFETCH(QString, target);
    QFETCH(bool, targetExists);
    QFETCH(QString, note);
    QFETCH(bool, archiveKept);
    target.replace("<dir>", m_dir.path());
    target.replace("<ro>", unwritableFolder(m_dir));
    if (targetExists) {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("an older file");
    }
    // Not signed in: the engine answers the upload with a failure.
    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    CFileDialogAnswerer chooser({target});
    child<QPushButton>(m_dialog, "m_uploadButton")->click();
    QTRY_COMPARE(answerer.answered(), 2);
    QCOMPARE(answerer.texts(), (QStringList{"Uploaded failed", note}));
    QCOMPARE(chooser.asked(), 1);
    // The offer starts in the picture folder, under the archive's name.
    QCOMPARE(QFileInfo(chooser.proposals().value(0)).path(), m_dir.filePath("pictures"));
    QVERIFY(chooser.proposals().value(0).endsWith(".zip"));
    const QString archive = userFolder() + QLatin1Char('/') + QFileInfo(chooser.proposals().value(0)).fileName();
    QCOMPARE(QFileInfo::exists(archive), archiveKept);
    if (note == "Save successfully") {
        QFile saved(target);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("PK"));
    }
    QCOMPARE(chooser.replaceQuestions(), targetExists ? 1 : 0);
    // Ok on the last note closes the dialog.
    QTRY_VERIFY(!m_dialog);
}

void TestFeedbackDlg::secondSendReusesTheWaitingWindow()
{
    CAlertAnswerer answerer(QMessageBox::NoButton, 2);
    send(m_dialog);
    QTRY_COMPARE(answerer.answered(), 1);
    const QPointer<CWaitingDlg> waiting = waitingOf(m_dialog);
    QVERIFY(waiting);
    QVERIFY(!waiting->isVisible());
    send(m_dialog);
    QCOMPARE(waitingOf(m_dialog), waiting.data());
    QCOMPARE(m_dialog->findChildren<CWaitingDlg *>().size(), 1);
    QTRY_COMPARE(answerer.answered(), 2);
}

void TestFeedbackDlg::onlyTheSendingDialogHearsResults()
{
    const QPointer<FeedBackDlg> idle = openDialog();
    CAlertAnswerer answerer(QMessageBox::NoButton, 3);
    // While sending, the dialog cannot be closed.
    child<QPushButton>(m_dialog, "m_uploadButton")->click();
    child<QPushButton>(m_dialog, "m_pCloseBtn")->click();
    QVERIFY(m_dialog && m_dialog->isVisible());
    QTRY_COMPARE(answerer.answered(), 1);
    QVERIFY(!m_dialog->isSending());
    QVERIFY(!idle->isSending());
    QVERIFY(!waitingOf(idle));
    // Results that no send waits for reach nobody.
    m_control->raise([](kd::engine::IAVEventHandler &handler) { handler.onUploadFeedback(-3); });
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QTest::qWait(50);
    QCOMPARE(answerer.answered(), 1);
    // Once the result is in, closing works.
    child<QPushButton>(m_dialog, "m_pCloseBtn")->click();
    QTRY_VERIFY(!m_dialog);
    delete idle;
}

void TestFeedbackDlg::anUploadTheEngineRefusesFails()
{
    m_control->failNext("uploadFeedbackFiles", 1);
    CAlertAnswerer answerer(QMessageBox::NoButton, 1);
    child<QPushButton>(m_dialog, "m_uploadButton")->click();
    QTRY_COMPARE(answerer.texts(), QStringList{"Uploaded failed"});
    QVERIFY(!m_dialog->isSending());
    QVERIFY(!waitingOf(m_dialog)->isVisible());
}

QTEST_MAIN(TestFeedbackDlg)
#include "tst_feedbackdlg.moc"
