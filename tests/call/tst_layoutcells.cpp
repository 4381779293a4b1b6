#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "statewait.h"
#include "screendpi.h"
#include "views/call/clayoutcellcoverdlg.h"
#include "views/call/clayoutcelldlg.h"
#include "views/call/clayoutcoverdlg.h"
#include "views/call/clayoutfloatingcellsdlg.h"

using kd_app::views::CLayoutCellCoverDlg;
using kd_app::views::CLayoutCellDlg;
using kd_app::views::CLayoutCoverDlg;
using kd_app::views::CLayoutFloatingCellsDlg;

namespace {

QWidget *nameBar(CLayoutCellCoverDlg &cover)
{
    return cover.findChild<QWidget *>("m_pWgtTitlebar");
}

QLabel *nameLabel(CLayoutCellCoverDlg &cover)
{
    return cover.findChild<QLabel *>("m_pLblSiteName");
}

bool nameBarShown(CLayoutCellCoverDlg &cover)
{
    return !nameBar(cover)->isHidden();
}

void sendEnter(QWidget *widget)
{
    QEnterEvent enter(QPointF(10, 10), QPointF(10, 10), widget->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(widget, &enter);
}

void sendLeave(QWidget *widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

// A mouse event as the window system would deliver it at a point of a widget.
void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

// The cell, its cover, the layout cover and the floating strip, shown under
// the offscreen platform.
class TestLayoutCells : public QObject
{
    Q_OBJECT

private slots:
    void nameBarFollowsThePointer_data();
    void nameBarFollowsThePointer();
    void siteNameText_data();
    void siteNameText();
    void longNamesAreElided();
    void contentSenderNameIsNotCutByItsIcon();
    void frameIsDrawnOnEveryEdge_data();
    void frameIsDrawnOnEveryEdge();
    void coverFollowsItsCell();
    void coverKeepsItsCellsSizeAtScale2();
    void doubleClickIsReportedOnceWithTheCell_data();
    void doubleClickIsReportedOnceWithTheCell();
    void withoutCompositorTheCellHandsTheMouseToItsCover();
    void layoutCoverReportsMouse();

    void stripSizesAfterFirstShow();
    void hiddenStripRefusesToShow();
    void secondLocalCellIsIgnored();
    void remoteCellsAreStackedUnderTheLocalOne();
    void draggingACoverMovesTheStripAndItsCells();
    void stayOnTopFollowsTheStrip();
};

void TestLayoutCells::nameBarFollowsThePointer_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("muted");
    QTest::addColumn<bool>("autoHide");
    QTest::addColumn<bool>("shownBefore");
    QTest::addColumn<bool>("shownAfterEnter");
    QTest::addColumn<bool>("shownAfterLeave");

    QTest::newRow("people, auto-hide") << 0 << false << true << false << true << false;
    QTest::newRow("people, muted, auto-hide") << 0 << true << true << false << true << false;
    QTest::newRow("people, kept") << 0 << false << false << true << true << true;
    QTest::newRow("content, auto-hide") << 1 << false << true << false << true << false;
    QTest::newRow("content, kept") << 1 << false << false << true << true << true;
    // The local cell keeps its name bar while muted, also when the pointer leaves.
    QTest::newRow("local, muted") << 2 << true << true << true << true << true;
    QTest::newRow("local, unmuted") << 2 << false << true << false << true << false;
    QTest::newRow("local, unmuted, kept") << 2 << false << false << true << true << true;
}

void TestLayoutCells::nameBarFollowsThePointer()
{
    QFETCH(int, type);
    QFETCH(bool, muted);
    QFETCH(bool, autoHide);
    CLayoutCellCoverDlg cover(nullptr);
    cover.setAutoHideTitleBar(autoHide);
    cover.setCellType(type);
    cover.resize(400, 300);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.setSiteName("Alice");
    cover.setIsMuted(muted);
    QTEST(nameBarShown(cover), "shownBefore");
    sendEnter(&cover);
    QTEST(nameBarShown(cover), "shownAfterEnter");
    sendLeave(&cover);
    QTEST(nameBarShown(cover), "shownAfterLeave");
    cover.hide();
    QVERIFY(!nameBarShown(cover));
}

void TestLayoutCells::siteNameText_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("people") << 0 << "Bob"
                            << "Bob";
    QTest::newRow("local") << 2 << "Me"
                           << "Me";
    QTest::newRow("content") << 1 << "Bob"
                             << "Bob's Screen Sharing";
    // Names come from the far end: markup is shown as it is, never run.
    QTest::newRow("markup") << 0 << "<b>Eve</b><img src=x>"
                            << "<b>Eve</b><img src=x>";
    QTest::newRow("markup, content") << 1 << "<i>Eve</i>"
                                     << "<i>Eve</i>'s Screen Sharing";
    QTest::newRow("unicode") << 0 << QString::fromUtf8("张伟") << QString::fromUtf8("张伟");
}

void TestLayoutCells::siteNameText()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    CLayoutCellDlg cell(nullptr);
    cell.resize(600, 340);
    cell.setCellType(type);
    cell.setSiteName(name.toStdString());
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    CLayoutCellCoverDlg &cover = *cell.getCover();
    QTEST(cover.getSiteNameText(), "text");
    QTEST(nameLabel(cover)->text(), "text");
    QCOMPARE(nameLabel(cover)->textFormat(), Qt::PlainText);
    // An empty name keeps the one before.
    cover.setSiteName(QString());
    QTEST(cover.getSiteNameText(), "text");
}

void TestLayoutCells::longNamesAreElided()
{
    CLayoutCellCoverDlg cover(nullptr);
    cover.setAutoHideTitleBar(false);
    cover.resize(200, 120);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    const QString name = "A participant with a very long name from a conference room far away";
    cover.setSiteName(name);
    QLabel *label = nameLabel(cover);
    QVERIFY(label->text() != name);
    QVERIFY(label->text().endsWith(QChar(0x2026)));
    // The bar then takes all the room inside the cover's margins.
    QCOMPARE(nameBar(cover)->width(), 200 - 2 * 3);

    cover.setSiteName("Bo");
    QCOMPARE(label->text(), QString("Bo"));
    const int textWidth = QFontMetrics(label->font()).horizontalAdvance("Bo");
    QCOMPARE(nameBar(cover)->width(), 2 + 5 + textWidth);

    // Muted, the icon takes room from the text.
    cover.setIsMuted(true);
    QCOMPARE(nameBar(cover)->width(), 2 + 5 + 5 + 20 + textWidth);
    // A wider cover gives the long name room again.
    cover.setSiteName(name);
    cover.resize(2000, 300);
    QCOMPARE(label->text(), name);
}

// The content sender's icon shows without a muted mark; the bar must still
// leave the whole name its room beside it.
void TestLayoutCells::contentSenderNameIsNotCutByItsIcon()
{
    CLayoutCellCoverDlg cover(nullptr);
    cover.setAutoHideTitleBar(false);
    cover.setCellType(CLayoutCellCoverDlg::CellType_Content);
    cover.resize(800, 450);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.setSiteName("Bob");
    QVERIFY(!cover.isMuted());
    QLabel *label = nameLabel(cover);
    cover.layout()->activate();
    QCOMPARE(label->text(), QString("Bob's Screen Sharing"));
    QVERIFY2(label->width() >= QFontMetrics(label->font()).horizontalAdvance(label->text()),
             qPrintable(QString("label %1 wide").arg(label->width())));
    QCOMPARE(cover.findChild<QPushButton *>("m_pBtnStatusImage")->size(), QSize(14, 14));
}

void TestLayoutCells::frameIsDrawnOnEveryEdge_data()
{
    QTest::addColumn<QString>("colour");
    QTest::newRow("red") << "#f00";
    QTest::newRow("local blue") << "#4381ff";
    QTest::newRow("none") << "";
}

void TestLayoutCells::frameIsDrawnOnEveryEdge()
{
    QFETCH(QString, colour);
    CLayoutCellCoverDlg cover(nullptr);
    cover.resize(320, 180);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    cover.setBorderColor(colour);
    const QImage image = cover.grab().toImage();
    const QColor wanted = colour.isEmpty() ? QColor(Qt::transparent) : QColor(colour);
    const QPoint edges[] = {{0, 0},   {160, 0},   {160, 1},   {319, 90}, {318, 90},
                            {0, 179}, {160, 179}, {160, 178}, {0, 90},   {1, 90}};
    for (const QPoint &edge : edges) {
        if (colour.isEmpty()) {
            QVERIFY2(image.pixelColor(edge).alpha() < 10, qPrintable(QString("%1,%2").arg(edge.x()).arg(edge.y())));
        } else {
            QCOMPARE(image.pixelColor(edge).name(), wanted.name());
        }
    }
    // Two pixels wide; inside it the video below shows.
    for (const QPoint &inside : {QPoint(160, 2), QPoint(2, 90), QPoint(317, 90), QPoint(160, 177), QPoint(160, 60)}) {
        QVERIFY(image.pixelColor(inside).alpha() < 10);
    }
}

void TestLayoutCells::coverFollowsItsCell()
{
    CLayoutCoverDlg overlay(nullptr);
    CLayoutCellDlg cell(nullptr);
    CLayoutCellCoverDlg *cover = cell.getCover();
    cell.setFixedSize(640, 360);
    cell.setCoverParent(&overlay);
    QCOMPARE(cover->parentWidget(), &overlay);
    QCOMPARE(cover->windowType(), Qt::SplashScreen);
    QCOMPARE(cover->size(), QSize(640, 360));
    QCOMPARE(cover->getDragHeight(), 0);
    cell.setDraggable(true);
    QCOMPARE(cover->getDragHeight(), 360);

    cell.setRelativePos(30, 40);
    cell.moveWithParent(100, 200);
    QCOMPARE(cell.pos(), QPoint(130, 240));
    QCOMPARE(cover->pos(), QPoint(130, 240));
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    QVERIFY(cover->isVisible());
    // The cover never centres itself on its first show.
    QCOMPARE(cover->pos(), QPoint(130, 240));

    cell.setFixedSize(320, 180);
    QCOMPARE(cover->size(), QSize(320, 180));
    QCOMPARE(cover->getDragHeight(), 180);
    cell.hide();
    QVERIFY(!cover->isVisible());

    // A new parent keeps the render window; a change of stay-on-top makes
    // the cell and its render window anew (the old one would die with the
    // window Qt replaces, its id naming nothing), and the cell says so.
    const WId id = cell.getVideoWinId();
    QVERIFY(id != 0);
    cell.setParent(&overlay, Qt::SplashScreen);
    QCOMPARE(cell.getVideoWinId(), id);
    QSignalSpy renewed(&cell, &CLayoutCellDlg::sigVideoWindowChanged);
    cell.setStaysOnTop(true);
    QCOMPARE(renewed.count(), 1);
    QVERIFY(cell.getVideoWinId() != id);
    QVERIFY(cell.isVisible());
    QVERIFY(cover->isVisible());
    QVERIFY(cover->windowFlags() & Qt::WindowStaysOnTopHint);
    cell.clearStaysOnTop();
    QVERIFY(cell.isVisible());
    QVERIFY(!(cover->windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(renewed.count(), 2);
    QCOMPARE(renewed.last().at(0).value<CLayoutCellDlg *>(), &cell);
}

// The form's margins scale with the screen; the cover keeps its cell's size.
void TestLayoutCells::coverKeepsItsCellsSizeAtScale2()
{
    ScopedScreenDpi dpi(192);
    CLayoutCellDlg cell(nullptr);
    cell.setFixedSize(756, 426);
    cell.setSiteName("Alice");
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    CLayoutCellCoverDlg *cover = cell.getCover();
    QTRY_COMPARE(cover->stretchFactor(), 2.0);
    QCOMPARE(cover->size(), QSize(756, 426));
    QCOMPARE(cover->layout()->contentsMargins().left(), 6);
    QCOMPARE(nameLabel(*cover)->font().pixelSize(), 24);
    cover->setIsMuted(true);
    QCOMPARE(cover->findChild<QPushButton *>("m_pBtnStatusImage")->size(), QSize(40, 40));
}

void TestLayoutCells::doubleClickIsReportedOnceWithTheCell_data()
{
    QTest::addColumn<bool>("compositing");
    QTest::newRow("compositor") << true;
    QTest::newRow("no compositor") << false;
}

void TestLayoutCells::doubleClickIsReportedOnceWithTheCell()
{
    QFETCH(bool, compositing);
    CLayoutCellDlg cell(nullptr);
    cell.setCompositing(compositing);
    cell.setFixedSize(400, 225);
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    QSignalSpy clicks(&cell, &CLayoutCellDlg::sigMouseDoubleClick);
    // With a compositor the cover is hit; without one the video below it is.
    QWidget *hit = compositing ? static_cast<QWidget *>(cell.getCover()) : &cell;
    sendMouse(hit, QEvent::MouseButtonDblClick, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).value<QWidget *>(), &cell);
}

void TestLayoutCells::withoutCompositorTheCellHandsTheMouseToItsCover()
{
    CLayoutCellDlg cell(nullptr);
    cell.setCompositing(false);
    cell.setFixedSize(400, 225);
    cell.move(50, 60);
    cell.getCover()->move(50, 60);
    cell.setSiteName("Carol");
    cell.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cell));
    QVERIFY(!cell.getCover()->isCompositing());
    QSignalSpy moves(&cell, &CLayoutCellDlg::sigMouseMove);
    QSignalSpy presses(&cell, &CLayoutCellDlg::sigMousePress);

    // A plain move over the video (no button) reaches the cover's handlers,
    // at the same place, and shows the name bar as over the cover itself.
    QWidget *video = cell.findChild<QWidget *>("m_pWgtVideo");
    sendEnter(&cell);
    QVERIFY(nameBarShown(*cell.getCover()));
    sendLeave(&cell);
    QVERIFY(!nameBarShown(*cell.getCover()));
    QPoint seenAt;
    connect(cell.getCover(), &CLayoutCellCoverDlg::sigMouseMove, this,
            [&seenAt](QMouseEvent *event) { seenAt = event->globalPos(); });
    sendMouse(video, QEvent::MouseMove, QPoint(120, 80), Qt::NoButton, Qt::NoButton);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(seenAt, video->mapToGlobal(QPoint(120, 80)));
    QVERIFY(nameBarShown(*cell.getCover()));
    sendMouse(video, QEvent::MouseButtonPress, QPoint(120, 80), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(presses.count(), 1);
}

void TestLayoutCells::layoutCoverReportsMouse()
{
    CLayoutCoverDlg cover(nullptr);
    cover.resize(300, 200);
    cover.show();
    QVERIFY(QTest::qWaitForWindowExposed(&cover));
    QVERIFY(cover.windowOpacity() > 0 && cover.windowOpacity() <= 0.01);
    QVERIFY(cover.hasMouseTracking());
    QSignalSpy moves(&cover, &CLayoutCoverDlg::sigMouseMove);
    QSignalSpy presses(&cover, &CLayoutCoverDlg::sigMousePress);
    sendMouse(&cover, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    sendMouse(&cover, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(moves.count(), 1);
    QCOMPARE(presses.count(), 1);
}

void TestLayoutCells::stripSizesAfterFirstShow()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    // The scale, and with it every size, is known from the first show on.
    QCOMPARE(strip.getMetrics().cellWidth, 0);
    strip.setBottomBarThreshold(4);
    CLayoutCellDlg local(nullptr);
    CLayoutCellDlg remote(nullptr);
    strip.setLocalVideoCell(&local);
    strip.setRemoteVideoCells({&remote});
    strip.move(700, 100);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCOMPARE(strip.getMetrics().cellWidth, 378);
    QCOMPARE(strip.size(), QSize(382, 26 + 2 * 213));
    QCOMPARE(local.size(), QSize(378, 213));
    QVERIFY(local.isVisible());
    QVERIFY(remote.isVisible());
    QCOMPARE(local.pos(), QPoint(702, 126));
    QCOMPARE(remote.pos(), QPoint(702, 126 + 213));
    QCOMPARE(local.getCover()->pos(), local.pos());
    QCOMPARE(remote.getCover()->pos(), remote.pos());
    // The strip's own cover spans its cells, and their covers lie under it.
    QCOMPARE(strip.getLayoutCover()->geometry(), QRect(700, 126, 382, 2 * 213));
    QCOMPARE(local.getCover()->parentWidget(), strip.getLayoutCover());
    QCOMPARE(remote.getCover()->parentWidget(), strip.getLayoutCover());
    QCOMPARE(local.parentWidget(), &strip);

    strip.hide();
    QVERIFY(!local.isVisible());
    QVERIFY(!remote.isVisible());
    QVERIFY(!strip.getLayoutCover()->isVisible());
}

void TestLayoutCells::hiddenStripRefusesToShow()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    CLayoutCellDlg local(nullptr);
    strip.setLocalVideoCell(&local);
    strip.move(400, 300);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy hidden(&strip, &CLayoutFloatingCellsDlg::signal_FloatingCellsDlg_Hide);

    strip.findChild<QPushButton *>("pBtMin")->click();
    QCOMPARE(hidden.count(), 1);
    QVERIFY(strip.getHideFlag());
    QVERIFY(!strip.isVisible());
    QVERIFY(!local.isVisible());
    strip.show();
    QVERIFY(!strip.isVisible());
    QVERIFY(!local.isVisible());

    const QPoint before = strip.pos();
    strip.slot_FloatingCellsDlg_Show();
    QVERIFY(!strip.getHideFlag());
    QVERIFY(strip.isVisible());
    QVERIFY(local.isVisible());
    QCOMPARE(strip.pos(), before + QPoint(0, 1));

    strip.setHide();
    QCOMPARE(hidden.count(), 2);
    strip.clearHideFlag();
    strip.show();
    QVERIFY(strip.isVisible());
}

void TestLayoutCells::secondLocalCellIsIgnored()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    CLayoutCellDlg first(nullptr);
    CLayoutCellDlg second(nullptr);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    strip.setLocalVideoCell(&first);
    strip.setLocalVideoCell(&second);
    QCOMPARE(strip.getLocalVideoCell(), &first);
    QVERIFY(strip.containsCell(&first));
    QVERIFY(!strip.containsCell(&second));
    QVERIFY(second.parentWidget() != &strip);
    strip.clearLocalVideoCell();
    QVERIFY(!strip.containsCell(&first));
    strip.setLocalVideoCell(&second);
    QCOMPARE(strip.getLocalVideoCell(), &second);
    QCOMPARE(second.parentWidget(), &strip);
}

void TestLayoutCells::remoteCellsAreStackedUnderTheLocalOne()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    strip.setBottomBarThreshold(4);
    CLayoutCellDlg local(nullptr);
    QList<CLayoutCellDlg *> remotes;
    for (int i = 0; i < 4; ++i) {
        remotes << new CLayoutCellDlg(&strip);
    }
    strip.setLocalVideoCell(&local);
    strip.move(10, 20);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    strip.setRemoteVideoCells(remotes);
    // Four remote cells reach the threshold: the bottom bar joins.
    QCOMPARE(strip.height(), 26 + 5 * 213 + 26);
    for (int i = 0; i < remotes.size(); ++i) {
        QCOMPARE(remotes[i]->pos(), QPoint(12, 20 + 26 + (i + 1) * 213));
        QVERIFY(remotes[i]->isVisible());
        QVERIFY(remotes[i]->isDraggable());
        QVERIFY(strip.containsCell(remotes[i]));
    }
    QCOMPARE(strip.getLayoutCover()->height(), 5 * 213);
    strip.clearRemoteVideoCells();
    QCOMPARE(strip.height(), 26 + 213);
    QCOMPARE(strip.getLayoutCover()->height(), 213);
    QVERIFY(!strip.containsCell(remotes[0]));
}

void TestLayoutCells::draggingACoverMovesTheStripAndItsCells()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    CLayoutCellDlg local(nullptr);
    CLayoutCellDlg remote(nullptr);
    strip.setLocalVideoCell(&local);
    strip.setRemoteVideoCells({&remote});
    strip.move(300, 200);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const QPoint stripBefore = strip.pos();

    // Press on the remote cell's cover, move with the button held, release.
    CLayoutCellCoverDlg *cover = remote.getCover();
    const QPoint coverBefore = cover->pos();
    const QPoint pressAt = cover->mapToGlobal(QPoint(50, 60));
    sendMouse(cover, QEvent::MouseButtonPress, QPoint(50, 60), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint &step : {QPoint(10, 5), QPoint(30, 20), QPoint(-15, 45)}) {
        const QPoint global = pressAt + step;
        QMouseEvent drag(QEvent::MouseMove, cover->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(cover, &drag);
        QCOMPARE(strip.pos(), stripBefore + step);
        QCOMPARE(cover->pos(), coverBefore + step);
        QCOMPARE(local.pos(), strip.pos() + QPoint(2, 26));
    }
    const QPoint end = pressAt + QPoint(-15, 45);
    QMouseEvent release(QEvent::MouseButtonRelease, cover->mapFromGlobal(end), end, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(cover, &release);

    const QPoint moved = stripBefore + QPoint(-15, 45);
    QCOMPARE(strip.pos(), moved);
    QCOMPARE(local.pos(), moved + QPoint(2, 26));
    QCOMPARE(remote.pos(), moved + QPoint(2, 26 + 213));
    QCOMPARE(local.getCover()->pos(), local.pos());
    QCOMPARE(cover->pos(), remote.pos());
    QCOMPARE(strip.getLayoutCover()->pos(), moved + QPoint(0, 26));
}

void TestLayoutCells::stayOnTopFollowsTheStrip()
{
    CLayoutFloatingCellsDlg strip(nullptr);
    CLayoutCellDlg local(nullptr);
    strip.setLocalVideoCell(&local);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    local.getVideoWinId();
    QSignalSpy renewed(&local, &CLayoutCellDlg::sigVideoWindowChanged);
    strip.setTopWindow();
    QVERIFY(strip.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(strip.windowFlags() & Qt::Tool);
    QVERIFY(local.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(local.getCover()->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(strip.getLayoutCover()->windowFlags() & Qt::WindowStaysOnTopHint);
    strip.show();
    QVERIFY(local.isVisible());
    strip.setNonTopWindow();
    QVERIFY(!(strip.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(strip.windowFlags() & Qt::Tool);
    QVERIFY(!(local.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!(strip.getLayoutCover()->windowFlags() & Qt::WindowStaysOnTopHint));
    // The changes made the render window anew, and told of it.
    QVERIFY(!renewed.isEmpty());
    QCOMPARE(renewed.last().at(0).value<CLayoutCellDlg *>(), &local);
}

QTEST_MAIN(TestLayoutCells)
#include "tst_layoutcells.moc"
