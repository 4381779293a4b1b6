#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include "custom_controls/button_share.h"
#include "custom_controls/cimagewidget.h"
#include "custom_controls/cmanagerbuttonwidget.h"
#include "custom_controls/ctoolbutton.h"
#include "custom_controls/qmenubutton.h"

namespace {

const QString kNormalIcon = ":/resources/images/ScreenDrawing/icon_mouse_default.png";
const QString kActiveIcon = ":/resources/images/ScreenDrawing/icon_mouse_click.png";
const QPoint kInside(20, 20);
const QPoint kOutside(300, 300);

// Plays a script of mouse steps on a widget: enter, leave, press,
// release-in, release-out, right-press.
void play(QWidget &widget, const QString &script)
{
    for (const QString &step : script.split(',', Qt::SkipEmptyParts)) {
        if (step == "enter") {
            QEvent enter(QEvent::Enter);
            QCoreApplication::sendEvent(&widget, &enter);
        } else if (step == "leave") {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(&widget, &leave);
        } else if (step == "press") {
            QTest::mousePress(&widget, Qt::LeftButton, {}, kInside);
        } else if (step == "right-press") {
            QTest::mousePress(&widget, Qt::RightButton, {}, kInside);
        } else if (step == "release-in") {
            QTest::mouseRelease(&widget, Qt::LeftButton, {}, kInside);
        } else if (step == "release-out") {
            QTest::mouseRelease(&widget, Qt::LeftButton, {}, kOutside);
        } else {
            QFAIL(qPrintable("unknown step " + step));
        }
    }
}

QString textStyle(const QString &colour, const QString &size = "12px")
{
    return "color:" + colour + "; font-size: " + size + ";";
}

} // namespace

// The sharing toolbars' buttons: the looks and clicks that follow the mouse,
// and the sizes and styles for each display scale.
class TestToolbarButtons : public QObject
{
    Q_OBJECT

private slots:
    void menuButtonEvents_data();
    void menuButtonEvents();
    void menuButtonDpiKeepsTheColour_data();
    void menuButtonDpiKeepsTheColour();
    void toolButtonStyleForScale_data();
    void toolButtonStyleForScale();
    void shareTabTurnsOnEveryEntry();
    void managerButtonGeometry_data();
    void managerButtonGeometry();
    void onlyTheLeftButtonClicks();
};

void TestToolbarButtons::menuButtonEvents_data()
{
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<int>("clicks");

    const QString white = textStyle("white");
    const QString red = textStyle("#ff4747");
    const QString blue = textStyle("#4381ff");
    const QString grey = textStyle("#919191");

    QTest::newRow("toggle press") << true << "press" << 2 << true << red << kActiveIcon << 0;
    QTest::newRow("toggle click") << true << "press,release-in" << 2 << true << red << kActiveIcon << 1;
    QTest::newRow("toggle two clicks") << true << "press,release-in,press,release-in" << 0 << false << white
                                       << kNormalIcon << 2;
    // Taking the press back by leaving the button restores the real state.
    QTest::newRow("toggle released outside") << true << "press,release-out" << 0 << false << white << kNormalIcon << 0;
    QTest::newRow("active toggle released outside")
        << true << "press,release-in,press,release-out" << 2 << true << red << kActiveIcon << 1;
    QTest::newRow("toggle released outside, clicked again")
        << true << "press,release-out,press,release-in" << 2 << true << red << kActiveIcon << 1;
    QTest::newRow("toggle hover") << true << "enter" << 0 << false << white << kNormalIcon << 0;
    QTest::newRow("active toggle hover and leave")
        << true << "press,release-in,enter,leave" << 2 << true << red << kActiveIcon << 1;
    QTest::newRow("toggle right press") << true << "right-press" << 0 << false << white << kNormalIcon << 0;

    QTest::newRow("plain press") << false << "press" << 2 << false << blue << kActiveIcon << 0;
    QTest::newRow("plain click") << false << "press,release-in" << 1 << false << white << kNormalIcon << 1;
    QTest::newRow("plain released outside") << false << "press,release-out" << 2 << false << blue << kActiveIcon << 0;
    QTest::newRow("plain released outside, then left")
        << false << "press,release-out,leave" << 0 << false << white << kNormalIcon << 0;
    QTest::newRow("plain hover") << false << "enter" << 1 << false << grey << kNormalIcon << 0;
    QTest::newRow("plain hover and leave") << false << "enter,leave" << 0 << false << white << kNormalIcon << 0;
    QTest::newRow("plain right press") << false << "right-press,release-in" << 0 << false << white << kNormalIcon << 0;
}

void TestToolbarButtons::menuButtonEvents()
{
    QFETCH(bool, toggle);
    QFETCH(QString, script);
    QFETCH(int, state);
    QFETCH(bool, active);
    QFETCH(QString, style);
    QFETCH(QString, icon);
    QFETCH(int, clicks);

    QMenuButton button;
    button.m_bCheckable = toggle;
    button.setNormalIcon(kNormalIcon);
    button.setActiveIcon(kActiveIcon);
    button.setText("Mute");
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    play(button, script);

    QCOMPARE(button.m_nState, state);
    QCOMPARE(button.m_bActive, active);
    QCOMPARE(button.textStyle(), style);
    QCOMPARE(button.shownIcon(), icon);
    QCOMPARE(clicked.count(), clicks);
    for (const QList<QVariant> &arguments : clicked) {
        QCOMPARE(arguments.value(0).toBool(), false);
    }
    QVERIFY(button.QPushButton::text().isEmpty());
    if (script.endsWith("enter")) {
        QCOMPARE(button.styleSheet(), QString("background-color:#474747;"));
    } else if (script.endsWith("leave")) {
        QCOMPARE(button.styleSheet(), QString("background-color: rgb(28, 30, 32);"));
    }
}

void TestToolbarButtons::menuButtonDpiKeepsTheColour_data()
{
    QTest::addColumn<bool>("toggle");
    QTest::addColumn<bool>("active");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("style");

    QTest::newRow("active toggle at 1.5") << true << true << 1.5 << textStyle("#ff4747", "18px");
    QTest::newRow("normal toggle at 1.5") << true << false << 1.5 << textStyle("white", "18px");
    QTest::newRow("plain at 2") << false << false << 2.0 << textStyle("white", "24px");
    QTest::newRow("active toggle at 1") << true << true << 1.0 << textStyle("#ff4747", "12px");
}

void TestToolbarButtons::menuButtonDpiKeepsTheColour()
{
    QFETCH(bool, toggle);
    QFETCH(bool, active);
    QFETCH(double, scale);
    QFETCH(QString, style);

    QMenuButton button;
    button.m_bCheckable = toggle;
    button.setNormalIcon(kNormalIcon);
    button.setActiveIcon(kActiveIcon);
    if (active) {
        button.setActiveState();
    }
    const QString icon = button.shownIcon();
    button.updateDpiScale(scale);
    QCOMPARE(button.textStyle(), style);
    QCOMPARE(button.shownIcon(), icon);
    QCOMPARE(button.m_bActive, active);
}

void TestToolbarButtons::toolButtonStyleForScale_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("fontSize");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("padding");

    QTest::newRow("1") << 1.0 << 12 << "" << 10;
    QTest::newRow("1.25") << 1.25 << 18 << "_1.5x" << 15;
    QTest::newRow("1.5") << 1.5 << 18 << "_1.5x" << 15;
    QTest::newRow("2") << 2.0 << 24 << "_2x" << 20;
}

void TestToolbarButtons::toolButtonStyleForScale()
{
    QFETCH(double, scale);
    QFETCH(int, fontSize);
    QFETCH(QString, suffix);
    QFETCH(int, padding);

    CToolButton button;
    QVERIFY(button.styleSheet().isEmpty());
    button.onDpiChanged(scale);
    const QString expected =
        QString("QToolButton {         color: #ffffff;         font-size: %1px;         text-align: center;         "
                "background-image: "
                "url(:/resources/images/layout-operationbar/icon_resume_pip_normal%2.png);         "
                "background-repeat: repeat-no-repeat;         background-position: left;         "
                "background-origin: content;         padding-left: %3px;         padding-right: -%3px;         "
                "background-color: rgba(255, 255, 255, 0.2);         border-radius: 5px;     }         "
                "QToolButton:hover {         background-image: "
                "url(:/resources/images/layout-operationbar/icon_resume_pip_click%2.png);         color: #4381ff;  "
                "   }")
            .arg(fontSize)
            .arg(suffix)
            .arg(padding);
    QCOMPARE(button.styleSheet(), expected);
    QVERIFY(QFile::exists(":/resources/images/layout-operationbar/icon_resume_pip_normal" + suffix + ".png"));
    QVERIFY(QFile::exists(":/resources/images/layout-operationbar/icon_resume_pip_click" + suffix + ".png"));
}

void TestToolbarButtons::shareTabTurnsOnEveryEntry()
{
    Button_share tab;
    tab.show();
    QSignalSpy entered(&tab, &Button_share::mySignal);
    const QString up = "image: url(:/resources/images/ScreenDrawing/icon_up.png);";
    const QString down = "image: url(:/resources/images/ScreenDrawing/icon_down.png);";
    QCOMPARE(tab.arrowStyle(), up);

    const QStringList expected = {down, up, down};
    for (int i = 0; i < expected.size(); ++i) {
        play(tab, "enter,leave");
        QCOMPARE(tab.arrowStyle(), expected[i]);
        QCOMPARE(entered.count(), i + 1);
    }
    // A click is no entry.
    play(tab, "press,release-in");
    QCOMPARE(tab.arrowStyle(), down);
    QCOMPARE(entered.count(), 3);
}

void TestToolbarButtons::managerButtonGeometry_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<QRect>("image");
    QTest::addColumn<QRect>("number");
    QTest::addColumn<QRect>("title");
    QTest::addColumn<QString>("fontSize");

    QTest::newRow("1") << 1.0 << QRect(30, 0, 28, 28) << QRect(49, 0, 28, 28) << QRect(0, 34, 88, 15) << "12px";
    QTest::newRow("1.5") << 1.5 << QRect(45, 0, 42, 42) << QRect(73, 0, 42, 42) << QRect(0, 54, 132, 22) << "18px";
    QTest::newRow("2") << 2.0 << QRect(60, 0, 56, 56) << QRect(98, 0, 56, 56) << QRect(0, 73, 176, 30) << "24px";
}

void TestToolbarButtons::managerButtonGeometry()
{
    QFETCH(double, scale);
    QFETCH(QRect, image);
    QFETCH(QRect, number);
    QFETCH(QRect, title);
    QFETCH(QString, fontSize);

    CManagerButtonWidget button;
    // The owner scales the button itself, then its insides.
    button.setFixedSize(int(88 * scale), int(54 * scale));
    button.onDpiChanged(scale);
    button.setNumber("12");

    const auto *imageLabel = button.findChild<QLabel *>("m_pImg");
    const auto *numberLabel = button.findChild<QLabel *>("m_pNumber");
    const auto *titleLabel = button.findChild<QLabel *>("m_pTitle");
    QCOMPARE(imageLabel->geometry(), image);
    QCOMPARE(numberLabel->geometry(), number);
    QCOMPARE(titleLabel->geometry(), title);
    QCOMPARE(numberLabel->text(), QString("12"));
    QCOMPARE(titleLabel->styleSheet(), "#m_pTitle{color: rgb(255, 255, 255);font-size: " + fontSize + ";}");
    QCOMPARE(numberLabel->styleSheet(), "#m_pNumber{color: rgb(255, 255, 255);font-size: " + fontSize +
                                            ";background-color: rgba(255, 255, 255, 0);}");
}

void TestToolbarButtons::onlyTheLeftButtonClicks()
{
    CManagerButtonWidget manager;
    CimageWidget arrow;
    manager.show();
    arrow.show();
    QSignalSpy managerClicked(&manager, &CManagerButtonWidget::clicked);
    QSignalSpy arrowClicked(&arrow, &CimageWidget::btnClicked);

    play(manager, "right-press");
    play(arrow, "right-press");
    QCOMPARE(managerClicked.count(), 0);
    QCOMPARE(arrowClicked.count(), 0);

    play(manager, "press,release-in");
    QCOMPARE(managerClicked.count(), 1);
    // The arrow reports on the press: dragging off before the release still
    // counts, and the release outside leaves its look alone.
    play(arrow, "enter,press");
    QCOMPARE(arrowClicked.count(), 1);
    play(arrow, "leave,release-out");
    QCOMPARE(arrowClicked.count(), 1);
    QCOMPARE(arrow.styleSheet(), QString("background-color: rgb(28, 30, 32);"));
    play(arrow, "enter,press,release-in");
    QCOMPARE(arrowClicked.count(), 2);
    QCOMPARE(arrow.styleSheet(), QString("background-color:#474747;"));
}

QTEST_MAIN(TestToolbarButtons)
#include "tst_toolbarbuttons.moc"
