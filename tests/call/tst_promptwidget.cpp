#include <QLabel>
#include <QtTest>

#include "statewait.h"
#include "views/call/cpromptwidget.h"

using kd_app::views::CPromptWidget;

namespace {

// The window a prompt is shown over, placed and sized exactly.
struct Owner
{
    explicit Owner(const QRect &geometry)
    {
        window.setWindowFlags(Qt::FramelessWindowHint);
        window.setGeometry(geometry);
        window.show();
    }
    QWidget window;
};

int labelWidth(const CPromptWidget &prompt)
{
    return prompt.findChild<QLabel *>("m_text")->width();
}

} // namespace

// The notice strip: its box follows the text and the scale, it sits at 80 %
// of the free height of its window and ends by itself on time.
class TestPromptWidget : public QObject
{
    Q_OBJECT

private slots:
    void boxFollowsTextAndScale_data();
    void boxFollowsTextAndScale();
    void sitsLowInItsWindow();
    void endsOnTimeAndNewPromptRestarts();
    void hiddenOwnerKeepsTheTimer();
    void textIsShownAsItIs();
};

void TestPromptWidget::boxFollowsTextAndScale_data()
{
    QTest::addColumn<unsigned>("dpi");
    QTest::addColumn<int>("padding");
    QTest::addColumn<int>("height");

    QTest::newRow("scale 1") << 96u << 30 << 50;
    QTest::newRow("scale 1.5") << 144u << 45 << 75;
    QTest::newRow("scale 2") << 192u << 60 << 100;
}

void TestPromptWidget::boxFollowsTextAndScale()
{
    QFETCH(unsigned, dpi);
    QFETCH(int, padding);
    QFETCH(int, height);

    Owner owner(QRect(100, 100, 800, 600));
    CPromptWidget prompt(&owner.window);
    prompt.showPrompt("Your microphone is muted", 3000);
    prompt.updateDpi(dpi);
    prompt.adjustToText();
    QVERIFY(labelWidth(prompt) > 0);
    QCOMPARE(prompt.width(), labelWidth(prompt) + padding);
    QCOMPARE(prompt.height(), height);

    // A longer text widens the box by as much.
    const int before = prompt.width();
    const int labelBefore = labelWidth(prompt);
    prompt.showPrompt("Your microphone is muted, the host can unmute you", 3000);
    QCOMPARE(prompt.width() - before, labelWidth(prompt) - labelBefore);
}

void TestPromptWidget::sitsLowInItsWindow()
{
    Owner owner(QRect(40, 60, 900, 700));
    CPromptWidget prompt(&owner.window);
    prompt.showPrompt("Host unmuted you", 3000);
    QCOMPARE(prompt.height(), 50);
    // 80 % of the free height: (700 - 50) * 0.8 = 520 below the window's top.
    QCOMPARE(prompt.y(), 60 + 520);
    QCOMPARE(prompt.x(), 40 + (900 - prompt.width()) / 2);

    // The engine places it again when its window moves.
    owner.window.move(10, 20);
    prompt.updatePosition();
    QCOMPARE(prompt.pos(), QPoint(10 + (900 - prompt.width()) / 2, 20 + 520));
}

void TestPromptWidget::endsOnTimeAndNewPromptRestarts()
{
    Owner owner(QRect(0, 0, 640, 480));
    CPromptWidget prompt(&owner.window);
    // Times far above what a busy machine adds to a nap: at the second
    // look the first prompt's time is over, the second one's is not.
    prompt.showPrompt("first", 4000);
    QVERIFY(prompt.isVisible());
    QVERIFY(prompt.isActive());
    QTest::qWait(2500);
    // A new prompt replaces the text and starts the whole time again.
    prompt.showPrompt("second", 4000);
    QTest::qWait(2500);
    QVERIFY(prompt.isVisible());
    QCOMPARE(prompt.text(), QString("second"));
    QTRY_VERIFY_WITH_TIMEOUT(!prompt.isVisible(), kdtest::kStateWaitMs);
    QVERIFY(!prompt.isActive());
}

void TestPromptWidget::hiddenOwnerKeepsTheTimer()
{
    Owner owner(QRect(0, 0, 640, 480));
    owner.window.hide();
    CPromptWidget prompt(&owner.window);
    prompt.showPrompt("while hidden", 600);
    QVERIFY(!prompt.isVisible());
    QVERIFY(prompt.isActive());

    owner.window.show();
    prompt.showIfActive();
    QVERIFY(prompt.isVisible());
    prompt.hideIfActive();
    QVERIFY(!prompt.isVisible());
    prompt.showIfActive();
    QVERIFY(prompt.isVisible());
    // Hidden and shown again, it still ends when it was due.
    QTRY_VERIFY_WITH_TIMEOUT(!prompt.isActive(), kdtest::kStateWaitMs);
    QVERIFY(!prompt.isVisible());
    prompt.showIfActive();
    QVERIFY(!prompt.isVisible());
}

void TestPromptWidget::textIsShownAsItIs()
{
    Owner owner(QRect(0, 0, 640, 480));
    CPromptWidget prompt(&owner.window);
    prompt.showPrompt("<b>Device</b> &amp; more", 1000);
    QCOMPARE(prompt.findChild<QLabel *>("m_text")->textFormat(), Qt::PlainText);
}

QTEST_MAIN(TestPromptWidget)
#include "tst_promptwidget.moc"
