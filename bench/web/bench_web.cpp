// The meetings web page with 200 meetings, against the local server's
// portal as a signed-in "CCM" account: the first page of the process (sign-in
// to the page shown, the browser starting), a new page once the browser
// runs, refreshConferences() to its log line, and the memory (PSS) of the
// client and of its browser processes. Prints times in ms, memory in MiB.
//
//     QTWEBENGINE_DISABLE_SANDBOX=1 bench_web     (as root)
#include <algorithm>
#include <cstdio>
#include <mutex>
#include <vector>

#include <QDir>
#include <QElapsedTimer>

#include "benchstats.h"
#include "views/home/chomedlg.h"
#include "views/web/cwebjscontext.h"
#include "webtest.h"

using kd_app::views::CWebBrowserWrapperForm;

namespace {

constexpr int kMeetings = 200;

std::mutex g_linesMutex;
QStringList g_lines;
QtMessageHandler g_previous = nullptr;

void keepLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        std::lock_guard<std::mutex> lock(g_linesMutex);
        g_lines << message;
    }
    if (type != QtInfoMsg && g_previous) {
        g_previous(type, context, message);
    }
}

bool seen(const QString &text)
{
    std::lock_guard<std::mutex> lock(g_linesMutex);
    return std::any_of(g_lines.begin(), g_lines.end(), [&text](const QString &line) { return line.contains(text); });
}

void forget()
{
    std::lock_guard<std::mutex> lock(g_linesMutex);
    g_lines.clear();
}

double timeToPage(CWebBrowserWrapperForm *form)
{
    QElapsedTimer timer;
    timer.start();
    form->show();
    waitPageShown(form, 30000);
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    const COwnBrowserData browserData;
    QApplication app(argc, argv);
    g_previous = qInstallMessageHandler(keepLine);

    CHomeFixture fixture;
    if (!fixture.start(portalSeed())) {
        std::fprintf(stderr, "bench_web: the server or the engine did not start\n");
        return 1;
    }
    fixture.store().addGeneratedMeetings(kMeetings - 9, fixture.store().firstUserId());

    // The first page: sign-in, the home window, the browser starting.
    QElapsedTimer first;
    first.start();
    if (!fixture.signIn("demo", "Demo2026!")) {
        std::fprintf(stderr, "bench_web: sign-in failed\n");
        return 1;
    }
    kd_app::views::CHomeDlg *home = kd_app::views::CHomeDlg::getInstance();
    waitUntil([home] { return home->webMeetingsPage() && home->webMeetingsPage()->isPageCreated(); }, 60000);
    const double firstMs = first.nsecsElapsed() / 1e6;
    home->hide();

    std::vector<double> cold;
    std::vector<double> warm;
    std::vector<std::unique_ptr<CWebBrowserWrapperForm>> forms;
    for (int run = 0; run < 5; ++run) {
        auto form = std::make_unique<CWebBrowserWrapperForm>(0, nullptr);
        form->resize(1000, 700);
        cold.push_back(timeToPage(form.get()));
        // The same form again: its page is replaced and loaded anew.
        form->hide();
        form->updatePage();
        warm.push_back(timeToPage(form.get()));
        forms.push_back(std::move(form));
    }

    std::vector<double> refresh;
    QWebEnginePage *page = forms.front()->currentPage();
    for (int run = 0; run < 10; ++run) {
        forget();
        QElapsedTimer timer;
        timer.start();
        page->runJavaScript(QStringLiteral("refreshConferences()"));
        waitUntil([] { return seen(QStringLiteral("refreshConferences: %1 meetings").arg(kMeetings)); }, 10000);
        refresh.push_back(timer.nsecsElapsed() / 1e6);
    }
    forms.resize(1);

    double webMiB = 0;
    const QList<qint64> processes = descendants(QCoreApplication::applicationPid());
    for (qint64 pid : processes) {
        webMiB += pssMiB(pid);
    }
    std::printf("meetings on the page:                 %d\n", kMeetings);
    std::printf("sign-in to meetings page shown (ms):  %.1f\n", firstMs);
    std::printf("new page, loadStart to pageCreated:   median %.1f ms (5 runs)\n", median(cold));
    std::printf("replaced page, loadStart to created:  median %.1f ms (5 runs)\n", median(warm));
    std::printf("refreshConferences() to its log line: median %.1f ms (10 runs)\n", median(refresh));
    std::printf("PSS client process:                   %.1f MiB\n", pssMiB(QCoreApplication::applicationPid()));
    std::printf("PSS browser processes (%d, 2 pages):   %.1f MiB\n", processes.size(), webMiB);
    std::fflush(stdout);
    forms.clear();
    fixture.signOut();
    kd_app::views::CWebPageEngineCustomization::releaseAll();
    return 0;
}
