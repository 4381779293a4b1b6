#include <csignal>

#include <QApplication>
#include <QScreen>
#include <QtTest>

#include "ownxvfb.h"

namespace {

std::string g_outerDisplay;

OwnXvfb::Options withCompositor()
{
    const char *outer = getenv("DISPLAY");
    g_outerDisplay = outer ? outer : "";
    OwnXvfb::Options options;
    options.compositor = true;
    return options;
}

} // namespace

// The private X server that screen and compositor tests start for
// themselves: a display of its own with the size asked for, and a running
// compositor when one is asked for.
class TestOwnXvfb : public QObject
{
    Q_OBJECT

private slots:
    void aPrivateDisplayWithACompositor();
    void anotherServerAtTheSameTime();
};

void TestOwnXvfb::aPrivateDisplayWithACompositor()
{
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
    const QString display = qEnvironmentVariable("DISPLAY");
    QVERIFY(display.startsWith(':'));
    QVERIFY(display.toStdString() != g_outerDisplay);
    QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1920, 1080));
    QCOMPARE(QGuiApplication::primaryScreen()->depth(), 24);
}

void TestOwnXvfb::anotherServerAtTheSameTime()
{
    pid_t server = -1;
    pid_t compositor = -1;
    {
        OwnXvfb::Options options;
        options.screen = "640x480x24";
        options.compositor = true;
        const std::string before = getenv("DISPLAY");
        OwnXvfb second(options);
        QVERIFY2(second.ok(), second.error().c_str());
        QVERIFY(second.display() != before);
        server = second.serverPid();
        compositor = second.compositorPid();
        QVERIFY(server > 0);
        QVERIFY(compositor > 0);
        QCOMPARE(kill(server, 0), 0);
        QCOMPARE(kill(compositor, 0), 0);
        setenv("DISPLAY", before.c_str(), 1);
    }
    // Both were ended by their process ids when the object went.
    QVERIFY(kill(server, 0) != 0);
    QVERIFY(kill(compositor, 0) != 0);
}

KD_OWN_XVFB_TEST_MAIN_OPTIONS(TestOwnXvfb, withCompositor())
#include "tst_ownxvfb.moc"
