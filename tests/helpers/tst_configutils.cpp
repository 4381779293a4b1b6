#include <climits>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cconfigutils.h"

using kd_app::helpers::CConfigUtils;

namespace {
// A section that sorts after every other in the tests, used to force a save.
const QByteArray kMarker = "[~]\r\nk=v\r\n\r\n";
} // namespace

class TestConfigUtils : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void loadAndWriteBack_data();
    void loadAndWriteBack();
    void getInt_data();
    void getInt();
    void getStringDefaults();
    void valuesCannotBreakLines_data();
    void valuesCannotBreakLines();
    void unreadableNamesRefused_data();
    void unreadableNamesRefused();
    void sectionlessKeysSurviveReloads();
    void saveOnlyWhenChanged();
    void destructorWritesChanges();
    void missingFileIsNotDamaged();
    void damagedFileKeepsReadPartAndCopy();
    void failedSaveKeepsChanges();

private:
    QString path(const QString &name = QStringLiteral("config.ini")) const { return m_dir->filePath(name); }
    static bool writeFile(const QString &path, const QByteArray &data);
    static QByteArray readFile(const QString &path);

    QScopedPointer<QTemporaryDir> m_dir;
};

void TestConfigUtils::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

bool TestConfigUtils::writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

QByteArray TestConfigUtils::readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestConfigUtils::loadAndWriteBack_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("written");

    const QByteArray longKey(300, 'k');
    const QByteArray longValue(5000, 'v');

    QTest::newRow("empty file") << QByteArray() << "\r\n" + kMarker;
    QTest::newRow("pairs without section") << QByteArray("x=1\n") << "x=1\r\n\r\n" + kMarker;
    QTest::newRow("pairs before first section kept")
        << QByteArray("x=1\n[A]\ny=2\n") << "x=1\r\n\r\n[A]\r\ny=2\r\n\r\n" + kMarker;
    QTest::newRow("pairs after empty brackets kept")
        << QByteArray("[]\nx=1\n[A]\ny=2") << "x=1\r\n\r\n[A]\r\ny=2\r\n\r\n" + kMarker;
    QTest::newRow("pairs under trailing empty brackets kept")
        << QByteArray("Language=1\n[A]\ny=2\n[]\nz=3\n") << "Language=1\r\nz=3\r\n\r\n[A]\r\ny=2\r\n\r\n" + kMarker;
    QTest::newRow("repeated section merged")
        << QByteArray("[A]\nx=1\n[B]\ny=2\n[A]\nz=3\n") << "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n\r\n" + kMarker;
    QTest::newRow("repeated section, later key wins")
        << QByteArray("[A]\nx=1\n[A]\nx=2\n") << "[A]\r\nx=2\r\n\r\n" + kMarker;
    QTest::newRow("duplicate key keeps later") << QByteArray("[A]\nx=1\nx=2\n") << "[A]\r\nx=2\r\n\r\n" + kMarker;
    QTest::newRow("CRLF") << QByteArray("[A]\r\nk=v\r\n\r\n") << "[A]\r\nk=v\r\n\r\n" + kMarker;
    QTest::newRow("text after bracket, no last line end")
        << QByteArray("[A]tail\nk=v") << "[A]\r\nk=v\r\n\r\n" + kMarker;
    QTest::newRow("first equals splits, blanks kept")
        << QByteArray("[A]\na=b=c\n k = v \n") << "[A]\r\n k = v \r\na=b=c\r\n\r\n" + kMarker;
    QTest::newRow("lines without equals ignored, semicolon is a key")
        << QByteArray("[A]\nno pair here\n\n;c=1\n") << "[A]\r\n;c=1\r\n\r\n" + kMarker;
    QTest::newRow("empty section kept") << QByteArray("[E]\n") << "[E]\r\n\r\n" + kMarker;
    QTest::newRow("byte order, capitals first")
        << QByteArray("[b]\nb=1\nB=2\n[B]\nx=\n") << "[B]\r\nx=\r\n\r\n[b]\r\nB=2\r\nb=1\r\n\r\n" + kMarker;
    QTest::newRow("long lines whole") << "[A]\n" + longKey + "=" + longValue + "\n"
                                      << "[A]\r\n" + longKey + "=" + longValue + "\r\n\r\n" + kMarker;
    QTest::newRow("backslashes of a plain file are text")
        << QByteArray("[A]\np=C:\\new\\r\\0\\\\\n") << "[A]\r\np=C:\\new\\r\\0\\\\\r\n\r\n" + kMarker;
    QTest::newRow("UTF-8 bytes unchanged") << QByteArray("[A]\nname=\xe5\xbc\xa0\xe4\xb8\x89\n")
                                           << "[A]\r\nname=\xe5\xbc\xa0\xe4\xb8\x89\r\n\r\n" + kMarker;
}

void TestConfigUtils::loadAndWriteBack()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, written);
    QVERIFY(writeFile(path(), input));
    {
        CConfigUtils config;
        QVERIFY(config.load(path().toLocal8Bit().constData()));
        config.setString("~", "k", "v");
        QVERIFY(config.save());
    }
    QCOMPARE(readFile(path()), written);
}

void TestConfigUtils::getInt_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("expected");
    QTest::newRow("hex") << QByteArray("n=0x10") << 16;
    QTest::newRow("hex capital") << QByteArray("n=0X1f") << 31;
    QTest::newRow("octal") << QByteArray("n=010") << 8;
    QTest::newRow("decimal with tail") << QByteArray("n=12ab") << 12;
    QTest::newRow("leading blanks and sign") << QByteArray("n=  -5") << -5;
    QTest::newRow("empty value is zero") << QByteArray("n=") << 0;
    QTest::newRow("no digits") << QByteArray("n=abc") << 0;
    QTest::newRow("too large") << QByteArray("n=99999999999") << INT_MAX;
    QTest::newRow("too small") << QByteArray("n=-99999999999") << INT_MIN;
    QTest::newRow("missing key gives default") << QByteArray("m=1") << 77;
}

void TestConfigUtils::getInt()
{
    QFETCH(QByteArray, line);
    QFETCH(int, expected);
    QVERIFY(writeFile(path(), "[A]\n" + line + "\n"));
    CConfigUtils config;
    QVERIFY(config.load(path().toLocal8Bit().constData()));
    QCOMPARE(config.getInt("A", "n", 77), expected);
}

void TestConfigUtils::getStringDefaults()
{
    QVERIFY(writeFile(path(), "[A]\nempty=\n"));
    CConfigUtils config;
    QVERIFY(config.load(path().toLocal8Bit().constData()));
    const char *fallback = "fallback";
    QCOMPARE(config.getString("A", "empty", fallback), "");
    QCOMPARE(config.getString("A", "missing", fallback), fallback);
    QCOMPARE(config.getString("B", "empty", fallback), fallback);
    QCOMPARE(config.getString("a", "empty", fallback), fallback);
}

// Whatever bytes a value holds (a name from a server, a typed address), it
// reads back unchanged and cannot add lines, keys or sections to the file.
void TestConfigUtils::valuesCannotBreakLines_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("section and keys after CR LF")
        << QByteArray("eve\r\n[Config]\r\nIp=attacker.example\r\nuseHttps=false");
    QTest::newRow("LF only") << QByteArray("eve\n[Config]\nIp=attacker.example");
    QTest::newRow("CR only") << QByteArray("a\rb");
    QTest::newRow("trailing CR") << QByteArray("name\r");
    QTest::newRow("zero byte") << QByteArray("eve\0[Config]", 13);
    QTest::newRow("line end and backslashes") << QByteArray("C:\\new\n\\n\\");
    QTest::newRow("escape marker as value") << QByteArray("; escaped values: \\\\ \\r \\n \\0\n");
}

void TestConfigUtils::valuesCannotBreakLines()
{
    QFETCH(QByteArray, value);
    const std::string bytes = value.toStdString();
    {
        CConfigUtils config;
        QVERIFY(config.create(path().toLocal8Bit().constData()));
        config.setString("Config", "Ip", "good.example");
        config.setString("Config", "plain", "C:\\new");
        config.setValue("Config", "User", bytes);
        config.setString("", "top", "1");
        QVERIFY(config.save());
    }
    // The store's own seven lines and the escaping mark, nothing more.
    const QList<QByteArray> lines = readFile(path()).split('\n');
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines.count("[Config]\r"), 1);

    CConfigUtils reloaded;
    QVERIFY(reloaded.load(path().toLocal8Bit().constData()));
    std::string read;
    QVERIFY(reloaded.getValue("Config", "User", &read));
    QCOMPARE(QByteArray::fromStdString(read), value);
    QCOMPARE(reloaded.getString("Config", "Ip", ""), "good.example");
    QCOMPARE(reloaded.getString("Config", "plain", ""), "C:\\new");
    QCOMPARE(reloaded.getString("", "top", ""), "1");
    QCOMPARE(reloaded.getString("Config", "useHttps", "absent"), "absent");

    // Once the value is plain again the file is written as it always was.
    reloaded.setString("Config", "User", "eve");
    QVERIFY(reloaded.save());
    QCOMPARE(readFile(path()),
             QByteArray("top=1\r\n\r\n[Config]\r\nIp=good.example\r\nUser=eve\r\nplain=C:\\new\r\n\r\n"));
}

void TestConfigUtils::unreadableNamesRefused_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("line end in section") << QByteArray("A\r\n[Config") << QByteArray("k");
    QTest::newRow("bracket in section") << QByteArray("A]x") << QByteArray("k");
    QTest::newRow("line end in key") << QByteArray("A") << QByteArray("k\nIp");
    QTest::newRow("equals in key") << QByteArray("A") << QByteArray("Ip=x");
    QTest::newRow("key that reads as a section") << QByteArray("A") << QByteArray("[Config]");
}

void TestConfigUtils::unreadableNamesRefused()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    const QByteArray original("[A]\r\nk=1\r\n\r\n");
    QVERIFY(writeFile(path(), original));
    CConfigUtils config;
    QVERIFY(config.load(path().toLocal8Bit().constData()));
    config.setString(section.constData(), key.constData(), "v");
    QVERIFY(config.save());
    QCOMPARE(readFile(path()), original);
    QCOMPARE(config.getString(section.constData(), key.constData(), "absent"), "absent");
}

// A hand-edited key at the top of the file, outside any section, stays
// readable through any number of saves.
void TestConfigUtils::sectionlessKeysSurviveReloads()
{
    QVERIFY(writeFile(path(), "Language=1\r\n[Config]\r\nIp=a\r\n"));
    for (int round = 0; round < 3; ++round) {
        CConfigUtils config;
        QVERIFY(config.load(path().toLocal8Bit().constData()));
        QCOMPARE(config.getString("", "Language", "lost"), "1");
        QCOMPARE(config.getString("Config", "Ip", "lost"), "a");
        config.setInt("Config", "round", round);
        QVERIFY(config.save());
    }
}

void TestConfigUtils::saveOnlyWhenChanged()
{
    QVERIFY(writeFile(path(), "[A]\nx=1\n"));
    CConfigUtils config;
    QVERIFY(config.load(path().toLocal8Bit().constData()));
    QVERIFY(config.save());
    QCOMPARE(readFile(path()), QByteArray("[A]\nx=1\n"));

    config.setString("A", "x", "1");
    QVERIFY(config.save());
    QCOMPARE(readFile(path()), QByteArray("[A]\r\nx=1\r\n\r\n"));
}

void TestConfigUtils::destructorWritesChanges()
{
    {
        CConfigUtils config;
        QVERIFY(config.create(path().toLocal8Bit().constData()));
        QCOMPARE(readFile(path()), QByteArray());
        config.setInt("Config", "b", -2);
        config.setString("Config", "a", "1");
        config.setString("SipSetting", "x", "y");
    }
    QCOMPARE(readFile(path()), QByteArray("[Config]\r\na=1\r\nb=-2\r\n\r\n[SipSetting]\r\nx=y\r\n\r\n"));
}

void TestConfigUtils::missingFileIsNotDamaged()
{
    CConfigUtils config;
    QVERIFY(!config.load(path().toLocal8Bit().constData()));
    QVERIFY(!config.isDamaged());
    QCOMPARE(config.getString("A", "x", "d"), "d");
}

void TestConfigUtils::damagedFileKeepsReadPartAndCopy()
{
    const QByteArray original("[A]\nx=1\n[B\ny=2\n[C]\nz=3\n");
    QVERIFY(writeFile(path(), original));
    {
        CConfigUtils config;
        QVERIFY(!config.load(path().toLocal8Bit().constData()));
        QVERIFY(config.isDamaged());
        QCOMPARE(config.getString("A", "x", ""), "1");
        QVERIFY(config.save());
        QCOMPARE(readFile(path()), original);

        config.setString("A", "w", "2");
        QVERIFY(config.save());
        QCOMPARE(readFile(path() + ".bak"), original);
        QCOMPARE(readFile(path()), QByteArray("[A]\r\nw=2\r\nx=1\r\n\r\n"));

        // The copy is of the original file, made once.
        config.setString("A", "w", "3");
        QVERIFY(config.save());
    }
    QCOMPARE(readFile(path() + ".bak"), original);
}

void TestConfigUtils::failedSaveKeepsChanges()
{
    const QString folder = m_dir->filePath(QStringLiteral("later"));
    const QString file = folder + QStringLiteral("/config.ini");
    CConfigUtils config;
    QVERIFY(!config.create(file.toLocal8Bit().constData()));
    config.setString("A", "x", "1");
    QVERIFY(!config.save());

    QVERIFY(QDir().mkpath(folder));
    QVERIFY(config.save());
    QCOMPARE(readFile(file), QByteArray("[A]\r\nx=1\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestConfigUtils)
#include "tst_configutils.moc"
