#include <QtTest>

#include "views/call/clayoutgeometry.h"

using kd_app::enums::LayoutModeType;
using kd_app::views::CLayoutGeometry;

Q_DECLARE_METATYPE(std::optional<QRect>)
Q_DECLARE_METATYPE(std::optional<QPoint>)

namespace {

const LayoutModeType ALL_MODES[] = {
    kd_app::enums::LayoutMode_People,
    kd_app::enums::LayoutMode_RemoteContentPreferred,
    kd_app::enums::LayoutMode_RemoteContentOnly,
    kd_app::enums::LayoutMode_RemoteWhiteBoardPreferred,
    kd_app::enums::LayoutMode_RemoteWhiteBoardOnly,
    kd_app::enums::LayoutMode_LocalContent,
    kd_app::enums::LayoutMode_LocalWhiteBoard,
    kd_app::enums::LayoutMode_AudioOnly,
};

bool isPreferred(LayoutModeType mode)
{
    return mode == kd_app::enums::LayoutMode_RemoteContentPreferred ||
           mode == kd_app::enums::LayoutMode_RemoteWhiteBoardPreferred;
}

} // namespace

// The numbers of the call's video layout, without a window.
class TestLayoutGeometry : public QObject
{
    Q_OBJECT

private slots:
    void layoutSize_data();
    void layoutSize();
    void layoutStaysInsideTheEngine();
    void layoutOrigin_data();
    void layoutOrigin();
    void placeCells_data();
    void placeCells();
    void stripMetrics_data();
    void stripMetrics();
    void stripHeight_data();
    void stripHeight();
    void stripCellPos_data();
    void stripCellPos();
    void stripStartPos_data();
    void stripStartPos();
    void toolbarRect();
    void stripClearOfBand_data();
    void stripClearOfBand();
};

void TestLayoutGeometry::layoutSize_data()
{
    QTest::addColumn<int>("engineWidth");
    QTest::addColumn<int>("engineHeight");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("relativeX");
    QTest::addColumn<int>("relativeY");
    QTest::addColumn<int>("contentWidth");
    QTest::addColumn<int>("contentHeight");
    QTest::addColumn<int>("peopleWidth");
    QTest::addColumn<int>("peopleHeight");

    // engine W, H, mode -> layout w, h, offset x, y, content w, h, people w, h
    QTest::newRow("people exact") << 1600 << 900 << 0 << 1600 << 900 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("people taller") << 1600 << 1000 << 0 << 1600 << 900 << 0 << 50 << 0 << 0 << 0 << 0;
    QTest::newRow("people wider") << 2000 << 900 << 0 << 1600 << 900 << 200 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("content only wider") << 2000 << 900 << 2 << 1600 << 900 << 200 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("whiteboard only taller") << 1600 << 1000 << 4 << 1600 << 900 << 0 << 50 << 0 << 0 << 0 << 0;
    // The worked example: people cells shrink to a fifth of the width and
    // the layout is raised to five of them.
    QTest::newRow("preferred 1600x900") << 1600 << 900 << 1 << 1600 << 900 << 0 << 0 << 1280 << 720 << 320 << 180;
    QTest::newRow("whiteboard preferred 1600x900")
        << 1600 << 900 << 3 << 1600 << 900 << 0 << 0 << 1280 << 720 << 320 << 180;
    // Wide enough for quarter-height people cells: five of them set the width.
    QTest::newRow("preferred wide") << 2560 << 900 << 1 << 2000 << 900 << 280 << 0 << 1200 << 675 << 400 << 225;
    // Square: the content takes the whole width, the rest is centred.
    QTest::newRow("preferred square") << 1000 << 1000 << 1 << 1000 << 674 << 0 << 163 << 1000 << 562 << 200 << 112;
    // The frame's normal size at scale 1 (1280 x 760, 40 px title bar) and 2.
    QTest::newRow("normal 1x people") << 1276 << 716 << 0 << 1272 << 716 << 2 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("normal 1x preferred") << 1276 << 716 << 1 << 1275 << 716 << 0 << 0 << 1018 << 573 << 255 << 143;
    QTest::newRow("normal 2x people") << 2556 << 1436 << 0 << 2552 << 1436 << 2 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("normal 2x preferred") << 2556 << 1436 << 3 << 2555 << 1436 << 0 << 0 << 2042 << 1149 << 511 << 287;
    // Full screen on 1920 x 1080 (no title bar) and the compact window.
    QTest::newRow("full screen people") << 1916 << 1076 << 0 << 1912 << 1076 << 2 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("full screen preferred") << 1916 << 1076 << 1 << 1915 << 1076 << 0 << 0 << 1530 << 861 << 383 << 215;
    QTest::newRow("compact people") << 380 << 212 << 0 << 376 << 212 << 2 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("compact preferred") << 380 << 212 << 1 << 380 << 212 << 0 << 0 << 302 << 170 << 76 << 42;
    // Degenerate engines give an empty or one-pixel layout, never a crash or
    // a layout larger than the engine.
    QTest::newRow("empty people") << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("empty preferred") << 0 << 0 << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("one pixel people") << 1 << 1 << 0 << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("one pixel preferred") << 1 << 1 << 3 << 1 << 0 << 0 << 0 << 1 << 0 << 0 << 0;
    QTest::newRow("no height") << 500 << 0 << 0 << 0 << 0 << 250 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("no height preferred") << 500 << 0 << 1 << 0 << 0 << 250 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("negative") << -4 << -44 << 1 << 0 << 0 << 0 << 0 << 0 << 0 << 0 << 0;
}

void TestLayoutGeometry::layoutSize()
{
    QFETCH(int, engineWidth);
    QFETCH(int, engineHeight);
    QFETCH(int, mode);
    const CLayoutGeometry::LayoutSize size =
        CLayoutGeometry::calculateLayoutSize(engineWidth, engineHeight, LayoutModeType(mode));
    QTEST(size.width, "width");
    QTEST(size.height, "height");
    QTEST(size.relativeX, "relativeX");
    QTEST(size.relativeY, "relativeY");
    QTEST(size.contentWidth, "contentWidth");
    QTEST(size.contentHeight, "contentHeight");
    QTEST(size.peopleWidth, "peopleWidth");
    QTEST(size.peopleHeight, "peopleHeight");
}

// Over many engine sizes and every mode: the layout lies centred inside the
// engine; the preferred modes are never narrower than five people cells
// (unless the engine is) and their two rows fill the height.
void TestLayoutGeometry::layoutStaysInsideTheEngine()
{
    const int sides[] = {0, 1, 2, 3, 9, 16, 100, 333, 640, 719, 900, 1001, 1276, 1600, 1920, 2556, 4096};
    for (const LayoutModeType mode : ALL_MODES) {
        for (const int w : sides) {
            for (const int h : sides) {
                const auto size = CLayoutGeometry::calculateLayoutSize(w, h, mode);
                const QByteArray where =
                    QByteArray::number(w) + "x" + QByteArray::number(h) + " mode " + QByteArray::number(int(mode));
                QVERIFY2(size.width >= 0 && size.width <= w, where);
                QVERIFY2(size.height >= 0 && size.height <= h, where);
                QVERIFY2(size.relativeX == (w - size.width) / 2, where);
                QVERIFY2(size.relativeY == (h - size.height) / 2, where);
                if (isPreferred(mode)) {
                    QVERIFY2(size.width >= std::min(w, 5 * size.peopleWidth), where);
                    QVERIFY2(size.contentHeight + size.peopleHeight == size.height, where);
                    QVERIFY2(size.contentWidth <= size.width, where);
                } else {
                    QVERIFY2(size.contentWidth == 0 && size.peopleWidth == 0, where);
                    // One side is the engine's, the other is 16:9 of it.
                    QVERIFY2(size.width == w || size.height == h, where);
                }
            }
        }
    }
}

void TestLayoutGeometry::layoutOrigin_data()
{
    QTest::addColumn<int>("engineHeight");
    QTest::addColumn<QPoint>("frame");
    QTest::addColumn<int>("titleBar");
    QTest::addColumn<QPoint>("origin");

    // A 1600-wide engine; its layout is 900 high.
    QTest::newRow("normal") << 900 << QPoint(100, 200) << 40 << QPoint(102, 242);
    QTest::newRow("letterboxed") << 1000 << QPoint(100, 200) << 40 << QPoint(102, 292);
    QTest::newRow("full screen") << 900 << QPoint(0, 0) << 0 << QPoint(2, 2);
    QTest::newRow("left screen") << 1000 << QPoint(-1920, -30) << 80 << QPoint(-1918, 102);
}

void TestLayoutGeometry::layoutOrigin()
{
    QFETCH(int, engineHeight);
    QFETCH(QPoint, frame);
    QFETCH(int, titleBar);
    const auto size = CLayoutGeometry::calculateLayoutSize(1600, engineHeight, kd_app::enums::LayoutMode_People);
    QTEST(CLayoutGeometry::layoutOrigin(size, frame, titleBar), "origin");
}

void TestLayoutGeometry::placeCells_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QRect>("remote");
    QTest::addColumn<QRect>("local");
    QTest::addColumn<QRect>("content");
    QTest::addColumn<QRect>("whiteBoard");
    QTest::addColumn<bool>("localInStrip");
    QTest::addColumn<bool>("remoteInStrip");

    // On a 1600 x 900 engine; preferred modes: content 1280 x 720, people 320 x 180.
    const QRect whole(0, 0, 1600, 900);
    const QRect top(160, 0, 1280, 720);
    const QRect localBelow(480, 720, 320, 180);
    const QRect remoteBelow(800, 720, 320, 180);
    QTest::newRow("0 people") << 0 << whole << QRect() << QRect() << QRect() << true << false;
    QTest::newRow("1 content preferred") << 1 << remoteBelow << localBelow << top << QRect() << false << false;
    QTest::newRow("2 content only") << 2 << QRect() << QRect() << whole << QRect() << true << true;
    QTest::newRow("3 whiteboard preferred") << 3 << remoteBelow << localBelow << QRect() << top << false << false;
    QTest::newRow("4 whiteboard only") << 4 << QRect() << QRect() << QRect() << whole << true << true;
    QTest::newRow("5 local content") << 5 << QRect() << QRect() << QRect() << QRect() << true << true;
    QTest::newRow("6 local whiteboard") << 6 << QRect() << QRect() << QRect() << QRect() << true << true;
    QTest::newRow("7 audio only") << 7 << QRect() << QRect() << QRect() << QRect() << false << false;
}

void TestLayoutGeometry::placeCells()
{
    QFETCH(int, mode);
    const auto size = CLayoutGeometry::calculateLayoutSize(1600, 900, LayoutModeType(mode));
    const CLayoutGeometry::CellPlacement placement = CLayoutGeometry::placeCells(size, LayoutModeType(mode));
    QTEST(placement.remote, "remote");
    QTEST(placement.local, "local");
    QTEST(placement.content, "content");
    QTEST(placement.whiteBoard, "whiteBoard");
    QTEST(placement.localInStrip, "localInStrip");
    QTEST(placement.remoteInStrip, "remoteInStrip");
}

void TestLayoutGeometry::stripMetrics_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<int>("margin");
    QTest::addColumn<int>("barHeight");
    QTest::addColumn<int>("width");

    // Before the strip's first show its scale is 0.
    QTest::newRow("not shown yet") << 0.0 << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("1") << 1.0 << 378 << 213 << 2 << 26 << 382;
    QTest::newRow("1.5") << 1.5 << 567 << 319 << 3 << 39 << 573;
    QTest::newRow("2") << 2.0 << 756 << 426 << 4 << 52 << 764;
}

void TestLayoutGeometry::stripMetrics()
{
    QFETCH(double, scale);
    const CLayoutGeometry::StripMetrics metrics = CLayoutGeometry::stripMetrics(scale);
    QTEST(metrics.cellWidth, "cellWidth");
    QTEST(metrics.cellHeight, "cellHeight");
    QTEST(metrics.margin, "margin");
    QTEST(metrics.barHeight, "barHeight");
    QTEST(metrics.width, "width");
}

void TestLayoutGeometry::stripHeight_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("remoteCells");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("height");

    QTest::newRow("not shown yet") << 0.0 << 15 << 4 << 0;
    QTest::newRow("local only") << 1.0 << 0 << 4 << 26 + 213;
    QTest::newRow("one remote") << 1.0 << 1 << 4 << 26 + 2 * 213;
    QTest::newRow("three remote, below the threshold") << 1.0 << 3 << 4 << 26 + 4 * 213;
    QTest::newRow("four remote, bottom bar") << 1.0 << 4 << 4 << 26 + 5 * 213 + 26;
    QTest::newRow("fifteen remote") << 1.0 << 15 << 4 << 26 + 16 * 213 + 26;
    // The strip's own threshold before the engine sets it: always the bar.
    QTest::newRow("threshold 0, local only") << 1.0 << 0 << 0 << 26 + 213 + 26;
    QTest::newRow("1.5, one remote") << 1.5 << 1 << 4 << 39 + 2 * 319;
    QTest::newRow("2, fifteen remote") << 2.0 << 15 << 4 << 52 + 16 * 426 + 52;
}

void TestLayoutGeometry::stripHeight()
{
    QFETCH(double, scale);
    QFETCH(int, remoteCells);
    QFETCH(int, threshold);
    QTEST(CLayoutGeometry::stripHeight(CLayoutGeometry::stripMetrics(scale), remoteCells, threshold), "height");
}

void TestLayoutGeometry::stripCellPos_data()
{
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("pos");

    QTest::newRow("local") << 1.0 << 0 << QPoint(2, 26);
    QTest::newRow("first remote") << 1.0 << 1 << QPoint(2, 26 + 213);
    QTest::newRow("fifteenth remote") << 1.0 << 15 << QPoint(2, 26 + 15 * 213);
    QTest::newRow("1.5 first remote") << 1.5 << 1 << QPoint(3, 39 + 319);
    QTest::newRow("2 local") << 2.0 << 0 << QPoint(4, 52);
}

void TestLayoutGeometry::stripCellPos()
{
    QFETCH(double, scale);
    QFETCH(int, index);
    QTEST(CLayoutGeometry::stripCellPos(CLayoutGeometry::stripMetrics(scale), index), "pos");
}

void TestLayoutGeometry::stripStartPos_data()
{
    QTest::addColumn<QRect>("engine");
    QTest::addColumn<QSize>("strip");
    QTest::addColumn<std::optional<QRect>>("screen");
    QTest::addColumn<std::optional<QPoint>>("pos");

    const QSize strip(382, 452);
    const QRect screen(0, 0, 1920, 1080);
    // x = engine right - 1.5 strip widths (573), y = engine top + 50.
    QTest::newRow("fits") << QRect(100, 100, 1600, 900) << strip << std::optional<QRect>(screen)
                          << std::optional<QPoint>(QPoint(1127, 150));
    QTest::newRow("left of the screen") << QRect(-500, 100, 600, 400) << strip << std::optional<QRect>(screen)
                                        << std::optional<QPoint>(QPoint(1347, 150));
    QTest::newRow("right of the screen") << QRect(1500, 100, 1600, 900) << strip << std::optional<QRect>(screen)
                                         << std::optional<QPoint>(QPoint(1347, 150));
    QTest::newRow("below the screen") << QRect(100, 700, 1600, 900) << strip << std::optional<QRect>(screen)
                                      << std::optional<QPoint>(QPoint(1127, 50));
    QTest::newRow("above the screen") << QRect(100, -100, 1600, 900) << strip << std::optional<QRect>(screen)
                                      << std::optional<QPoint>(QPoint(1127, 50));
    // A screen left of and above the primary one.
    const QRect leftScreen(-1920, -200, 1920, 1080);
    QTest::newRow("negative screen, fits") << QRect(-1800, 100, 1600, 900) << strip << std::optional<QRect>(leftScreen)
                                           << std::optional<QPoint>(QPoint(-773, 150));
    // 1.5 x 383 = 574.5: truncated toward zero, not down.
    QTest::newRow("negative screen, both clamped")
        << QRect(-100, -300, 400, 300) << QSize(383, 452) << std::optional<QRect>(leftScreen)
        << std::optional<QPoint>(QPoint(-574, -150));
    QTest::newRow("no screen") << QRect(100, 100, 1600, 900) << strip << std::optional<QRect>()
                               << std::optional<QPoint>();
}

void TestLayoutGeometry::stripStartPos()
{
    QFETCH(QRect, engine);
    QFETCH(QSize, strip);
    QFETCH(std::optional<QRect>, screen);
    QTEST(CLayoutGeometry::stripStartPos(engine, strip, screen), "pos");
}

// The toolbar covers the bottom of the engine, two pixels wider than it.
void TestLayoutGeometry::toolbarRect()
{
    QCOMPARE(CLayoutGeometry::toolbarRect(QPoint(100, 200), QRect(2, 42, 1276, 716), 60), QRect(100, 898, 1278, 60));
    QCOMPARE(CLayoutGeometry::toolbarRect(QPoint(-1920, 0), QRect(2, 2, 1916, 1076), 120),
             QRect(-1920, 958, 1918, 120));
}

void TestLayoutGeometry::stripClearOfBand_data()
{
    QTest::addColumn<QRect>("strip");
    QTest::addColumn<QPoint>("clear");
    // The band: a toolbar from (100, 898) 1278 wide and 60 high.
    QTest::newRow("above the band") << QRect(1100, 500, 180, 300) << QPoint(1100, 500);
    QTest::newRow("touching it from above") << QRect(1100, 598, 180, 300) << QPoint(1100, 598);
    QTest::newRow("one row into it") << QRect(1100, 599, 180, 300) << QPoint(1100, 598);
    QTest::newRow("over its right end") << QRect(1200, 880, 180, 300) << QPoint(1200, 598);
    QTest::newRow("below it") << QRect(1100, 958, 180, 100) << QPoint(1100, 958);
    QTest::newRow("beside it") << QRect(1378, 880, 180, 100) << QPoint(1378, 880);
}

void TestLayoutGeometry::stripClearOfBand()
{
    QFETCH(QRect, strip);
    QFETCH(QPoint, clear);
    const QRect band(100, 898, 1278, 60);
    QCOMPARE(CLayoutGeometry::stripClearOfBand(strip, band), clear);
}

QTEST_APPLESS_MAIN(TestLayoutGeometry)
#include "tst_layoutgeometry.moc"
