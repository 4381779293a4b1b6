#include <QTemporaryDir>
#include <QtTest>

#include "app/csingleapplication.h"
#include "app/cstartuplog.h"
#include "helpers/clogformat.h"

using kd_app::CSingleApplication;
using kd_app::CStartupLog;

class TestLogging : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void substitution_data();
    void substitution();
    void missingFileGivesNoProperties();
    void qtMessagesReachLogFile();
    void startUpLinesStaySingleLines();

private:
    QTemporaryDir m_dir;
};

void TestLogging::initTestCase()
{
    QVERIFY(m_dir.isValid());
    qputenv("KD_T_A", "/a");
    qputenv("KD_T_B", "b\\c");
    qputenv("KD_T_WIN", "C:\\Users\\u\\AppData\\Roaming");
    qputenv("KD_T_EMPTY", "");
    qputenv("KD_T_REF", "${KD_T_A}");
    qunsetenv("KD_T_UNSET");
}

void TestLogging::substitution_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("conflicted");
    QTest::addColumn<QString>("expected");
    const QString app = QCoreApplication::applicationName();

    QTest::newRow("two references in place") << "log4j.x"
                                             << "${KD_T_A}/x/${KD_T_B}.log" << false << "/a/x/b/c.log";
    QTest::newRow("unset stays") << "log4j.x"
                                 << "${KD_T_UNSET}/y" << false << "${KD_T_UNSET}/y";
    QTest::newRow("empty stays") << "log4j.x"
                                 << "${KD_T_EMPTY}/y" << false << "${KD_T_EMPTY}/y";
    QTest::newRow("unclosed stays") << "log4j.x"
                                    << "${KD_T_A}/${KD_T_A" << false << "/a/${KD_T_A";
    QTest::newRow("replacement not expanded again") << "log4j.x"
                                                    << "${KD_T_REF}" << false << "${KD_T_A}";
    QTest::newRow("log folder") << "log4j.appender.dest.file"
                                << "${KD_T_WIN}" << false << "C:/Users/u/AppData/Roaming/" + app + "/app.log";
    QTest::newRow("log folder, conflicting instance") << "log4j.appender.dest.file"
                                                      << "${KD_T_A}" << true << "/a/" + app + "/app-conflict.log";
    QTest::newRow("log folder, unset variable") << "log4j.appender.dest.file"
                                                << "${KD_T_UNSET}" << false << "${KD_T_UNSET}/" + app + "/app.log";
    QTest::newRow("other appender's file untouched") << "log4j.appender.other.file"
                                                     << "${KD_T_A}" << false << "/a";
}

void TestLogging::substitution()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, conflicted);
    QFETCH(QString, expected);

    const QString path = m_dir.filePath(QStringLiteral("substitution.properties"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write((key + QLatin1Char('=') + value + QLatin1Char('\n')).toUtf8());
    file.close();

    log4cplus::helpers::Properties properties;
    CSingleApplication::loadLogProperties(path, properties, conflicted);
    QCOMPARE(QString::fromStdString(properties.getProperty(key.toStdString())), expected);
}

void TestLogging::missingFileGivesNoProperties()
{
    log4cplus::helpers::Properties properties;
    CSingleApplication::loadLogProperties(m_dir.filePath(QStringLiteral("none.properties")), properties, false);
    QCOMPARE(properties.size(), size_t(0));
}

// The shipped properties file, read from the application folder, sends a
// line of Qt's logger to <appdata>/<program>/app.log.
void TestLogging::qtMessagesReachLogFile()
{
    qputenv("appdata", QFile::encodeName(m_dir.path()));
    const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
    CSingleApplication::initLog4Qt(false);
    KD_LOG << "label:" << QStringLiteral("välue");
    KD_WARN << "warned:" << 42;
    // A name from a server that tries to add lines of its own.
    const QString forged =
        QStringLiteral("eve\r\n2026-01-01 00:00:00.000 INFO  forged\x1b[2J") + QChar(0x2028) + QStringLiteral("x\ty");
    KD_LOG << "user:" << forged;
    qInstallMessageHandler(testHandler);

    QFile log(m_dir.filePath(QCoreApplication::applicationName() + QStringLiteral("/app.log")));
    QVERIFY2(log.open(QIODevice::ReadOnly), qPrintable(log.fileName()));
    const QString text = QString::fromUtf8(log.readAll());
    const QRegularExpression infoLine(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} INFO  "
                                                     "TestLogging::qtMessagesReachLogFile \\d+ label: välue$"),
                                      QRegularExpression::MultilineOption);
    QVERIFY2(infoLine.match(text).hasMatch(), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral(" WARN  TestLogging::qtMessagesReachLogFile")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("user: eve\\r\\n2026-01-01 00:00:00.000 INFO  forged\\x1b[2J\\u2028x\ty\n")),
             qPrintable(text));
    const QRegularExpression stamped(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    for (const QString &line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QVERIFY2(stamped.match(line).hasMatch() && !line.contains(QLatin1Char('\r')), qPrintable(line));
    }
}

// Lines kept from before logging starts may hold outside text (the working
// folder's name); each stays one line of the joined text.
void TestLogging::startUpLinesStaySingleLines()
{
    CStartupLog::cache(QStringLiteral("dir path: /home/u/x\n2026-01-01 00:00:00.000 INFO  forged"));
    CStartupLog::cache(QStringLiteral("second"));
    QCOMPARE(CStartupLog::take(),
             QStringLiteral("dir path: /home/u/x\\n2026-01-01 00:00:00.000 INFO  forged\nsecond\n"));
    QCOMPARE(CStartupLog::take(), QString());
}

QTEST_GUILESS_MAIN(TestLogging)
#include "tst_logging.moc"
