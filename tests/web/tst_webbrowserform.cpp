// The server's web pages in their form, against the local server's portal
// as a signed-in "CCM" account: covers and page states, the bridge as the
// pages use it, an expired token, a crashed renderer and the program's exit.

#include <csignal>

#include <QProcess>
#include <QSignalSpy>
#include <QWebEngineView>

#include "statewait.h"
#include "clogcapture.h"
#include "curlcatcher.h"
#include "helpers/clogformat.h"
#include "models/cloginmanager.h"
#include "views/cmaindlgmanager.h"
#include "views/home/chomedlg.h"
#include "views/web/cwebbrowserloadfailedform.h"
#include "views/web/cwebbrowserloadingform.h"
#include "views/web/cwebjscontext.h"
#include "webtest.h"

using kd_app::helpers::CLogFormat;
using kd_app::models::CLoginManager;
using kd_app::views::CWebBrowserWrapperForm;
using kd_app::views::CWebJsContext;
using kd_app::views::CWebPageEngineCustomization;

namespace {

const char kExitChild[] = "KD_WEB_EXIT_CHILD";

} // namespace

class TestWebBrowserForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void addressOfEachPage();
    void coversAndSecondShow();
    void pageLifecycleEdges();
    void bridgeFromThePages_data();
    void bridgeFromThePages();
    void everyContactButtonActs();
    void secondPageCreatedChangesNothing();
    void displayNameEchoedAsText_data();
    void displayNameEchoedAsText();
    void expiredTokenReloadsEveryForm();
    void crashedRendererComesBack();
    void exitReleasesEveryPage();

private:
    QString token() const { return QString::fromStdString(CLoginManager::getInstance().getLoginUserInfo().token); }
    int pageRequests(const char *page)
    {
        return int(m_fixture.server().requestsTo(std::string("/portal/") + page).size());
    }
    CWebBrowserWrapperForm *loadedForm(int type);

    CHomeFixture m_fixture;
    std::unique_ptr<CWebBrowserWrapperForm> m_pMeetings;
    std::unique_ptr<CWebBrowserWrapperForm> m_pContacts;
    CLogCapture *m_pLog = nullptr;
};

void TestWebBrowserForm::initTestCase()
{
    QVERIFY(m_fixture.start(portalSeed()));
    QVERIFY(m_fixture.signIn("demo", "Demo2026!"));
    // The home window shows its own meetings page; once it has loaded, the
    // window stays out of the way.
    kd_app::views::CHomeDlg *home = kd_app::views::CHomeDlg::getInstance();
    QTRY_VERIFY(home->webMeetingsPage());
    QVERIFY(waitPageShown(home->webMeetingsPage()));
    home->hide();
    m_pLog = new CLogCapture;
}

void TestWebBrowserForm::cleanupTestCase()
{
    m_pMeetings.reset();
    m_pContacts.reset();
    delete m_pLog;
}

CWebBrowserWrapperForm *TestWebBrowserForm::loadedForm(int type)
{
    std::unique_ptr<CWebBrowserWrapperForm> &form = type == 0 ? m_pMeetings : m_pContacts;
    if (!form) {
        form = std::make_unique<CWebBrowserWrapperForm>(type, nullptr);
        form->resize(900, 600);
        form->show();
        waitPageShown(form.get());
    } else if (!form->isVisible()) {
        form->show();
    }
    return form.get();
}

void TestWebBrowserForm::addressOfEachPage()
{
    const int livePages = CWebPageEngineCustomization::liveCount();
    const QString start = QStringLiteral("http://127.0.0.1:%1/portal/").arg(m_fixture.server().port());
    const QString query = QStringLiteral("?token=%1&numericId=").arg(token());
    const QStringList pages{"conferences", "confControl", "contact"};
    for (int type = 0; type < 3; ++type) {
        CWebBrowserWrapperForm form(type, nullptr);
        QCOMPARE(form.getUrl(), start + pages[type] + query);
    }
    // A form that was never shown has made no browser page.
    QCOMPARE(CWebPageEngineCustomization::liveCount(), livePages);
}

void TestWebBrowserForm::coversAndSecondShow()
{
    CWebBrowserWrapperForm form(0, nullptr);
    form.updateDpi(1.5);
    form.resize(800, 600);
    const int before = pageRequests("conferences");
    form.show();
    QVERIFY(form.loadingForm()->isVisible());
    QVERIFY(!form.webView()->isVisible());
    QVERIFY(!form.loadFailedForm()->isVisible());
    QCOMPARE(form.loadingForm()->size(), QSize(800, 600));
    QVERIFY(waitPageShown(&form));
    QVERIFY(!form.loadingForm()->isVisible());
    QCOMPARE(form.currentPage()->zoomFactor(), 1.5);
    QCOMPARE(pageRequests("conferences"), before + 1);
    QTRY_VERIFY(m_pLog->contains("conferences: 9 meetings"));

    // Shown again: the page refreshes its list in place.
    m_pLog->clear();
    form.hide();
    form.show();
    QTRY_VERIFY(m_pLog->contains("refreshConferences: 9 meetings"));
    QCOMPARE(pageRequests("conferences"), before + 1);
    QVERIFY(form.webView()->isVisible());

    // The conference-control page has nothing to refresh.
    CWebBrowserWrapperForm control(1, nullptr);
    control.show();
    QVERIFY(waitPageShown(&control));
    QTRY_VERIFY(m_pLog->contains("confControl: no meeting"));
    const int controlRequests = pageRequests("confControl");
    m_pLog->clear();
    control.hide();
    control.show();
    QTest::qWait(300);
    QCOMPARE(pageRequests("confControl"), controlRequests);
    QVERIFY(!m_pLog->contains("refresh"));
}

void TestWebBrowserForm::pageLifecycleEdges()
{
    // Never loaded: updatePage and stopWeb do nothing, no browser page appears.
    const int livePages = CWebPageEngineCustomization::liveCount();
    CWebBrowserWrapperForm fresh(2, nullptr);
    fresh.updatePage();
    fresh.stopWeb();
    QVERIFY(!fresh.isPageUsed());
    QCOMPARE(CWebPageEngineCustomization::liveCount(), livePages);

    CWebBrowserWrapperForm form(2, nullptr);
    form.show();
    QVERIFY(waitPageShown(&form));
    const int loaded = pageRequests("contact");

    // Released: shown again, nothing loads until asked.
    form.releaseCurrentPage();
    QVERIFY(!form.currentPage());
    form.hide();
    form.show();
    QTest::qWait(300);
    QCOMPARE(pageRequests("contact"), loaded);
    QVERIFY(!form.currentPage());
    QVERIFY(!form.webView()->isVisible());

    // Updated: the next show loads afresh.
    form.updatePage();
    QVERIFY(!form.isPageUsed());
    form.hide();
    form.show();
    QVERIFY(waitPageShown(&form));
    QCOMPARE(pageRequests("contact"), loaded + 1);
}

void TestWebBrowserForm::bridgeFromThePages_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QVariantList>("join");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("logLine");
    const QString port = QString::number(0);
    QTest::newRow("join") << 0 << "80001"
                          << "Join" << QVariantList{"80001", "", false, ""} << ""
                          << "";
    QTest::newRow("join with password") << 0 << "80002"
                                        << "Join" << QVariantList{"80002", "4711", false, ""} << ""
                                        << "";
    QTest::newRow("audio only") << 0 << "80003"
                                << "Audio only" << QVariantList{"80003", "", true, ""} << ""
                                << "";
    QTest::newRow("schedule") << 0 << ""
                              << "schedule" << QVariantList() << "/portal/reservation"
                              << "";
    QTest::newRow("video call") << 2 << "Marta Kowalski"
                                << "Video" << QVariantList{"6002", "", false, "Marta Kowalski"} << ""
                                << "";
    QTest::newRow("audio call") << 2 << "James Okafor"
                                << "Audio" << QVariantList{"6003", "", true, "James Okafor"} << ""
                                << "";
    QTest::newRow("e-mail") << 2 << "Marta Kowalski"
                            << "E-mail" << QVariantList() << "mailto:marta.kowalski@harbourline.example"
                            << "";
    QTest::newRow("reload") << 2 << ""
                            << "reload" << QVariantList() << ""
                            << "refreshContacts: 7 contacts";
}

void TestWebBrowserForm::bridgeFromThePages()
{
    QFETCH(int, type);
    QFETCH(QString, row);
    QFETCH(QString, button);
    QFETCH(QVariantList, join);
    QFETCH(QString, opened);
    QFETCH(QString, logLine);
    CWebBrowserWrapperForm *form = loadedForm(type);
    QVERIFY(form->isPageCreated());
    CUrlCatcher catcher;
    QSignalSpy joins(form, &CWebBrowserWrapperForm::sigJoinConf);
    m_pLog->clear();
    QVERIFY(clickOnPage(form->currentPage(), row, button));
    if (!join.isEmpty()) {
        QTRY_COMPARE(joins.size(), 1);
        QCOMPARE(joins.first(), join);
    }
    if (!opened.isEmpty()) {
        QTRY_COMPARE(catcher.opened.size(), 1);
        const QString address = catcher.opened.first().adjusted(QUrl::RemoveQuery).toString();
        QVERIFY2(address.endsWith(opened), qPrintable(address));
    }
    if (!logLine.isEmpty()) {
        QTRY_VERIFY2(m_pLog->contains(logLine), qPrintable(m_pLog->all().join('\n')));
    }
    if (button == "reload") {
        QVERIFY(m_pLog->contains("do nothing currently"));
    }
    // A meeting password reaches the join, never the log.
    for (const QString &line : m_pLog->all()) {
        QVERIFY2(!line.contains("4711"), qPrintable(line));
    }
}

// A button in a contact's row that only writes to the log leaves the user
// with a click that does nothing: each one calls or writes.
void TestWebBrowserForm::everyContactButtonActs()
{
    CWebBrowserWrapperForm *form = loadedForm(2);
    QVERIFY(form->isPageCreated());
    const QString contact = QStringLiteral("James Okafor");
    const QStringList buttons =
        runScript(form->currentPage(),
                  QStringLiteral("(function(){var row=Array.prototype.filter.call(document.querySelectorAll('.row'),"
                                 "function(r){return r.textContent.indexOf(%1)>=0;})[0];"
                                 "return row?Array.prototype.map.call(row.querySelectorAll('button'),"
                                 "function(b){return b.textContent;}):[];})()")
                      .arg(kd_app::helpers::CScriptText::quoted(contact)))
            .toStringList();
    QVERIFY2(buttons.size() >= 2, qPrintable(buttons.join(',')));
    for (const QString &button : buttons) {
        CUrlCatcher catcher;
        QSignalSpy joins(form, &CWebBrowserWrapperForm::sigJoinConf);
        QVERIFY(clickOnPage(form->currentPage(), contact, button));
        QTRY_VERIFY2_WITH_TIMEOUT(joins.size() + catcher.opened.size() == 1, qPrintable(button), kPageRoundTripMs);
        if (!joins.isEmpty()) {
            QCOMPARE(joins.first().at(0).toString(), QStringLiteral("6003"));
            QCOMPARE(joins.first().at(3).toString(), contact);
        }
    }
}

void TestWebBrowserForm::secondPageCreatedChangesNothing()
{
    CWebBrowserWrapperForm *form = loadedForm(0);
    form->updateDpi(1.0);
    form->currentPage()->setZoomFactor(1.25);
    CUrlCatcher catcher;
    m_pLog->clear();
    runScript(form->currentPage(), "portal.bridge.pageCreated(); portal.bridge.go2Reservation('file:///etc/passwd');"
                                   "portal.bridge.webLog('after');");
    QTRY_VERIFY(m_pLog->contains("after"));
    QCOMPARE(form->currentPage()->zoomFactor(), 1.25);
    QVERIFY(m_pLog->contains("refused: file:///etc/passwd"));
    QVERIFY(catcher.opened.isEmpty());
}

void TestWebBrowserForm::displayNameEchoedAsText_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("quote") << "Dara O'Brien";
    QTest::newRow("backslash") << "C:\\Users\\dana";
    QTest::newRow("line break") << "first\nsecond\r\n";
    QTest::newRow("separators") << QString::fromUtf8("a\u2028b\u2029c");
    QTest::newRow("breaking out") << "');injected=1;x('";
    QTest::newRow("markup") << "<img src=x onerror=\"injected=1\">";
    QTest::newRow("non-ASCII") << QString::fromUtf8("陈丽 \"Li\"");
}

void TestWebBrowserForm::displayNameEchoedAsText()
{
    QFETCH(QString, name);
    CWebBrowserWrapperForm *form = loadedForm(0);
    CLoginManager &login = CLoginManager::getInstance();
    const QString previous = login.getDisplayName();
    runScript(form->currentPage(), "window.injected = 0;");
    m_pLog->clear();
    login.setDisplayName(name);
    QTRY_VERIFY2(m_pLog->contains("updateLoginUser: " + CLogFormat::oneLine(name)),
                 qPrintable(m_pLog->all().join('\n')));
    QCOMPARE(runScript(form->currentPage(), "document.getElementById('loginUser').textContent").toString(), name);
    QCOMPARE(runScript(form->currentPage(), "window.injected").toInt(), 0);
    login.setDisplayName(previous);
}

void TestWebBrowserForm::expiredTokenReloadsEveryForm()
{
    CWebBrowserWrapperForm *contacts = loadedForm(2);
    contacts->hide();
    CWebBrowserWrapperForm *meetings = loadedForm(0);
    const QString oldToken = token();
    const int meetingLoads = pageRequests("conferences");
    const int contactLoads = pageRequests("contact");
    m_pLog->clear();
    m_fixture.store().expireToken(oldToken);
    runScript(meetings->currentPage(), "refreshConferences()");
    QTRY_VERIFY2_WITH_TIMEOUT(token() != oldToken, qPrintable(m_pLog->all().join('\n')), kdtest::kStateWaitMs);
    const QString newToken = token();
    // Hidden or not, each form loads its page again with the new token.
    QVERIFY(waitPageShown(meetings));
    QTRY_VERIFY(contacts->isPageCreated());
    const QString expected = "token=" + newToken;
    QVERIFY(meetings->currentPage()->url().toString().contains(expected));
    QVERIFY(contacts->currentPage()->url().toString().contains(expected));
    QVERIFY(pageRequests("conferences") > meetingLoads);
    QVERIFY(pageRequests("contact") > contactLoads);
    for (const QString &line : m_pLog->all()) {
        QVERIFY2(!line.contains(oldToken) && !line.contains(newToken), qPrintable(line));
    }
}

void TestWebBrowserForm::crashedRendererComesBack()
{
    CWebBrowserWrapperForm *form = loadedForm(0);
    const qint64 pid = form->currentPage()->renderProcessPid();
    QVERIFY(pid > 0);
    const int loads = pageRequests("conferences");
    m_pLog->clear();
    QCOMPARE(::kill(pid_t(pid), SIGKILL), 0);
    QTRY_VERIFY_WITH_TIMEOUT(m_pLog->contains("terminationStatus: KilledTerminationStatus"), kdtest::kStateWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(pageRequests("conferences"), loads + 1, kdtest::kStateWaitMs);
    QTRY_VERIFY_WITH_TIMEOUT(m_pLog->contains("conferences: 9 meetings"), kdtest::kStateWaitMs);
    QVERIFY(form->currentPage()->renderProcessPid() != pid);
}

// The program as it runs: signed in to a "CCM" server, its pages loaded,
// then the window manager's exit.
void TestWebBrowserForm::exitReleasesEveryPage()
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kExitChild, "1");
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(60000));
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    const QString output = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(output.contains("pages shown"), qPrintable(output + errors));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QVERIFY2(!errors.contains("Release of profile requested"), qPrintable(errors));
}

// The child of exitReleasesEveryPage.
static int runUntilExit()
{
    CHomeFixture fixture;
    if (!fixture.start(portalSeed()) || !fixture.signIn("demo", "Demo2026!")) {
        return 2;
    }
    kd_app::views::CHomeDlg *home = kd_app::views::CHomeDlg::getInstance();
    const bool shown = waitUntil(
        [home] { return home->isVisible() && home->webMeetingsPage() && home->webMeetingsPage()->isPageCreated(); },
        20000);
    if (!shown) {
        return 3;
    }
    std::printf("pages shown\n");
    std::fflush(stdout);
    // The program's exit ends the process at once, which leaves the
    // application object, and with it the browser's profile, to the system.
    // Here main returns and destroys them, as the end of a run may: a page
    // still alive then is what the exit must not leave.
    int exitCode = 4;
    kd_app::views::CMainDlgManager::setProcessExit([&exitCode](int code) { exitCode = code; });
    kd_app::views::CMainDlgManager::getInstance()->exitApp();
    return exitCode;
}

int main(int argc, char **argv)
{
    const COwnBrowserData browserData;
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(kExitChild)) {
        return runUntilExit();
    }
    TestWebBrowserForm test;
    const int failed = QTest::qExec(&test, argc, argv);
    CWebPageEngineCustomization::releaseAll();
    return failed;
}

#include "tst_webbrowserform.moc"
