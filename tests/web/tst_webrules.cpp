// The rules behind the embedded web pages that need no browser: the page
// address, the certificate chains a page may be shown with, and which
// addresses a page may hand to the desktop.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "curlcatcher.h"
#include "models/ccertificatechain.h"
#include "models/cwebpageaddress.h"
#include "selfsignedcert.h"
#include "views/web/cwebjscontext.h"

using kd_app::models::CCertificateChain;
using kd_app::models::CWebPageAddress;
using kd_app::views::CWebJsContext;

class TestWebRules : public QObject
{
    Q_OBJECT

private slots:
    void pageAddress_data();
    void pageAddress();
    void certificateChain_data();
    void certificateChain();
    void desktopAddresses_data();
    void desktopAddresses();
};

void TestWebRules::pageAddress_data()
{
    QTest::addColumn<QString>("overrideAddress");
    QTest::addColumn<QString>("serverType");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("https");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("expected");
    QTest::newRow("http") << ""
                          << "CCM"
                          << "/portal/" << false << 80 << "tok"
                          << ""
                          << "http://conf.example:80/portal/conferences?token=tok&numericId=";
    QTest::newRow("https, given port") << ""
                                       << "CCM"
                                       << "/portal/" << true << 8443 << "tok"
                                       << ""
                                       << "https://conf.example:8443/portal/conferences?token=tok&numericId=";
    QTest::newRow("in a call") << ""
                               << "CCM"
                               << "/p/" << false << 80 << "tok"
                               << "80001"
                               << "http://conf.example:80/p/conferences?token=tok&numericId=80001";
    QTest::newRow("query values encoded")
        << ""
        << "CCM"
        << "/portal/" << false << 80 << "a+b&c=d"
        << "8 0#"
        << "http://conf.example:80/portal/conferences?token=a%2Bb%26c%3Dd&numericId=8%200%23";
    QTest::newRow("empty suffix") << ""
                                  << "CCM"
                                  << "" << false << 80 << "tok"
                                  << ""
                                  << "";
    QTest::newRow("UCM") << ""
                         << "UCM"
                         << "/portal/" << false << 80 << "tok"
                         << ""
                         << "";
    QTest::newRow("lower-case ccm") << ""
                                    << "ccm"
                                    << "/portal/" << false << 80 << "tok"
                                    << ""
                                    << "";
    QTest::newRow("override, any server") << "https://pages.example/meetings"
                                          << "UCM"
                                          << "" << false << 80 << "tok"
                                          << "80001"
                                          << "https://pages.example/meetings";
}

void TestWebRules::pageAddress()
{
    QFETCH(QString, overrideAddress);
    QFETCH(QString, serverType);
    QFETCH(QString, suffix);
    QFETCH(bool, https);
    QFETCH(int, port);
    QFETCH(QString, token);
    QFETCH(QString, number);
    QFETCH(QString, expected);
    CWebPageAddress address;
    address.overrideAddress = overrideAddress;
    address.serverType = serverType;
    address.urlSuffix = suffix;
    address.https = https;
    address.host = QStringLiteral("conf.example");
    address.port = port;
    address.pageName = QStringLiteral("conferences");
    address.token = token;
    address.meetingNumber = number;
    QCOMPARE(address.compose(), expected);
}

// The build's test authority (name-constrained to the loopback names) and
// the server certificate it signed for 127.0.0.1 and localhost.
void TestWebRules::certificateChain_data()
{
    QTest::addColumn<QString>("leaf");
    QTest::addColumn<QString>("host");
    QTest::addColumn<bool>("trustTestAuthority");
    QTest::addColumn<bool>("expected");
    QTest::newRow("test authority, address") << "server"
                                             << "127.0.0.1" << true << true;
    QTest::newRow("test authority, name") << "server"
                                          << "localhost" << true << true;
    QTest::newRow("another host") << "server"
                                  << "conf.example" << true << false;
    QTest::newRow("authority not trusted") << "server"
                                           << "127.0.0.1" << false << false;
    QTest::newRow("self-signed") << "self"
                                 << "127.0.0.1" << true << false;
    QTest::newRow("no certificate") << ""
                                    << "127.0.0.1" << true << false;
}

void TestWebRules::certificateChain()
{
    QFETCH(QString, leaf);
    QFETCH(QString, host);
    QFETCH(bool, trustTestAuthority);
    QFETCH(bool, expected);
    const QString tls = QStringLiteral(CONFSERVER_TLS_DIR);
    const QList<QSslCertificate> authority = QSslCertificate::fromPath(tls + "/rootca.pem");
    QCOMPARE(authority.size(), 1);
    QList<QSslCertificate> chain;
    QTemporaryDir dir;
    if (leaf == "server") {
        chain = QSslCertificate::fromPath(tls + "/server.pem");
    } else if (leaf == "self") {
        QVERIFY(makeSelfSignedPair(dir.filePath("self.pem"), dir.filePath("self.key")));
        chain = QSslCertificate::fromPath(dir.filePath("self.pem"));
    }
    QCOMPARE(CCertificateChain::verifies(chain, host, trustTestAuthority ? authority : QList<QSslCertificate>(), true),
             expected);
}

void TestWebRules::desktopAddresses_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("opened");
    QTest::newRow("reservation, https") << "go2Reservation"
                                        << "https://conf.example/portal/reservation"
                                        << "https://conf.example/portal/reservation";
    QTest::newRow("reservation, http") << "go2Reservation"
                                       << "http://127.0.0.1:8080/portal/reservation"
                                       << "http://127.0.0.1:8080/portal/reservation";
    QTest::newRow("reservation, file") << "go2Reservation"
                                       << "file:///etc/passwd"
                                       << "";
    QTest::newRow("reservation, mailto") << "go2Reservation"
                                         << "mailto:a@example.org"
                                         << "";
    QTest::newRow("reservation, script") << "go2Reservation"
                                         << "javascript:alert(1)"
                                         << "";
    QTest::newRow("reservation, no scheme") << "go2Reservation"
                                            << "conf.example/portal"
                                            << "";
    QTest::newRow("mail, mailto") << "sendEmail"
                                  << "mailto:li.chen@harbourline.example"
                                  << "mailto:li.chen@harbourline.example";
    QTest::newRow("mail, bare address") << "sendEmail"
                                        << "li.chen@harbourline.example"
                                        << "mailto:li.chen@harbourline.example";
    QTest::newRow("mail, subject and body kept")
        << "sendEmail"
        << "mailto:li.chen@harbourline.example?subject=Q3%20plan&body=Hi%26bye"
        << "mailto:li.chen@harbourline.example?subject=Q3%20plan&body=Hi%26bye";
    QTest::newRow("mail, other fields dropped")
        << "sendEmail"
        << "mailto:li.chen@harbourline.example?attach=/home/user/.ssh/id_rsa&subject=Hi&bcc=x@evil.example"
           "&Attachment=%2Fetc%2Fpasswd&cc=y@evil.example&to=z@evil.example&BODY=see&in-reply-to=1#frag"
        << "mailto:li.chen@harbourline.example?subject=Hi&BODY=see";
    QTest::newRow("mail, only fields to drop") << "sendEmail"
                                               << "mailto:li.chen@harbourline.example?attach=%2Fetc%2Fpasswd"
                                               << "mailto:li.chen@harbourline.example";
    QTest::newRow("mail, an encoded field name") << "sendEmail"
                                                 << "mailto:a@example.org?%61ttach=/etc/passwd&subj%65ct=x"
                                                 << "mailto:a@example.org?subj%65ct=x";
    QTest::newRow("mail, web address") << "sendEmail"
                                       << "https://conf.example/"
                                       << "";
    QTest::newRow("mail, file") << "sendEmail"
                                << "file:///home"
                                << "";
    QTest::newRow("mail, empty") << "sendEmail"
                                 << ""
                                 << "";
}

void TestWebRules::desktopAddresses()
{
    QFETCH(QString, slot);
    QFETCH(QString, given);
    QFETCH(QString, opened);
    CUrlCatcher catcher({"http", "https", "mailto", "file", "javascript"});
    CWebJsContext bridge(nullptr);
    QVERIFY(QMetaObject::invokeMethod(&bridge, slot.toLatin1().constData(), Q_ARG(QString, given)));
    if (opened.isEmpty()) {
        QVERIFY2(catcher.opened.isEmpty(), qPrintable(catcher.opened.value(0).toString()));
    } else {
        QCOMPARE(catcher.opened, QList<QUrl>{QUrl(opened)});
    }
}

QTEST_MAIN(TestWebRules)
#include "tst_webrules.moc"
