#include <QApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include "statewait.h"
#include "../login/clientfixture.h"
#include "app/cwindowshape.h"
#include "calltoolbarfixture.h"
#include "ownxvfb.h"
#include "views/call/share/carrowwidget.h"
#include "views/call/share/cselectsharecontent.h"
#include "views/call/toolbar/ccontrolvolumewidget.h"
#include "views/call/toolbar/cdtmfdlg.h"
#include "views/call/toolbar/cdtmflabel.h"
#include "views/call/toolbar/clayouttoolbardlg.h"
#include "views/call/toolbar/cmenumorewidget.h"
#include "views/call/toolbar/menuaudiowidget.h"
#include "views/call/toolbar/menuvideowidget.h"
#include "xdoinput.h"

using namespace fixture;
using kd_app::views::CArrowWidget;
using kd_app::views::CLayoutToolbarDlg;
using kd_app::views::CSelectShareContent;

namespace {

// Both runs use the same program; ctest starts the second with a compositor.
bool compositorWanted()
{
    return qEnvironmentVariableIsSet("KD_TEST_COMPOSITOR");
}

OwnXvfb::Options xvfbOptions()
{
    OwnXvfb::Options options;
    options.compositor = compositorWanted();
    return options;
}

QImage screenImage()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

} // namespace

// The toolbar's popups on a real X server, driven by the pointer as a user
// drives them: where they open, that a click elsewhere closes them, that the
// popup under the pointer stays, and the share picker's hint bubbles with
// and without a compositor.
class TestToolbarOnX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void popupAboveItsButtonClosesOnClickElsewhere_data();
    void popupAboveItsButtonClosesOnClickElsewhere();
    void popupUnderPointerStaysOpen_data();
    void popupUnderPointerStaysOpen();
    void dialPadByMouse();
    void hintBubbleNeverShowsBlack();

private:
    QWidget *popup(const QByteArray &button) const;

    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<QWidget> m_backdrop;
    std::unique_ptr<CLayoutToolbarDlg> m_toolbar;
};

void TestToolbarOnX11::initTestCase()
{
    QCOMPARE(kd_app::CWindowShape::isCompositorRunning(), compositorWanted());
    QVERIFY(m_appData.isValid());
    m_control = startClient(m_appData);
    QVERIFY(m_control);
    m_control->setDevicePollInterval(0);
    calltoolbar::addPlanningMeeting(m_control);
    QVERIFY(signInAs(m_control, "ann", "Ann-pass1"));
    CCallController::getInstance().dialOut("4001", QString(), true, QString());
    settle(m_control);
    QTRY_COMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);
}

void TestToolbarOnX11::init()
{
    // Somewhere else to click: a window of the program under the toolbar, as
    // the call window is.
    m_backdrop = std::make_unique<QWidget>();
    m_backdrop->setWindowFlags(Qt::FramelessWindowHint);
    m_backdrop->setGeometry(0, 0, 1920, 1080);
    m_backdrop->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_backdrop.get()));
    m_toolbar = std::make_unique<CLayoutToolbarDlg>(m_backdrop.get());
    m_toolbar->setParent(m_backdrop.get(), Qt::SplashScreen | Qt::FramelessWindowHint);
    m_toolbar->setIsLocalRemoteMuted(true);
    m_toolbar->initBtnStatus();
    m_toolbar->show();
    m_toolbar->adjustSize();
    m_toolbar->move((1920 - m_toolbar->width()) / 2, 1080 - m_toolbar->height() - 20);
    QVERIFY(QTest::qWaitForWindowExposed(m_toolbar.get()));
}

void TestToolbarOnX11::cleanup()
{
    m_toolbar.reset();
    m_backdrop.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget *TestToolbarOnX11::popup(const QByteArray &button) const
{
    if (button == "m_pBtnSelectMicUp") {
        return m_toolbar->audioMenu();
    }
    if (button == "m_pBtnSelectCameraUp") {
        return m_toolbar->cameraMenu();
    }
    if (button == "m_pBtnMore") {
        return m_toolbar->moreMenu();
    }
    return m_toolbar->volumeControl();
}

void TestToolbarOnX11::popupAboveItsButtonClosesOnClickElsewhere_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("microphone menu") << QByteArray("m_pBtnSelectMicUp");
    QTest::newRow("camera menu") << QByteArray("m_pBtnSelectCameraUp");
    QTest::newRow("more") << QByteArray("m_pBtnMore");
    QTest::newRow("volume") << QByteArray("m_pBtnVolume");
}

void TestToolbarOnX11::popupAboveItsButtonClosesOnClickElsewhere()
{
    QFETCH(QByteArray, button);
    QWidget *anchor = m_toolbar->button(button.constData());
    QVERIFY(anchor->isVisible());

    QVERIFY(xdoinput::click(anchor));

    QTRY_VERIFY(popup(button) && popup(button)->isVisible());
    QPointer<QWidget> opened = popup(button);
    QVERIFY(QTest::qWaitForWindowExposed(opened));
    QTRY_COMPARE(QApplication::activeWindow(), opened.data());
    // Centred above its button, a small gap between, wholly on the screen.
    const QRect shown = opened->frameGeometry();
    const QRect below(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
    QVERIFY2(qAbs(shown.center().x() - below.center().x()) <= 1,
             qPrintable(QString("popup %1, button %2").arg(shown.center().x()).arg(below.center().x())));
    QCOMPARE(shown.bottom() + 1 + 10, below.top());
    QVERIFY(opened->screen()->geometry().contains(shown));
    QVERIFY(!m_toolbar->getShowPromptFlag());

    QVERIFY(xdoinput::click(m_backdrop.get(), QPoint(200, 200)));

    QTRY_VERIFY(!opened || !opened->isVisible());
    QVERIFY(!popup(button));
    QVERIFY(!m_toolbar->isAnyPopupVisible());
    QVERIFY(m_toolbar->getShowPromptFlag());
}

void TestToolbarOnX11::popupUnderPointerStaysOpen_data()
{
    popupAboveItsButtonClosesOnClickElsewhere_data();
}

void TestToolbarOnX11::popupUnderPointerStaysOpen()
{
    QFETCH(QByteArray, button);
    QVERIFY(xdoinput::click(m_toolbar->button(button.constData())));
    QTRY_VERIFY(popup(button) && popup(button)->isVisible());
    QPointer<QWidget> opened = popup(button);
    QTRY_COMPARE(QApplication::activeWindow(), opened.data());
    QVERIFY(xdoinput::moveTo(opened, QPoint(2, 2)));
    xdoinput::CArrivals deactivations(opened, QEvent::WindowDeactivate);

    // Focus leaves while the pointer rests on the popup, as when a click on
    // it reached the window manager first.
    m_backdrop->activateWindow();

    QTRY_VERIFY(deactivations.count() > 0);
    QTRY_COMPARE(QApplication::activeWindow(), opened.data());
    QVERIFY(opened && opened->isVisible());
    QCOMPARE(popup(button), opened.data());
}

void TestToolbarOnX11::dialPadByMouse()
{
    m_control->clearOperations();
    QVERIFY(xdoinput::click(m_toolbar->button("m_pBtnDTMF")));
    QTRY_VERIFY(m_toolbar->dialPad() && m_toolbar->dialPad()->isVisible());
    QPointer<kd_app::views::CDTMFDlg> pad = m_toolbar->dialPad();
    QVERIFY(QTest::qWaitForWindowExposed(pad));
    QVERIFY(pad->screen()->geometry().contains(pad->frameGeometry()));

    QVERIFY(xdoinput::click(pad->keyLabel(4)));

    QTRY_COMPARE(operationsNamed(m_control, "sendDTMF"), QStringList{"sendDTMF(5)"});
    QTRY_COMPARE(pad->digits(), QString("5"));
    QVERIFY(xdoinput::click(pad->findChild<QPushButton *>("m_pBtnClose")));
    QTRY_VERIFY(!pad);
    QVERIFY(!m_toolbar->dialPad());
}

void TestToolbarOnX11::hintBubbleNeverShowsBlack()
{
    auto *picker = new CSelectShareContent(m_backdrop.get());
    QPointer<CSelectShareContent> alive(picker);
    picker->setContentSources(CKDSdkManager::getInstance()->getContentSourceList());
    picker->show();
    QVERIFY(QTest::qWaitForWindowExposed(picker));
    auto *help = picker->findChild<QPushButton *>("pBtHelp");
    CArrowWidget *hint = nullptr;
    for (CArrowWidget *bubble : picker->findChildren<CArrowWidget *>()) {
        if (bubble->text().contains("audio")) {
            hint = bubble;
        }
    }
    QVERIFY(hint);

    QVERIFY(xdoinput::moveTo(help));

    QTRY_VERIFY(hint->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(hint));
    // The arrow's tip touches the button; the corners beside the rounded box
    // and beside the arrow are where a translucent window without a
    // compositor shows black.
    QCOMPARE(hint->geometry().bottom() + 1, help->mapToGlobal(QPoint(0, 0)).y());
    const QRect bubble = hint->geometry();
    QImage screen;
    QTRY_VERIFY((screen = screenImage(), qGray(screen.pixel(bubble.center())) > 200));
    for (const QPoint &corner : {bubble.topLeft(), bubble.bottomLeft(), bubble.bottomRight()}) {
        QVERIFY2(
            qGray(screen.pixel(corner)) > 100,
            qPrintable(
                QString("(%1, %2) is %3").arg(corner.x()).arg(corner.y()).arg(QColor(screen.pixel(corner)).name())));
    }
    QCOMPARE(hint->isOpaque(), !compositorWanted());

    QVERIFY(xdoinput::moveTo(m_backdrop.get(), QPoint(100, 100)));
    QTRY_VERIFY(!hint->isVisible());
    picker->close();
    QTRY_VERIFY(!alive);
}

KD_OWN_XVFB_TEST_MAIN_OPTIONS(TestToolbarOnX11, xvfbOptions())

#include "tst_toolbaronx11.moc"
