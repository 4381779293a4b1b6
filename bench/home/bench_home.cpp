// The home window's lists with large organisations, fed by real requests to
// the local server: the meetings list (first fill, refresh of an unchanged
// list, memory over refreshes) and the contacts page (users and contacts,
// one search keystroke, avatar arrivals). Prints times in ms.
//
//     bench_home [meetings [count] | contacts]
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSortFilterProxyModel>

#include "benchstats.h"
#include "cconfserver.h"
#include "cconfstore.h"
#include "models/cucmapimanager.h"
#include "models/curlpixmap.h"
#include "views/conferences/cconferenceslistwidget.h"
#include "views/conferences/cconferencesmainpage.h"
#include "views/contacts/ccontactsaddlistmodel.h"
#include "views/contacts/ccontactsaddlistview.h"
#include "views/contacts/ccontactslistview.h"
#include "views/contacts/ccontactswidget.h"

using kd_app::models::CUCMApiManager;

namespace {

double elapsedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Resident memory in MiB.
double rssMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * 4096 / (1024 * 1024) : 0;
}

// Waits for one more emission of a request's success signal.
void waitFor(QSignalSpy &spy)
{
    const int before = spy.count();
    while (spy.count() == before) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    }
}

// Lays out and paints what changed, as the event loop would after the call.
void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void benchMeetings(confserver::CConfServer &http, confserver::CConfStore &store, const QString &token,
                   const QList<int> &totals)
{
    CUCMApiManager *api = CUCMApiManager::getInstance();
    QSignalSpy fetched(api, &CUCMApiManager::signal_getConferences_succeed);
    for (int total : totals) {
        store.addGeneratedMeetings(total - int(api->getConferenceList().size()), 1);
        api->getConferences(http.baseUrl(), token);
        waitFor(fetched);
        const QList<ucmconferenceData> meetings = api->getConferenceList();

        CConferencesMainPage page;
        page.updateDpi(1.0);
        page.resize(680, 520);
        page.show();
        settle();
        const double firstMs = elapsedMs([&] {
            page.setConferences(meetings);
            settle();
        });
        // Rows are made as they come near the visible part: a jump to the
        // middle makes a screenful and more.
        const double jumpMs = elapsedMs([&] {
            page.listWidget()->verticalScrollBar()->setValue(page.listWidget()->verticalScrollBar()->maximum() / 2);
            settle();
        });
        const int scrolled = page.listWidget()->verticalScrollBar()->value();

        std::vector<double> refreshes;
        std::vector<double> rss;
        for (int refresh = 0; refresh < 10; ++refresh) {
            api->getConferences(http.baseUrl(), token);
            waitFor(fetched);
            const QList<ucmconferenceData> again = api->getConferenceList();
            refreshes.push_back(elapsedMs([&] {
                page.setConferences(again);
                settle();
            }));
            rss.push_back(rssMiB());
        }
        std::printf("meetings %5d: first fill %8.1f ms, unchanged refresh %7.1f ms (median of 10), "
                    "RSS after refresh 1 / 10: %.0f / %.0f MiB, scroll kept: %s, jump to the middle %.1f ms\n",
                    int(meetings.size()), firstMs, median(refreshes), rss.front(), rss.back(),
                    page.listWidget()->verticalScrollBar()->value() == scrolled ? "yes" : "no", jumpMs);
    }
}

void benchContacts(confserver::CConfServer &http, confserver::CConfStore &store, const QString &token)
{
    store.addGeneratedUsers(10000);
    const int first = store.firstUserId();
    for (int i = 0; i < 1000; ++i) {
        store.addContact(token, QStringLiteral(R"({"userId": %1})").arg(first + 1 + i * 7).toUtf8());
    }
    CUCMApiManager *api = CUCMApiManager::getInstance();
    QSignalSpy usersFetched(api, &CUCMApiManager::signal_getUsers_succeed);
    QSignalSpy contactsFetched(api, &CUCMApiManager::signal_getContacts_succeed);

    kd_app::views::CContactsWidget page(nullptr);
    page.updateDpi(1.0);
    page.resize(680, 520);
    page.show();
    settle();
    api->getContacts(http.baseUrl(), token);
    waitFor(contactsFetched);
    api->getUsers(http.baseUrl(), token);
    waitFor(usersFetched);
    settle();
    const QList<ucmuserData> users = api->getUserList();
    const QList<ucmcontactData> contacts = api->getContactList();
    // The avatars are not served from here on: their downloads fail at once,
    // and the arrivals below are delivered as the download thread would.
    http.stop();

    std::vector<double> fills;
    for (int run = 0; run < 5; ++run) {
        fills.push_back(elapsedMs([&] {
            page.contactsList()->setContacts(contacts);
            page.usersList()->setUsers(users, contacts);
            settle();
        }));
    }
    std::printf("contacts: %d users and %d contacts listed in %.1f ms (median of 5)\n", int(users.size()),
                int(contacts.size()), median(fills));

    std::vector<double> keystrokes;
    const QString typed = QStringLiteral("ana no");
    for (int length = 1; length <= typed.size(); ++length) {
        keystrokes.push_back(elapsedMs([&] {
            page.usersList()->slot_textChanged(typed.left(length));
            settle();
        }));
    }
    const double slowest = *std::max_element(keystrokes.begin(), keystrokes.end());
    std::printf("search over %d users: slowest keystroke of \"%s\" %.1f ms, median %.1f ms (%d rows shown)\n",
                int(users.size()), qPrintable(typed), slowest, median(keystrokes),
                page.usersList()->proxyModel()->rowCount());

    page.usersList()->slot_textChanged(QStringLiteral("an"));
    settle();
    QPixmap avatar(40, 40);
    avatar.fill(Qt::darkCyan);
    CContactsAddListmodel *model = page.usersList()->sourceModel();
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    const double arrivalsMs = elapsedMs([&] {
        for (const ucmuserData &user : users) {
            kd_app::models::g_urlPixmapCache.insert(user.imageURL, avatar);
            model->slot_downloadFinished(user.imageURL);
        }
        settle();
    });
    std::printf("%d avatar arrivals with a search set: %.1f ms in total (%d rows told)\n", int(users.size()),
                arrivalsMs, int(changed.count()));
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The client logs every request and row; keep the figures readable.
    qSetMessagePattern(QString());
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    confserver::CConfStore store;
    store.loadSeed(R"({"users": [{"id": 1, "name": "demo", "displayName": "Dana"}]})");
    confserver::CConfServer http(store);
    if (!http.start()) {
        std::fprintf(stderr, "cannot start the server\n");
        return 1;
    }
    const QString token = store.issueToken(1);
    // "meetings" or "contacts" runs only that part.
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (only.isEmpty() || only == "meetings") {
        benchMeetings(http, store, token, argc > 2 ? QList<int>{QString(argv[2]).toInt()} : QList<int>{1000, 10000});
    }
    if (only.isEmpty() || only == "contacts") {
        benchContacts(http, store, token);
    }
    return 0;
}
