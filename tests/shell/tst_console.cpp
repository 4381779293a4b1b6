#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"

// What a start from a terminal prints, and what its log file keeps.
class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void consoleShowsWarningsOnly();

private:
    QString logText() const;

    QTemporaryDir m_dir;
};

QString TestConsole::logText() const
{
    QFile log(m_dir.filePath(QStringLiteral("parvela/app.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

void TestConsole::consoleShowsWarningsOnly()
{
    QVERIFY(m_dir.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("appdata"), m_dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Qt warns about this while the application object is built, before the
    // logger is configured: the earliest warning a start can give.
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationDirPath() + "/parvela", QStringList());
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(logText().contains("UrlJoinConfProtocol: 0"), kdtest::kStateWaitMs);
    program.kill();
    program.waitForFinished();

    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardOutput()), QString());
    const QStringList console =
        QString::fromLocal8Bit(program.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QRegularExpression warning(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (WARN |ERROR|FATAL) "));
    for (const QString &line : console) {
        QVERIFY2(warning.match(line).hasMatch(), qPrintable(line));
    }
    // From the first line on, before and after the logger takes over.
    QVERIFY2(!console.isEmpty() && console.first().contains("XDG_RUNTIME_DIR"), qPrintable(console.join('\n')));
    QVERIFY2(!console.filter("propagateSizeHints").isEmpty(), qPrintable(console.join('\n')));

    // The log file keeps the start-up's own lines; the Direct3D probe that
    // cannot apply here says nothing anywhere.
    const QString log = logText();
    QVERIFY2(log.contains("Cached log:argv[0]: "), qPrintable(log));
    QVERIFY(log.contains("\ndir path: "));
    QVERIFY(log.contains("\nNot support openGL, use default"));
    QVERIFY(log.contains(" INFO  main "));
    QVERIFY(!log.contains("d3d9"));
    QVERIFY(console.filter("d3d9").isEmpty());
}

QTEST_GUILESS_MAIN(TestConsole)
#include "statewait.h"
#include "tst_console.moc"
