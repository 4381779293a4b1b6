// The whiteboard's picture background upload against the local server's
// whiteboard, as the demo user in meeting 80001: the form as the server
// receives it, how each answer ends, refused certificates, a stalled
// server, and the file dialog clicked twice or cancelled.

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QWidget>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "filedialoganswerer.h"
#include "views/whiteboard/cwhiteboardbackgroundupload.h"
#include "whiteboardfixture.h"

using confserver::CBackgroundUpload;
using confserver::CFault;
using kd_app::views::CWhiteBoardBackgroundUpload;

namespace {

const char kUploadRoute[] = "/acs/upload";

} // namespace

class TestWhiteBoardUpload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void formAsReceived();
    void answers_data();
    void answers();
    void secondClickWhileChoosing();
    void cancelledDialog();
    void certificates_data();
    void certificates();

private:
    // Chooses the file in the dialog and waits for the upload's end; the
    // HTTP status, or -1 when no upload ended.
    int uploadFile(const QString &path);
    int uploads() { return int(m_call.server().requestsTo(kUploadRoute).size()); }
    void addFault(CFault::Kind kind, int value = 0);

    CWhiteBoardCall m_call;
    QWidget m_window;
    std::unique_ptr<CWhiteBoardBackgroundUpload> m_pUpload;
    std::unique_ptr<QSignalSpy> m_pShown;
    QString m_picture;
    QByteArray m_pictureBytes;
    std::unique_ptr<CLogCapture> m_pLog;
};

void TestWhiteBoardUpload::initTestCase()
{
    QVERIFY(m_call.start());
    QVERIFY(m_call.join());
    m_picture = m_call.tempPath("holiday.png");
    m_pictureBytes = pictureBytes("PNG");
    // After the client's start, which installs the program's own log handler.
    m_pLog = std::make_unique<CLogCapture>();
    QFile file(m_picture);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(m_pictureBytes);
}

void TestWhiteBoardUpload::cleanupTestCase()
{
    m_pUpload.reset();
    m_call.leave();
    m_pLog.reset();
}

void TestWhiteBoardUpload::init()
{
    m_pUpload = std::make_unique<CWhiteBoardBackgroundUpload>(&m_window);
    m_pUpload->setParent(nullptr);
    m_pShown = std::make_unique<QSignalSpy>(m_pUpload.get(), &CWhiteBoardBackgroundUpload::sigBackgroundUploaded);
    m_pLog->clear();
}

void TestWhiteBoardUpload::cleanup()
{
    m_call.server().clearFaults();
    for (const QString &line : m_pLog->all()) {
        QVERIFY2(!line.contains(m_call.token()), qPrintable(line));
    }
}

int TestWhiteBoardUpload::uploadFile(const QString &path)
{
    CFileDialogAnswerer answerer({path});
    QSignalSpy finished(m_pUpload.get(), &CWhiteBoardBackgroundUpload::sigUploadFinished);
    m_pUpload->slotClickedSelect();
    if (answerer.asked() != 1 || !finished.wait(15000)) {
        return -1;
    }
    return finished.first().first().toInt();
}

void TestWhiteBoardUpload::addFault(CFault::Kind kind, int value)
{
    CFault fault;
    fault.route = kUploadRoute;
    fault.kind = kind;
    fault.value = value;
    fault.times = 1;
    m_call.server().addFault(fault);
}

// Whatever the picture is, the part says "image/jpg;" and
// "background.jpg"; its bytes go unchanged, with the call's token as the
// cookie "jwt".
void TestWhiteBoardUpload::formAsReceived()
{
    QCOMPARE(uploadFile(m_picture), 200);
    const CBackgroundUpload received = m_call.boards().lastUpload();
    using Header = std::pair<QByteArray, QByteArray>;
    const std::vector<Header> headers{{"Content-Type", "image/jpg;"},
                                      {"Content-Disposition", "form-data; name=\"file\"; filename=\"background.jpg\""}};
    QCOMPARE(received.partHeaders, headers);
    QCOMPARE(received.partName, QStringLiteral("file"));
    QCOMPARE(received.fileName, QStringLiteral("background.jpg"));
    QCOMPARE(received.bytes, m_pictureBytes);
    QCOMPARE(received.cookieJwt, m_call.token());
    QCOMPARE(m_pShown->count(), 1);
    QByteArray type;
    QCOMPARE(m_call.boards().picture(CWhiteBoardCall::kMeeting, &type), m_pictureBytes);
}

void TestWhiteBoardUpload::answers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("status"); // as the upload ends
    QTest::addColumn<bool>("shown");

    QTest::newRow("200") << "" << 200 << true;
    QTest::newRow("201") << "status 201" << 201 << false;
    QTest::newRow("204") << "status 204" << 204 << false;
    QTest::newRow("500") << "http500" << 500 << false;
    // The server took the picture before its answer broke off.
    QTest::newRow("connection dropped") << "drop" << 200 << true;
    QTest::newRow("server stalls") << "stall" << 0 << false;
    QTest::newRow("expired token") << "expired" << 401 << false;
}

// Only a 200 shows the picture; every upload ends idle, and the next one
// works.
void TestWhiteBoardUpload::answers()
{
    QFETCH(QString, answer);
    QFETCH(int, status);
    QFETCH(bool, shown);

    if (answer.startsWith("status ")) {
        addFault(CFault::Kind::Status, answer.mid(7).toInt());
    } else if (answer == "http500") {
        addFault(CFault::Kind::Http500);
    } else if (answer == "drop") {
        addFault(CFault::Kind::Drop);
    } else if (answer == "stall") {
        addFault(CFault::Kind::Delay, 30000);
        m_pUpload->setTransferTimeout(1500);
    } else if (answer == "expired") {
        m_call.store().expireAcsToken(m_call.token());
    }
    QElapsedTimer took;
    took.start();
    QCOMPARE(uploadFile(m_picture), status);
    QVERIFY(took.elapsed() < 10000);
    QCOMPARE(m_pShown->count(), shown ? 1 : 0);
    QVERIFY(!m_pUpload->isRunning());
    QVERIFY(m_pLog->contains(QStringLiteral("statusCode: %1").arg(status)));

    if (answer == "expired") {
        // The call asks for a token again.
        const QString old = m_call.token();
        fixture::CCallController::getInstance().onSlotRequestAcsInfoTimeout();
        QTRY_VERIFY_WITH_TIMEOUT(m_call.token() != old && !m_call.token().isEmpty(), kdtest::kStateWaitMs);
    }
    m_call.server().clearFaults();
    QCOMPARE(uploadFile(m_picture), 200);
    QCOMPARE(m_pShown->count(), shown ? 2 : 1);
    QVERIFY(!m_pUpload->isRunning());
}

// A second click while the user still chooses a picture asks nothing and
// sends nothing.
void TestWhiteBoardUpload::secondClickWhileChoosing()
{
    const int before = uploads();
    QTimer::singleShot(0, m_pUpload.get(), [this] { m_pUpload->slotClickedSelect(); });
    QCOMPARE(uploadFile(m_picture), 200);
    QVERIFY(m_pLog->warningLines()
                .filter("m_pNam4UploadBackground is not null, maybe another uploading is running")
                .size() == 1);
    QTest::qWait(300);
    QCOMPARE(uploads(), before + 1);
    QCOMPARE(m_pShown->count(), 1);
}

// Cancelling leaves nothing behind: no request, and the next click asks again.
void TestWhiteBoardUpload::cancelledDialog()
{
    const int before = uploads();
    {
        CFileDialogAnswerer answerer({QString()});
        m_pUpload->slotClickedSelect();
        QCOMPARE(answerer.asked(), 1);
    }
    QVERIFY(!m_pUpload->isRunning());
    QVERIFY(m_pLog->warningLines().filter("Open file error!!! strFilePath:").size() == 1);
    QTest::qWait(300);
    QCOMPARE(uploads(), before);

    QCOMPARE(uploadFile(m_picture), 200);
    QCOMPARE(uploads(), before + 1);
}

void TestWhiteBoardUpload::certificates_data()
{
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<int>("status");

    QTest::newRow("test authority") << true << 200;
    QTest::newRow("self-signed") << false << 0;
}

// Over HTTPS the server's certificate must lead to an authority the client
// trusts; a refused one leaves the background as it was.
void TestWhiteBoardUpload::certificates()
{
    QFETCH(bool, trusted);
    QFETCH(int, status);

    m_call.leave();
    QVERIFY(m_call.startServer(true));
    QVERIFY(m_call.join());
    QVERIFY(fixture::CCallController::getInstance().getAcsServer().startsWith("https://"));
    if (!trusted) {
        QVERIFY(m_call.restartWith(confserver::CConfServer::selfSignedCertPath(),
                                   confserver::CConfServer::selfSignedKeyPath()));
    }
    QCOMPARE(uploadFile(m_picture), status);
    QCOMPARE(m_pShown->count(), trusted ? 1 : 0);
    QVERIFY(!m_pUpload->isRunning());
    if (!trusted) {
        QVERIFY(m_pLog->warningLines().filter("refused, host: 127.0.0.1").size() == 1);
        QCOMPARE(m_call.boards().lastUpload().bytes, QByteArray());
        // The same address with a certificate of the test authority again.
        QVERIFY(
            m_call.restartWith(confserver::CConfServer::defaultCertPath(), confserver::CConfServer::defaultKeyPath()));
        QCOMPARE(uploadFile(m_picture), 200);
        QCOMPARE(m_pShown->count(), 1);
    }
}

QTEST_MAIN(TestWhiteBoardUpload)
#include "tst_whiteboardupload.moc"
