#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QtTest>

#include "statewait.h"
#include "ownxvfb.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/settings/csettingsform.h"
#include "windowstestenv.h"

using kd_app::views::CContainerSettingsFormWidget;
using kd_app::views::CSettingsForm;

namespace {

void click(QWidget *widget, const QPoint &at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// The local picture's stream as the engine counts it.
kd::sdk::KDRenderStats localVideo()
{
    return kd::sdk::currentEngineControl()->renderStats().at(kd::sdk::KD_RENDER_LOCAL_VIDEO);
}

} // namespace

// The settings as a user reaches them on a real X server: the login window's
// button, clicks on the entries, and the camera picture in the preview.
class TestSettingsByMouse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void settingsButtonOpensTheSettings();
    void entryClicksSwitchPages_data();
    void entryClicksSwitchPages();
    void previewShowsTheCamera();

private:
    QListWidget *entries() const { return child<QListWidget>(m_settings, "lvSettingsEntrances"); }
    QTabWidget *pages() const { return child<QTabWidget>(m_settings, "twgtSettingsPages"); }
    void clickEntry(int row);

    CWindowsTestEnv m_env;
    QPointer<CContainerSettingsFormWidget> m_settings;
};

void TestSettingsByMouse::initTestCase()
{
    QVERIFY(m_env.start());
    QVERIFY(QTest::qWaitForWindowExposed(kd_app::views::CLoginDlg::getInstance()));
}

void TestSettingsByMouse::cleanupTestCase()
{
    if (m_settings) {
        click(child<QPushButton>(m_settings, "m_pBtnClose"), QPoint(5, 5));
        QTRY_VERIFY(!m_settings);
    }
}

void TestSettingsByMouse::clickEntry(int row)
{
    const QRect item = entries()->visualItemRect(entries()->item(row));
    click(entries()->viewport(), item.center());
}

void TestSettingsByMouse::settingsButtonOpensTheSettings()
{
    auto *button = child<QPushButton>(kd_app::views::CLoginDlg::getInstance(), "m_pBtnSetting");
    click(button, button->rect().center());
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *candidate = qobject_cast<CContainerSettingsFormWidget *>(widget);
            candidate && candidate->isVisible()) {
            m_settings = candidate;
        }
    }
    QVERIFY(m_settings);
    QVERIFY(QTest::qWaitForWindowExposed(m_settings));
    // Not a guest: the SIP entry is hidden, General is open.
    QVERIFY(entries()->item(CSettingsForm::SipPage)->isHidden());
    QCOMPARE(pages()->currentIndex(), int(CSettingsForm::GeneralPage));
}

void TestSettingsByMouse::entryClicksSwitchPages_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("Audio") << int(CSettingsForm::AudioPage);
    QTest::newRow("Network Report") << int(CSettingsForm::ReportPage);
    QTest::newRow("About") << int(CSettingsForm::AboutPage);
    QTest::newRow("Video") << int(CSettingsForm::VideoPage);
    QTest::newRow("General") << int(CSettingsForm::GeneralPage);
}

void TestSettingsByMouse::entryClicksSwitchPages()
{
    QFETCH(int, page);
    QVERIFY(m_settings);
    clickEntry(page);
    QTRY_COMPARE(pages()->currentIndex(), page);
    QCOMPARE(entries()->currentRow(), page);
    QVERIFY(pages()->currentWidget()->isVisible());
}

// Frames of the synthetic camera reach the preview's native window and are
// on the screen, not only in the engine's count.
void TestSettingsByMouse::previewShowsTheCamera()
{
    QVERIFY(m_settings);
    clickEntry(CSettingsForm::VideoPage);
    QTRY_COMPARE(pages()->currentIndex(), int(CSettingsForm::VideoPage));
    QWidget *preview = child<QWidget>(m_settings, "wgtVideoPreview");
    QTRY_COMPARE_WITH_TIMEOUT(localVideo().window, quint64(preview->winId()), kdtest::kStateWaitMs);
    const quint64 painted = localVideo().framesPainted;
    QTRY_VERIFY_WITH_TIMEOUT(localVideo().framesPainted >= painted + 5, kdtest::kStateWaitMs);

    // The synthetic camera's first colour bar is white.
    const QPoint topLeft = preview->mapToGlobal(QPoint(0, 0));
    const auto firstBar = [&] {
        const QImage shot =
            preview->screen()->grabWindow(0, topLeft.x(), topLeft.y(), preview->width(), preview->height()).toImage();
        return shot.pixelColor(preview->width() / 14, preview->height() / 2);
    };
    QTRY_COMPARE_WITH_TIMEOUT(firstBar(), QColor(Qt::white), kdtest::kStateWaitMs);

    // Leaving the page turns the preview off: the frames stop.
    clickEntry(CSettingsForm::AboutPage);
    QTRY_COMPARE(pages()->currentIndex(), int(CSettingsForm::AboutPage));
    QTest::qWait(200);
    const quint64 stopped = localVideo().framesPainted;
    QTest::qWait(500);
    QCOMPARE(localVideo().framesPainted, stopped);
}

KD_OWN_XVFB_TEST_MAIN(TestSettingsByMouse)
#include "tst_settingsbymouse.moc"
