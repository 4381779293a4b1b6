#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtTest>

#include "statewait.h"
#include "alertanswerer.h"
#include "settingsfixture.h"
#include "views/settings/cwebreportdetailsdlg.h"

using namespace kd::engine;
using kd_app::views::CSettingsForm;
using kd_app::views::CWebreportDetailsDlg;
using settingstest::child;

Q_DECLARE_METATYPE(KDDiag)

namespace {

KDDiagItem item(int status, const std::string &name = std::string())
{
    KDDiagItem made;
    made.status = status;
    made.name = name;
    return made;
}

KDDiag signedIn()
{
    KDDiag diag;
    diag.items[0] = item(1, "conf.example:443");
    diag.items[2] = item(1, "conf.example:443");
    return diag;
}

// Signed in and in a call whose audio and video are measured both ways.
KDDiag inCall(int quality = 1)
{
    KDDiag diag = signedIn();
    diag.call.item = item(1, "70001");
    diag.call.texts[2] = "00:01:05";
    diag.call.roles[0].item = item(1, "2048 kbps");
    diag.call.roles[1].item = item(1, "2048 kbps");
    for (int stream : {0, 1}) {
        for (KDDiagMedia &media : diag.call.streams[stream].media) {
            media.texts[0] = stream == 0 ? "OPUS 64 kbps" : "H.264 2048 kbps";
            media.items[0] = item(quality, "good");
            media.items[1] = item(1, "0.0%");
            media.items[2] = item(1, "3 ms");
        }
        diag.call.streams[stream].item = item(1, "12 ms");
    }
    return diag;
}

QStringList column(QTableWidget *table, int col)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (auto *label = qobject_cast<QLabel *>(table->cellWidget(row, col))) {
            texts << label->text();
        } else {
            texts << (table->item(row, col) ? table->item(row, col)->text() : QString());
        }
    }
    return texts;
}

} // namespace

// The network report page and its details window, fed with snapshots of the
// engine's diagnosis.
class TestWebReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void summary_data();
    void summary();
    void detailsRows_data();
    void detailsRows();
    void copyPutsTheTextOnTheClipboard();

private:
    QTableWidget *summaryTable() const { return child<QTableWidget>(m_form.get(), "tableWidget_content"); }
    void showReport(const KDDiag &diag);

    QTemporaryDir m_dir;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CSettingsForm> m_form;
};

void TestWebReport::initTestCase()
{
    m_control = settingstest::startClient(m_dir);
    QVERIFY(m_control);
}

void TestWebReport::init()
{
    m_form = std::make_unique<CSettingsForm>(nullptr);
    m_form->updateDpi(1.0);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestWebReport::cleanup()
{
    m_form.reset();
    m_control->clearDiagOverride();
}

void TestWebReport::showReport(const KDDiag &diag)
{
    m_control->overrideDiag(diag);
    child<QListWidget>(m_form.get(), "lvSettingsEntrances")->setCurrentRow(CSettingsForm::ReportPage);
    QTRY_COMPARE(child<QTabWidget>(m_form.get(), "twgtSettingsPages")->currentIndex(), int(CSettingsForm::ReportPage));
}

void TestWebReport::summary_data()
{
    QTest::addColumn<KDDiag>("diag");
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<bool>("normal");
    QTest::addColumn<bool>("makeCallPrompt");
    QTest::addColumn<QString>("advice");

    QTest::newRow("before sign-in") << KDDiag() << 0 << QStringList() << true << true << QString();
    QTest::newRow("signed in, no call") << signedIn() << 1 << QStringList{"Normal", "Normal"} << true << true
                                        << QString();
    KDDiag timedOut;
    timedOut.items[0] = item(4, "conf.example:443");
    timedOut.items[2] = item(4, "sip.example");
    timedOut.advice = 2;
    timedOut.adviceParam = "conf.example:443";
    QTest::newRow("server timed out")
        << timedOut << 1 << QStringList{"Timeout", "Unreachable"} << false << false
        << "Network connection timeout, please check network connection or firewall setting. (Server address: "
           "conf.example:443)";
    KDDiag slowRates = inCall();
    slowRates.call.roles[0].item = item(2, "1500 kbps");
    slowRates.call.roles[1].item = item(3, "400 kbps");
    QTest::newRow("poor rate in a call") << slowRates << 1
                                         << QStringList{"Normal", "Normal", "Normal", "Poor", "Normal", "Normal"}
                                         << false << false << QString();
    KDDiag halfAudio = inCall();
    halfAudio.call.streams[0].media[1].items[0] = item(0);
    halfAudio.call.streams[2].media[1].items[0] = item(3, "poor");
    halfAudio.advice = 3;
    QTest::newRow("one-sided audio and content")
        << halfAudio << 1 << QStringList{"Normal", "Normal", "Normal", "Normal", "Normal", "Poor"} << false << false
        << "Can not receive bitstream, please check if the firewall among servers and relevant settings is correct.";
}

// Which rows the summary has, what they say, the verdict, and the line under it.
void TestWebReport::summary()
{
    QFETCH(KDDiag, diag);
    QFETCH(int, page);
    QFETCH(QStringList, statuses);
    QFETCH(bool, normal);
    QFETCH(bool, makeCallPrompt);
    QFETCH(QString, advice);

    showReport(diag);
    QCOMPARE(child<QStackedWidget>(m_form.get(), "stackedWidget")->currentIndex(), page);
    if (page == 0) {
        return;
    }
    QCOMPARE(column(summaryTable(), 1), statuses);
    for (int row = 0; row < summaryTable()->rowCount(); ++row) {
        const QString word = summaryTable()->item(row, 1)->text();
        const bool good = word == "Normal" || word == "Available";
        QCOMPARE(summaryTable()->item(row, 1)->foreground().color(), QColor(good ? "#1ac869" : "#ff7474"));
    }
    QCOMPARE(child<QLabel>(m_form.get(), "label_titleReport")->text(),
             normal ? QString("Network status is normal") : QString("Network status is abnormal"));
    QCOMPARE(child<QWidget>(m_form.get(), "m_pWgtMakeCallPrompt")->isVisible(), makeCallPrompt);
    QCOMPARE(child<QWidget>(m_form.get(), "m_pWgtAdvice")->isVisible(), !advice.isEmpty());
    if (!advice.isEmpty()) {
        QCOMPARE(child<QLabel>(m_form.get(), "m_pLblAdvice")->text(), advice);
    }
}

void TestWebReport::detailsRows_data()
{
    QTest::addColumn<KDDiag>("diag");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("details");

    QTest::newRow("before sign-in") << KDDiag() << QStringList{"Network status"} << QStringList{"Details"};
    QTest::newRow("signed in, no call") << signedIn()
                                        << QStringList{"Network status", "Login service connection status",
                                                       "Registration service connection status"}
                                        << QStringList{"Details", "Service address conf.example:443",
                                                       "Service address conf.example:443"};

    // Audio with one quality status: no audio rows at all, whatever else it has;
    // content sent only: its row names the upload alone.
    KDDiag oneSided = inCall();
    oneSided.call.streams[0].media[1].items[0] = item(0);
    oneSided.call.streams[1] = KDDiagStream();
    oneSided.call.streams[2].media[1].texts[0] = "H.264 512 kbps";
    oneSided.call.streams[2].media[1].items[0] = item(1, "good");
    oneSided.call.streams[2].item = item(3, "420 ms");
    QTest::newRow("one-sided audio and content") << oneSided
                                                 << QStringList{"Network status",
                                                                "Login service connection status",
                                                                "Registration service connection status",
                                                                "Call status",
                                                                "Call rate(Download)",
                                                                "Call rate(Upload)",
                                                                "Network quality(Content)",
                                                                "Network quality(Content delay)"}
                                                 << QStringList{"Details",
                                                                "Service address conf.example:443",
                                                                "Service address conf.example:443",
                                                                "Duration 00:01:05 70001",
                                                                "Download 2048 kbps",
                                                                "Upload 2048 kbps",
                                                                "H.264 512 kbps",
                                                                "Delay 420 ms"};
}

void TestWebReport::detailsRows()
{
    QFETCH(KDDiag, diag);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, details);

    auto *window = new CWebreportDetailsDlg(m_form.get(), diag, std::string());
    QPointer<CWebreportDetailsDlg> alive(window);
    window->show();
    auto *table = child<QTableWidget>(window, "m_pTableWgt");
    QCOMPARE(column(table, 0), labels);
    QCOMPARE(column(table, 1), details);
    child<QPushButton>(window, "m_BtnClose")->click();
    QTRY_VERIFY(!alive);
}

void TestWebReport::copyPutsTheTextOnTheClipboard()
{
    const std::string text = "login: 会议.example:443 status 1\nadvice: 0\n";
    showReport(signedIn());
    // The window shows what the page last read, not a new snapshot.
    m_control->overrideDiag(KDDiag());
    CAlertAnswerer answerer(QMessageBox::Ok);
    auto *window = new CWebreportDetailsDlg(m_form.get(), signedIn(), text);
    window->show();
    child<QPushButton>(window, "m_pBtnCopy")->click();
    QTRY_COMPARE(answerer.answered(), 1);
    QCOMPARE(answerer.texts().value(0), QString("Details have been copied to the system clipboard"));
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(text.c_str()));
    window->close();

    // "View Details" opens the window with the page's own copy.
    child<QPushButton>(m_form.get(), "pBt_details")->click();
    CWebreportDetailsDlg *opened = m_form->findChild<CWebreportDetailsDlg *>();
    QVERIFY(opened);
    QCOMPARE(child<QTableWidget>(opened, "m_pTableWgt")->rowCount(), 3);
    opened->close();
}

QTEST_MAIN(TestWebReport)
#include "tst_webreport.moc"
