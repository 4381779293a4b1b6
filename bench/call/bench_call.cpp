// The call toolbar with a large meeting, on a private 1920 x 1080 X server
// against the local conference server through the engine's HTTP backend:
//
//   attendees  a 1,000-participant reply from the server until both lists of
//              the shown attendee window are filled and painted (avatars
//              cached), and the window's refresh alone;
//   share      a click on Share until the picker is on screen with the
//              screen's thumbnail.
//
// Prints medians in ms and fails when one misses its bound.
//
//     bench_call [attendees | share]
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "benchstats.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "clientfixture.h"
#include "models/cucmapimanager.h"
#include "models/curlpixmap.h"
#include "ownxvfb.h"
#include "views/call/attendees/cattendeeslistmodel.h"
#include "views/call/attendees/cattendeeslistview.h"
#include "views/call/attendees/cattendesswidgets.h"
#include "views/call/share/cpreview.h"
#include "views/call/share/cselectsharecontent.h"
#include "views/call/share/cwidgetcontents.h"
#include "views/call/share/cwidgetcontentsub.h"
#include "views/call/toolbar/clayouttoolbardlg.h"

using kd_app::models::CUCMApiManager;
using kd_app::views::CAttendessWidgets;
using kd_app::views::CLayoutToolbarDlg;
using kd_app::views::CSelectShareContent;

namespace {

constexpr int kParticipants = 1000;
constexpr int kRuns = 11;
constexpr double kReplyBoundMs = 50;
constexpr double kRefreshBoundMs = 10;
constexpr double kShareBoundMs = 150;

const QByteArray kSeed = R"({
    "organisation": {"company": 7, "companyShortName": "Bench", "appServerType": "UCM"},
    "users": [{"id": 1, "name": "host", "password": "Host2026!", "displayName": "Host"}],
    "meetings": [{"id": 1, "numericId": 70001, "name": "All hands", "startInMinutes": -5, "status": "ONGOING",
                  "applicantId": 1, "userIds": [1]}]
})";

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Lays out and paints what changed, as the event loop would after the call.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

bool waitFor(QSignalSpy &spy)
{
    const int before = spy.count();
    return QTest::qWaitFor([&spy, before] { return spy.count() > before; }, 10000);
}

bool report(const char *what, double ms, double bound)
{
    const bool good = ms < bound;
    std::printf("%s: median %.1f ms of %d%s\n", what, ms, kRuns,
                good ? "" : qPrintable(QString("  (bound: below %1 ms)").arg(bound)));
    return good;
}

bool signInAndJoin(confserver::CConfServer &http)
{
    using namespace fixture;
    CLoginManager &login = CLoginManager::getInstance();
    if (!login.login("127.0.0.1", false, http.port(), "host", "Host2026!") ||
        !QTest::qWaitFor([&login] { return login.getLoginStatus() == enums::LoggedIn; }, 10000)) {
        std::fprintf(stderr, "sign-in failed\n");
        return false;
    }
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("70001", QString(), true, QString());
    if (!QTest::qWaitFor([&calls] { return calls.getCallStatus() == enums::Connected; }, 10000)) {
        std::fprintf(stderr, "the call did not connect\n");
        return false;
    }
    return true;
}

bool benchAttendees(confserver::CConfServer &http, confserver::CConfStore &store)
{
    store.addGeneratedUsers(kParticipants - 1);
    const int first = store.firstUserId();
    for (int i = 0; i < kParticipants - 1; ++i) {
        // Every fourth joins without video, so both lists are long.
        store.joinMeeting(store.issueToken(first + 1 + i), "70001",
                          i % 4 == 0 ? R"({"videoMode": false})" : R"({"videoMode": true})");
    }
    const fixture::CLoginManager &login = fixture::CLoginManager::getInstance();
    CUCMApiManager *api = CUCMApiManager::getInstance();
    QSignalSpy replies(api, &CUCMApiManager::signal_getParticipants_succeed);
    const auto ask = [&] { api->getParticipants(login.getServerUrl(), login.getLoginToken(), "70001"); };
    ask();
    if (!waitFor(replies)) {
        std::fprintf(stderr, "no participant list\n");
        return false;
    }
    // Every face already downloaded, as after the first poll of a call.
    QPixmap avatar(40, 40);
    avatar.fill(Qt::darkCyan);
    for (const ucmParticipantData &participant : api->getParticipantList()) {
        kd_app::models::g_urlPixmapCache.insert(participant.avatarUrl, avatar);
    }

    CAttendessWidgets window(nullptr);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the attendee window did not show\n");
        return false;
    }
    std::vector<double> replyRuns;
    for (int run = 0; run < kRuns; ++run) {
        replyRuns.push_back(elapsedMs([&] {
            ask();
            waitFor(replies);
            settle();
        }));
    }
    std::vector<double> refreshRuns;
    for (int run = 0; run < kRuns; ++run) {
        refreshRuns.push_back(elapsedMs([&] {
            window.slot_getParticipants_succeed();
            settle();
        }));
    }
    const int listed = window.videoCount() + window.audioCount();
    std::printf("attendees: %d listed (video %d, audio %d)\n", listed, window.videoCount(), window.audioCount());
    if (listed != kParticipants) {
        std::fprintf(stderr, "expected %d attendees\n", kParticipants);
        return false;
    }
    const bool replyGood = report("1,000-participant reply to both lists filled", median(replyRuns), kReplyBoundMs);
    const bool refreshGood = report("attendee window refresh alone", median(refreshRuns), kRefreshBoundMs);
    return replyGood && refreshGood;
}

bool benchShare()
{
    CLayoutToolbarDlg toolbar(nullptr);
    toolbar.show();
    if (!QTest::qWaitForWindowExposed(&toolbar)) {
        std::fprintf(stderr, "the toolbar did not show\n");
        return false;
    }
    auto *share = qobject_cast<QToolButton *>(toolbar.button("m_pBtnShare"));
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        bool shown = false;
        runs.push_back(elapsedMs([&] {
            QTest::mouseClick(share, Qt::LeftButton);
            CSelectShareContent *picker = toolbar.sharePicker();
            shown = picker && QTest::qWaitForWindowExposed(picker) && !picker->screenGrid()->tiles().isEmpty() &&
                    picker->screenGrid()->tiles().first()->preview()->hasThumbnail();
            settle();
        }));
        if (!shown) {
            std::fprintf(stderr, "the picker did not show a screen thumbnail\n");
            return false;
        }
        QPointer<CSelectShareContent> picker = toolbar.sharePicker();
        picker->close();
        if (!QTest::qWaitFor([&picker] { return !picker; }, 5000)) {
            std::fprintf(stderr, "the picker did not close\n");
            return false;
        }
    }
    return report("Share click to the picker shown with thumbnails", median(runs), kShareBoundMs);
}

} // namespace

int main(int argc, char *argv[])
{
    OwnXvfb xvfb;
    if (!xvfb.ok()) {
        std::fprintf(stderr, "no private X server: %s\n", xvfb.error().c_str());
        return 1;
    }
    qputenv("KDSDK_BACKEND", "http");
    qputenv("KDSDK_DEVICES", "synthetic");
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    // The client logs every request and row; keep the figures readable.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    QTemporaryDir appData;
    confserver::CConfStore store;
    store.loadSeed(kSeed);
    confserver::CConfServer http(store);
    if (!appData.isValid() || !http.start() || !fixture::startClient(appData) || !signInAndJoin(http)) {
        std::fprintf(stderr, "cannot start the server or the client\n");
        return 1;
    }
    const char *only = argc > 1 ? argv[1] : "";
    bool ok = true;
    if (!*only || std::strcmp(only, "attendees") == 0) {
        ok = benchAttendees(http, store) && ok;
    }
    if (!*only || std::strcmp(only, "share") == 0) {
        ok = benchShare() && ok;
    }
    fixture::CCallController::getInstance().hangUp();
    QTest::qWait(200);
    return ok ? 0 : 1;
}
