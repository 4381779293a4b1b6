#include <QListView>
#include <QStackedWidget>
#include <QtTest>

#include "statewait.h"
#include "app/cplatform.h"
#include "models/cloginmanager.h"
#include "views/home/cemptyform.h"
#include "views/home/chomedlg.h"
#include "windowstestenv.h"

using kd_app::CPlatform;
using kd_app::models::CLoginManager;
using kd_app::views::CEmptyForm;
using kd_app::views::CHomeDlg;

// The first show of the home window on an older system: an empty page stands
// in for a moment, then the first page. Once per process, so a program of its own.
class TestHomeFirstShow : public QObject
{
    Q_OBJECT

private slots:
    void placeholderThenFirstPage();
};

void TestHomeFirstShow::placeholderThenFirstPage()
{
    CWindowsTestEnv env;
    QVERIFY(env.start());
    CPlatform::setWindows61OrOlderForTests(true);
    CHomeDlg *home = CHomeDlg::getInstance();
    QStackedWidget *stack = child<QStackedWidget>(home, "m_pStackedWgtContent");
    // A guest has the join page and settings; the placeholder comes third.
    const int pages = 2;
    QElapsedTimer clock;
    clock.start();
    CLoginManager::getInstance().setLoginStatus(kd_app::enums::AnonymousLoggedIn);
    QTRY_VERIFY(home->isVisible());
    QTRY_VERIFY(qobject_cast<CEmptyForm *>(stack->currentWidget()));
    QVERIFY(clock.elapsed() >= 450);
    QCOMPARE(stack->count(), pages + 1);
    QCOMPARE(child<QListView>(home, "m_pLvMenus")->currentIndex().row(), 0);
    QTRY_COMPARE(stack->currentIndex(), 0);
    QVERIFY(clock.elapsed() >= 1100);

    // Later shows go straight to their page, with no placeholder added.
    home->hide();
    stack->setCurrentIndex(1);
    home->show();
    QTest::qWait(1400);
    QCOMPARE(stack->currentIndex(), 1);
    QCOMPARE(stack->count(), pages + 1);
}

QTEST_MAIN(TestHomeFirstShow)
#include "tst_homefirstshow.moc"
