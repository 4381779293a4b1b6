#include <KZip>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "views/feedback/cfeedbackuploads.h"
#include "views/feedback/feedbackdlg.h"

using kd_app::models::CKDSdkManager;
using kd_app::views::CFeedbackSend;
using kd_app::views::CFeedbackUploads;
using kd_app::views::FeedBackDlg;

namespace {

// Writes a file (and its folders), optionally with a modification time.
void put(const QString &path, const QByteArray &content = "x", const QDateTime &modified = QDateTime())
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(content);
    // Written out first: a write still buffered would touch the time again on close.
    QVERIFY(file.flush());
    if (modified.isValid()) {
        QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
    }
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList namesIn(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QString expectedDumpName(const QString &path)
{
    const QFileInfo dump(path);
    const QDateTime born = dump.birthTime();
    return dump.fileName() + (born.isValid() ? born.toString("yyyy-MM-dd-hh-mm-ss") : QString()) + ".dmp";
}

const QDateTime kBase(QDate(2024, 3, 5), QTime(14, 7, 9));

} // namespace

// The working side of the feedback dialog on real folders: what the clean-up
// deletes, what goes into the temp folder and so into the archive, what the
// archive holds when read back, and which upload the engine is asked for.
class TestLogCollection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanUp_data();
    void cleanUp();
    void archivesOfOtherSendsStay();
    void dumpRetention_data();
    void dumpRetention();
    void gathering_data();
    void gathering();
    void dumpNames_data();
    void dumpNames();
    void aLinkBackIsNotWalked();
    void secondSendEmptiesTemp();
    void settingsGoOutWithoutSecrets_data();
    void settingsGoOutWithoutSecrets();
    void archiveHoldsTheTempFolder();
    void archiveThatCannotBeWrittenIsNotLeft();
    void upload_data();
    void upload();
    void missingTempFolderStopsTheSend();

private:
    QString user(const QString &relative = QString()) const
    {
        return relative.isEmpty() ? m_user->path() : m_user->filePath(relative);
    }

    std::unique_ptr<QTemporaryDir> m_user;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestLogCollection::initTestCase()
{
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
}

void TestLogCollection::cleanupTestCase()
{
    CKDSdkManager::releaseInstance();
}

void TestLogCollection::init()
{
    m_user = std::make_unique<QTemporaryDir>();
    QVERIFY(m_user->isValid());
}

void TestLogCollection::cleanUp_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("kept");

    QTest::newRow("old client log at the top") << "ParvelaZNPApp.log.2" << false;
    QTest::newRow("old client log in a sub-folder") << "logs/ParvelaZNPApp.log.2" << true;
    QTest::newRow("a log named after the program") << "parvela-ui.log" << false;
    QTest::newRow("... but not ending exactly in log") << "Parvela.LOG" << true;
    QTest::newRow("an earlier archive") << "appLog03-07-09-05-03.zip" << false;
    QTest::newRow("an archive in a sub-folder") << "keep/old.zip" << true;
    QTest::newRow("the browser log") << "CEF.log" << false;
    QTest::newRow("a name only like it") << "cef.log" << true;
    QTest::newRow("the program's own log") << "app.log" << true;
}

void TestLogCollection::cleanUp()
{
    QFETCH(QString, path);
    QFETCH(bool, kept);
    put(user(path));
    QDir().mkpath(user("folder.zip"));
    FeedBackDlg::removeRedundantFile(user());
    QCOMPARE(QFileInfo::exists(user(path)), kept);
    QVERIFY2(QFileInfo(user("folder.zip")).isDir(), "folders are never deleted");
}

void TestLogCollection::archivesOfOtherSendsStay()
{
    put(user("appLog01-01-00-00-01.zip"), "PK sending");
    put(user("appLog01-01-00-00-02.zip"), "PK done");
    FeedBackDlg::removeRedundantFile(user(), {user("appLog01-01-00-00-01.zip")});
    QCOMPARE(namesIn(user()), QStringList{"appLog01-01-00-00-01.zip"});
}

void TestLogCollection::dumpRetention_data()
{
    QTest::addColumn<int>("dumps");
    QTest::addColumn<bool>("newerFolder");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("seven dumps: the two oldest go")
        << 7 << false << QStringList{"d2.dmp", "d3.dmp", "d4.dmp", "d5.dmp", "d6.dmp"};
    // A folder touched later than every dump ("temp" is, by each send) takes
    // no place among the five kept.
    QTest::newRow("five dumps and a newer folder")
        << 5 << true << QStringList{"d0.dmp", "d1.dmp", "d2.dmp", "d3.dmp", "d4.dmp"};
    QTest::newRow("three dumps") << 3 << false << QStringList{"d0.dmp", "d1.dmp", "d2.dmp"};
}

void TestLogCollection::dumpRetention()
{
    QFETCH(int, dumps);
    QFETCH(bool, newerFolder);
    QFETCH(QStringList, left);
    for (int i = 0; i < dumps; ++i) {
        put(user(QStringLiteral("d%1.dmp").arg(i)), "MDMP", kBase.addSecs(60 * i));
    }
    if (newerFolder) {
        put(user("temp/inside"), "x");
    }
    FeedBackDlg::removeRedundantFile(user());
    QStringList found = QDir(user()).entryList({"*.dmp"}, QDir::Files);
    found.sort();
    QCOMPARE(found, left);
}

void TestLogCollection::gathering_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("entry"); // empty: not sent

    QTest::newRow("app log, any case, at the top") << "App.LOG.1"
                                                   << "App.LOG.1";
    QTest::newRow("app log in a sub-folder") << "logs/old/App.LOG.1"
                                             << "App.LOG.1";
    QTest::newRow("second instance's log") << "app-conflict.log"
                                           << "app-conflict.log";
    QTest::newRow("engine log ending LOG") << "kdsdk_1.LOG"
                                           << "";
    QTest::newRow("engine log ending log") << "KDSDK_1.log"
                                           << "KDSDK_1.log";
    QTest::newRow("other engine's log") << "qnsdk.log"
                                        << "qnsdk.log";
    QTest::newRow("engine settings") << "parvelarc"
                                     << "parvelarc";
    QTest::newRow("proxy settings") << "privoxy.conf"
                                    << "privoxy.conf";
    QTest::newRow("user settings") << "Brivana/Config/config.ini"
                                   << "config.ini";
    // Every open dialog writes its pictures there: the send's own list goes.
    QTest::newRow("a picture file of the folder") << "IMG_0.jpg"
                                                  << "";
    QTest::newRow("a picture of the engine's folder") << "pictures/IMG_0.jpg"
                                                      << "";
    QTest::newRow("something else") << "notes.txt"
                                    << "";
}

void TestLogCollection::gathering()
{
    QFETCH(QString, path);
    QFETCH(QString, entry);
    put(user(path), "content of " + path.toUtf8());
    QString temp;
    QVERIFY(FeedBackDlg::backupNeededLogFiles(user(), &temp));
    QCOMPARE(temp, user() + "/temp");
    if (entry.isEmpty()) {
        QCOMPARE(namesIn(temp), QStringList());
        return;
    }
    QCOMPARE(namesIn(temp), QStringList{entry});
    if (!entry.endsWith(".ini")) {
        QCOMPARE(contentOf(temp + "/" + entry), "content of " + path.toUtf8());
    }
}

void TestLogCollection::dumpNames_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("at the top") << "a.dmp";
    QTest::newRow("in a sub-folder") << "crashes/b.dmp";
}

void TestLogCollection::dumpNames()
{
    QFETCH(QString, path);
    put(user(path), "MDMP");
    // A dump ending in capitals is no dump to this rule, nor any other file sent.
    put(user("C.DMP"), "MDMP");
    QString temp;
    QVERIFY(FeedBackDlg::backupNeededLogFiles(user(), &temp));
    // The whole name stays, ending included, before the birth time (empty
    // where the file system keeps none: "a.dmp.dmp").
    QCOMPARE(namesIn(temp), QStringList{expectedDumpName(user(path))});
}

void TestLogCollection::aLinkBackIsNotWalked()
{
    put(user("logs/app.log"), "a");
    QVERIFY(QFile::link(user(), user("logs/back")));
    QStringList gathered;
    QVERIFY(FeedBackDlg::collectLogFiles(user(), gathered));
    QCOMPARE(gathered, QStringList{user("logs/app.log")});
    QVERIFY(!FeedBackDlg::collectLogFiles(user("missing"), gathered));
}

void TestLogCollection::secondSendEmptiesTemp()
{
    put(user("app.log"), "now");
    put(user("temp/app.log.9"), "from the first send");
    put(user("temp/old/deeper/kdsdk.log"), "from the first send");
    QString temp;
    QVERIFY(FeedBackDlg::backupNeededLogFiles(user(), &temp));
    QCOMPARE(namesIn(temp), QStringList{"app.log"});
    QCOMPARE(contentOf(temp + "/app.log"), QByteArray("now"));
}

void TestLogCollection::settingsGoOutWithoutSecrets_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("plain values")
        << "Brivana/Config/config.ini"
        << QByteArray("[Config]\r\nUser=demo\r\nPassword=c2VjcmV0\r\nJoinConfPassword=4711\r\n\r\n"
                      "[SipSetting]\r\nAuthenticationUserName=sip\r\nAuthenticationPassword=Sip!pass\r\n")
        << QByteArray("[Config]\r\nUser=demo\r\nPassword=\r\nJoinConfPassword=\r\n\r\n"
                      "[SipSetting]\r\nAuthenticationUserName=sip\r\nAuthenticationPassword=\r\n");
    QTest::newRow("escaped values")
        << "Brivana/Config/config.ini"
        << QByteArray("; escaped values: \\\\ \\r \\n \\0\r\n[Config]\r\nPassword=a\\nb\r\nUser=x\\ry\r\n")
        << QByteArray("; escaped values: \\\\ \\r \\n \\0\r\n[Config]\r\nPassword=\r\nUser=x\\ry\r\n");
    QTest::newRow("the copy of a damaged file")
        << "Brivana/Config/config.ini.bak"
        << QByteArray("[Config]\nPassword=abc\n[SipSetting\nAuthenticationPassword=def\n")
        << QByteArray("[Config]\nPassword=\n[SipSetting\nAuthenticationPassword=\n");
}

void TestLogCollection::settingsGoOutWithoutSecrets()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, sent);
    put(user(path), content);
    QString temp;
    QVERIFY(FeedBackDlg::backupNeededLogFiles(user(), &temp));
    QCOMPARE(contentOf(temp + "/" + QFileInfo(path).fileName()), sent);
    QCOMPARE(contentOf(user(path)), content);
}

void TestLogCollection::archiveHoldsTheTempFolder()
{
    put(user("app.log"), QByteArray(300000, 'a'));
    put(user("logs/kdsdk.log"), "engine");
    put(user("IMG_1.jpg"), "another dialog's picture");
    put(user("temp/left-over.log"), "old");
    CFeedbackSend send;
    send.userFolder = user();
    QImage red(16, 16, QImage::Format_RGB32);
    red.fill(Qt::red);
    QImage blue(16, 16, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    send.pictures = {red, blue};
    send.time = QDateTime(QDate(2024, 3, 7), QTime(9, 5, 3));
    FeedBackDlg::execUploadLog(send);

    const QString archive = user("appLog03-07-09-05-03.zip");
    QVERIFY(QFileInfo::exists(archive));
    KZip zip(archive);
    QVERIFY(zip.open(QIODevice::ReadOnly));
    QStringList entries = zip.directory()->entries();
    entries.sort();
    QCOMPARE(entries, (QStringList{"IMG_0.jpg", "IMG_1.jpg", "app.log", "kdsdk.log"}));
    QVERIFY(QImage(user("temp/IMG_1.jpg")).pixelColor(8, 8).blue() > 200);
    for (const QString &name : entries) {
        const auto *file = dynamic_cast<const KZipFileEntry *>(zip.directory()->entry(name));
        QVERIFY2(file, qPrintable(name));
        QCOMPARE(file->encoding(), 8); // deflated
        QCOMPARE(file->data(), contentOf(user("temp/" + name)));
    }
    QCOMPARE(contentOf(user("temp/app.log")), QByteArray(300000, 'a'));
}

void TestLogCollection::archiveThatCannotBeWrittenIsNotLeft()
{
    put(user("temp/app.log"), "a");
    QVERIFY(!FeedBackDlg::writeArchive(user("temp"), user("no/such/folder/appLog.zip")));
    QVERIFY(!QFileInfo::exists(user("no/such/folder/appLog.zip")));
    QVERIFY(FeedBackDlg::writeArchive(user("temp"), user("appLog.zip")));
}

void TestLogCollection::upload_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("the signed-in server") << QString();
    QTest::newRow("the feedback address") << "https://feedback.example";
}

void TestLogCollection::upload()
{
    QFETCH(QString, address);
    put(user("app.log"), "a");
    m_control->clearOperations();
    CFeedbackSend send;
    send.userFolder = user();
    send.description = "no sound";
    send.contact = "ann@example.org";
    send.feedbackAddress = address;
    send.time = QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58));
    QSignalSpy results(CKDSdkManager::getInstance(), &CKDSdkManager::eventUploadFeedback);
    FeedBackDlg::execUploadLog(send);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    QStringList uploads;
    for (const kd::sdk::KDOperationRecord &record : m_control->operations()) {
        if (record.name == "uploadFeedbackFiles") {
            uploads << QString::fromStdString(record.args);
        }
    }
    // The engine records the files and, after the comma, the address.
    QCOMPARE(uploads, QStringList{user("appLog12-31-23-59-58.zip") + ";," + address});
    // Not signed in: only the address variant gets through.
    QTRY_VERIFY(!results.isEmpty());
    QCOMPARE(results.last().at(0).toInt() == 100, !address.isEmpty());
    QTRY_COMPARE(CFeedbackUploads::instance()->pendingCount(), 0);
}

void TestLogCollection::missingTempFolderStopsTheSend()
{
    // A file where the folder should be: it cannot be made.
    put(user("temp"), "in the way");
    put(user("app.log"), "a");
    m_control->clearOperations();
    CFeedbackSend send;
    send.userFolder = user();
    FeedBackDlg::execUploadLog(send);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    for (const kd::sdk::KDOperationRecord &record : m_control->operations()) {
        QVERIFY(record.name != "uploadFeedbackFiles");
    }
    QCOMPARE(QDir(user()).entryList({"*.zip"}, QDir::Files), QStringList());
}

QTEST_MAIN(TestLogCollection)
#include "tst_logcollection.moc"
