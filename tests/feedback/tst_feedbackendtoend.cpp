#include <KZip>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "filedialoganswerer.h"
#include "helpers/cuserconfigutils.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "views/feedback/cfeedbackuploads.h"
#include "views/feedback/feedbackdlg.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using confserver::CFeedbackRecord;
using kd_app::helpers::CUserConfigUtils;
using kd_app::models::CKDSdkManager;
using kd_app::views::CFeedbackUploads;
using kd_app::views::FeedBackDlg;

namespace {

const QByteArray kSeed = R"({
    "organisation": {"companyShortName": "Harbour", "appServerType": "UCM"},
    "users": [{"id": 1, "name": "alice", "password": "Alice2026!", "displayName": "Alice Archer"}]
})";

void put(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The archive's entries and their contents, read back the way the receiving side would.
QMap<QString, QByteArray> entriesOf(const QByteArray &archive)
{
    QMap<QString, QByteArray> entries;
    QByteArray bytes = archive;
    QBuffer buffer(&bytes);
    KZip zip(&buffer);
    if (!zip.open(QIODevice::ReadOnly)) {
        return entries;
    }
    for (const QString &name : zip.directory()->entries()) {
        const auto *file = dynamic_cast<const KArchiveFile *>(zip.directory()->entry(name));
        entries.insert(name, file ? file->data() : QByteArray("<folder>"));
    }
    return entries;
}

} // namespace

// Feedback from the dialog to the local conference server over the engine:
// what arrives, what a failing server leads to, and two dialogs at once.
class TestFeedbackEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void feedbackArrivesWithoutSecrets();
    void aFailingServerLeadsToTheSaveOffer();
    void twoDialogsSendAtOnce();
    void eachDialogSendsItsOwnPictures();

private:
    FeedBackDlg *openDialog(const QString &description, const QString &contact);
    QString user(const QString &relative) const { return CUserConfigUtils::getUserConfigPath() + "/" + relative; }

    QTemporaryDir m_dir;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_server;
    CKDSdkManager *m_manager = nullptr;
};

void TestFeedbackEndToEnd::initTestCase()
{
    QVERIFY(m_store.loadSeed(kSeed));
    m_server = std::make_unique<CConfServer>(m_store);
    QVERIFY(m_server->start());
    qputenv("appdata", QFile::encodeName(m_dir.filePath("appdata")));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    CKDSdkManager::initInstance();
    m_manager = CKDSdkManager::getInstance();
    kd::sdk::currentEngineControl()->setEventLatency(0);
    QVERIFY(m_manager->enableSecure(false));
    QSignalSpy logins(m_manager, &CKDSdkManager::eventLoginSucceed);
    QVERIFY(m_manager->avlogin("127.0.0.1", unsigned(m_server->port()), "alice",
                               m_manager->encryptPassword(1, "Alice2026!").c_str()));
    QVERIFY(logins.wait(kdtest::kStateWaitMs) || !logins.isEmpty());
}

void TestFeedbackEndToEnd::cleanupTestCase()
{
    CKDSdkManager::releaseInstance();
    m_server->stop();
}

void TestFeedbackEndToEnd::init()
{
    put(user("app.log"), "the program's log");
    put(user("kdsdk.log"), "the engine's log");
    put(user("Brivana/Config/config.ini"), "[Config]\r\nUser=alice\r\nPassword=c2VjcmV0\r\n");
}

void TestFeedbackEndToEnd::cleanup()
{
    m_server->clearFaults();
    QTRY_COMPARE(CFeedbackUploads::instance()->pendingCount(), 0);
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

FeedBackDlg *TestFeedbackEndToEnd::openDialog(const QString &description, const QString &contact)
{
    auto *dialog = new FeedBackDlg(nullptr);
    dialog->show();
    dialog->findChild<QPlainTextEdit *>("m_textEdit")->setPlainText(description);
    dialog->findChild<QLineEdit *>("m_contactsEdit")->setText(contact);
    return dialog;
}

void TestFeedbackEndToEnd::feedbackArrivesWithoutSecrets()
{
    const QPointer<FeedBackDlg> dialog = openDialog("No sound after the second call", "alice@example.org");
    QImage image(32, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.save(m_dir.filePath("shot.png"));
    {
        CFileDialogAnswerer chooser({m_dir.filePath("shot.png")});
        dialog->findChild<QPushButton *>("m_imgButton")->click();
    }
    const size_t before = m_store.feedbacks().size();
    CAlertAnswerer answerer(QMessageBox::Ok);
    dialog->findChild<QPushButton *>("m_uploadButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts(), QStringList{"Uploaded successfully"}, kdtest::kStateWaitMs);
    QTRY_VERIFY(!dialog);

    const std::vector<CFeedbackRecord> records = m_store.feedbacks();
    QCOMPARE(records.size(), before + 1);
    const CFeedbackRecord &received = records.back();
    QCOMPARE(received.user, QString("alice"));
    QCOMPARE(received.contact, QString("alice@example.org"));
    QCOMPARE(received.description, QString("No sound after the second call"));
    const QMap<QString, QByteArray> entries = entriesOf(received.archive);
    QCOMPARE(entries.keys(), (QStringList{"IMG_0.jpg", "app.log", "config.ini", "kdsdk.log"}));
    QCOMPARE(entries.value("app.log"), QByteArray("the program's log"));
    QCOMPARE(entries.value("config.ini"), QByteArray("[Config]\r\nUser=alice\r\nPassword=\r\n"));
    QVERIFY(!QImage::fromData(entries.value("IMG_0.jpg")).isNull());
    // Success leaves neither the archive nor the pictures behind.
    QCOMPARE(QDir(user("")).entryList({"*.zip", "IMG_*"}, QDir::Files), QStringList());
}

void TestFeedbackEndToEnd::aFailingServerLeadsToTheSaveOffer()
{
    m_server->addFault(CFault{"/api/engine/v1/feedback", CFault::Kind::Http500, 0, -1});
    const QPointer<FeedBackDlg> dialog = openDialog("Crashes on start", "");
    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    const QString target = m_dir.filePath("saved.zip");
    CFileDialogAnswerer chooser({target});
    dialog->findChild<QPushButton *>("m_uploadButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 2, kdtest::kStateWaitMs);
    QCOMPARE(answerer.texts(), (QStringList{"Uploaded failed", "Save successfully"}));
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(entriesOf(saved.readAll()).contains("app.log"));
}

void TestFeedbackEndToEnd::twoDialogsSendAtOnce()
{
    // The first upload the server sees fails, the second arrives.
    m_server->addFault(CFault{"/api/engine/v1/feedback", CFault::Kind::Http500, 0, 1});
    const QPointer<FeedBackDlg> first = openDialog("first", "first");
    const QPointer<FeedBackDlg> second = openDialog("second", "second");
    const size_t before = m_store.feedbacks().size();
    CAlertAnswerer answerer(QMessageBox::NoButton, 2);
    first->findChild<QPushButton *>("m_uploadButton")->click();
    second->findChild<QPushButton *>("m_uploadButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 2, kdtest::kStateWaitMs);
    QCOMPARE(m_store.feedbacks().size(), before + 1);
    const QString arrived = m_store.feedbacks().back().contact;
    const FeedBackDlg *succeeded = arrived == "first" ? first.data() : second.data();
    const FeedBackDlg *failed = arrived == "first" ? second.data() : first.data();
    QVERIFY(succeeded && failed && succeeded != failed);
    QVERIFY(!succeeded->isSending() && !failed->isSending());
    // Each dialog heard its own result: the failed one still has its archive
    // to offer, the other one's is gone.
    QVERIFY(QFileInfo::exists(user(failed->zipName())));
    QVERIFY(!QFileInfo::exists(user(succeeded->zipName())));
    QVERIFY(failed->zipName() != succeeded->zipName());
    const QStringList texts = answerer.texts();
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()), (QSet<QString>{"Uploaded failed", "Uploaded successfully"}));
}

void TestFeedbackEndToEnd::eachDialogSendsItsOwnPictures()
{
    const auto choose = [this](FeedBackDlg *dialog, const QList<QColor> &colours) {
        QStringList files;
        for (const QColor &colour : colours) {
            QImage image(32, 32, QImage::Format_RGB32);
            image.fill(colour);
            files << m_dir.filePath(colour.name() + ".png");
            image.save(files.last());
        }
        CFileDialogAnswerer chooser(files);
        for (int i = 0; i < files.size(); ++i) {
            dialog->findChild<QPushButton *>("m_imgButton")->click();
        }
    };
    const auto colourOf = [](const QByteArray &jpeg) { return QImage::fromData(jpeg).pixelColor(16, 16); };
    const QPointer<FeedBackDlg> first = openDialog("first", "first");
    choose(first, {Qt::red, Qt::green});
    const QPointer<FeedBackDlg> second = openDialog("second", "second");
    choose(second, {Qt::blue});

    CAlertAnswerer answerer(QMessageBox::Ok, 2);
    first->findChild<QPushButton *>("m_uploadButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 1, kdtest::kStateWaitMs);
    QMap<QString, QByteArray> entries = entriesOf(m_store.feedbacks().back().archive);
    QCOMPARE(m_store.feedbacks().back().contact, QString("first"));
    QCOMPARE(entries.keys().filter("IMG_"), (QStringList{"IMG_0.jpg", "IMG_1.jpg"}));
    QVERIFY(colourOf(entries.value("IMG_0.jpg")).red() > 200);
    QVERIFY(colourOf(entries.value("IMG_1.jpg")).green() > 200);

    // The first send's success must not take the second dialog's pictures.
    second->findChild<QPushButton *>("m_uploadButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.answered(), 2, kdtest::kStateWaitMs);
    entries = entriesOf(m_store.feedbacks().back().archive);
    QCOMPARE(m_store.feedbacks().back().contact, QString("second"));
    QCOMPARE(entries.keys().filter("IMG_"), QStringList{"IMG_0.jpg"});
    QVERIFY(colourOf(entries.value("IMG_0.jpg")).blue() > 200);
}

QTEST_MAIN(TestFeedbackEndToEnd)
#include "tst_feedbackendtoend.moc"
