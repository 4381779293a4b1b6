#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

#include "statewait.h"
#include "kdsdkcontrol.h"
#include "models/ckdsdkmanager.h"
#include "screendpi.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/cdtmfdlg.h"
#include "views/call/toolbar/cdtmflabel.h"
#include "views/call/toolbar/cmenumorewidget.h"
#include "views/call/toolbar/cnumberbutton.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"

using namespace kd::engine;
using kd_app::models::CKDSdkManager;
using kd_app::views::CControlVolumeWidget;
using kd_app::views::CDTMFDlg;
using kd_app::views::CDTMFLabel;
using kd_app::views::CMenuMoreWidget;
using kd_app::views::menuAudioWidget;
using kd_app::views::menuVideoWidget;

namespace {

QStringList checkBoxTexts(const QWidget *menu)
{
    QStringList texts;
    for (const QCheckBox *box : menu->findChildren<QCheckBox *>("m_check")) {
        texts << box->text() + (box->isChecked() ? "*" : "");
    }
    return texts;
}

QCheckBox *checkBox(const QWidget *menu, const QString &text)
{
    for (QCheckBox *box : menu->findChildren<QCheckBox *>("m_check")) {
        if (box->text() == text) {
            return box;
        }
    }
    return nullptr;
}

} // namespace

class TestToolbarPopups : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void volumeToSlider_data();
    void volumeToSlider();
    void sliderToVolume_data();
    void sliderToVolume();
    void initVolumeSendsNothing();
    void sliderAndMuteReachEngine();
    void volumeSizesPerScale_data();
    void volumeSizesPerScale();

    void dialPadKeys_data();
    void dialPadKeys();
    void dialPadSendsAndShows_data();
    void dialPadSendsAndShows();
    void dialPadScales_data();
    void dialPadScales();

    void numberButtonScale_data();
    void numberButtonScale();

    void audioMenuSections();
    void audioMenuWithoutSpeakers();
    void clickingCurrentDeviceCallsNothing();
    void clickingOtherDeviceSwitches();
    void renamingOnlyInAudioMenu();
    void settingsLinkReportsAndHides();

    void moreMenuEntry_data();
    void moreMenuEntry();
    void speechRequestAsksEngineAndRelays();

private:
    QStringList operationsNamed(const std::string &name) const;
    void connectCall();

    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestToolbarPopups::init()
{
    CKDSdkManager::initInstance();
    m_control = kd::sdk::currentEngineControl();
    QVERIFY(m_control);
    m_control->setEventLatency(0);
    m_control->setDevicePollInterval(0);
}

void TestToolbarPopups::cleanup()
{
    CKDSdkManager::releaseInstance();
}

QStringList TestToolbarPopups::operationsNamed(const std::string &name) const
{
    QStringList calls;
    for (const kd::sdk::KDOperationRecord &record : m_control->operations()) {
        if (record.name == name) {
            calls << QString::fromStdString(record.args);
        }
    }
    return calls;
}

void TestToolbarPopups::connectCall()
{
    kd::sdk::KDModelMeeting meeting;
    meeting.number = "80001";
    meeting.name = "Weekly";
    m_control->addMeeting(meeting);
    QVERIFY(CKDSdkManager::getInstance()->dialOut("80001", true));
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
}

void TestToolbarPopups::volumeToSlider_data()
{
    QTest::addColumn<float>("volume");
    QTest::addColumn<int>("slider");
    QTest::newRow("silent") << 0.0f << 0;
    QTest::newRow("one") << 1.0f << 33;
    QTest::newRow("half") << 1.5f << 50;
    QTest::newRow("full") << 3.0f << 100;
}

void TestToolbarPopups::volumeToSlider()
{
    QFETCH(float, volume);
    QFETCH(int, slider);
    QCOMPARE(CControlVolumeWidget::toSliderValue(volume), slider);
}

void TestToolbarPopups::sliderToVolume_data()
{
    QTest::addColumn<int>("slider");
    QTest::addColumn<float>("volume");
    QTest::newRow("0") << 0 << 0.0f;
    QTest::newRow("37") << 37 << 1.11f;
    QTest::newRow("50") << 50 << 1.5f;
    QTest::newRow("100") << 100 << 3.0f;
}

void TestToolbarPopups::sliderToVolume()
{
    QFETCH(int, slider);
    QFETCH(float, volume);
    QVERIFY(qAbs(CControlVolumeWidget::toEngineVolume(slider) - volume) < 1e-5f);
}

void TestToolbarPopups::initVolumeSendsNothing()
{
    CControlVolumeWidget popup(1.0, nullptr);
    m_control->clearOperations();

    popup.initVolume(true, 1.5f);

    QCOMPARE(popup.findChild<QSlider *>("m_volume")->value(), 50);
    QCOMPARE(popup.findChild<QLabel *>("m_value")->text(), QString("50"));
    QVERIFY(popup.findChild<QToolButton *>("m_mute")->isChecked());
    QVERIFY(operationsNamed("setVolume").isEmpty());
}

void TestToolbarPopups::sliderAndMuteReachEngine()
{
    CKDSdkManager *sdk = CKDSdkManager::getInstance();
    KDVolume start;
    start.mute = 1;
    start.volume = 2.0f;
    QVERIFY(sdk->setVolume(KD_DEVICE_SPEAKER, start));
    CControlVolumeWidget popup(1.0, nullptr);
    popup.initVolume(true, 2.0f);

    popup.findChild<QSlider *>("m_volume")->setValue(37);
    KDVolume now = sdk->getVolume(KD_DEVICE_SPEAKER);
    QVERIFY(qAbs(now.volume - 1.11f) < 1e-5f);
    QCOMPARE(now.mute, 1);
    QCOMPARE(popup.findChild<QLabel *>("m_value")->text(), QString("37"));

    popup.findChild<QToolButton *>("m_mute")->click();
    now = sdk->getVolume(KD_DEVICE_SPEAKER);
    QCOMPARE(now.mute, 0);
    QVERIFY(qAbs(now.volume - 1.11f) < 1e-5f);
}

void TestToolbarPopups::volumeSizesPerScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("mute");
    QTest::newRow("1") << 1.0 << QSize(44, 194) << QSize(24, 24);
    QTest::newRow("1.5") << 1.5 << QSize(66, 291) << QSize(36, 36);
    QTest::newRow("2") << 2.0 << QSize(88, 388) << QSize(48, 48);
}

void TestToolbarPopups::volumeSizesPerScale()
{
    QFETCH(double, scale);
    QFETCH(QSize, size);
    QFETCH(QSize, mute);
    CControlVolumeWidget popup(scale, nullptr);
    QCOMPARE(popup.size(), size);
    QCOMPARE(popup.minimumSize(), size);
    QCOMPARE(popup.maximumSize(), size);
    QCOMPARE(popup.findChild<QToolButton *>("m_mute")->size(), mute);
}

void TestToolbarPopups::dialPadKeys_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    const char *texts[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "0", "#"};
    for (int i = 0; i < 12; ++i) {
        QTest::addRow("%s", texts[i]) << i << QString(texts[i]) << i / 3 << i % 3;
    }
}

void TestToolbarPopups::dialPadKeys()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(int, row);
    QFETCH(int, column);
    CDTMFDlg pad(nullptr);
    QCOMPARE(CDTMFDlg::keyText(index), text);
    auto *table = pad.findChild<QTableWidget *>("tableWidget");
    auto *key = qobject_cast<CDTMFLabel *>(table->cellWidget(row, column));
    QVERIFY(key);
    QCOMPARE(key->keyText(), text);
    QCOMPARE(key->index(), index);
}

void TestToolbarPopups::dialPadSendsAndShows_data()
{
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("shown");
    QTest::newRow("accepted") << 0 << "5*";
    QTest::newRow("refused") << int(kd::sdk::KD_ERR_NO_CALL) << "5";
}

void TestToolbarPopups::dialPadSendsAndShows()
{
    QFETCH(int, refusal);
    QFETCH(QString, shown);
    connectCall();
    CDTMFDlg pad(nullptr);
    pad.keyLabel(4)->setScale(1);
    QTest::mouseClick(pad.keyLabel(4), Qt::LeftButton);
    m_control->clearOperations();
    if (refusal) {
        m_control->failNext("sendDTMF", refusal);
    }

    QTest::mouseClick(pad.keyLabel(9), Qt::LeftButton);

    QCOMPARE(operationsNamed("sendDTMF"), QStringList{"*"});
    QCOMPARE(pad.digits(), shown);
}

void TestToolbarPopups::dialPadScales_data()
{
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("font");
    QTest::newRow("1") << qreal(96) << 50 << 20;
    QTest::newRow("1.5") << qreal(144) << 75 << 30;
    QTest::newRow("2") << qreal(192) << 100 << 40;
}

void TestToolbarPopups::dialPadScales()
{
    QFETCH(qreal, dpi);
    QFETCH(int, key);
    QFETCH(int, font);
    ScopedScreenDpi screenDpi(dpi);
    CDTMFDlg pad(nullptr);
    pad.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pad));
    for (int i = 0; i < CDTMFDlg::KEY_COUNT; ++i) {
        QCOMPARE(pad.keyLabel(i)->size(), QSize(key, key));
        QCOMPARE(pad.keyLabel(i)->keyFontPixelSize(), font);
    }
    QCOMPARE(pad.findChild<QTableWidget *>("tableWidget")->size(), QSize(3 * key, 4 * key));
}

void TestToolbarPopups::numberButtonScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("image");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<QString>("captionFont");
    // The button itself stays 88 x 60 here: the toolbar's scaler sizes it.
    QTest::newRow("1") << 1.0 << QRect(30, 6, 28, 28) << QRect(0, 39, 88, 14) << "font-size: 12px";
    QTest::newRow("1.5") << 1.5 << QRect(23, 6, 42, 42) << QRect(0, 27, 132, 21) << "font-size: 18px";
    QTest::newRow("2") << 2.0 << QRect(16, 6, 56, 56) << QRect(0, 13, 176, 28) << "font-size: 24px";
}

void TestToolbarPopups::numberButtonScale()
{
    QFETCH(double, scale);
    QFETCH(QRect, image);
    QFETCH(QRect, caption);
    QFETCH(QString, captionFont);
    CNumberButton button(nullptr);
    button.setScale(scale);
    QCOMPARE(button.image()->geometry(), image);
    QCOMPARE(button.caption()->geometry(), caption);
    QVERIFY(button.caption()->styleSheet().contains(captionFont));
    QVERIFY(button.number()->styleSheet().contains(captionFont));
}

void TestToolbarPopups::audioMenuSections()
{
    menuAudioWidget menu(1.0, nullptr);
    menu.loadDevices();
    QStringList titles;
    for (const QLabel *title : menu.findChildren<QLabel *>("m_labelTitle")) {
        titles << title->text();
    }
    QCOMPARE(titles, QStringList({"Select microphone", "Select speaker"}));
    QCOMPARE(checkBoxTexts(&menu), QStringList({"Built-in Microphone*", "Built-in Speaker*"}));
    QCOMPARE(menu.findChildren<QFrame *>("m_line").size(), 2);
    QVERIFY(menu.findChild<QPushButton *>("m_showAudioSets"));
    QVERIFY(menu.minimumWidth() >= 130);
}

void TestToolbarPopups::audioMenuWithoutSpeakers()
{
    for (const KDDevice &speaker : CKDSdkManager::getInstance()->getDevices(KD_DEVICE_SPEAKER)) {
        m_control->injectDeviceRemoved(KD_DEVICE_SPEAKER, speaker.id);
    }
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    menuAudioWidget menu(1.0, nullptr);
    menu.loadDevices();
    QCOMPARE(menu.findChildren<QLabel *>("m_labelTitle").size(), 1);
    QCOMPARE(menu.findChildren<QFrame *>("m_line").size(), 1);
    QCOMPARE(checkBoxTexts(&menu), QStringList{"Built-in Microphone*"});
    QVERIFY(menu.findChild<QPushButton *>("m_showAudioSets"));
}

void TestToolbarPopups::clickingCurrentDeviceCallsNothing()
{
    menuVideoWidget menu(1.0, nullptr);
    menu.loadDevices();
    m_control->clearOperations();
    checkBox(&menu, "Synthetic Camera")->click();
    QVERIFY(operationsNamed("setDevice").isEmpty());
}

void TestToolbarPopups::clickingOtherDeviceSwitches()
{
    KDDevice second;
    second.type = KD_DEVICE_MIC;
    second.name = "Desk Microphone";
    m_control->injectDeviceAdded(second);
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    menuAudioWidget menu(1.0, nullptr);
    menu.loadDevices();
    QCOMPARE(checkBoxTexts(&menu).mid(0, 2), QStringList({"Built-in Microphone*", "Desk Microphone"}));
    m_control->clearOperations();

    checkBox(&menu, "Desk Microphone")->click();

    const KDDevice current = CKDSdkManager::getInstance()->getDevice(KD_DEVICE_MIC);
    QCOMPARE(QString::fromStdString(current.name), QString("Desk Microphone"));
    QCOMPARE(operationsNamed("setDevice"), QStringList{QString("0,%1").arg(current.id)});
    // A second click on the now current box asks nothing more.
    checkBox(&menu, "Desk Microphone")->click();
    QCOMPARE(operationsNamed("setDevice").size(), 1);
}

void TestToolbarPopups::renamingOnlyInAudioMenu()
{
    for (int type : {int(KD_DEVICE_MIC), int(KD_DEVICE_CAMERA)}) {
        KDDevice device;
        device.type = type;
        device.name = "System Default Microphone";
        m_control->injectDeviceAdded(device);
    }
    QVERIFY(m_control->waitForIdle(kdtest::kStateWaitMs));
    menuAudioWidget audio(1.0, nullptr);
    audio.loadDevices();
    menuVideoWidget video(1.0, nullptr);
    video.loadDevices();
    QVERIFY(checkBox(&audio, "System Default"));
    QVERIFY(!checkBox(&audio, "System Default Microphone"));
    QVERIFY(checkBox(&video, "System Default Microphone"));
}

void TestToolbarPopups::settingsLinkReportsAndHides()
{
    menuVideoWidget menu(1.0, nullptr);
    menu.loadDevices();
    menu.show();
    QSignalSpy asked(&menu, &menuVideoWidget::sigShowVideoSetting);
    menu.findChild<QPushButton *>("m_showVideoSets")->click();
    QCOMPARE(asked.count(), 1);
    QVERIFY(!menu.isVisible());
}

void TestToolbarPopups::moreMenuEntry_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::newRow("offered") << true;
    QTest::newRow("not offered") << false;
}

void TestToolbarPopups::moreMenuEntry()
{
    QFETCH(bool, enabled);
    CMenuMoreWidget menu(nullptr, Qt::WindowFlags());
    menu.setRequestSpeakEnabled(!enabled);
    menu.setRequestSpeakEnabled(enabled);
    QCOMPARE(menu.findChildren<QPushButton *>().size(), enabled ? 1 : 0);
    QCOMPARE(menu.requestSpeakButton() != nullptr, enabled);
    QCOMPARE(menu.minimumWidth(), 130);
    if (enabled) {
        QCOMPARE(menu.requestSpeakButton()->text(), QString("Speech Request"));
    }
}

void TestToolbarPopups::speechRequestAsksEngineAndRelays()
{
    CMenuMoreWidget menu(nullptr, Qt::WindowFlags());
    menu.setRequestSpeakEnabled(true);
    menu.show();
    QSignalSpy relayed(&menu, &CMenuMoreWidget::signal_clicked_requestSpeak);
    m_control->clearOperations();

    menu.requestSpeakButton()->click();

    QCOMPARE(operationsNamed("requestRemoteUnmute"), QStringList{"1"});
    QVERIFY(!menu.isVisible());
    QCOMPARE(relayed.count(), 0);
    QVERIFY(relayed.wait(kdtest::kStateWaitMs));
}

QTEST_MAIN(TestToolbarPopups)
#include "tst_toolbarpopups.moc"
