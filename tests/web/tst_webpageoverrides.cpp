// The page addresses that "app-config.ini" in the program's own folder gives
// (this test runs from a folder of its own and writes that file before
// anything reads it), and the failure cover of four pages at once in one
// load timeout: no address, a page that never reports ready, a dropped
// connection and an HTTPS server whose authority the program does not trust.
// Nobody signs in: without an account no page of the server has an address,
// so every address here is the file's.

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>

#include "statewait.h"
#include "app/cplatform.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "helpers/cappconfigutils.h"
#include "helpers/cuserconfigutils.h"
#include "models/ctrustedcertificates.h"
#include "views/web/cwebbrowserloadfailedform.h"
#include "views/web/cwebbrowserloadingform.h"
#include "webtest.h"

using confserver::CConfServer;
using confserver::CConfStore;
using confserver::CFault;
using kd_app::helpers::CAppConfigUtils;
using kd_app::views::CWebBrowserWrapperForm;

namespace {

const QString kFailureText = QStringLiteral("Failed to load, please check your network.");

// The control page without a meeting asks the REST API nothing, so it shows
// without a token.
const char kPage[] = "/portal/confControl";

QString appConfigPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/app-config.ini");
}

// Saves a picture of the form when KD_SCREENSHOT_DIR names a folder.
void keepPicture(QWidget *form, const QString &name)
{
    const QString folder = qEnvironmentVariable("KD_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        form->grab().save(folder + "/" + name + ".png");
    }
}

bool failedCoverShown(CWebBrowserWrapperForm *form)
{
    return form->loadFailedForm()->isVisible() && !form->loadingForm()->isVisible() && !form->webView()->isVisible();
}

} // namespace

class TestWebPageOverrides : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void addressesFromTheFile_data();
    void addressesFromTheFile();
    void fourFormsFailInOneTimeout();
    void olderDesktopLoadsLate();

private:
    QTemporaryDir m_userData;
    CConfStore m_store;
    std::unique_ptr<CConfServer> m_plain;
    std::unique_ptr<CConfServer> m_tls;
};

void TestWebPageOverrides::initTestCase()
{
    // Only the test's own authority could vouch for the HTTPS server, and this
    // folder holds no "rootca.pem" naming it.
    QVERIFY(!QFile::exists(kd_app::models::CTrustedCertificates::rootCaPath()));
    // The user's settings in a folder of this run.
    QVERIFY(m_userData.isValid());
    qputenv("appdata", QFile::encodeName(m_userData.filePath("appdata")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_userData.filePath("config")));
    kd_app::helpers::CUserConfigUtils::initInstance(
        QFile::encodeName(QCoreApplication::applicationFilePath()).constData());
    QVERIFY(m_store.loadSeed(portalSeed()));
    m_plain = std::make_unique<CConfServer>(m_store);
    m_tls = std::make_unique<CConfServer>(m_store, true);
    QVERIFY(m_plain->start());
    QVERIFY(m_tls->start());
    QFile config(appConfigPath());
    QVERIFY(config.open(QIODevice::WriteOnly | QIODevice::Truncate));
    config.write(QStringLiteral("[Config]\r\nConfInfoAddress=%1%3\r\nContactsAddress=%2%3\r\n")
                     .arg(m_plain->baseUrl(), m_tls->baseUrl(), QLatin1String(kPage))
                     .toUtf8());
    config.close();
    QCOMPARE(CAppConfigUtils::instance().getConfInfoAddress(), m_plain->baseUrl() + kPage);
}

void TestWebPageOverrides::cleanupTestCase()
{
    QFile::remove(appConfigPath());
}

void TestWebPageOverrides::cleanup()
{
    m_plain->clearFaults();
    kd_app::CPlatform::setWindows61OrOlderForTests(false);
}

void TestWebPageOverrides::addressesFromTheFile_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("address");
    QTest::newRow("meetings: ConfInfoAddress") << 0 << "plain";
    QTest::newRow("control: no key, no account") << 1 << "";
    QTest::newRow("contacts: ContactsAddress") << 2 << "tls";
}

void TestWebPageOverrides::addressesFromTheFile()
{
    QFETCH(int, type);
    QFETCH(QString, address);
    const QString expected = address == "plain" ? m_plain->baseUrl() + kPage
                             : address == "tls" ? m_tls->baseUrl() + kPage
                                                : QString();
    CWebBrowserWrapperForm form(type, nullptr);
    // Used as it is: no token or meeting number is added.
    QCOMPARE(form.getUrl(), expected);
}

void TestWebPageOverrides::fourFormsFailInOneTimeout()
{
    // The first request of the page gets an empty page, every later one a
    // dropped connection (a browser that retries a dropped request would
    // otherwise get the page the second time).
    m_plain->addFault(CFault{kPage, CFault::Kind::Blank, 0, 1});
    m_plain->addFault(CFault{kPage, CFault::Kind::Drop, 0, -1});
    CWebBrowserWrapperForm blank(0, nullptr);
    CWebBrowserWrapperForm dropped(0, nullptr);
    CWebBrowserWrapperForm noAddress(1, nullptr);
    CWebBrowserWrapperForm untrusted(2, nullptr);
    const QList<CWebBrowserWrapperForm *> forms{&blank, &dropped, &noAddress, &untrusted};
    for (CWebBrowserWrapperForm *form : forms) {
        form->updateDpi(1.0);
        form->resize(640, 480);
    }
    // The covers at both scales.
    untrusted.updateDpi(2.0);
    untrusted.resize(1280, 960);
    // One after the other, so the empty page goes to the first.
    blank.show();
    QVERIFY(waitUntil([this] { return m_plain->requestsTo(kPage).size() == 1; }, 10000));
    for (CWebBrowserWrapperForm *form : {&dropped, &noAddress, &untrusted}) {
        form->show();
    }
    for (CWebBrowserWrapperForm *form : forms) {
        QVERIFY(form->loadingForm()->isVisible());
    }
    keepPicture(&blank, "loading-cover-scale1");
    keepPicture(&untrusted, "loading-cover-scale2");
    // Opaque and white to the edge: the form's frame does not show around it.
    QCOMPARE(blank.grab().toImage().pixelColor(1, 1), QColor(Qt::white));
    // No address: nothing to load, and no browser page is made for it.
    QVERIFY(!noAddress.currentPage());
    // The empty page loads as far as the browser can tell, yet stays covered.
    QVERIFY(waitUntil([&blank] { return blank.currentPage()->url().path() == kPage; }, 5000));

    QTest::qWait(CWebBrowserWrapperForm::kLoadTimeoutMs - 3000);
    for (CWebBrowserWrapperForm *form : forms) {
        QVERIFY(form->loadingForm()->isVisible());
    }
    for (CWebBrowserWrapperForm *form : forms) {
        QTRY_VERIFY_WITH_TIMEOUT(failedCoverShown(form), kdtest::kStateWaitMs);
        QCOMPARE(form->loadFailedForm()->findChild<QLabel *>("label")->text(), kFailureText);
    }
    keepPicture(&blank, "failed-cover-scale1");
    keepPicture(&untrusted, "failed-cover-scale2");
    QCOMPARE(untrusted.grab().toImage().pixelColor(1, 1), QColor(Qt::white));
    QVERIFY(!blank.isPageCreated() && !dropped.isPageCreated() && !untrusted.isPageCreated());
    QCOMPARE(int(m_tls->requestsTo(kPage).size()), 0);

    // With the server mended, "Reload" shows the pages.
    m_plain->clearFaults();
    for (CWebBrowserWrapperForm *form : {&blank, &dropped}) {
        form->loadFailedForm()->findChild<QPushButton *>("pBtReload")->click();
        QVERIFY(form->loadingForm()->isVisible());
        QVERIFY(waitPageShown(form));
        QVERIFY(!form->loadFailedForm()->isVisible());
    }
}

// On the old desktop release the first load waits a moment after the show
// (the browser, already running here, starts a load at once otherwise).
void TestWebPageOverrides::olderDesktopLoadsLate()
{
    kd_app::CPlatform::setWindows61OrOlderForTests(true);
    CWebBrowserWrapperForm form(0, nullptr);
    form.updateDpi(1.0);
    form.show();
    QVERIFY(form.currentPage());
    QSignalSpy starts(form.currentPage(), &QWebEnginePage::loadStarted);
    waitUntil([] { return false; }, CWebBrowserWrapperForm::kDelayedLoadMs - 150);
    QCOMPARE(starts.size(), 0);
    QVERIFY(form.loadingForm()->isVisible());
    QVERIFY(waitPageShown(&form));
    QCOMPARE(starts.size(), 1);
}

KD_WEB_TEST_MAIN(TestWebPageOverrides)
#include "tst_webpageoverrides.moc"
