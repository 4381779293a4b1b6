#include <QPointer>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QtTest>

#include "statewait.h"
#include "custom_controls/cimagewidget.h"
#include "helpers/cuserconfigutils.h"
#include "lightextent.h"
#include "models/clinguist.h"
#include "screendpi.h"
#include "views/annotation/cmenubutton.h"
#include "views/annotation/paintlistwidget.h"

using kd_app::views::PaintListWidget;

namespace {

const QString kFolder = ":/resources/images/ScreenDrawing/";
const char *const kTools[] = {"button_mouse", "button_pen", "button_niteWriterPen", "button_eraser"};

Cmenubutton *entry(PaintListWidget &menu, const QString &name)
{
    auto *found = menu.findChild<Cmenubutton *>(name);
    Q_ASSERT(found);
    return found;
}

// A move carries the button held during it.
void mouse(QWidget *widget, QEvent::Type type, Qt::MouseButton button, const QPoint &pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    const Qt::MouseButton changed = type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), changed, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// "selected", "normal" or "held": the look of an entry from its icon and text.
QString look(Cmenubutton *button)
{
    const bool blue = button->textStyle().contains("#4381ff");
    const bool clickIcon = button->shownIcon().contains("_click");
    if (blue != clickIcon) {
        return "mixed";
    }
    return blue ? "blue" : "white";
}

} // namespace

// The annotation tool menu: which entry looks selected after each action,
// the signals, the modes, dragging and the sizes for the display scale.
class TestPaintListWidget : public QObject
{
    Q_OBJECT

private slots:
    void startsWithPen();
    void selection_data();
    void selection();
    void releaseAfterPress_data();
    void releaseAfterPress();
    void ownerSelections();
    void modes();
    void dragFollowsTheCursor();
    void hoverOverTheFrameIsReported();
    void sizesAtOneAndAHalf();
    void optionArrowsGrowWithTheScale_data();
    void optionArrowsGrowWithTheScale();
    void selectedEntryKeepsItsLookOnScaleChange();
    void deletesItselfOnClose();
    void textsFollowTheLanguage();
};

void TestPaintListWidget::startsWithPen()
{
    PaintListWidget menu;
    QVERIFY(menu.isWindow());
    QVERIFY(menu.windowFlags().testFlag(Qt::Tool));
    QVERIFY(menu.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(entry(menu, "button_pen")->m_nState, 2);
    QCOMPARE(look(entry(menu, "button_pen")), QString("blue"));
    for (const char *name : {"button_mouse", "button_niteWriterPen", "button_eraser", "button_save"}) {
        QCOMPARE(look(entry(menu, name)), QString("white"));
    }
    QCOMPARE(entry(menu, "button_niteWriterPen")->text(), QString("Marker"));
    QCOMPARE(entry(menu, "button_paintBackground")->shownIcon(), kFolder + "icon_bg_default.png");
}

void TestPaintListWidget::selection_data()
{
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("selected"); // the tool that looks selected afterwards
    QTest::addColumn<QString>("signal");

    QTest::newRow("mouse") << "button_mouse"
                           << "button_mouse"
                           << "enabelMouse";
    QTest::newRow("pen again") << "button_pen"
                               << "button_pen"
                               << "penClicked";
    QTest::newRow("marker") << "button_niteWriterPen"
                            << "button_niteWriterPen"
                            << "nitePenClicked";
    QTest::newRow("eraser") << "button_eraser"
                            << "button_eraser"
                            << "eraserClicked";
    QTest::newRow("revoke") << "button_revocation"
                            << "button_pen"
                            << "revokeClicked";
    QTest::newRow("background") << "button_paintBackground"
                                << "button_pen"
                                << "bgClicked";
    QTest::newRow("clear") << "button_paintClear"
                           << "button_pen"
                           << "clearClicked";
    QTest::newRow("save") << "button_save"
                          << "button_pen"
                          << "sigSaveClicked";
    QTest::newRow("exit") << "button_exit"
                          << "button_pen"
                          << "exitClicked";
    QTest::newRow("pen arrow") << "button_pen_select"
                               << "button_pen"
                               << "selectPenClicked";
    QTest::newRow("marker arrow") << "button_nite_pen_select"
                                  << "button_pen"
                                  << "selectNitePenClicked";
}

void TestPaintListWidget::selection()
{
    QFETCH(QString, pressed);
    QFETCH(QString, selected);
    QFETCH(QString, signal);

    PaintListWidget menu;
    menu.show();
    QList<QSignalSpy *> spies;
    QStringList names;
    const QMetaObject *meta = menu.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() == QMetaMethod::Signal) {
            spies << new QSignalSpy(&menu, method);
            names << QString::fromLatin1(method.name());
        }
    }

    auto *target = menu.findChild<QWidget *>(pressed);
    QVERIFY(target);
    mouse(target, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));

    QStringList emitted;
    for (int i = 0; i < spies.size(); ++i) {
        if (spies[i]->count() > 0) {
            emitted << names[i] + "x" + QString::number(spies[i]->count());
        }
    }
    qDeleteAll(spies);
    QCOMPARE(emitted, QStringList{signal + "x1"});
    for (const char *tool : kTools) {
        const bool isSelected = selected == tool;
        QCOMPARE(entry(menu, tool)->m_nState, isSelected ? 2 : 0);
        QCOMPARE(look(entry(menu, tool)), QString(isSelected ? "blue" : "white"));
    }
}

void TestPaintListWidget::releaseAfterPress_data()
{
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<bool>("inside");
    QTest::addColumn<QString>("whileHeld");
    QTest::addColumn<QString>("afterRelease");
    QTest::addColumn<QString>("afterLeave");

    QTest::newRow("clear, released inside") << "button_paintClear" << true << "blue"
                                            << "white"
                                            << "white";
    QTest::newRow("clear, released outside") << "button_paintClear" << false << "blue"
                                             << "blue"
                                             << "white";
    QTest::newRow("eraser, released inside") << "button_eraser" << true << "blue"
                                             << "blue"
                                             << "blue";
    QTest::newRow("eraser, released outside") << "button_eraser" << false << "blue"
                                              << "blue"
                                              << "blue";
}

void TestPaintListWidget::releaseAfterPress()
{
    QFETCH(QString, pressed);
    QFETCH(bool, inside);
    QFETCH(QString, whileHeld);
    QFETCH(QString, afterRelease);
    QFETCH(QString, afterLeave);

    PaintListWidget menu;
    menu.show();
    Cmenubutton *button = entry(menu, pressed);
    mouse(button, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(5, 5));
    QCOMPARE(look(button), whileHeld);
    mouse(button, QEvent::MouseButtonRelease, Qt::LeftButton, inside ? QPoint(5, 5) : QPoint(-50, 300));
    QCOMPARE(look(button), afterRelease);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(button, &leave);
    QCOMPARE(look(button), afterLeave);
    QCOMPARE(button->styleSheet(), QString("background-color: rgb(28, 30, 32);"));
}

void TestPaintListWidget::ownerSelections()
{
    PaintListWidget menu;
    QSignalSpy pen(&menu, &PaintListWidget::penClicked);
    menu.onBtnEraserClicked();
    menu.selectNitePenButton();
    QCOMPARE(look(entry(menu, "button_niteWriterPen")), QString("blue"));
    QCOMPARE(look(entry(menu, "button_eraser")), QString("white"));
    menu.selectPenButton();
    QCOMPARE(look(entry(menu, "button_pen")), QString("blue"));
    QCOMPARE(look(entry(menu, "button_niteWriterPen")), QString("white"));
    QCOMPARE(pen.count(), 0);
    menu.onBtnMouseClicked();
    menu.resetToPen();
    QCOMPARE(pen.count(), 1);
    QCOMPARE(look(entry(menu, "button_pen")), QString("blue"));
    QCOMPARE(look(entry(menu, "button_mouse")), QString("white"));
}

void TestPaintListWidget::modes()
{
    PaintListWidget menu;
    menu.show();
    QVERIFY(entry(menu, "button_mouse")->isVisible());
    QVERIFY(entry(menu, "button_exit")->isVisible());
    menu.setReceiveWhiteBoardType();
    QVERIFY(!entry(menu, "button_mouse")->isVisible());
    QVERIFY(!entry(menu, "button_exit")->isVisible());
    menu.setSendWhiteBoardType();
    QVERIFY(!entry(menu, "button_mouse")->isVisible());
    QVERIFY(entry(menu, "button_exit")->isVisible());
    QVERIFY(entry(menu, "button_pen")->isVisible());
    QVERIFY(menu.findChild<CimageWidget *>("button_nite_pen_select")->isVisible());
}

void TestPaintListWidget::dragFollowsTheCursor()
{
    PaintListWidget menu;
    menu.move(100, 100);
    menu.show();
    QVERIFY(QTest::qWaitForWindowExposed(&menu));
    const QPoint start = menu.pos();
    // The space left of the first entry is the menu's own.
    const QPoint grab(6, 20);

    mouse(&menu, QEvent::MouseButtonPress, Qt::RightButton, grab);
    mouse(&menu, QEvent::MouseMove, Qt::RightButton, grab + QPoint(40, 30));
    QTest::qWait(50);
    QCOMPARE(menu.pos(), start);
    mouse(&menu, QEvent::MouseButtonRelease, Qt::RightButton, grab + QPoint(40, 30));

    // The window system moves a window in its own time; the next move
    // event comes after that.
    mouse(&menu, QEvent::MouseButtonPress, Qt::LeftButton, grab);
    mouse(&menu, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(40, 30));
    QTRY_COMPARE(menu.pos(), start + QPoint(40, 30));
    // Positions are the menu's own: the grabbed point stays under the
    // cursor, so each move goes by the cursor's offset from that point.
    mouse(&menu, QEvent::MouseMove, Qt::LeftButton, grab + QPoint(-15, 7));
    QTRY_COMPARE(menu.pos(), start + QPoint(25, 37));
    mouse(&menu, QEvent::MouseButtonRelease, Qt::LeftButton, grab);
    mouse(&menu, QEvent::MouseMove, Qt::NoButton, grab + QPoint(50, 50));
    QTest::qWait(50);
    QCOMPARE(menu.pos(), start + QPoint(25, 37));
}

void TestPaintListWidget::hoverOverTheFrameIsReported()
{
    PaintListWidget menu;
    menu.show();
    QSignalSpy moved(&menu, &PaintListWidget::sigMouseMove);
    auto *frame = menu.findChild<QWidget *>("m_pBgFrame");
    QVERIFY(frame->hasMouseTracking());
    mouse(frame, QEvent::MouseMove, Qt::NoButton, QPoint(3, 3));
    QCOMPARE(moved.count(), 1);
}

void TestPaintListWidget::sizesAtOneAndAHalf()
{
    ScopedScreenDpi dpi(144);
    PaintListWidget menu;
    menu.show();
    QCOMPARE(menu.size(), QSize(1095, 84));
    auto *icon = entry(menu, "button_save")->findChild<QWidget *>("cmenuBttonImg");
    QCOMPARE(icon->minimumSize(), QSize(39, 39));
    QCOMPARE(icon->maximumSize(), QSize(39, 39));
    QVERIFY(entry(menu, "button_save")->textStyle().startsWith("font-size: 15px;"));
    QCOMPARE(entry(menu, "button_save")->shownIcon(), kFolder + "icon_save_default@1.5x.png");
    QCOMPARE(menu.findChild<QWidget *>("m_pPenBg")->minimumWidth(), 96);
    QCOMPARE(menu.findChild<QWidget *>("button_pen_select")->minimumWidth(), 27);

    // Owners place the pickers under these entries.
    QCOMPARE(menu.m_nPenBgX, menu.findChild<QWidget *>("m_pPenBg")->x());
    QCOMPARE(menu.m_nNitePenBgX, menu.findChild<QWidget *>("m_pNitePenBg")->x());
    QCOMPARE(menu.m_nBgBtnX, menu.findChild<QWidget *>("button_paintBackground")->x());
    QVERIFY(menu.m_nPenBgX > 0);
    QVERIFY(menu.m_nNitePenBgX > menu.m_nPenBgX);
    QVERIFY(menu.m_nBgBtnX > menu.m_nNitePenBgX);
}

void TestPaintListWidget::optionArrowsGrowWithTheScale_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("arrow"); // the light pixels' extent on screen
    QTest::newRow("1") << 96 << QSize(6, 4);
    QTest::newRow("1.5") << 144 << QSize(9, 6);
    QTest::newRow("2") << 192 << QSize(14, 8);
}

void TestPaintListWidget::optionArrowsGrowWithTheScale()
{
    QFETCH(int, dpi);
    QFETCH(QSize, arrow);
    ScopedScreenDpi scoped(dpi);
    PaintListWidget menu;
    menu.show();
    for (const char *name : {"button_pen_select", "button_nite_pen_select"}) {
        const QSize shown = lightExtent(&menu, menu.findChild<QWidget *>(name));
        QVERIFY2(aboutTheSize(shown, arrow), qPrintable(QString("%1 x %2").arg(shown.width()).arg(shown.height())));
    }
}

void TestPaintListWidget::selectedEntryKeepsItsLookOnScaleChange()
{
    PaintListWidget menu;
    menu.show();
    menu.onBtnNitePenClicked();
    entry(menu, "button_revocation")->setSelectedStyle();
    setPrimaryScreenDpi(192);
    QCOMPARE(entry(menu, "button_niteWriterPen")->shownIcon(), kFolder + "icon_highlighter_click@2x.png");
    QCOMPARE(look(entry(menu, "button_niteWriterPen")), QString("blue"));
    QCOMPARE(entry(menu, "button_pen")->shownIcon(), kFolder + "icon_brush_default@2x.png");
    // Only a selected tool keeps the blue look; a held plain entry does not.
    QCOMPARE(look(entry(menu, "button_revocation")), QString("white"));
    QCOMPARE(menu.size(), QSize(1460, 112));
    setPrimaryScreenDpi(96);
    QCOMPARE(entry(menu, "button_niteWriterPen")->shownIcon(), kFolder + "icon_highlighter_click.png");
}

void TestPaintListWidget::deletesItselfOnClose()
{
    QWidget owner;
    QPointer<PaintListWidget> menu = new PaintListWidget(&owner);
    menu->show();
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(menu.isNull());
}

void TestPaintListWidget::textsFollowTheLanguage()
{
    using kd_app::helpers::CUserConfigUtils;
    using kd_app::models::CLinguist;
    QTemporaryDir appData;
    QVERIFY(appData.isValid());
    qputenv("appdata", QFile::encodeName(appData.path()));
    CUserConfigUtils::initInstance(QFile::encodeName(QCoreApplication::applicationFilePath()).constData());

    PaintListWidget menu;
    CLinguist::getInstance()->changeLanguage(CLinguist::ZH_CN);
    const QString chinese = entry(menu, "button_pen")->text();
    CLinguist::getInstance()->changeLanguage(CLinguist::EN_US);
    const QString english = entry(menu, "button_pen")->text();
    CUserConfigUtils::releaseInstance();

    QCOMPARE(chinese, QString::fromUtf8("画笔"));
    QCOMPARE(english, QString("Pen"));
    QCOMPARE(entry(menu, "button_exit")->text(), QString("Exit"));
}

QTEST_MAIN(TestPaintListWidget)
#include "tst_paintlistwidget.moc"
