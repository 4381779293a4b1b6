#include <sys/resource.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "views/feedback/feedbackdlg.h"

using kd_app::views::FeedBackDlg;

namespace {

constexpr qint64 kLogBytes = 10 * 1024 * 1024; // the rolling limit of one log
constexpr int kRolledLogs = 6;
constexpr qint64 kEngineLogBytes = 4 * 1024 * 1024;
constexpr qint64 kDumpBytes = 2 * 1024 * 1024;
constexpr int kDumps = 5;

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void dropMessages(QtMsgType, const QMessageLogContext &, const QString &)
{
}

// Log lines as the program writes them: repetitive text with changing numbers.
void writeLog(const QString &path, qint64 bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QRandomGenerator random(7);
    qint64 written = 0;
    QByteArray block;
    while (written < bytes) {
        block.clear();
        for (int i = 0; i < 1000; ++i) {
            block += "2026-12-10 21:04:41.";
            block += QByteArray::number(random.bounded(1000));
            block += " [INFO] CKDSdkManager::onEvent: value ";
            block += QByteArray::number(random.generate());
            block += '\n';
        }
        written += file.write(block.left(int(qMin<qint64>(block.size(), bytes - written))));
    }
}

// Crash dumps are mostly binary.
void writeDump(const QString &path, qint64 bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray block(1 << 20, '\0');
    for (qint64 written = 0; written < bytes; written += block.size()) {
        for (int i = 0; i < block.size(); i += 4) {
            const quint32 value = QRandomGenerator::global()->generate();
            memcpy(block.data() + i, &value, 4);
        }
        file.write(block);
    }
}

} // namespace

// Gathering and packing a full per-user folder for a feedback send: the
// rolled program logs, the engine's logs, dumps and settings.
class BenchFeedback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void gatherAndPack();

private:
    QTemporaryDir m_dir;
};

void BenchFeedback::initTestCase()
{
    qInstallMessageHandler(dropMessages);
    const QString user = m_dir.path();
    writeLog(user + "/app.log", kLogBytes);
    for (int i = 1; i < kRolledLogs; ++i) {
        writeLog(user + "/app.log." + QString::number(i), kLogBytes);
    }
    writeLog(user + "/kdsdk.log", kEngineLogBytes);
    writeLog(user + "/kdsdk_1.log", kEngineLogBytes);
    for (int i = 0; i < kDumps; ++i) {
        writeDump(user + "/crash" + QString::number(i) + ".dmp", kDumpBytes);
    }
    QDir().mkpath(user + "/Brivana/Config");
    QFile settings(user + "/Brivana/Config/config.ini");
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write("[Config]\nUser=alice\nPassword=c2VjcmV0\n");
}

void BenchFeedback::gatherAndPack()
{
    const QString user = m_dir.path();
    const long peakBefore = peakKilobytes();
    QElapsedTimer timer;
    timer.start();
    FeedBackDlg::removeRedundantFile(user);
    QString temp;
    QVERIFY(FeedBackDlg::backupNeededLogFiles(user, &temp));
    const qint64 gatheredMs = timer.elapsed();
    const QString archive = user + FeedBackDlg::archiveName(QDateTime::currentDateTime());
    QVERIFY(FeedBackDlg::writeArchive(temp, archive));
    const qint64 totalMs = timer.elapsed();
    const long extraKilobytes = peakKilobytes() - peakBefore;
    const qint64 input = kRolledLogs * kLogBytes + 2 * kEngineLogBytes + kDumps * kDumpBytes;
    printf("gathered %lld MB in %lld ms, packed into %lld MB in %lld ms more; total %lld ms (limit 3000); "
           "extra peak memory %ld kB (limit 65536)\n",
           input >> 20, gatheredMs, QFileInfo(archive).size() >> 20, totalMs - gatheredMs, totalMs, extraKilobytes);
    QVERIFY2(totalMs < 3000, "gathering and packing took longer than 3 s");
    QVERIFY2(extraKilobytes < 64 * 1024, "more than 64 MB extra peak memory");
}

QTEST_MAIN(BenchFeedback)
#include "bench_feedback.moc"
