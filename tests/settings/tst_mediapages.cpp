#include <cmath>
#include <limits>

#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "statewait.h"
#include "../engine/clogcapture.h"
#include "settingsfixture.h"

using kd::engine::KDDevice;
using kd_app::models::CKDSdkManager;
using kd_app::views::CSettingsForm;
using settingstest::child;
using settingstest::operations;
using settingstest::settle;

namespace {

// One device list of the Audio and Video pages.
struct CDeviceBox
{
    int type;
    const char *box;
    int page;      // the page that shows it
    int otherPage; // a page that does not
    const char *followUps[2];
};

const CDeviceBox kBoxes[] = {
    {kd::engine::KD_DEVICE_MIC, "cbbMic", CSettingsForm::AudioPage, CSettingsForm::VideoPage, {"enableMicMeter(1)"}},
    {kd::engine::KD_DEVICE_SPEAKER,
     "cbbSpeaker",
     CSettingsForm::AudioPage,
     CSettingsForm::VideoPage,
     {"enableMicMeter(1)"}},
    {kd::engine::KD_DEVICE_CAMERA,
     "cbbCamera",
     CSettingsForm::VideoPage,
     CSettingsForm::AudioPage,
     {"setLocalVideoWindow", "enablePreview(1)"}},
};

CKDSdkManager *sdk()
{
    return CKDSdkManager::getInstance();
}

QStringList itemTexts(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) {
        texts << box->itemText(i);
    }
    return texts;
}

// Chooses an item as a user does: the box reports it as activated.
void activate(QComboBox *box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

} // namespace

// The Audio and Video pages against the engine's synthetic devices: device
// lists that follow hot-plug, the names shown, choices applied at once, the
// test sound and the microphone meter.
class TestMediaPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hotPlugRebuildsTheShownList_data();
    void hotPlugRebuildsTheShownList();
    void systemDefaultNames_data();
    void systemDefaultNames();
    void choicesReachTheEngine_data();
    void choicesReachTheEngine();
    void testSoundToggles();
    void meterShowsTheLevel_data();
    void meterShowsTheLevel();
    // Last: it leaves the engine without microphones.
    void emptyListLeavesTheBoxEmpty();

private:
    QComboBox *box(const CDeviceBox &entry) const { return child<QComboBox>(m_form.get(), entry.box); }
    void choose(int page);
    // Adds a device through the engine's hot-plug path; its id.
    unsigned plug(int type, const char *name);
    void unplug(int type, unsigned id);

    QTemporaryDir m_dir;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<CSettingsForm> m_form;
    QList<QPair<int, unsigned>> m_plugged;
};

void TestMediaPages::initTestCase()
{
    m_control = settingstest::startClient(m_dir);
    QVERIFY(m_control);
}

void TestMediaPages::init()
{
    m_form = settingstest::shownForm(false);
    QVERIFY(m_form);
    m_control->clearOperations();
}

void TestMediaPages::cleanup()
{
    m_form.reset();
    for (const auto &device : m_plugged) {
        m_control->injectDeviceRemoved(device.first, device.second);
    }
    m_plugged.clear();
    m_control->setSyntheticMicLevel(-1.0f);
    settle(m_control);
    sdk()->stopAudioPlay();
}

void TestMediaPages::choose(int page)
{
    child<QListWidget>(m_form.get(), "lvSettingsEntrances")->setCurrentRow(page);
    QTRY_COMPARE(child<QTabWidget>(m_form.get(), "twgtSettingsPages")->currentIndex(), page);
}

unsigned TestMediaPages::plug(int type, const char *name)
{
    KDDevice device;
    device.type = type;
    device.name = name;
    m_control->injectDeviceAdded(device);
    settle(m_control);
    for (const KDDevice &listed : sdk()->getDevices(kd::engine::KD_DEVICE_TYPE(type))) {
        if (listed.name == name) {
            m_plugged << qMakePair(type, listed.id);
            return listed.id;
        }
    }
    qFatal("the engine did not list %s", name);
}

void TestMediaPages::unplug(int type, unsigned id)
{
    m_plugged.removeAll(qMakePair(type, id));
    m_control->injectDeviceRemoved(type, id);
    settle(m_control);
}

void TestMediaPages::hotPlugRebuildsTheShownList_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("onThePage");
    for (int i = 0; i < 3; ++i) {
        QTest::addRow("%s, its page open", kBoxes[i].box) << i << true;
        QTest::addRow("%s, another page open", kBoxes[i].box) << i << false;
    }
}

// A list is rebuilt when a device comes or goes while its page is open;
// on another page it waits until its page is entered.
void TestMediaPages::hotPlugRebuildsTheShownList()
{
    QFETCH(int, index);
    QFETCH(bool, onThePage);
    const CDeviceBox &entry = kBoxes[index];
    choose(entry.page);
    const QStringList before = itemTexts(box(entry));
    QVERIFY(!before.isEmpty());
    if (!onThePage) {
        choose(entry.otherPage);
    }

    const unsigned id = plug(entry.type, "Plugged In");
    QCOMPARE(itemTexts(box(entry)), onThePage ? before + QStringList{"Plugged In"} : before);
    if (!onThePage) {
        choose(entry.page);
        QCOMPARE(itemTexts(box(entry)), before + QStringList{"Plugged In"});
        choose(entry.otherPage);
    }
    QCOMPARE(box(entry)->itemData(box(entry)->count() - 1).toUInt(), id);

    unplug(entry.type, id);
    QCOMPARE(itemTexts(box(entry)), onThePage ? before : before + QStringList{"Plugged In"});
    choose(entry.page);
    QCOMPARE(itemTexts(box(entry)), before);
}

void TestMediaPages::systemDefaultNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");

    const QString systemDefault = CSettingsForm::tr("System Default");
    QTest::newRow("default microphone") << 0 << "System Default Microphone" << systemDefault;
    QTest::newRow("default speaker") << 1 << "System Default Speaker" << systemDefault;
    QTest::newRow("a microphone named as the speaker") << 0 << "System Default Speaker"
                                                       << "System Default Speaker";
    QTest::newRow("another case") << 1 << "system default speaker"
                                  << "system default speaker";
    QTest::newRow("a camera") << 2 << "System Default Microphone"
                              << "System Default Microphone";
}

// Only the sound server's default devices read "System Default"; the item
// still carries the device's id.
void TestMediaPages::systemDefaultNames()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, shown);
    const CDeviceBox &entry = kBoxes[index];
    const unsigned id = plug(entry.type, name.toUtf8().constData());
    choose(entry.page);
    const int item = box(entry)->findData(id);
    QVERIFY(item >= 0);
    QCOMPARE(box(entry)->itemText(item), shown);
}

void TestMediaPages::choicesReachTheEngine_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 3; ++i) {
        QTest::newRow(kBoxes[i].box) << i;
    }
}

// Every choice is applied, the current item chosen again too; when the
// current device goes away the list shows the one the engine moved to.
void TestMediaPages::choicesReachTheEngine()
{
    QFETCH(int, index);
    const CDeviceBox &entry = kBoxes[index];
    const auto type = kd::engine::KD_DEVICE_TYPE(entry.type);
    const unsigned plugged = plug(entry.type, "USB Headset");
    choose(entry.page);
    QComboBox *devices = box(entry);
    const unsigned first = sdk()->getDevice(type).id;
    QCOMPARE(devices->currentData().toUInt(), first);

    const auto expectChoice = [&](unsigned id) {
        const QStringList calls = operations(m_control);
        QVERIFY2(calls.contains(QStringLiteral("setDevice(%1,%2)").arg(entry.type).arg(id)),
                 qPrintable(calls.join(' ')));
        for (const char *followUp : entry.followUps) {
            if (followUp) {
                QVERIFY2(calls.filter(QLatin1String(followUp)).size() == 1, followUp);
            }
        }
        QCOMPARE(sdk()->getDevice(type).id, id);
    };
    m_control->clearOperations();
    activate(devices, devices->currentIndex());
    expectChoice(first);

    m_control->clearOperations();
    activate(devices, devices->findData(plugged));
    expectChoice(plugged);

    unplug(entry.type, plugged);
    QCOMPARE(devices->findData(plugged), -1);
    QVERIFY(devices->currentIndex() >= 0);
    QCOMPARE(devices->currentData().toUInt(), sdk()->getDevice(type).id);
}

// The button plays the sound beside the program, and stops it when pressed
// while it plays.
void TestMediaPages::testSoundToggles()
{
    choose(CSettingsForm::AudioPage);
    auto *button = child<QPushButton>(m_form.get(), "btnPlayTestSound");
    const QString file = QCoreApplication::applicationDirPath() + "/resources/sounds/speaker.wav";
    QVERIFY(QFile::exists(file));
    for (int round = 0; round < 2; ++round) {
        m_control->clearOperations();
        button->click();
        QCOMPARE(operations(m_control, "setAudioFile"), QStringList{"setAudioFile(" + file + ")"});
        QCOMPARE(operations(m_control, "startAudioPlay"), QStringList{"startAudioPlay(0)"});
        QVERIFY(sdk()->isAudioPlaying());

        m_control->clearOperations();
        button->click();
        QCOMPARE(operations(m_control, "stopAudioPlay"), QStringList{"stopAudioPlay()"});
        QVERIFY(operations(m_control, "startAudioPlay").isEmpty());
        QVERIFY(!sdk()->isAudioPlaying());
    }
}

void TestMediaPages::meterShowsTheLevel_data()
{
    QTest::addColumn<float>("level");
    QTest::addColumn<int>("shown");

    QTest::newRow("half") << 0.5f << 180;
    QTest::newRow("a quarter") << 0.25f << 90;
    QTest::newRow("full") << 1.0f << 360;
    QTest::newRow("silence") << 0.0f << 0;
    QTest::newRow("above full") << 1.5f << 360;
    QTest::newRow("infinite") << std::numeric_limits<float>::infinity() << 360;
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 0;
}

// The bar (0 to 360) shows the engine's level, held to 0..1 whatever the
// engine reports.
void TestMediaPages::meterShowsTheLevel()
{
    QFETCH(float, level);
    QFETCH(int, shown);
    m_control->setSyntheticMicLevel(level);
    choose(CSettingsForm::AudioPage);
    auto *bar = child<QProgressBar>(m_form.get(), "pgbMic");
    QCOMPARE(bar->maximum(), 360);
    QTRY_COMPARE(bar->value(), shown);
}

void TestMediaPages::emptyListLeavesTheBoxEmpty()
{
    choose(CSettingsForm::AudioPage);
    auto *bar = child<QProgressBar>(m_form.get(), "pgbMic");
    m_control->setSyntheticMicLevel(0.5f);
    QTRY_COMPARE(bar->value(), 180);
    for (const KDDevice &device : sdk()->getDevices(kd::engine::KD_DEVICE_MIC)) {
        m_control->injectDeviceRemoved(device.type, device.id);
    }
    settle(m_control);
    QComboBox *mics = box(kBoxes[0]);
    QCOMPARE(mics->count(), 0);
    QCOMPARE(mics->currentIndex(), -1);

    // No microphone to measure: the bar keeps what it showed.
    m_control->setSyntheticMicLevel(1.0f);
    QTest::qWait(500);
    QCOMPARE(bar->value(), 180);

    CLogCapture log;
    m_control->clearOperations();
    m_form->slt_micSelected(0);
    QVERIFY(operations(m_control, "setDevice").isEmpty());
    QVERIFY2(log.warningLines().filter("The mic device list is empty").size() == 1,
             qPrintable(log.warningLines().join('\n')));
}

QTEST_MAIN(TestMediaPages)
#include "tst_mediapages.moc"
