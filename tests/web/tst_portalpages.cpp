// The server's portal pages as a user drives them from the program: a
// meeting scheduled in the desktop's browser from the meetings page, and
// every page in the program's language.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QWebEngineView>

#include "statewait.h"
#include "clogcapture.h"
#include "curlcatcher.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"
#include "views/home/chomedlg.h"
#include "views/web/cwebbrowserloadfailedform.h"
#include "webtest.h"

using kd_app::helpers::CScriptText;
using kd_app::models::CLinguist;
using kd_app::models::CLoginManager;
using kd_app::views::CWebBrowserWrapperForm;

namespace {

// The desktop's browser: a page of its own, with no bridge to the program.
class CDesktopBrowser
{
public:
    CDesktopBrowser()
    {
        m_view.resize(900, 1000);
        m_view.show();
    }

    // Opens the address and signs in, as the page asks first.
    void open(const QUrl &address, const QString &account, const QString &password)
    {
        QSignalSpy loaded(m_view.page(), &QWebEnginePage::loadFinished);
        m_view.load(address);
        waitUntil([&loaded] { return !loaded.isEmpty(); }, kPageRoundTripMs);
        set("account", account);
        set("secret", password);
        run("document.getElementById('signinButton').click();");
    }

    // Opens the address as the demo user and waits until the reservation
    // form has its users: a sign-in and a read after the page's load.
    bool openReservation(const QUrl &address)
    {
        open(address, "demo", "Demo2026!");
        return waitUntil([this] { return run("document.querySelectorAll('#participants input').length").toInt() > 0; },
                         2 * kPageRoundTripMs);
    }

    QVariant run(const QString &script) { return runScript(m_view.page(), script); }
    void saveScreenshot(const QString &name) { ::saveScreenshot(&m_view, name); }
    QString text(const QString &selector)
    {
        return run(QStringLiteral("(function(){var n=document.querySelector(%1);return n?n.textContent:'';})()")
                       .arg(CScriptText::quoted(selector)))
            .toString();
    }

    // Fills the form as a user would and presses "Schedule": the browser
    // checks the fields first, as it does for a click.
    void schedule(const QString &title, const QDateTime &start, int hours, int minutes, const QStringList &participants)
    {
        set("name", title);
        set("start", start.toString("yyyy-MM-ddTHH:mm"));
        set("hours", QString::number(hours));
        set("minutes", QString::number(minutes));
        set("password", "2468");
        set("remarks", "Quarterly figures");
        for (const QString &name : participants) {
            run(QStringLiteral("Array.prototype.forEach.call(document.querySelectorAll('label.participant'),"
                               "function(l){if(l.textContent.trim()===%1)l.querySelector('input').click();});")
                    .arg(CScriptText::quoted(name)));
        }
        run("document.getElementById('outcome').textContent='';document.getElementById('submit').click();");
    }

    void set(const char *id, const QString &value)
    {
        run(QStringLiteral("document.getElementById('%1').value=%2;")
                .arg(QLatin1String(id), CScriptText::quoted(value)));
    }

    // What the page says after "Schedule", once it has the server's answer.
    QString outcome()
    {
        waitUntil(
            [this] {
                const QString said = text("#outcome");
                return !said.isEmpty() && said != "Scheduling..." && !said.startsWith(QString::fromUtf8("正在"));
            },
            kPageRoundTripMs);
        return text("#outcome");
    }

private:
    QWebEngineView m_view;
};

// Tomorrow at this time of day, on the minute: the form's precision.
QDateTime tomorrowAt(int hour, int minute)
{
    return QDateTime(QDate::currentDate().addDays(1), QTime(hour, minute));
}

} // namespace

class TestPortalPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void scheduleFromTheMeetingsPage();
    void scheduleKeepsToTheDurationRule_data();
    void scheduleKeepsToTheDurationRule();
    void pagesFollowTheLanguage();
    void signInIsAskedFor();

private:
    QString token() const { return QString::fromStdString(CLoginManager::getInstance().getLoginUserInfo().token); }
    QJsonObject meetingNamed(const QString &name);
    CWebBrowserWrapperForm *shownForm(int type);
    bool waitShown(CWebBrowserWrapperForm *form);
    QUrl reservationAddress();

    CHomeFixture m_fixture;
    std::unique_ptr<CWebBrowserWrapperForm> m_pForms[3];
    CLogCapture *m_pLog = nullptr;
};

void TestPortalPages::initTestCase()
{
    CLinguist::getInstance()->changeLanguage(CLinguist::EN_US);
    QVERIFY(m_fixture.start(portalSeed()));
    QVERIFY(m_fixture.signIn("demo", "Demo2026!"));
    // The home window's own pages are not what this test drives.
    kd_app::views::CHomeDlg *home = kd_app::views::CHomeDlg::getInstance();
    QTRY_VERIFY(home->isVisible());
    home->hide();
    m_pLog = new CLogCapture;
}

void TestPortalPages::cleanupTestCase()
{
    for (auto &form : m_pForms) {
        form.reset();
    }
    delete m_pLog;
}

CWebBrowserWrapperForm *TestPortalPages::shownForm(int type)
{
    std::unique_ptr<CWebBrowserWrapperForm> &form = m_pForms[type];
    if (!form) {
        form = std::make_unique<CWebBrowserWrapperForm>(type, nullptr);
        form->resize(900, 600);
    }
    form->show();
    return form.get();
}

// Shown and uncovered. On a machine so busy that the browser's first start
// outlasts the form's load timeout, the user's "Reload" brings the page.
bool TestPortalPages::waitShown(CWebBrowserWrapperForm *form)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        waitUntil([form] { return form->isPageCreated() || form->loadFailedForm()->isVisible(); },
                  CWebBrowserWrapperForm::kLoadTimeoutMs + kPageRoundTripMs);
        if (!form->loadFailedForm()->isVisible()) {
            break;
        }
        form->slotReload();
    }
    return waitPageShown(form, kPageRoundTripMs);
}

QJsonObject TestPortalPages::meetingNamed(const QString &name)
{
    for (const QJsonValue &meeting : m_fixture.store().meetings(token()).value.toArray()) {
        if (meeting.toObject().value("name").toString() == name) {
            return meeting.toObject();
        }
    }
    return QJsonObject();
}

// What the meetings page's "Schedule" hands to the desktop's browser.
QUrl TestPortalPages::reservationAddress()
{
    CWebBrowserWrapperForm *meetings = shownForm(0);
    if (!waitShown(meetings)) {
        return QUrl();
    }
    CUrlCatcher catcher;
    clickOnPage(meetings->currentPage(), QString(), "schedule");
    waitUntil([&catcher] { return !catcher.opened.isEmpty(); }, kPageRoundTripMs);
    return catcher.opened.value(0);
}

void TestPortalPages::scheduleFromTheMeetingsPage()
{
    const QUrl address = reservationAddress();
    QCOMPARE(address.path(), QStringLiteral("/portal/reservation"));
    CDesktopBrowser browser;
    QVERIFY(browser.openReservation(address));
    // The program's token stays in the program: the browser (its command
    // line, address bar and history) never has it, nor does the log.
    QCOMPARE(address.query(), QStringLiteral("lang=en-US"));
    for (const QString &line : m_pLog->all()) {
        QVERIFY2(!line.contains(token()), qPrintable(line));
    }

    const QDateTime start = tomorrowAt(10, 30);
    browser.schedule("Harbour review", start, 2, 15, {"Marta Kowalski", "James Okafor"});
    const QString said = browser.outcome();
    browser.saveScreenshot("reservation-scheduled");
    QVERIFY2(said.startsWith("The meeting is scheduled. Meeting ID:"), qPrintable(said));

    const QJsonObject meeting = meetingNamed("Harbour review");
    QVERIFY(!meeting.isEmpty());
    QVERIFY2(said.contains(QString::number(meeting.value("numericId").toInt())), qPrintable(said));
    QCOMPARE(qint64(meeting.value("startTime").toDouble()), start.toMSecsSinceEpoch());
    QCOMPARE(qint64(meeting.value("duration").toDouble()), qint64((2 * 60 + 15) * 60000));
    QCOMPARE(meeting.value("confPassword").toString(), QStringLiteral("2468"));
    QCOMPARE(meeting.value("remarks").toString(), QStringLiteral("Quarterly figures"));
    QStringList invited;
    for (const QJsonValue &user : meeting.value("users").toArray()) {
        invited << user.toObject().value("displayName").toString();
    }
    QVERIFY2(invited.contains("Marta Kowalski") && invited.contains("James Okafor"), qPrintable(invited.join(',')));

    // Back in the program, the meetings page shows the new meeting.
    CWebBrowserWrapperForm *meetings = shownForm(0);
    runScript(meetings->currentPage(), "window.dispatchEvent(new Event('focus'));");
    QTRY_VERIFY_WITH_TIMEOUT(runScript(meetings->currentPage(), "document.getElementById('list').textContent")
                                 .toString()
                                 .contains("Harbour review"),
                             kPageRoundTripMs);
}

void TestPortalPages::scheduleKeepsToTheDurationRule_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<bool>("scheduled");
    QTest::newRow("a whole day") << 24 << 0 << true;
    QTest::newRow("a minute") << 0 << 1 << true;
    QTest::newRow("over a day") << 24 << 1 << false;
    QTest::newRow("no time") << 0 << 0 << false;
}

void TestPortalPages::scheduleKeepsToTheDurationRule()
{
    QFETCH(int, hours);
    QFETCH(int, minutes);
    QFETCH(bool, scheduled);
    CDesktopBrowser browser;
    QVERIFY(browser.openReservation(reservationAddress()));
    const QString title = QStringLiteral("Length %1:%2").arg(hours).arg(minutes);
    browser.schedule(title, tomorrowAt(9, 0), hours, minutes, {});
    const QString said = browser.outcome();
    if (scheduled) {
        QVERIFY2(said.startsWith("The meeting is scheduled."), qPrintable(said));
        QCOMPARE(qint64(meetingNamed(title).value("duration").toDouble()), qint64((hours * 60 + minutes) * 60000));
    } else {
        QCOMPARE(said, QStringLiteral("A meeting lasts from 1 minute to 24 hours."));
        QVERIFY(meetingNamed(title).isEmpty());
    }
}

void TestPortalPages::pagesFollowTheLanguage()
{
    struct CText
    {
        int type;
        const char *selector;
        const char *english;
        const char *chinese;
    };
    const CText texts[] = {
        {0, "h1", "Meetings", "会议"},
        {0, "#schedule", "Schedule", "预约"},
        {0, ".row .primary", "Join", "加入"},
        {0, ".row button:not(.primary)", "Audio only", "仅语音"},
        {1, "h1", "Conference control", "会议控制"},
        {1, "#list", "No meeting", "没有会议"},
        {2, "h1", "Contacts", "联系人"},
        {2, "#reload", "Reload", "重新加载"},
        {2, ".row .primary", "Video", "视频"},
    };
    const auto shownText = [this](const CText &text) {
        return runScript(m_pForms[text.type]->currentPage(),
                         QStringLiteral("(function(){var n=document.querySelector(%1);return n?n.textContent:'';})()")
                             .arg(CScriptText::quoted(QLatin1String(text.selector))))
            .toString();
    };

    // Loaded while the program speaks Chinese.
    for (auto &form : m_pForms) {
        form.reset();
    }
    CLinguist::getInstance()->changeLanguage(CLinguist::ZH_CN);
    for (int type = 0; type < 3; ++type) {
        QVERIFY(waitShown(shownForm(type)));
    }
    for (const CText &text : texts) {
        QTRY_COMPARE_WITH_TIMEOUT(shownText(text), QString::fromUtf8(text.chinese), kPageRoundTripMs);
    }
    QCOMPARE(runScript(m_pForms[0]->currentPage(), "document.documentElement.lang").toString(),
             QStringLiteral("zh-CN"));

    // The reservation page in the desktop's browser speaks it too.
    const QUrl address = reservationAddress();
    QCOMPARE(QUrlQuery(address).queryItemValue("lang"), QStringLiteral("zh-CN"));
    {
        CDesktopBrowser browser;
        QVERIFY(browser.openReservation(address));
        browser.saveScreenshot("reservation-zh");
        QCOMPARE(browser.text("h1"), QString::fromUtf8("预约会议"));
        QCOMPARE(browser.text("label[for=name]"), QString::fromUtf8("会议主题"));
    }

    // A change of language reaches the loaded pages without a reload.
    const auto pageLoads = [this] { return m_fixture.server().requestsTo("/portal/").size(); };
    const size_t loads = pageLoads();
    CLinguist::getInstance()->changeLanguage(CLinguist::EN_US);
    for (const CText &text : texts) {
        QTRY_COMPARE_WITH_TIMEOUT(shownText(text), QString::fromUtf8(text.english), kPageRoundTripMs);
    }
    QCOMPARE(pageLoads(), loads);
}

// The reservation page asks the user to sign in, at first and again when
// its sign-in has expired.
void TestPortalPages::signInIsAskedFor()
{
    CDesktopBrowser browser;
    const QUrl address = reservationAddress();
    browser.open(address, "demo", "wrong password");
    QTRY_COMPARE_WITH_TIMEOUT(browser.text("#signinOutcome"), QStringLiteral("Invalid username or password."),
                              kPageRoundTripMs);
    QVERIFY(browser.run("document.getElementById('reservation').hidden").toBool());

    QVERIFY(browser.openReservation(address));
    const QString pageToken = browser.run("window.sessionStorage.getItem('reservationToken')").toString();
    QVERIFY(!pageToken.isEmpty());
    QVERIFY(pageToken != token());
    m_fixture.store().expireToken(pageToken);
    browser.schedule("Too late", tomorrowAt(11, 0), 1, 0, {});
    QTRY_COMPARE_WITH_TIMEOUT(browser.text("#signinOutcome"),
                              QStringLiteral("Your sign-in has expired. Please log in again."), kPageRoundTripMs);
    QVERIFY(!browser.run("document.getElementById('signin').hidden").toBool());
    QVERIFY(meetingNamed("Too late").isEmpty());
}

KD_WEB_TEST_MAIN(TestPortalPages)

#include "tst_portalpages.moc"
