// Reading large REST replies into records, and one meetings round trip
// against the local server. Prints the median of several runs in ms.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QSignalSpy>

#include "cconfserver.h"
#include "cconfstore.h"
#include "models/cucmapimanager.h"
#include "models/ucmdata.h"

namespace {

constexpr int kRecords = 10000;
constexpr int kRuns = 7;

double medianMs(const std::function<void()> &work)
{
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    return runs[runs.size() / 2];
}

QByteArray meetingsReply()
{
    QJsonArray meetings;
    for (int i = 0; i < kRecords; ++i) {
        QJsonObject meeting{{"id", i + 1},
                            {"name", QStringLiteral("Weekly planning %1").arg(i)},
                            {"startTime", 1796910466964.0 + i * 1800000.0},
                            {"duration", 3600000},
                            {"numericId", 80001 + i},
                            {"confPassword", i % 3 ? QString() : QStringLiteral("4711")},
                            {"remarks", QStringLiteral("Agenda: freight costs, staffing, customs.")},
                            {"status", i % 10 ? "SCHEDULED" : "ONGOING"},
                            {"users", QJsonArray{QJsonObject{{"id", 1}, {"name", "demo"}, {"displayName", "Dana"}},
                                                 QJsonObject{{"id", 2}, {"name", "bob"}, {"displayName", "Bob"}}}},
                            {"applicant", QJsonObject{{"id", 1}, {"name", "demo"}, {"displayName", "Dana"}}}};
        meetings.append(meeting);
    }
    return QJsonDocument(meetings).toJson(QJsonDocument::Compact);
}

QByteArray usersReply()
{
    QJsonArray users;
    for (int i = 0; i < kRecords; ++i) {
        users.append(QJsonObject{{"id", i + 1},
                                 {"name", QStringLiteral("user%1").arg(i)},
                                 {"displayName", QStringLiteral("User Número %1").arg(i)},
                                 {"email", QStringLiteral("user%1@example.org").arg(i)},
                                 {"telephone", "+44 20 7946 0000"},
                                 {"imageURL", QStringLiteral("/userFiles/avatar/%1.jpg").arg(i + 1)},
                                 {"lastModifiedTime", 1796910466},
                                 {"callNumber", QString::number(6000 + i)},
                                 {"sipUserName", QString::number(6000 + i)},
                                 {"status", 1},
                                 {"company", 1},
                                 {"endpointId", 1000 + i}});
    }
    return QJsonDocument(users).toJson(QJsonDocument::Compact);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The client logs every request; keep the figures readable.
    qSetMessagePattern(QString());
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    const QByteArray meetings = meetingsReply();
    const QByteArray users = usersReply();
    const QString server = QStringLiteral("https://meet.example:443");
    int count = 0;
    const double meetingsMs =
        medianMs([&] { count = ucmReadList<ucmconferenceData>(QJsonDocument::fromJson(meetings).array()).size(); });
    std::printf("parse %d meetings (%d KiB): %.1f ms\n", count, int(meetings.size() / 1024), meetingsMs);
    const double usersMs =
        medianMs([&] { count = ucmReadList<ucmuserData>(QJsonDocument::fromJson(users).array(), server).size(); });
    std::printf("parse %d users (%d KiB): %.1f ms\n", count, int(users.size() / 1024), usersMs);

    confserver::CConfStore store;
    store.loadSeed(R"({"users": [{"id": 1, "name": "demo", "displayName": "Dana"}]})");
    store.addGeneratedMeetings(kRecords, 1);
    confserver::CConfServer http(store);
    if (!http.start()) {
        std::fprintf(stderr, "cannot start the server\n");
        return 1;
    }
    const QString token = store.issueToken(1);
    auto *api = kd_app::models::CUCMApiManager::getInstance();
    QSignalSpy done(api, &kd_app::models::CUCMApiManager::signal_getConferences_succeed);
    const double roundTripMs = medianMs([&] {
        const int before = done.count();
        api->getConferences(http.baseUrl(), token);
        while (done.count() == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
    });
    std::printf("getConferences round trip, %d meetings: %.1f ms\n", int(api->getConferenceList().size()), roundTripMs);
    return 0;
}
