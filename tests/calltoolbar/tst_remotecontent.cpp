#include <QPushButton>
#include <QtTest>

#include "statewait.h"
#include "models/clinguist.h"
#include "views/call/cremotecontentdlg.h"

using kd_app::views::CRemoteContentDlg;

namespace {

// "mrfe": which of maximise, restore, full screen and exit full screen show.
QString shownButtons(const CRemoteContentDlg &window)
{
    QString shown;
    const char *names[] = {"m_pBtnMax", "m_pBtnRestore", "m_pBtnFullScreen", "m_pBtnExitFullScreen"};
    const char marks[] = {'m', 'r', 'f', 'e'};
    for (int i = 0; i < 4; ++i) {
        if (!window.findChild<QPushButton *>(names[i])->isHidden()) {
            shown += marks[i];
        }
    }
    return shown;
}

} // namespace

class TestRemoteContent : public QObject
{
    Q_OBJECT

private slots:
    void buttonsFollowWindowState_data();
    void buttonsFollowWindowState();
    void minimisedKeepsButtons();
    void languageChangeKeepsSender();
    void contentAreaHasItsOwnWindow();
};

void TestRemoteContent::buttonsFollowWindowState_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("shown");
    QTest::newRow("normal") << ""
                            << "mf";
    QTest::newRow("maximised") << "max"
                               << "rf";
    QTest::newRow("full screen") << "full"
                                 << "e";
    QTest::newRow("full screen and back") << "full,exit"
                                          << "mf";
    QTest::newRow("maximised and restored") << "max,restore"
                                            << "mf";
}

void TestRemoteContent::buttonsFollowWindowState()
{
    QFETCH(QString, steps);
    QFETCH(QString, shown);
    CRemoteContentDlg window(nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QString &step : steps.split(',', Qt::SkipEmptyParts)) {
        const char *button = step == "max"       ? "m_pBtnMax"
                             : step == "restore" ? "m_pBtnRestore"
                             : step == "full"    ? "m_pBtnFullScreen"
                                                 : "m_pBtnExitFullScreen";
        window.findChild<QPushButton *>(button)->click();
    }
    QTRY_COMPARE(shownButtons(window), shown);
    QVERIFY(window.findChild<QPushButton *>("m_pBtnMin")->isHidden());
}

void TestRemoteContent::minimisedKeepsButtons()
{
    CRemoteContentDlg window(nullptr);
    window.show();
    window.slotOnWinMax();
    QTRY_COMPARE(shownButtons(window), QString("rf"));
    window.setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    QCoreApplication::processEvents();
    QCOMPARE(shownButtons(window), QString("rf"));
}

void TestRemoteContent::languageChangeKeepsSender()
{
    CRemoteContentDlg window(nullptr);
    window.setTitle("Bob's screen");
    emit kd_app::models::CLinguist::getInstance()->sigLanguageChanged();
    QCOMPARE(window.title(), QString("Bob's screen"));
    QVERIFY(!window.windowTitle().isEmpty());
}

void TestRemoteContent::contentAreaHasItsOwnWindow()
{
    CRemoteContentDlg window(nullptr);
    QVERIFY(window.getContentWinId() != 0);
    QVERIFY(window.getContentWinId() != window.winId());
}

QTEST_MAIN(TestRemoteContent)
#include "tst_remotecontent.moc"
