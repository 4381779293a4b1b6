#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "profilefixture.h"
#include "views/base/cwaitingdlg.h"
#include "views/profile/cmyheadpicdlg.h"
#include "views/profile/cpictureeditwidget.h"

using namespace fixture;
using kd_app::views::CMyHeadpicDlg;

namespace {

QString writePicture(const QString &path, QColor colour)
{
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path) ? path : QString();
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The avatar dialog on the engine's account model: choosing, uploading and
// the ways an upload fails.
class TestMyHeadpicDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void uploadWithoutAPictureDoesNothing();
    void opensThroughTheFileDialog();
    void uploadReplacesTheAvatar();
    void failures_data();
    void failures();
    void failedCopyKeepsTheOldAvatar();

private:
    QString avatarPath() const { return CUserConfigUtils::getInstance()->getHeadPicPath(); }

    QTemporaryDir m_appData;
    QTemporaryDir m_pictures;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CMyHeadpicDlg> m_dialog;
};

void TestMyHeadpicDlg::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    profile::addModel(m_control);
    QVERIFY(!writePicture(m_pictures.filePath("red.png"), Qt::red).isEmpty());
}

void TestMyHeadpicDlg::init()
{
    QVERIFY(profile::signIn(m_control, profile::kUcmServer, "ann", "Ann2026!x"));
    m_control->clearOperations();
    m_dialog = std::make_unique<CMyHeadpicDlg>(nullptr);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
}

void TestMyHeadpicDlg::cleanup()
{
    m_dialog.reset();
    QDir(CMyHeadpicDlg::uploadFilePath()).removeRecursively();
    QFile::remove(CMyHeadpicDlg::uploadFilePath());
    resetClient(m_control);
}

void TestMyHeadpicDlg::uploadWithoutAPictureDoesNothing()
{
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(m_dialog->findChild<QPushButton *>("m_pBtnUpload"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QVERIFY(operationsNamed(m_control, "uploadUserImage").isEmpty());
    QVERIFY(!QFile::exists(CMyHeadpicDlg::uploadFilePath()));
    QCOMPARE(answerer.answered(), 0);
    QVERIFY(m_dialog->isVisible());
}

void TestMyHeadpicDlg::opensThroughTheFileDialog()
{
    const QString picture = m_pictures.filePath("red.png");
    QString caption;
    QStringList filters;
    profile::CModalProbe probe(m_dialog.get(), [&](QWidget *opened) {
        auto *files = qobject_cast<QFileDialog *>(opened);
        if (!files) {
            return;
        }
        caption = files->windowTitle();
        filters = files->nameFilters();
        files->selectFile(picture);
        static_cast<QDialog *>(files)->accept();
    });
    QTest::mouseClick(m_dialog->findChild<QPushButton *>("m_pBtnOpen"), Qt::LeftButton);
    QCOMPARE(probe.className(), QStringLiteral("QFileDialog"));
    QCOMPARE(caption, QStringLiteral("Open"));
    QCOMPARE(filters, (QStringList{"JPG(*.jpg)", "PNG(*.png)"}));
    auto *frame = m_dialog->findChild<CPictureEditWidget *>("widget");
    QVERIFY(frame->hasPicture());
    QCOMPARE(frame->pictureSize(), QSize(120, 80));
}

void TestMyHeadpicDlg::uploadReplacesTheAvatar()
{
    QVERIFY(writeFile(avatarPath(), "old avatar"));
    auto *frame = m_dialog->findChild<CPictureEditWidget *>("widget");
    frame->setImage(m_pictures.filePath("red.png"));
    QSignalSpy redrawn(&CLoginManager::getInstance(), &CLoginManager::sigAvatarDownloadedOk);
    QSignalSpy accepted(m_dialog.get(), &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    QTest::mouseClick(m_dialog->findChild<QPushButton *>("m_pBtnUpload"), Qt::LeftButton);
    QTRY_COMPARE(accepted.size(), 1);
    QCOMPARE(operationsNamed(m_control, "uploadUserImage").size(), 1);
    QCOMPARE(answerer.texts(), QStringList{"Upload picture succeeded"});
    QCOMPARE(redrawn.size(), 1);
    QVERIFY(!QFile::exists(CMyHeadpicDlg::uploadFilePath()));
    // The avatar is what the frame showed: the picture centred on white.
    const QImage avatar(avatarPath());
    QCOMPARE(avatar.size(), QSize(200, 200));
    QVERIFY(avatar.pixelColor(100, 100).red() > 200 && avatar.pixelColor(100, 100).green() < 60);
    QVERIFY(avatar.pixelColor(100, 10).green() > 200);
    QVERIFY(!m_dialog->waitingDlg() || !m_dialog->waitingDlg()->isVisible());
}

void TestMyHeadpicDlg::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("uploadCalls");

    // The temporary file cannot be written: nothing is sent.
    QTest::newRow("folder not writable") << "blocked" << 0;
    // The engine refuses the call: its temporary file goes too.
    QTest::newRow("engine refuses") << "failNext" << 1;
    // The engine reports that the upload failed (the server's refusal
    // comes this way, see the end-to-end test).
    QTest::newRow("error event") << "error" << 0;
}

void TestMyHeadpicDlg::failures()
{
    QFETCH(QString, fault);
    QFETCH(int, uploadCalls);
    QVERIFY(writeFile(avatarPath(), "old avatar"));
    auto *frame = m_dialog->findChild<CPictureEditWidget *>("widget");
    frame->setImage(m_pictures.filePath("red.png"));
    QSignalSpy accepted(m_dialog.get(), &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    if (fault == "blocked") {
        // A folder where the file should go: no one can open it for writing.
        QVERIFY(QDir().mkpath(CMyHeadpicDlg::uploadFilePath()));
    } else if (fault == "failNext") {
        m_control->failNext("uploadUserImage", 3);
    }
    if (fault == "error") {
        m_dialog->showWaitingDlg();
        kd::engine::KDError other;
        other.action = "getUserInfo";
        m_control->injectError(other);
        kd::engine::KDError error;
        error.action = "uploadUserImage";
        error.code = 1020;
        m_control->injectError(error);
    } else {
        QTest::mouseClick(m_dialog->findChild<QPushButton *>("m_pBtnUpload"), Qt::LeftButton);
    }
    QTRY_COMPARE(answerer.answered(), 1);
    settle(m_control);
    QCOMPARE(answerer.texts(), QStringList{"Upload picture failed."});
    QCOMPARE(answerer.titles(), QStringList{"Prompt"});
    QCOMPARE(operationsNamed(m_control, "uploadUserImage").size(), uploadCalls);
    if (fault == "failNext") {
        QVERIFY(!QFile::exists(CMyHeadpicDlg::uploadFilePath()));
    }
    QVERIFY(accepted.isEmpty());
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_dialog->waitingDlg() || !m_dialog->waitingDlg()->isVisible());
    QCOMPARE(contentOf(avatarPath()), QByteArray("old avatar"));
}

void TestMyHeadpicDlg::failedCopyKeepsTheOldAvatar()
{
    QVERIFY(writeFile(avatarPath(), "old avatar"));
    QSignalSpy redrawn(&CLoginManager::getInstance(), &CLoginManager::sigAvatarDownloadedOk);
    QSignalSpy accepted(m_dialog.get(), &QDialog::accepted);
    CAlertAnswerer answerer(QMessageBox::Ok);
    m_dialog->showWaitingDlg();
    // The engine names a file that is gone by the time the dialog copies it.
    m_dialog->slot_UploadUserImageComplete(QFile::encodeName(m_pictures.filePath("gone.jpg")).toStdString());
    QCoreApplication::processEvents();
    QCOMPARE(contentOf(avatarPath()), QByteArray("old avatar"));
    QCOMPARE(answerer.answered(), 0);
    QVERIFY(redrawn.isEmpty());
    QVERIFY(accepted.isEmpty());
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!m_dialog->waitingDlg()->isVisible());
}

QTEST_MAIN(TestMyHeadpicDlg)
#include "tst_myheadpicdlg.moc"
