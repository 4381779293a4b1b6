#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cappconfigutils.h"

using kd_app::helpers::CAppConfigUtils;

class TestAppConfigUtils : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileGivesDefaultsAndIsCreated();
    void switches_data();
    void switches();
    void textsAndWhereKeysCount();
    void damagedFileIsNotEmptied();

private:
    QString writeConfig(const QByteArray &content);
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestAppConfigUtils::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

QString TestAppConfigUtils::writeConfig(const QByteArray &content)
{
    const QString path = m_dir->filePath(QStringLiteral("app-config.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
        return QString();
    }
    return path;
}

void TestAppConfigUtils::missingFileGivesDefaultsAndIsCreated()
{
    const QString path = m_dir->filePath(QStringLiteral("app-config.ini"));
    {
        CAppConfigUtils config(path);
        QCOMPARE(config.getDefaultLoginServerAddr(), QString());
        QCOMPARE(config.getSoftwareUpdateAppInfoPrefix(), QString());
        QCOMPARE(config.isDisableAudioOnlyCall(), false);
        QCOMPARE(config.isDisableResourceMonitor(), false);
    }
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(QFileInfo(path).size(), 0);
}

void TestAppConfigUtils::switches_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("on");
    QTest::newRow("true") << QByteArray("true") << true;
    QTest::newRow("TRUE") << QByteArray("TRUE") << true;
    QTest::newRow("True") << QByteArray("True") << true;
    QTest::newRow("1") << QByteArray("1") << false;
    QTest::newRow("yes") << QByteArray("yes") << false;
    QTest::newRow("blank after true") << QByteArray("true ") << false;
}

void TestAppConfigUtils::switches()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, on);
    const QByteArray keys[] = {"DisableAudioOnlyCall", "IsDovraneSpecialVersion", "DisableLoginSkipped",
                               "DisableGuestJoinMeeting", "DisableResourceMonitor"};
    QByteArray content("[Config]\n");
    for (const QByteArray &key : keys) {
        content += key + "=" + value + "\n";
    }
    CAppConfigUtils config(writeConfig(content));
    QCOMPARE(config.isDisableAudioOnlyCall(), on);
    QCOMPARE(config.isDovraneSpecialVersion(), on);
    QCOMPARE(config.isDisableLoginSkipped(), on);
    QCOMPARE(config.isDisableGuestJoinMeeting(), on);
    QCOMPARE(config.isDisableResourceMonitor(), on);
}

void TestAppConfigUtils::textsAndWhereKeysCount()
{
    CAppConfigUtils config(writeConfig("FeedbackAddress=http://before.example\n"
                                       "[Other]\nContactsAddress=http://other.example\n"
                                       "[Config]\nDefaultLoginServerAddr=meet.example.org\n"
                                       "UserAgentCompanyName=\xe5\x85\xac\xe5\x8f\xb8\n"
                                       "SoftwareUpdateAddress=   \n"));
    QCOMPARE(config.getDefaultLoginServerAddr(), QStringLiteral("meet.example.org"));
    QCOMPARE(config.getUserAgentCompanyName(), QString::fromUtf8("\xe5\x85\xac\xe5\x8f\xb8"));
    QCOMPARE(config.getSoftwareUpdateAddress().trimmed(), QString());
    QCOMPARE(config.getFeedbackAddress(), QString());
    QCOMPARE(config.getContactsAddress(), QString());
}

void TestAppConfigUtils::damagedFileIsNotEmptied()
{
    const QByteArray content("[Config]\nDefaultLoginServerAddr=a.example\n[Broken\n");
    const QString path = writeConfig(content);
    {
        CAppConfigUtils config(path);
        QCOMPARE(config.getDefaultLoginServerAddr(), QStringLiteral("a.example"));
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

QTEST_GUILESS_MAIN(TestAppConfigUtils)
#include "tst_appconfigutils.moc"
