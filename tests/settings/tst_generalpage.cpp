#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QSettings>
#include <QWheelEvent>
#include <QtTest>

#include "statewait.h"
#include "app/cautostart.h"
#include "settingsfixture.h"

using kd_app::CAutoStart;
using kd_app::helpers::CUserConfigUtils;
using kd_app::views::CSettingsForm;
using settingstest::child;
using settingstest::operations;

namespace {

using Getter = bool (CUserConfigUtils::*)() const;

struct CSwitch
{
    const char *box;
    Getter stored;        // what the configuration says, or none
    const char *engineOp; // the engine call it makes, or ""
    const char *onArgs;   // how its arguments end when switched on
    const char *offArgs;
};

const CSwitch kSwitches[] = {
    {"m_pChkBoxAutoLogin", &CUserConfigUtils::getRememberMe, "", "", ""},
    {"m_pChkBoxAutoAnswer", &CUserConfigUtils::isAutoAnswer, "", "", ""},
    {"m_pChkBoxSeperateWin4RemoteContent", &CUserConfigUtils::isOpenNewWinInContentStream, "", "", ""},
    {"m_pChkBoxDisablePrompt", &CUserConfigUtils::isDisablePrompt, "", "", ""},
    {"m_pChkBoxFullScreenOnCallConnected", &CUserConfigUtils::isFullScreenOnCallConnected, "", "", ""},
    {"m_pChkBoxAINoiseReduction", &CUserConfigUtils::getAINoiseReduction, "enableNoiseSuppression", "2)", "0)"},
    {"m_pChkBoxHardEncode", &CUserConfigUtils::isEnableHardEncode, "setHardwareEncoder", ",2)", ",1)"},
    {"m_pChkBoxHardDecode", &CUserConfigUtils::isEnableHardDecode, "setHardwareDecoder", ",2)", ",1)"},
    {"m_pChkBoxEnableHightFrameRate", nullptr, "enableHighFPS", "1)", "0)"},
    {"m_pChkBoxEnable1080p", nullptr, "enableHD", "1)", "0)"},
};

// Turns the wheel one notch down over the box; whether the box took it.
bool wheelDown(QComboBox *box)
{
    const QPoint centre = box->rect().center();
    QWheelEvent down(centre, box->mapToGlobal(centre), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(box, &down);
    return down.isAccepted();
}

} // namespace

// The General page's switches, call rate and start-with-the-session entry,
// and the boxes that leave the wheel to the page.
class TestGeneralPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void switchesTakeEffectAtOnce_data();
    void switchesTakeEffectAtOnce();
    void callRate();
    void disableShare();
    void snapshotFolderChooser_data();
    void snapshotFolderChooser();
    void autostartEntry();
    void autostartCommandLine_data();
    void autostartCommandLine();
    void wheelGoesToThePageUnlessTheBoxHasFocus();

private:
    QTemporaryDir m_dir;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CSettingsForm> m_form;
};

void TestGeneralPage::initTestCase()
{
    m_control = settingstest::startClient(m_dir);
    QVERIFY(m_control);
    // Qt's own folder chooser, which the test can answer.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QVERIFY(QDir().mkpath(m_dir.filePath("pictures")));
    CUserConfigUtils::getInstance()->setScreenPicPath(m_dir.filePath("pictures"));
}

void TestGeneralPage::init()
{
    m_form = std::make_unique<CSettingsForm>(nullptr);
    m_form->updateDpi(1.0);
    m_form->resize(700, 400);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QCoreApplication::processEvents();
    m_control->clearOperations();
}

void TestGeneralPage::cleanup()
{
    m_form.reset();
    QFile::remove(CAutoStart::entryPath());
}

void TestGeneralPage::switchesTakeEffectAtOnce_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(sizeof(kSwitches) / sizeof(kSwitches[0])); ++i) {
        QTest::newRow(kSwitches[i].box) << i;
    }
}

void TestGeneralPage::switchesTakeEffectAtOnce()
{
    QFETCH(int, index);
    const CSwitch &entry = kSwitches[index];
    auto *box = child<QCheckBox>(m_form.get(), entry.box);
    for (bool wanted : {!box->isChecked(), box->isChecked()}) {
        m_control->clearOperations();
        box->click();
        QCOMPARE(box->isChecked(), wanted);
        if (entry.stored) {
            QCOMPARE((CUserConfigUtils::getInstance()->*entry.stored)(), wanted);
        }
        if (*entry.engineOp) {
            const QStringList calls = operations(m_control, entry.engineOp);
            QVERIFY(!calls.isEmpty());
            for (const QString &call : calls) {
                QVERIFY2(call.endsWith(wanted ? entry.onArgs : entry.offArgs), qPrintable(call));
            }
        }
    }
}

void TestGeneralPage::callRate()
{
    auto *box = child<QComboBox>(m_form.get(), "m_pCmbBoxCallRate");
    QCOMPARE(box->itemText(box->findData(2048)), QString("2M"));
    QCOMPARE(box->itemText(box->findData(3072)), QString("3M"));
    box->setCurrentIndex(box->findData(3072));
    QCOMPARE(operations(m_control, "setBandwidth"), QStringList{"setBandwidth(3072)"});
    QCOMPARE(int(kd_app::models::CKDSdkManager::getInstance()->getBandwidth()), 3072);

    // Showing the page again picks the engine's rate without setting it.
    m_form->hide();
    m_control->clearOperations();
    m_form->show();
    QCOMPARE(box->currentData().toInt(), 3072);
    QVERIFY(operations(m_control, "setBandwidth").isEmpty());
}

void TestGeneralPage::disableShare()
{
    auto *box = child<QCheckBox>(m_form.get(), "m_pChkBoxDisableShare");
    auto *sdk = kd_app::models::CKDSdkManager::getInstance();
    const bool enabled = sdk->contentEnabled();
    QCOMPARE(box->isChecked(), !enabled);
    box->click();
    QCOMPARE(sdk->contentEnabled(), !enabled);
    box->click();
    QCOMPARE(sdk->contentEnabled(), enabled);
}

void TestGeneralPage::snapshotFolderChooser_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("folder chosen") << true;
    QTest::newRow("cancelled") << false;
}

// The chooser opens at the stored folder; a chosen folder is shown and
// stored at once, a cancelled choice changes nothing.
void TestGeneralPage::snapshotFolderChooser()
{
    QFETCH(bool, accept);
    const QString stored = m_dir.filePath("pictures");
    const QString chosen = m_dir.filePath("Snap shots \u00e9t\u00e9");
    QVERIFY(QDir().mkpath(chosen));
    auto *shown = child<QLineEdit>(m_form.get(), "m_pSnapshotPath");
    QCOMPARE(shown->text(), stored);

    QString openedAt;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            return;
        }
        answerer.stop();
        openedAt = dialog->directory().absolutePath();
        if (!accept) {
            dialog->reject();
            return;
        }
        // Typed into the chooser's name field, as a user may.
        dialog->findChild<QLineEdit *>("fileNameEdit")->setText(chosen);
        static_cast<QDialog *>(dialog)->accept();
    });
    answerer.start(20);
    child<QPushButton>(m_form.get(), "m_pBtnChangeSnapshotPath")->click();
    QVERIFY(!answerer.isActive());
    QCOMPARE(openedAt, stored);
    const QString expected = accept ? chosen : stored;
    QCOMPARE(shown->text(), expected);
    QCOMPARE(CUserConfigUtils::getInstance()->getScreenPicPath(), expected);
    CUserConfigUtils::getInstance()->setScreenPicPath(stored);
}

void TestGeneralPage::autostartEntry()
{
    auto *box = child<QCheckBox>(m_form.get(), "m_pChkBoxAutoRun");
    QVERIFY(!box->isChecked());
    box->click();
    const QString path = CAutoStart::entryPath();
    QVERIFY(path.startsWith(m_dir.filePath("config") + "/autostart/"));
    QVERIFY(QFile::exists(path));
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup("Desktop Entry");
    QCOMPARE(entry.value("Type").toString(), QString("Application"));
    QVERIFY(!entry.value("Name").toString().isEmpty());
    QVERIFY(entry.value("Exec").toString().contains(QCoreApplication::applicationFilePath()));

    box->click();
    QVERIFY(!QFile::exists(path));

    // An entry the user switched off in the session's settings reads as off.
    QVERIFY(CAutoStart::setEnabled(true));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("Hidden=true\n");
    }
    QVERIFY(!CAutoStart::isEnabled());
    m_form->hide();
    m_form->show();
    QVERIFY(!box->isChecked());
}

void TestGeneralPage::autostartCommandLine_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");

    QTest::newRow("plain") << "/opt/parvela/parvela"
                           << "/opt/parvela/parvela";
    QTest::newRow("blank") << "/opt/my apps/parvela"
                           << "\"/opt/my apps/parvela\"";
    QTest::newRow("quote and dollar") << "/opt/a\"b$c/parvela"
                                      << "\"/opt/a\\\\\"b\\\\$c/parvela\"";
    QTest::newRow("percent") << "/opt/100%/parvela"
                             << "/opt/100%%/parvela";
}

// The Exec value, after the file's string escapes, is one quoted argument a
// session starts the program with.
void TestGeneralPage::autostartCommandLine()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(CAutoStart::commandLine(program), exec);
}

// An ignored wheel event goes on to the page's scroll area.
void TestGeneralPage::wheelGoesToThePageUnlessTheBoxHasFocus()
{
    child<QListWidget>(m_form.get(), "lvSettingsEntrances")->setCurrentRow(CSettingsForm::GeneralPage);
    QTRY_COMPARE(child<QTabWidget>(m_form.get(), "twgtSettingsPages")->currentIndex(), int(CSettingsForm::GeneralPage));
    for (QComboBox *box :
         {child<QComboBox>(m_form.get(), "m_pCmbBoxCallRate"), child<QComboBox>(m_form.get(), "m_pCmbBoxLanguage"),
          child<QComboBox>(m_form.get(), "combobox_protocol")}) {
        QCOMPARE(box->focusPolicy(), Qt::StrongFocus);
        box->setCurrentIndex(0);
        box->clearFocus();
        QVERIFY(!wheelDown(box));
        QCOMPARE(box->currentIndex(), 0);
    }
    auto *box = child<QComboBox>(m_form.get(), "m_pCmbBoxCallRate");
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    QVERIFY(wheelDown(box));
    QCOMPARE(box->currentIndex(), 1);
}

QTEST_MAIN(TestGeneralPage)
#include "tst_generalpage.moc"
