#include <QtTest>

#include "cdevicemanager.h"
#include "kdsdkcontrol.h"

using namespace kd::engine;
using kd::sdk::CDeviceManager;
using kd::sdk::CSystemDevice;
using kd::sdk::CSystemDevices;

namespace {

// Writes the device events as "+name" (added), "-name" (removed) and
// "*name" (now current), in the order the engine raises them.
class CEventLog : public IAVEventHandler
{
public:
    void onDeviceAdded(KDDevice &device) override { lines << "+" + QString::fromStdString(device.name); }
    void onDeviceRemoved(KDDevice &device) override { lines << "-" + QString::fromStdString(device.name); }
    void onCurrentDeviceChanged(KDDevice &device) override { lines << "*" + QString::fromStdString(device.name); }

    QStringList lines;
};

CSystemDevices listed(int type, const QStringList &names)
{
    CSystemDevices system;
    for (const QString &name : names) {
        CSystemDevice device;
        device.key = "key:" + name.toStdString();
        device.name = name.toStdString();
        system.lists[type].push_back(device);
    }
    return system;
}

QStringList namesOf(const std::vector<KDDevice> &devices)
{
    QStringList names;
    for (const KDDevice &device : devices) {
        names << QString::fromStdString(device.name);
    }
    return names;
}

unsigned idOf(const CDeviceManager &manager, int type, const QString &name)
{
    for (const KDDevice &device : manager.devices(type)) {
        if (QString::fromStdString(device.name) == name) {
            return device.id;
        }
    }
    return KDDevice().id;
}

} // namespace

// How the engine's device lists follow the system's: the default heads, the
// synthetic device of a kind the system lists nothing of, ids that stay with
// a device, and the current device when it goes.
class TestDeviceManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void systemChanges_data();
    void systemChanges();
    void idsStayWithTheirDevice();
    void injectedDevicesOutliveSystemChanges();
    void selectOnlyListedDevices();

private:
    std::unique_ptr<CDeviceManager> m_manager;
    CEventLog m_log;
};

void TestDeviceManager::init()
{
    m_log.lines.clear();
    m_manager = std::make_unique<CDeviceManager>([this](CDeviceManager::Event event) { event(m_log); });
}

void TestDeviceManager::systemChanges_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("current");

    const QString mic = "System Default Microphone";
    const QString speaker = "System Default Speaker";
    QTest::newRow("nothing listed: the synthetic microphone stays")
        << 0 << QStringList() << QString() << QStringList() << QStringList() << QStringList{"Built-in Microphone"}
        << "Built-in Microphone";
    QTest::newRow("the sound server appears: its devices replace the synthetic one")
        << 0 << QStringList() << QString() << QStringList{"hs"}
        << QStringList{"-Built-in Microphone", "+" + mic, "+hs", "*" + mic} << QStringList{mic, "hs"} << mic;
    QTest::newRow("a speaker plugged in") << 1 << QStringList{"a"} << QString() << QStringList{"a", "b"}
                                          << QStringList{"+b"} << QStringList{speaker, "a", "b"} << speaker;
    QTest::newRow("another speaker unplugged: the current one stays")
        << 1 << QStringList{"a", "b"} << "a" << QStringList{"a"} << QStringList{"-b"} << QStringList{speaker, "a"}
        << "a";
    QTest::newRow("the current speaker unplugged: the default head takes over")
        << 1 << QStringList{"a", "b"} << "b" << QStringList{"a"} << QStringList{"-b", "*" + speaker}
        << QStringList{speaker, "a"} << speaker;
    QTest::newRow("the last microphone unplugged: the synthetic one comes back")
        << 0 << QStringList{"a"} << "a" << QStringList()
        << QStringList{"-" + mic, "-a", "+Built-in Microphone", "*Built-in Microphone"}
        << QStringList{"Built-in Microphone"} << "Built-in Microphone";
    QTest::newRow("cameras have no default head")
        << 2 << QStringList() << QString() << QStringList{"USB cam"}
        << QStringList{"-Synthetic Camera", "+USB cam", "*USB cam"} << QStringList{"USB cam"} << "USB cam";
}

void TestDeviceManager::systemChanges()
{
    QFETCH(int, type);
    QFETCH(QStringList, before);
    QFETCH(QString, selected);
    QFETCH(QStringList, after);
    QFETCH(QStringList, events);
    QFETCH(QStringList, list);
    QFETCH(QString, current);

    m_manager->applySystem(listed(type, before), false);
    QVERIFY(m_log.lines.isEmpty());
    if (!selected.isEmpty()) {
        QCOMPARE(m_manager->select(type, idOf(*m_manager, type, selected)), int(kd::sdk::KD_OK));
        m_log.lines.clear();
    }
    m_manager->applySystem(listed(type, after));
    QCOMPARE(m_log.lines, events);
    QCOMPARE(namesOf(m_manager->devices(type)), list);
    QCOMPARE(QString::fromStdString(m_manager->current(type).name), current);
    // The other kinds keep their synthetic device.
    QCOMPARE(int(m_manager->devices((type + 1) % 3).size()), 1);
}

void TestDeviceManager::idsStayWithTheirDevice()
{
    const unsigned synthetic = m_manager->current(KD_DEVICE_MIC).id;
    m_manager->applySystem(listed(KD_DEVICE_MIC, {"a", "b"}));
    const unsigned head = idOf(*m_manager, KD_DEVICE_MIC, "System Default Microphone");
    const unsigned a = idOf(*m_manager, KD_DEVICE_MIC, "a");
    const unsigned b = idOf(*m_manager, KD_DEVICE_MIC, "b");
    QCOMPARE(QSet<unsigned>({synthetic, head, a, b}).size(), 4);
    QCOMPARE(m_manager->systemKey(KD_DEVICE_MIC, head), CDeviceManager::defaultKey(KD_DEVICE_MIC));
    QCOMPARE(m_manager->systemKey(KD_DEVICE_MIC, a), std::string("key:a"));
    QVERIFY(m_manager->systemKey(KD_DEVICE_MIC, synthetic).empty());

    // Unplugged and plugged in again, in another order: the same ids.
    m_manager->applySystem(listed(KD_DEVICE_MIC, {}));
    QCOMPARE(m_manager->current(KD_DEVICE_MIC).id, synthetic);
    QVERIFY(m_manager->isSynthetic(KD_DEVICE_MIC, synthetic));
    m_manager->applySystem(listed(KD_DEVICE_MIC, {"b", "a"}));
    QCOMPARE(idOf(*m_manager, KD_DEVICE_MIC, "a"), a);
    QCOMPARE(idOf(*m_manager, KD_DEVICE_MIC, "b"), b);
    QCOMPARE(idOf(*m_manager, KD_DEVICE_MIC, "System Default Microphone"), head);
}

void TestDeviceManager::injectedDevicesOutliveSystemChanges()
{
    KDDevice usb;
    usb.type = KD_DEVICE_CAMERA;
    usb.name = "Injected cam";
    m_manager->add(usb);
    QCOMPARE(m_log.lines, QStringList{"+Injected cam"});
    m_manager->applySystem(listed(KD_DEVICE_CAMERA, {"Real cam"}));
    QCOMPARE(namesOf(m_manager->devices(KD_DEVICE_CAMERA)), (QStringList{"Real cam", "Injected cam"}));
    m_manager->applySystem(listed(KD_DEVICE_CAMERA, {}));
    QCOMPARE(namesOf(m_manager->devices(KD_DEVICE_CAMERA)), (QStringList{"Synthetic Camera", "Injected cam"}));

    m_log.lines.clear();
    const unsigned injected = idOf(*m_manager, KD_DEVICE_CAMERA, "Injected cam");
    QCOMPARE(m_manager->select(KD_DEVICE_CAMERA, injected), int(kd::sdk::KD_OK));
    m_manager->remove(KD_DEVICE_CAMERA, injected);
    QCOMPARE(m_log.lines, (QStringList{"*Injected cam", "-Injected cam", "*Synthetic Camera"}));
}

void TestDeviceManager::selectOnlyListedDevices()
{
    QCOMPARE(m_manager->select(KD_DEVICE_SPEAKER, 4242), int(kd::sdk::KD_ERR_INVALID_ARGUMENT));
    QCOMPARE(m_manager->select(7, 1), int(kd::sdk::KD_ERR_INVALID_ARGUMENT));
    const unsigned current = m_manager->current(KD_DEVICE_SPEAKER).id;
    QCOMPARE(m_manager->select(KD_DEVICE_SPEAKER, current), int(kd::sdk::KD_OK));
    // Choosing the current device again raises nothing.
    QVERIFY(m_log.lines.isEmpty());
    QVERIFY(m_manager->devices(5).empty());
    QCOMPARE(m_manager->current(-1).id, KDDevice().id);
}

QTEST_GUILESS_MAIN(TestDeviceManager)
#include "tst_devicemanager.moc"
