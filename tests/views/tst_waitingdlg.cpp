#include <QLabel>
#include <QMovie>
#include <QSignalSpy>
#include <QtTest>

#include "custom_controls/cclickedlabel.h"
#include "screendpi.h"
#include "views/base/cwaitingdlg.h"

using kd_app::custom_controls::CClickedLabel;
using kd_app::views::CWaitingDlg;

Q_DECLARE_METATYPE(Qt::MouseButton)

class TestWaitingDlg : public QObject
{
    Q_OBJECT

private slots:
    void animationAndSizeFollowScale_data();
    void animationAndSizeFollowScale();
    void sizeBeforeFirstShowIsTheDesignSize();
    void showingAgainRestartsTheAnimation();
    void cannotBeDragged();
    void sharedInstanceIsKept();
    void initTestCase();
    void labelReportsReleasedButton_data();
    void labelReportsReleasedButton();
    void labelPressAloneIsNoClick();
};

void TestWaitingDlg::initTestCase()
{
    qRegisterMetaType<Qt::MouseButton>();
}

void TestWaitingDlg::animationAndSizeFollowScale_data()
{
    QTest::addColumn<unsigned int>("dpi");
    QTest::addColumn<QString>("animation");
    QTest::addColumn<QSize>("size");
    QTest::newRow("96") << 96u << ":/resources/images/waiting.gif" << QSize(400, 300);
    QTest::newRow("144") << 144u << ":/resources/images/waiting_1.5x.gif" << QSize(600, 450);
    QTest::newRow("192") << 192u << ":/resources/images/waiting_2x.gif" << QSize(800, 600);
}

void TestWaitingDlg::animationAndSizeFollowScale()
{
    QFETCH(unsigned int, dpi);
    QFETCH(QString, animation);
    QFETCH(QSize, size);
    CWaitingDlg dlg(nullptr);
    {
        ScopedScreenDpi screenDpi(dpi);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.currentAnimation(), animation);
        QLabel *display = dlg.findChild<QLabel *>("m_pLblDisplay");
        QVERIFY(display->movie());
        QVERIFY(display->movie()->isValid());
        QCOMPARE(display->movie()->state(), QMovie::Running);
        dlg.setScaledFixedSize(400, 300);
        QCOMPARE(dlg.size(), size);
    }
    // A scale change while shown takes effect at the next show.
    dlg.hide();
    dlg.show();
    QCOMPARE(dlg.currentAnimation(), QString(":/resources/images/waiting.gif"));
}

void TestWaitingDlg::sizeBeforeFirstShowIsTheDesignSize()
{
    CWaitingDlg dlg(nullptr);
    dlg.setScaledFixedSize(400, 300);
    QCOMPARE(dlg.size(), QSize(400, 300));
}

void TestWaitingDlg::showingAgainRestartsTheAnimation()
{
    CWaitingDlg dlg(nullptr);
    QLabel *display = dlg.findChild<QLabel *>("m_pLblDisplay");
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QMovie *movie = display->movie();
    QVERIFY(movie);
    dlg.hide();
    QCOMPARE(display->movie(), nullptr);
    QCOMPARE(movie->state(), QMovie::NotRunning);
    dlg.show();
    QCOMPARE(display->movie(), movie);
    QCOMPARE(movie->state(), QMovie::Running);
}

void TestWaitingDlg::cannotBeDragged()
{
    CWaitingDlg dlg(nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QPoint start = dlg.pos();
    const QPoint global = dlg.mapToGlobal(QPoint(0, 0));
    QMouseEvent press(QEvent::MouseButtonPress, QPoint(0, 0), global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&dlg, &press);
    QMouseEvent move(QEvent::MouseMove, QPoint(5, 0), global + QPoint(5, 0), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&dlg, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, QPoint(5, 0), global + QPoint(5, 0), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(&dlg, &release);
    QCOMPARE(dlg.pos(), start);
}

void TestWaitingDlg::sharedInstanceIsKept()
{
    CWaitingDlg *shared = CWaitingDlg::getInstance();
    QVERIFY(shared);
    QCOMPARE(CWaitingDlg::getInstance(), shared);
    QCOMPARE(shared->parentWidget(), nullptr);
}

void TestWaitingDlg::labelReportsReleasedButton_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestWaitingDlg::labelReportsReleasedButton()
{
    QFETCH(Qt::MouseButton, button);
    CClickedLabel label(nullptr);
    label.resize(80, 20);
    QSignalSpy spy(&label, &CClickedLabel::clicked);
    QTest::mouseRelease(&label, button, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Qt::MouseButton>(), button);
}

void TestWaitingDlg::labelPressAloneIsNoClick()
{
    CClickedLabel label(nullptr);
    QSignalSpy spy(&label, &CClickedLabel::clicked);
    QTest::mousePress(&label, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(TestWaitingDlg)
#include "tst_waitingdlg.moc"
