#include <csignal>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/cbreakpadhandler.h"

using kd_app::breadpad_wrapper::CBreakpadHandler;

class TestCrashDump : public QObject
{
    Q_OBJECT

private slots:
    void crashLeavesOneReport_data();
    void crashLeavesOneReport();
    void cleanExitLeavesNothing();
    void relativeFolderLandsInAppFolder();
    void uncreatableFolderInstallsNothing();
};

void TestCrashDump::crashLeavesOneReport_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("signal");
    QTest::newRow("segv") << "segv" << int(SIGSEGV);
    QTest::newRow("abort") << "abort" << int(SIGABRT);
}

void TestCrashDump::crashLeavesOneReport()
{
    QFETCH(QString, how);
    QFETCH(int, signal);
    QTemporaryDir dumps;
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/crashchild", {dumps.path(), how});
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    const QString id = QString::fromLatin1(child.readAllStandardOutput()).trimmed();
    QVERIFY(!QUuid::fromString(id).isNull());
    const QStringList files = QDir(dumps.path()).entryList(QDir::Files);
    QCOMPARE(files, QStringList{id + ".dmp"});

    QFile report(dumps.filePath(files.first()));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray text = report.readAll();
    QVERIFY(text.contains(QByteArray("signal: ") + QByteArray::number(signal)));
    QVERIFY(text.contains("backtrace:"));
    QVERIFY(text.contains("crashchild")); // the modules list names the program
    QVERIFY(child.readAllStandardError().contains("Succeed to write minidump"));
}

void TestCrashDump::cleanExitLeavesNothing()
{
    QTemporaryDir dumps;
    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/crashchild", {dumps.path(), "none"});
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QVERIFY(QDir(dumps.path()).entryList(QDir::Files).isEmpty());
}

void TestCrashDump::relativeFolderLandsInAppFolder()
{
    const QString expected = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/crash-test-dumps");
    QDir(expected).removeRecursively();
    CBreakpadHandler::getInstance()->setDumpPath("sub/../crash-test-dumps");
    QCOMPARE(CBreakpadHandler::getInstance()->dumpPath(), expected);
    QVERIFY(QDir(expected).exists());
    QVERIFY(CBreakpadHandler::getInstance()->isInstalled());
    QDir(expected).removeRecursively();
}

void TestCrashDump::uncreatableFolderInstallsNothing()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    QProcess child;
    child.start(QCoreApplication::applicationDirPath() + "/crashchild", {dir.filePath("file/dumps"), "segv"});
    QVERIFY(child.waitForFinished(20000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QVERIFY(QString::fromLocal8Bit(child.readAllStandardError()).contains("Failed to set dump path which not exists"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"file"});
}

QTEST_GUILESS_MAIN(TestCrashDump)
#include "tst_crashdump.moc"
