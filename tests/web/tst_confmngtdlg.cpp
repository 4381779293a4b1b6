// The conference-management window in a call of a signed-in "CCM" account,
// and the failure cover of the web pages: a page that never reports ready
// and a dropped connection, side by side in one 20-second wait.

#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>

#include "statewait.h"
#include "models/ccallcontroller.h"
#include "screendpi.h"
#include "views/home/chomedlg.h"
#include "views/web/cconfmngtdlg.h"
#include "views/web/cwebbrowserloadfailedform.h"
#include "views/web/cwebbrowserloadingform.h"
#include "webtest.h"

using kd_app::models::CCallController;
using kd_app::views::CConfMngtDlg;
using kd_app::views::CWebBrowserWrapperForm;

class TestConfMngtDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void controlPageOfTheCall();
    void maximiseRestoreAndScale();
    void closeOnlyAsks();
    void failedPagesAndReload();

private:
    // Saves a picture of the window when KD_SCREENSHOT_DIR names a folder.
    void shoot(QWidget *window, const QString &name);

    CHomeFixture m_fixture;
    std::unique_ptr<CConfMngtDlg> m_pDlg;
};

void TestConfMngtDlg::shoot(QWidget *window, const QString &name)
{
    saveScreenshot(window, name);
}

void TestConfMngtDlg::initTestCase()
{
    QVERIFY(m_fixture.start(portalSeed()));
    QVERIFY(m_fixture.signIn("demo", "Demo2026!"));
    kd_app::views::CHomeDlg *home = kd_app::views::CHomeDlg::getInstance();
    QTRY_VERIFY(home->webMeetingsPage());
    QVERIFY(waitPageShown(home->webMeetingsPage()));
    shoot(home, QString("meetings-page-scale%1").arg(home->stretchFactor()));
    home->hide();
    CCallController &calls = CCallController::getInstance();
    calls.dialOut("80002", "4711", true, QString());
    QVERIFY(waitUntil([&calls] { return calls.getCallStatus() == kd_app::enums::Connected; }, 10000));
    // The call window is not what this test looks at.
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->hide();
    }
    m_pDlg = std::make_unique<CConfMngtDlg>(nullptr);
}

void TestConfMngtDlg::cleanupTestCase()
{
    m_pDlg.reset();
    m_fixture.signOut();
}

void TestConfMngtDlg::controlPageOfTheCall()
{
    QCOMPARE(m_pDlg->windowFlags() & Qt::FramelessWindowHint, Qt::FramelessWindowHint);
    m_pDlg->updatePage();
    m_pDlg->show();
    CWebBrowserWrapperForm *form = m_pDlg->pageForm();
    QVERIFY(waitPageShown(form));
    const QString address = form->currentPage()->url().toString();
    QVERIFY2(address.contains("/portal/confControl?token=") && address.endsWith("&numericId=80002"),
             qPrintable(address));
    QVERIFY(!address.contains("4711"));
    QVERIFY(waitUntil(
        [form] { return runScript(form->currentPage(), "document.querySelectorAll('.row').length").toInt() > 0; },
        5000));
    shoot(m_pDlg.get(), QString("management-scale%1").arg(m_pDlg->stretchFactor()));

    // The toolbar frees the page when the window goes; the next opening
    // loads it anew.
    const int loads = int(m_fixture.server().requestsTo("/portal/confControl").size());
    m_pDlg->releasePage();
    m_pDlg->hide();
    QVERIFY(!form->currentPage());
    m_pDlg->updatePage();
    m_pDlg->show();
    QVERIFY(waitPageShown(form));
    QCOMPARE(int(m_fixture.server().requestsTo("/portal/confControl").size()), loads + 1);
}

void TestConfMngtDlg::maximiseRestoreAndScale()
{
    m_pDlg->show();
    const QRect normal = m_pDlg->geometry();
    QPushButton *max = m_pDlg->findChild<QPushButton *>("m_pBtnMax");
    QPushButton *restore = m_pDlg->findChild<QPushButton *>("m_pBtnRestore");
    max->click();
    const QRect area = m_pDlg->screen()->availableGeometry();
    QTRY_COMPARE(m_pDlg->geometry(), area);
    QVERIFY(restore->isVisibleTo(m_pDlg.get()) && !max->isVisibleTo(m_pDlg.get()));
    {
        // A scale change while maximised keeps the window on the whole screen.
        ScopedScreenDpi twice(192);
        QTRY_COMPARE(m_pDlg->stretchFactor(), 2.0);
        QCOMPARE(m_pDlg->size(), area.size());
        QCOMPARE(m_pDlg->pageForm()->zoomFactor(), 2.0);
        shoot(m_pDlg.get(), "management-maximised-scale2");
        restore->click();
        max->click();
    }
    QTRY_COMPARE(m_pDlg->stretchFactor(), 1.0);
    restore->click();
    QTRY_COMPARE(m_pDlg->geometry().topLeft(), normal.topLeft());
    QCOMPARE(m_pDlg->size(), normal.size());

    // Dragging the title bar of the maximised window gives its size back.
    max->click();
    QTRY_COMPARE(m_pDlg->size(), area.size());
    QWidget *title = m_pDlg->findChild<QWidget *>("m_pWgtTitleBar");
    QTest::mousePress(m_pDlg.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, title->height() / 2));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, title->height() / 2),
                     m_pDlg->mapToGlobal(QPoint(60, title->height() / 2)), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_pDlg.get(), &move);
    QTest::mouseRelease(m_pDlg.get(), Qt::LeftButton, Qt::NoModifier, QPoint(60, title->height() / 2));
    QTRY_COMPARE(m_pDlg->size(), normal.size());
    QVERIFY(!m_pDlg->isMaximizedFlag());
}

void TestConfMngtDlg::closeOnlyAsks()
{
    m_pDlg->show();
    QSignalSpy closes(m_pDlg.get(), &CConfMngtDlg::sigClose);
    m_pDlg->findChild<QPushButton *>("m_pBtnClose")->click();
    QCOMPARE(closes.size(), 1);
    QVERIFY(m_pDlg->isVisible());
}

void TestConfMngtDlg::failedPagesAndReload()
{
    m_pDlg->hide();
    using confserver::CFault;
    m_fixture.server().addFault(CFault{"/portal/conferences", CFault::Kind::Blank, 0, -1});
    m_fixture.server().addFault(CFault{"/portal/contact", CFault::Kind::Drop, 0, -1});
    CWebBrowserWrapperForm blank(0, nullptr);
    CWebBrowserWrapperForm dropped(2, nullptr);
    for (CWebBrowserWrapperForm *form : {&blank, &dropped}) {
        form->updateDpi(1.0);
        form->resize(900, 640);
        form->show();
        QVERIFY(form->loadingForm()->isVisible());
    }
    shoot(&blank, "loading-cover-scale1");
    // The blank page loads as far as the browser can tell, yet stays covered.
    QVERIFY(waitUntil([&blank] { return blank.currentPage()->url().path() == "/portal/conferences"; }, 5000));
    QTest::qWait(CWebBrowserWrapperForm::kLoadTimeoutMs - 3000);
    QVERIFY(blank.loadingForm()->isVisible() && !blank.loadFailedForm()->isVisible());
    for (CWebBrowserWrapperForm *form : {&blank, &dropped}) {
        QTRY_VERIFY_WITH_TIMEOUT(form->loadFailedForm()->isVisible(), kdtest::kStateWaitMs);
        QVERIFY(!form->loadingForm()->isVisible() && !form->webView()->isVisible());
        QCOMPARE(form->loadFailedForm()->findChild<QLabel *>("label")->text(),
                 QString("Failed to load, please check your network."));
    }
    shoot(&blank, "failed-cover-scale1");
    blank.updateDpi(2.0);
    QPushButton *reload = blank.loadFailedForm()->findChild<QPushButton *>("pBtReload");
    QTRY_COMPARE(reload->size(), QSize(196, 56));
    QVERIFY(reload->styleSheet().contains("font-size: 24px;"));
    shoot(&blank, "failed-cover-scale2");
    m_fixture.server().clearFaults();
    for (CWebBrowserWrapperForm *form : {&blank, &dropped}) {
        form->loadFailedForm()->findChild<QPushButton *>("pBtReload")->click();
        QVERIFY(form->loadingForm()->isVisible());
        QVERIFY(waitPageShown(form));
        QVERIFY(!form->loadFailedForm()->isVisible());
    }
}

KD_WEB_TEST_MAIN(TestConfMngtDlg)
#include "tst_confmngtdlg.moc"
