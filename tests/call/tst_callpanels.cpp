#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "clientfixture.h"
#include "views/call/caudiomodewidget.h"
#include "views/call/callinvitewidget.h"
#include "views/call/callwaitingwidget.h"
#include "views/call/compactwidget.h"

using namespace fixture;
using kd_app::views::CallInviteWidget;
using kd_app::views::CallWaitingWidget;
using kd_app::views::CAudioModeWidget;
using kd_app::views::CompactWidget;

namespace {

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(56, 56).toImage();
}

bool showsIcon(const QToolButton *button, const CompactWidget::ScaledIcon &icon, double scale)
{
    return iconImage(button->icon()) == iconImage(QIcon(CompactWidget::iconForScale(icon, scale)));
}

} // namespace

// The incoming-call and waiting panels, the compact title bar and the
// audio-only panel: what they show and what they report.
class TestCallPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void invitePanelAnswers_data();
    void invitePanelAnswers();
    void invitePanelShowsTheCallerAsText();
    void waitingPanelCountsThePeopleAhead_data();
    void waitingPanelCountsThePeopleAhead();
    void compactIconsForScale_data();
    void compactIconsForScale();
    void compactDeviceButtonsFollowTheEngine();
    void compactBarReportsItsButtons();
    void audioPanelShowsTheMicrophone();
    void audioPanelReportsMovementWithoutButtons();

private:
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
};

void TestCallPanels::initTestCase()
{
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
}

void TestCallPanels::invitePanelAnswers_data()
{
    QTest::addColumn<bool>("audioOnlyCall");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("accepts"); // -1: no answer signal
    QTest::addColumn<bool>("declines");

    QTest::newRow("video call, audio answer") << false << "m_pBtnAudioAccept" << 1 << false;
    QTest::newRow("video call, video answer") << false << "m_pBtnVideoAccept" << 0 << false;
    QTest::newRow("video call, decline") << false << "m_pBtnHangup" << -1 << true;
    QTest::newRow("audio-only call, audio answer") << true << "m_pBtnAudioAccept" << 1 << false;
    QTest::newRow("audio-only call, decline") << true << "m_pBtnHangup" << -1 << true;
}

void TestCallPanels::invitePanelAnswers()
{
    QFETCH(bool, audioOnlyCall);
    QFETCH(QString, button);
    QFETCH(int, accepts);
    QFETCH(bool, declines);

    CallInviteWidget panel(nullptr);
    panel.setIsAudioOnlyCall(audioOnlyCall);
    panel.show();
    // An audio-only call offers only the audio answer and the decline.
    QCOMPARE(panel.findChild<QPushButton *>("m_pBtnVideoAccept")->isVisible(), !audioOnlyCall);
    QVERIFY(panel.findChild<QPushButton *>("m_pBtnAudioAccept")->isVisible());
    QVERIFY(panel.findChild<QPushButton *>("m_pBtnHangup")->isVisible());

    QSignalSpy accepted(&panel, &CallInviteWidget::sigAcceptCall);
    QSignalSpy hungUp(&panel, &CallInviteWidget::sigHangUp);
    QTest::mouseClick(panel.findChild<QPushButton *>(button), Qt::LeftButton);
    QCOMPARE(accepted.count(), accepts < 0 ? 0 : 1);
    if (accepts >= 0) {
        QCOMPARE(accepted.first().first().toBool(), accepts == 1);
    }
    QCOMPARE(hungUp.count(), declines ? 1 : 0);
}

void TestCallPanels::invitePanelShowsTheCallerAsText()
{
    CallInviteWidget panel(nullptr);
    panel.onSetMeetingNumber("<img src=x> Eve");
    auto *caller = panel.findChild<QLabel *>("confNumber");
    QCOMPARE(caller->textFormat(), Qt::PlainText);
    QCOMPARE(caller->text(), QString("<img src=x> Eve"));
}

void TestCallPanels::waitingPanelCountsThePeopleAhead_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("shown");

    QTest::newRow("three ahead") << "3"
                                 << "Waiting...# 3 now";
    QTest::newRow("one ahead") << "1"
                               << "Waiting...# 1 now";
    QTest::newRow("nobody") << ""
                            << "";
}

void TestCallPanels::waitingPanelCountsThePeopleAhead()
{
    QFETCH(QString, count);
    QFETCH(QString, shown);

    CallWaitingWidget panel(nullptr);
    panel.onSetPeopleNumber("7");
    panel.onSetPeopleNumber(count);
    QCOMPARE(panel.peopleNumber(), shown);

    QSignalSpy hungUp(&panel, &CallWaitingWidget::sigHangUp);
    panel.show();
    QTest::mouseClick(panel.findChild<QPushButton *>("m_pBtnHangup"), Qt::LeftButton);
    QCOMPARE(hungUp.count(), 1);
}

void TestCallPanels::compactIconsForScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("minimise");
    QTest::addColumn<QString>("microphone");

    const QString bar = ":/resources/images/window-title-bar/";
    const QString tools = ":/resources/images/layout-operationbar/";
    QTest::newRow("1") << 1.0 << bar + "icon_mini_1x.png" << tools + "icon_unmute.png";
    QTest::newRow("1.25 takes 1x") << 1.25 << bar + "icon_mini_1x.png" << tools + "icon_unmute.png";
    QTest::newRow("1.5") << 1.5 << bar + "icon_mini_1.5x.png" << tools + "icon_unmute@1.5x.png";
    QTest::newRow("1.75 takes 1x") << 1.75 << bar + "icon_mini_1x.png" << tools + "icon_unmute.png";
    QTest::newRow("2") << 2.0 << bar + "icon_mini_2x.png" << tools + "icon_unmute@2x.png";
}

void TestCallPanels::compactIconsForScale()
{
    QFETCH(double, scale);
    QFETCH(QString, minimise);
    QFETCH(QString, microphone);

    QCOMPARE(CompactWidget::iconForScale(CompactWidget::MINIMISE_ICON, scale), minimise);
    QCOMPARE(CompactWidget::iconForScale(CompactWidget::MIC_ON_ICON, scale), microphone);
    QVERIFY(QFile::exists(minimise));
    QVERIFY(QFile::exists(microphone));
}

void TestCallPanels::compactDeviceButtonsFollowTheEngine()
{
    CCallController::enableMic(true);
    CCallController::enableCamera(false);
    CompactWidget bar(nullptr);
    bar.show();
    auto *mute = bar.findChild<QToolButton *>("m_pBtnMute");
    auto *camera = bar.findChild<QToolButton *>("m_pBtnCamera");
    QVERIFY(showsIcon(mute, CompactWidget::MIC_ON_ICON, 1.0));
    QVERIFY(showsIcon(camera, CompactWidget::CAMERA_OFF_ICON, 1.0));

    QTest::mouseClick(mute, Qt::LeftButton);
    QVERIFY(!CCallController::isMicEnabled());
    QVERIFY(showsIcon(mute, CompactWidget::MIC_OFF_ICON, 1.0));
    QTest::mouseClick(mute, Qt::LeftButton);
    QVERIFY(CCallController::isMicEnabled());
    QVERIFY(showsIcon(mute, CompactWidget::MIC_ON_ICON, 1.0));

    QTest::mouseClick(camera, Qt::LeftButton);
    QVERIFY(CCallController::isCameraEnabled());
    QVERIFY(showsIcon(camera, CompactWidget::CAMERA_ON_ICON, 1.0));

    // The host mutes the microphone: the icon reads the state again.
    m_control->failNext("enableMic", kd::sdk::KD_ERR_NOT_PERMITTED);
    QTest::mouseClick(mute, Qt::LeftButton);
    QVERIFY(CCallController::isMicEnabled());
    QVERIFY(showsIcon(mute, CompactWidget::MIC_ON_ICON, 1.0));

    bar.onDpiUpdate(2.0);
    QVERIFY(showsIcon(mute, CompactWidget::MIC_ON_ICON, 2.0));
    QVERIFY(showsIcon(bar.findChild<QToolButton *>("m_pBtnRecover"), CompactWidget::RESTORE_ICON, 2.0));
}

void TestCallPanels::compactBarReportsItsButtons()
{
    CompactWidget bar(nullptr);
    bar.show();
    QSignalSpy minimised(&bar, &CompactWidget::sigMin);
    QSignalSpy recovered(&bar, &CompactWidget::sigRecover);
    QTest::mouseClick(bar.findChild<QToolButton *>("m_pBtnWinMin"), Qt::LeftButton);
    QTest::mouseClick(bar.findChild<QToolButton *>("m_pBtnRecover"), Qt::LeftButton);
    QCOMPARE(minimised.count(), 1);
    QCOMPARE(recovered.count(), 1);
}

void TestCallPanels::audioPanelShowsTheMicrophone()
{
    CAudioModeWidget panel(nullptr);
    auto *status = panel.findChild<QWidget *>("m_pWgtAudioStatus");
    // The argument is the microphone's enabled state.
    panel.setMicMuted(true);
    QVERIFY(status->styleSheet().contains("audio_unmute-1x.png"));
    panel.setMicMuted(false);
    QVERIFY(status->styleSheet().contains("audio_mute-1x.png"));
    QVERIFY(!status->styleSheet().contains("unmute"));
}

void TestCallPanels::audioPanelReportsMovementWithoutButtons()
{
    CAudioModeWidget panel(nullptr);
    panel.resize(400, 300);
    panel.show();
    auto *background = panel.findChild<QWidget *>("m_pWgtBg");
    QVERIFY(background->hasMouseTracking());
    QSignalSpy moved(&panel, &CAudioModeWidget::sigMouseMove);
    QSignalSpy pressed(&panel, &CAudioModeWidget::sigMousePress);
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(background, &move);
    QVERIFY(moved.count() >= 1);
    QTest::mousePress(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(pressed.count(), 1);
}

QTEST_MAIN(TestCallPanels)
#include "tst_callpanels.moc"
