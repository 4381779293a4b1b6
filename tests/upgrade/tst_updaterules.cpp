#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "helpers/cappconfigutils.h"
#include "views/upgrade/cdownloadmanager.h"
#include "views/upgrade/cdownloadthread.h"
#include "views/upgrade/cupdateprogress.h"

using kd_app::helpers::CAppConfigUtils;
using kd_app::views::CDownloadManager;
using kd_app::views::CDownloadThread;
using kd_app::views::CUpdateProgress;

// The upgrade's rules without any server or window: which version is
// newer, which addresses are asked, where a package is saved and how its
// progress reads.
class TestUpdateRules : public QObject
{
    Q_OBJECT

private slots:
    void newerVersion_data();
    void newerVersion();
    void versionText_data();
    void versionText();
    void packageAddress_data();
    void packageAddress();
    void queryAddresses_data();
    void queryAddresses();
    void packageFileName_data();
    void packageFileName();
    void speedText_data();
    void speedText();
    void progressBar_data();
    void progressBar();
};

void TestUpdateRules::newerVersion_data()
{
    QTest::addColumn<QString>("remote");
    QTest::addColumn<bool>("newer");

    QTest::newRow("last part higher") << "2.8.0.174" << true;
    QTest::newRow("third part higher, fewer parts") << "2.8.1" << true;
    QTest::newRow("major only") << "3" << true;
    QTest::newRow("one part more") << "2.8.0.173.0" << true;
    QTest::newRow("the same") << "2.8.0.173" << false;
    QTest::newRow("shorter, same start") << "2.8.0" << false;
    QTest::newRow("lower") << "2.7.99.999" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("a part that is no number reads as 0") << "2.8.0.17x" << false;
    QTest::newRow("the fourth part decides first") << "2.8.0.x.1" << false;
    QTest::newRow("numbers, not text, compare") << "2.10.0.0" << true;
}

void TestUpdateRules::newerVersion()
{
    QFETCH(QString, remote);
    QFETCH(bool, newer);
    QCOMPARE(CDownloadThread::isNewerVersion(remote, "2.8.0.173"), newer);
}

void TestUpdateRules::versionText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<bool>("taken");

    QTest::newRow("four numbers") << "2.9.0.12" << true;
    QTest::newRow("one number") << "3" << true;
    QTest::newRow("markup after a number") << "99.0<br><b style=\"color:red\">Your account is locked</b>" << false;
    QTest::newRow("a letter in a part") << "2.8.0.17x" << false;
    QTest::newRow("two dots in a row") << "2..9" << false;
    QTest::newRow("a leading dot") << ".2.9" << false;
    QTest::newRow("a trailing dot") << "2.9." << false;
    QTest::newRow("blanks") << " 2.9" << false;
    QTest::newRow("a line break") << "2.9\n" << false;
    QTest::newRow("digits of another script") << QString::fromUtf8("\u0663.\u0661") << false;
    QTest::newRow("longer than any version") << QString("1.").repeated(40) + "1" << false;
}

void TestUpdateRules::versionText()
{
    QFETCH(QString, version);
    QFETCH(bool, taken);
    QCOMPARE(CDownloadThread::isVersionText(version), taken);
}

void TestUpdateRules::packageAddress_data()
{
    QTest::addColumn<QString>("downloadUrl");
    QTest::addColumn<bool>("appInfo");
    QTest::addColumn<bool>("https");
    QTest::addColumn<QString>("address");

    QTest::newRow("whole https address") << "https://get.example/p.deb" << false << false
                                         << "https://get.example/p.deb";
    QTest::newRow("whole http address") << "http://get.example/p.deb" << false << true << "http://get.example/p.deb";
    QTest::newRow("a path of the server")
        << "/download/p.deb" << false << true << "https://conf.example:8443/download/p.deb";
    QTest::newRow("a path, plain http") << "/download/p.deb" << false << false
                                        << "http://conf.example:8443/download/p.deb";
    QTest::newRow("upper-case scheme is no whole address")
        << "HTTPS://get.example/p.deb" << false << true << "https://conf.example:8443HTTPS://get.example/p.deb";
    QTest::newRow("app-info form: as it is") << "/download/p.deb" << true << true << "/download/p.deb";
}

void TestUpdateRules::packageAddress()
{
    QFETCH(QString, downloadUrl);
    QFETCH(bool, appInfo);
    QFETCH(bool, https);
    QFETCH(QString, address);
    QCOMPARE(CDownloadThread::packageAddress(downloadUrl, appInfo, https, "conf.example", 8443), address);
}

void TestUpdateRules::queryAddresses_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("address");

    QTest::newRow("with a prefix") << QByteArray(
                                          "SoftwareUpdateAddress=https://up.example/appinfo\r\n"
                                          "SoftwareUpdateFlag=stable\r\nSoftwareUpdateBundleId=parvela\r\n"
                                          "SoftwareUpdateAppInfoPrefix=desktop\r\nSoftwareUpdateAppInfo=linux\r\n")
                                   << "https://up.example/appinfo/stable/parvela/desktop.linux";
    QTest::newRow("without a prefix") << QByteArray("SoftwareUpdateAddress=https://up.example/appinfo\r\n"
                                                    "SoftwareUpdateFlag=stable\r\nSoftwareUpdateBundleId=parvela\r\n"
                                                    "SoftwareUpdateAppInfo=linux\r\n")
                                      << "https://up.example/appinfo/stable/parvela/linux";
    QTest::newRow("empty values keep their places")
        << QByteArray("SoftwareUpdateAddress=https://up.example\r\n") << "https://up.example///";
}

void TestUpdateRules::queryAddresses()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, address);
    QTemporaryDir dir;
    QFile file(dir.filePath("app-config.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Config]\r\n" + settings);
    file.close();
    const CAppConfigUtils config(file.fileName());
    QCOMPARE(CDownloadThread::appInfoQueryAddress(config), address);
    QCOMPARE(CDownloadThread::serverQueryAddress(true, "conf.example", 443),
             QString("https://conf.example:443/api/rest/v2.0/latestAppVersion?appType=linux"));
    QCOMPARE(CDownloadThread::serverQueryAddress(false, "", 80),
             QString("http://:80/api/rest/v2.0/latestAppVersion?appType=linux"));
}

void TestUpdateRules::packageFileName_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");

    QTest::newRow("a file") << "https://get.example/pub/parvela_2.9.0_amd64.deb"
                            << "parvela_2.9.0_amd64.deb";
    QTest::newRow("a query is no part of it") << "https://get.example/p.deb?token=1"
                                              << "p.deb";
    QTest::newRow("encoded blank") << "https://get.example/my%20package.deb"
                                   << "my package.deb";
    QTest::newRow("a folder") << "https://get.example/pub/"
                              << "download.deb";
    QTest::newRow("no path") << "https://get.example"
                             << "download.deb";
    QTest::newRow("an encoded slash climbing out") << "https://get.example/pub/%2F.."
                                                   << "download.deb";
    QTest::newRow("an encoded slash before a name") << "https://get.example/pub/..%2Fevil.deb"
                                                    << "evil.deb";
    QTest::newRow("a dot") << "https://get.example/pub/."
                           << "download.deb";
    QTest::newRow("a backslash") << "https://get.example/a%5C..%5Cb.deb"
                                 << "download.deb";
    // The opener starts what it is given: only a package gets its own name.
    QTest::newRow("a desktop entry") << "https://get.example/run.desktop"
                                     << "download.deb";
    QTest::newRow("a script") << "https://get.example/install.sh"
                              << "download.deb";
    QTest::newRow("deb without its dot") << "https://get.example/package-deb"
                                         << "download.deb";
    QTest::newRow("another ending after .deb") << "https://get.example/p.deb.desktop"
                                               << "download.deb";
    QTest::newRow("upper-case ending") << "https://get.example/P.DEB"
                                       << "download.deb";
    QTest::newRow("only the ending, hidden") << "https://get.example/.deb"
                                             << "download.deb";
    QTest::newRow("a line break") << "https://get.example/a%0Ab.deb"
                                  << "download.deb";
}

void TestUpdateRules::packageFileName()
{
    QFETCH(QString, address);
    QFETCH(QString, name);
    QCOMPARE(CDownloadManager::targetFileName(QUrl(address, QUrl::TolerantMode)), name);
}

void TestUpdateRules::speedText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");

    QTest::newRow("bytes") << qint64(512) << qint64(1000) << "512.0 bytes/s";
    QTest::newRow("kilobytes") << qint64(1536) << qint64(1000) << "1.5 kB/s";
    QTest::newRow("megabytes") << qint64(3145728) << qint64(2000) << "1.5 MB/s";
    QTest::newRow("narrow number") << qint64(5) << qint64(1000) << "5.0 bytes/s";
    QTest::newRow("no time yet") << qint64(1500) << qint64(0) << "0.0 bytes/s";
    QTest::newRow("nothing yet") << qint64(0) << qint64(0) << "0.0 bytes/s";
}

void TestUpdateRules::speedText()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(CUpdateProgress::speedText(bytes, ms), text);
}

void TestUpdateRules::progressBar_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");

    QTest::newRow("within the int range") << qint64(300) << qint64(1000) << 1000 << 300;
    QTest::newRow("half of 6 GiB") << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << 1610612736
                                   << 805306368;
    QTest::newRow("unknown total: busy") << qint64(4096) << qint64(-1) << 0 << 0;
    QTest::newRow("more than announced") << qint64(1200) << qint64(1000) << 1000 << 1000;
}

void TestUpdateRules::progressBar()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(int, maximum);
    QFETCH(int, value);
    const CUpdateProgress::Bar bar = CUpdateProgress::bar(received, total);
    QCOMPARE(bar.maximum, maximum);
    QCOMPARE(bar.value, value);
}

QTEST_MAIN(TestUpdateRules)
#include "tst_updaterules.moc"
