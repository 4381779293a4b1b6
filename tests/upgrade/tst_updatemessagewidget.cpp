#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "promptdragrows.h"
#include "screendpi.h"
#include "views/upgrade/cupdatemessagewidget.h"

using kd_app::views::CUpdateMessageWidget;

namespace {

// What one state shows: the four lines, then No, Yes, Cancel, Download.
QString visibleParts(const CUpdateMessageWidget &prompt)
{
    QString shown;
    for (const char *name : {"m_versionText", "m_downStatus", "m_progressBar", "m_downValue", "m_pBtnNo", "m_pBtnYes",
                             "m_pBtnCancel", "m_pBtnDown"}) {
        shown += prompt.findChild<QWidget *>(name)->isVisible() ? '1' : '-';
    }
    return shown;
}

QString text(const CUpdateMessageWidget &prompt, const char *label)
{
    return prompt.findChild<QLabel *>(label)->text();
}

QPushButton *button(const CUpdateMessageWidget &prompt, const char *name)
{
    return prompt.findChild<QPushButton *>(name);
}

} // namespace

// The upgrade prompt: its states as the upgrade drives them, the signals
// of its buttons, its size and fonts by the display scale, and where a drag
// may start.
class TestUpdateMessageWidget : public QObject
{
    Q_OBJECT

private slots:
    void states();
    void offerTextOnlyIntoAnEmptyLine();
    void serverTextIsNeverMarkup();
    void failureSaysWhy();
    void buttonsOnlyEmit();
    void scaleOneAndAHalf();
    void dragsByTheTitleBarOnly_data();
    void dragsByTheTitleBarOnly();
};

void TestUpdateMessageWidget::states()
{
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("The latest software is found (2.9.0)");
    QVERIFY(QTest::qWaitForWindowExposed(&prompt));
    QCOMPARE(visibleParts(prompt), QString("1-----11"));

    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    QCOMPARE(visibleParts(prompt), QString("-111--1-"));
    QCOMPARE(text(prompt, "m_downStatus"), QString("Downloading the latest software"));
    QCOMPARE(text(prompt, "m_downValue"), QString("0.0/0.0"));
    auto *bar = prompt.findChild<QProgressBar *>("m_progressBar");
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->height(), 6);
    prompt.updateProgress(1536, 4096, 1000);
    QCOMPARE(text(prompt, "m_downValue"), QString("1.5 kB/s"));
    QCOMPARE(bar->maximum(), 4096);
    QCOMPARE(bar->value(), 1536);
    // The first report may come before a millisecond has passed.
    prompt.updateProgress(5, 4096, 0);
    QCOMPARE(text(prompt, "m_downValue"), QString("0.0 bytes/s"));

    prompt.downfinish(false);
    QCOMPARE(visibleParts(prompt), QString("1-----11"));
    QCOMPARE(text(prompt, "m_versionText"), QString("download failed"));

    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    prompt.downfinish(true);
    QCOMPARE(visibleParts(prompt), QString("-11111--"));
    QCOMPARE(text(prompt, "m_downStatus"), QString("Do you want to install the latest software?"));
    QCOMPARE(text(prompt, "m_downValue"), QString());
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 100);
}

void TestUpdateMessageWidget::offerTextOnlyIntoAnEmptyLine()
{
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("The latest software is found (2.9.0)");
    prompt.showUpdateMessage("The latest software is found (2.9.1)");
    QCOMPARE(text(prompt, "m_versionText"), QString("The latest software is found (2.9.0)"));
    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    prompt.downfinish(false);
    prompt.showUpdateMessage("The latest software is found (2.9.0)");
    QCOMPARE(text(prompt, "m_versionText"), QString("download failed"));
}

void TestUpdateMessageWidget::serverTextIsNeverMarkup()
{
    // The offer holds the server's version; markup in it shows as written.
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("The latest software is found (99.0<br><b>Your account is locked</b>)");
    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    for (const char *label : {"m_versionText", "m_downStatus", "m_downValue"}) {
        QCOMPARE(prompt.findChild<QLabel *>(label)->textFormat(), Qt::PlainText);
    }
}

void TestUpdateMessageWidget::failureSaysWhy()
{
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("offer");
    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    prompt.downfinish(false, "The package does not match its checksum.");
    QCOMPARE(visibleParts(prompt), QString("1-----11"));
    QCOMPARE(text(prompt, "m_versionText"), QString("download failed\nThe package does not match its checksum."));
    // The new check's offer keeps it.
    prompt.showUpdateMessage("The latest software is found (2.9.0)");
    QCOMPARE(text(prompt, "m_versionText"), QString("download failed\nThe package does not match its checksum."));
}

void TestUpdateMessageWidget::buttonsOnlyEmit()
{
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("offer");
    QSignalSpy download(&prompt, &CUpdateMessageWidget::signal_DownLoad);
    QSignalSpy cancel(&prompt, &CUpdateMessageWidget::signal_Cancel);
    QSignalSpy yes(&prompt, &CUpdateMessageWidget::signal_Yes);
    QSignalSpy no(&prompt, &CUpdateMessageWidget::signal_No);
    QTest::mouseClick(button(prompt, "m_pBtnCancel"), Qt::LeftButton);
    QTest::mouseClick(button(prompt, "m_pBtnDown"), Qt::LeftButton);
    prompt.downfinish(true);
    QTest::mouseClick(button(prompt, "m_pBtnNo"), Qt::LeftButton);
    QTest::mouseClick(button(prompt, "m_pBtnYes"), Qt::LeftButton);
    QCOMPARE(QList<int>({download.count(), cancel.count(), yes.count(), no.count()}), QList<int>({1, 1, 1, 1}));
    // The window stays: only the upgrade closes it.
    QVERIFY(prompt.isVisible());
}

void TestUpdateMessageWidget::scaleOneAndAHalf()
{
    ScopedScreenDpi dpi(144);
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("offer");
    QVERIFY(QTest::qWaitForWindowExposed(&prompt));
    QCOMPARE(prompt.size(), QSize(558, 243));
    QCOMPARE(prompt.findChild<QLabel *>("titleName")->font().pixelSize(), 18);
    QCOMPARE(button(prompt, "m_pBtnDown")->font().pixelSize(), 18);
    QCOMPARE(button(prompt, "m_pBtnDown")->size(), QSize(120, 42));
    for (const char *label : {"m_versionText", "m_downStatus", "m_downValue"}) {
        QCOMPARE(prompt.findChild<QLabel *>(label)->font().pixelSize(), 21);
    }
}

void TestUpdateMessageWidget::dragsByTheTitleBarOnly_data()
{
    addPromptDragRows();
}

void TestUpdateMessageWidget::dragsByTheTitleBarOnly()
{
    QFETCH(QString, pressedOn);
    QFETCH(bool, moves);
    CUpdateMessageWidget prompt;
    prompt.showUpdateMessage("offer");
    QVERIFY(QTest::qWaitForWindowExposed(&prompt));
    auto *target = prompt.findChild<QWidget *>(pressedOn);
    // Presses go to the window itself, at the place of the part.
    const QPoint start = target->mapTo(&prompt, QPoint(3, 3));
    const QPoint before = prompt.pos();
    QTest::mousePress(&prompt, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent move(QEvent::MouseMove, start + QPoint(40, 30), prompt.mapToGlobal(start + QPoint(40, 30)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&prompt, &move);
    QTest::mouseRelease(&prompt, Qt::LeftButton, Qt::NoModifier, start + QPoint(40, 30));
    QCOMPARE(prompt.pos() != before, moves);
    if (moves) {
        QCOMPARE(prompt.pos(), before + QPoint(40, 30));
    }
}

QTEST_MAIN(TestUpdateMessageWidget)
#include "tst_updatemessagewidget.moc"
