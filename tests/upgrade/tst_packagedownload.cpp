#include <atomic>
#include <mutex>
#include <thread>

#include <httplib.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "cconfserver.h"
#include "views/upgrade/cdownloadmanager.h"

using confserver::CConfServer;
using kd_app::views::CDownloadManager;

namespace {

const char kPackagePath[] = "/pub/parvela_2.9.0_all.deb";
const char kChecksumPath[] = "/pub/parvela_2.9.0_all.deb.sha256";
// What the server sends of a stalled package before it falls silent.
constexpr size_t kStalledPrefix = 1024;
constexpr int kStallMs = 5000;

// How the update server answers one path.
struct CAnswer
{
    enum class Kind {
        Whole,   // the body with a length
        Endless, // chunks without a length, for ever
        Stalled, // the length of the body, its first bytes, then nothing
    };
    int status = 200;
    QByteArray body;
    Kind kind = Kind::Whole;
};

// An update server that misbehaves as each case asks, over HTTPS with the
// test authority's certificate or over plain HTTP.
class CUpdateServer
{
public:
    explicit CUpdateServer(bool tls)
    {
        if (tls) {
            m_server = std::make_unique<httplib::SSLServer>(CConfServer::defaultCertPath().c_str(),
                                                            CConfServer::defaultKeyPath().c_str());
        } else {
            m_server = std::make_unique<httplib::Server>();
        }
        m_server->Get(R"(/.*)", [this](const httplib::Request &request, httplib::Response &response) {
            answer(request, response);
        });
        m_port = m_server->bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server->listen_after_bind(); });
    }

    ~CUpdateServer()
    {
        m_stopping = true;
        // Stopped only once listening: a stop before that leaves the listen waiting for ever.
        while (!m_server->is_running()) {
            std::this_thread::yield();
        }
        m_server->stop();
        m_thread.join();
    }

    void setAnswer(const QString &path, const CAnswer &answer)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_answers[path] = answer;
    }

    int requests() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_requests;
    }

    int port() const { return m_port; }

private:
    void answer(const httplib::Request &request, httplib::Response &response)
    {
        CAnswer answer;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_requests;
            const QString path = QString::fromStdString(request.path);
            if (!m_answers.contains(path)) {
                response.status = 404;
                return;
            }
            answer = m_answers.value(path);
        }
        response.status = answer.status;
        if (answer.status / 100 == 3) {
            response.set_header("Location", kPackagePath);
        }
        const std::string body = answer.body.toStdString();
        switch (answer.kind) {
        case CAnswer::Kind::Whole:
            response.set_content(body, "application/octet-stream");
            break;
        case CAnswer::Kind::Endless:
            response.set_chunked_content_provider("application/octet-stream", [this](size_t, httplib::DataSink &sink) {
                const std::string chunk(64 * 1024, 'x');
                return !m_stopping && sink.write(chunk.data(), chunk.size());
            });
            break;
        case CAnswer::Kind::Stalled:
            response.set_content_provider(body.size(), "application/octet-stream",
                                          [this, body](size_t offset, size_t, httplib::DataSink &sink) {
                                              if (offset == 0) {
                                                  return sink.write(body.data(), kStalledPrefix);
                                              }
                                              // Silent until the test ends; the client has to give up.
                                              while (!m_stopping && sink.is_writable()) {
                                                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                              }
                                              return false;
                                          });
            break;
        }
    }

    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    QMap<QString, CAnswer> m_answers;
    int m_requests = 0;
};

} // namespace

Q_DECLARE_METATYPE(CAnswer)

// The package download against update servers that misbehave: it takes a
// package only over HTTPS, only from a 200 answer, only up to its size
// limit and while bytes keep coming, and checks it against a checksum that
// is one; whatever fails leaves nothing on disk.
class TestPackageDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void download_data();
    void download();

private:
    QTemporaryDir m_dir;
    QByteArray m_package;
};

void TestPackageDownload::initTestCase()
{
    QVERIFY(QDir().mkpath(m_dir.filePath("tmp")));
    qputenv("TMPDIR", QFile::encodeName(m_dir.filePath("tmp")));
    m_package.resize(200 * 1024);
    for (char &byte : m_package) {
        byte = char(QRandomGenerator::global()->generate());
    }
}

void TestPackageDownload::download_data()
{
    QTest::addColumn<bool>("tls");
    QTest::addColumn<CAnswer>("package");
    QTest::addColumn<CAnswer>("checksum");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("taken");

    const QByteArray line =
        QCryptographicHash::hash(m_package, QCryptographicHash::Sha256).toHex() + "  parvela_2.9.0_all.deb\n";
    const CAnswer package{200, m_package, CAnswer::Kind::Whole};
    const CAnswer checksum{200, line, CAnswer::Kind::Whole};
    const qint64 limit = CDownloadManager::kMaxPackageBytes;

    QTest::newRow("a sound package") << true << package << checksum << limit << true;
    QTest::newRow("exactly as large as allowed") << true << package << checksum << qint64(m_package.size()) << true;
    // Anyone on the path could give both the package and its checksum.
    QTest::newRow("over plain http") << false << package << checksum << limit << false;
    QTest::newRow("the package answered 203")
        << true << CAnswer{203, m_package, CAnswer::Kind::Whole} << checksum << limit << false;
    QTest::newRow("the package answered 302")
        << true << CAnswer{302, m_package, CAnswer::Kind::Whole} << checksum << limit << false;
    QTest::newRow("the checksum answered 203")
        << true << package << CAnswer{203, line, CAnswer::Kind::Whole} << limit << false;
    QTest::newRow("a checksum followed by a megabyte")
        << true << package << CAnswer{200, line + QByteArray(1024 * 1024, ' '), CAnswer::Kind::Whole} << limit << false;
    QTest::newRow("an endless package") << true << CAnswer{200, QByteArray(), CAnswer::Kind::Endless} << checksum
                                        << qint64(1024 * 1024) << false;
    QTest::newRow("more announced than allowed")
        << true << package << checksum << qint64(m_package.size() - 1) << false;
    QTest::newRow("stalled after its first bytes")
        << true << CAnswer{200, m_package, CAnswer::Kind::Stalled} << checksum << limit << false;
}

void TestPackageDownload::download()
{
    QFETCH(bool, tls);
    QFETCH(CAnswer, package);
    QFETCH(CAnswer, checksum);
    QFETCH(qint64, limit);
    QFETCH(bool, taken);

    CUpdateServer server(tls);
    server.setAnswer(kPackagePath, package);
    server.setAnswer(kChecksumPath, checksum);
    CDownloadManager manager;
    manager.setLimits(limit, kStallMs);
    QSignalSpy finished(&manager, &CDownloadManager::signal_finished);
    manager.addDownload(
        QUrl(QStringLiteral("%1://127.0.0.1:%2%3").arg(tls ? "https" : "http").arg(server.port()).arg(kPackagePath)));
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toBool(), taken);

    const QString path = manager.getPackagePath();
    const QStringList folders = QDir(QDir::tempPath()).entryList({"parvela-upgrade-*"}, QDir::Dirs);
    if (taken) {
        QCOMPARE(QFileInfo(path).fileName(), QString("parvela_2.9.0_all.deb"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), m_package);
        file.close();
        CDownloadManager::removePackage(path);
    } else {
        // Nothing of it is left: neither the file nor its folder.
        QVERIFY2(folders.isEmpty(), qPrintable(folders.join(", ")));
        QVERIFY(!manager.checksumDiffered());
    }
    if (!tls) {
        QCOMPARE(server.requests(), 0);
    }
}

QTEST_MAIN(TestPackageDownload)
#include "tst_packagedownload.moc"
