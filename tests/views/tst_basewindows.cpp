#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QLineEdit>
#include <QtTest>

#include "views/base/cbasedlg.h"
#include "views/base/cbasewgt.h"
#include "views/base/cdisplayscale.h"
#include "screendpi.h"

using kd_app::views::CBaseDlg;
using kd_app::views::CBaseWgt;
using kd_app::views::CDisplayScale;

namespace {

class TitledDlg : public CBaseDlg
{
public:
    explicit TitledDlg(int titleHeight) : CBaseDlg(nullptr)
    {
        m_nTitleHeight = titleHeight;
        resize(300, 200);
    }

    int dpiChanges = 0;
    bool dragging() const { return m_bMoving; }

    using CBaseDlg::clearDefaultButtons;

protected:
    void onDpiChanged() override { ++dpiChanges; }
};

class CountingWgt : public CBaseWgt
{
public:
    explicit CountingWgt(QWidget *parent) : CBaseWgt(parent) {}

    int dpiChanges = 0;

protected:
    void onDpiChanged() override { ++dpiChanges; }
};

void sendMouse(QWidget *window, QEvent::Type type, const QPoint &global, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, window->mapFromGlobal(global), global, button, held, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

// Press at `from`, move the mouse by `step` twice, release: a user dragging
// whatever lies under the mouse. The mouse keeps its place on the screen
// while the window moves under it.
void drag(QWidget *window, const QPoint &from, const QPoint &step)
{
    const QPoint start = window->mapToGlobal(from);
    sendMouse(window, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, start + step, Qt::NoButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseMove, start + step + step, Qt::NoButton, Qt::LeftButton);
    sendMouse(window, QEvent::MouseButtonRelease, start + step + step, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestBaseWindows : public QObject
{
    Q_OBJECT

private slots:
    void factorFromDpi_data();
    void factorFromDpi();
    void dpiChangesReachWindowOnlyWhenFactorChanges();
    void firstShowScalesAndCentres();
    void screenDpiChangeRescalesShownWindows();
    void dragByTitle_data();
    void dragByTitle();
    void maximisedDialogDoesNotDrag();
    void panelIsNotDraggable();
    void escapeIsSwallowed();
    void returnPressesNoButtonAfterClearing();
    void panelIgnoresParent();
    void styleSheetFilesPerFactor_data();
    void styleSheetFilesPerFactor();
    void placeholdersStayPaleUnderSheets();
    void oversizedWindowKeepsTitleOnScreen();
};

void TestBaseWindows::factorFromDpi_data()
{
    QTest::addColumn<unsigned int>("dpi");
    QTest::addColumn<double>("factor");
    QTest::newRow("95") << 95u << 1.0;
    QTest::newRow("96") << 96u << 1.0;
    QTest::newRow("143") << 143u << 1.0;
    QTest::newRow("144") << 144u << 1.5;
    QTest::newRow("191") << 191u << 1.5;
    QTest::newRow("192") << 192u << 2.0;
    QTest::newRow("300") << 300u << 2.0;
}

void TestBaseWindows::factorFromDpi()
{
    QFETCH(unsigned int, dpi);
    QFETCH(double, factor);
    QCOMPARE(CDisplayScale::factorForDpi(dpi), factor);
    TitledDlg dlg(0);
    dlg.updateDpi(dpi);
    QCOMPARE(dlg.stretchFactor(), factor);
    CountingWgt wgt(nullptr);
    wgt.updateDpi(dpi);
    QCOMPARE(wgt.stretchFactor(), factor);
}

void TestBaseWindows::dpiChangesReachWindowOnlyWhenFactorChanges()
{
    TitledDlg dlg(0);
    CountingWgt wgt(nullptr);
    const QList<QPair<unsigned int, int>> steps = {{144, 1}, {144, 1}, {192, 2}, {150, 3}, {160, 3}, {96, 4}};
    for (const auto &step : steps) {
        dlg.updateDpi(step.first);
        wgt.updateDpi(step.first);
        QCOMPARE(dlg.dpiChanges, step.second);
        QCOMPARE(wgt.dpiChanges, step.second);
    }
    QCOMPARE(dlg.stretchFactor(), 1.0);
}

void TestBaseWindows::firstShowScalesAndCentres()
{
    TitledDlg dlg(0);
    dlg.move(0, 0);
    QCOMPARE(dlg.stretchFactor(), 0.0);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QCOMPARE(dlg.dpiChanges, 1);
    QVERIFY(dlg.stretchFactor() >= 1.0);
    const QRect available = dlg.getDisplayScreen()->availableGeometry();
    QCOMPARE(dlg.geometry().center().x(), available.center().x());

    // Later shows keep the place the user gave the window.
    dlg.hide();
    dlg.move(available.topLeft() + QPoint(5, 5));
    dlg.show();
    QCOMPARE(dlg.pos(), available.topLeft() + QPoint(5, 5));
    QCOMPARE(dlg.dpiChanges, 1);
}

void TestBaseWindows::screenDpiChangeRescalesShownWindows()
{
    const qreal originalDpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    TitledDlg dlg(0);
    CountingWgt wgt(nullptr);
    dlg.show();
    wgt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(QTest::qWaitForWindowExposed(&wgt));
    QCOMPARE(dlg.dpiChanges, 1);

    setPrimaryScreenDpi(192);
    QCOMPARE(dlg.stretchFactor(), 2.0);
    QCOMPARE(wgt.stretchFactor(), 2.0);
    QCOMPARE(dlg.dpiChanges, 2);
    QCOMPARE(wgt.dpiChanges, 2);

    setPrimaryScreenDpi(originalDpi);
    QCOMPARE(dlg.stretchFactor(), 1.0);
    QCOMPARE(dlg.dpiChanges, 3);
}

void TestBaseWindows::dragByTitle_data()
{
    QTest::addColumn<int>("titleHeight");
    QTest::addColumn<QPoint>("pressAt");
    QTest::addColumn<QPoint>("step");
    QTest::addColumn<bool>("moves");
    // Whether a drag starts is decided by where the first move lands.
    QTest::newRow("in title") << 30 << QPoint(100, 10) << QPoint(2, 1) << true;
    QTest::newRow("along title's last row") << 30 << QPoint(100, 30) << QPoint(2, 0) << true;
    QTest::newRow("from last row downwards") << 30 << QPoint(100, 30) << QPoint(2, 1) << false;
    QTest::newRow("below title") << 30 << QPoint(100, 31) << QPoint(2, -1) << true;
    QTest::newRow("well below title") << 30 << QPoint(100, 60) << QPoint(2, 1) << false;
    QTest::newRow("no title, top row") << 0 << QPoint(100, 0) << QPoint(2, 0) << true;
    QTest::newRow("no title, second row") << 0 << QPoint(100, 1) << QPoint(2, 0) << false;
    QTest::newRow("right edge band") << 200 << QPoint(293, 10) << QPoint(2, 1) << false;
    QTest::newRow("bottom edge band") << 300 << QPoint(100, 194) << QPoint(2, 1) << false;
}

void TestBaseWindows::dragByTitle()
{
    QFETCH(int, titleHeight);
    QFETCH(QPoint, pressAt);
    QFETCH(QPoint, step);
    QFETCH(bool, moves);
    TitledDlg dlg(titleHeight);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QPoint start = dlg.pos();
    QSignalSpy spy(&dlg, &CBaseDlg::sigDragPosChanged);

    drag(&dlg, pressAt, step);

    QCOMPARE(dlg.dragging(), false);
    if (!moves) {
        QCOMPARE(dlg.pos(), start);
        QCOMPARE(spy.count(), 0);
        return;
    }
    QCOMPARE(dlg.pos(), start + step + step);
    // One report per move step and one for the release, each the distance
    // moved since the previous one, so a follower can move along.
    QPoint total;
    for (const QList<QVariant> &args : spy) {
        QCOMPARE(args.at(0).value<QWidget *>(), &dlg);
        total += QPoint(args.at(1).toInt(), args.at(2).toInt());
    }
    QCOMPARE(spy.count(), 3);
    QCOMPARE(QPoint(spy.at(0).at(1).toInt(), spy.at(0).at(2).toInt()), step);
    QCOMPARE(total, step + step);
}

void TestBaseWindows::maximisedDialogDoesNotDrag()
{
    TitledDlg dlg(30);
    dlg.showMaximized();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    const QPoint start = dlg.pos();
    drag(&dlg, QPoint(100, 10), QPoint(7, 4));
    QCOMPARE(dlg.pos(), start);
}

void TestBaseWindows::panelIsNotDraggable()
{
    CountingWgt wgt(nullptr);
    wgt.resize(300, 200);
    wgt.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wgt));
    const QPoint start = wgt.pos();
    drag(&wgt, QPoint(100, 0), QPoint(7, 4));
    QCOMPARE(wgt.pos(), start);
}

void TestBaseWindows::escapeIsSwallowed()
{
    TitledDlg dlg(30);
    QSignalSpy rejected(&dlg, &QDialog::rejected);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QCOMPARE(rejected.count(), 0);
}

void TestBaseWindows::returnPressesNoButtonAfterClearing()
{
    TitledDlg dlg(30);
    auto *layout = new QVBoxLayout(&dlg);
    auto *nested = new QWidget(&dlg);
    auto *button = new QPushButton("Go", nested);
    button->setDefault(true);
    layout->addWidget(nested);
    QSignalSpy clicked(button, &QPushButton::clicked);
    dlg.clearDefaultButtons();
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::keyClick(&dlg, Qt::Key_Return);
    QCOMPARE(clicked.count(), 0);
    QVERIFY(!button->isDefault());
    QVERIFY(!button->autoDefault());
}

void TestBaseWindows::panelIgnoresParent()
{
    QWidget host;
    CountingWgt wgt(&host);
    QVERIFY(wgt.isWindow());
    QCOMPARE(wgt.parentWidget(), nullptr);
}

void TestBaseWindows::styleSheetFilesPerFactor_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("variant");
    QTest::newRow("1") << 1.0 << ":/resources/qss/alert-dlg-1x.qss";
    QTest::newRow("1.5") << 1.5 << ":/resources/qss/alert-dlg-1.5x.qss";
    QTest::newRow("2") << 2.0 << ":/resources/qss/alert-dlg-2x.qss";
}

void TestBaseWindows::styleSheetFilesPerFactor()
{
    QFETCH(double, factor);
    QFETCH(QString, variant);
    const QStringList files = CDisplayScale::styleSheetFiles(":/resources/qss/alert-dlg", factor);
    // The window's own files come last, after the shared theme, so they win.
    QCOMPARE(files.mid(files.size() - 2), QStringList({":/resources/qss/alert-dlg.qss", variant}));

    TitledDlg dlg(0);
    dlg.updateDpi(static_cast<unsigned int>(96 * factor));
    dlg.setStyleSheetByScale(":/resources/qss/alert-dlg");
    QFile file(variant);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(dlg.styleSheet().endsWith(QString::fromUtf8(file.readAll())));
}

void TestBaseWindows::placeholdersStayPaleUnderSheets()
{
    TitledDlg dlg(0);
    auto *edit = new QLineEdit(&dlg);
    edit->setPlaceholderText("Server");
    dlg.setStyleSheetByScale(":/resources/qss/login-info-form");
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    // The sheet gives line edits a dark text colour; their hint must not look typed-in.
    const QPalette palette = edit->palette();
    QVERIFY(palette.color(QPalette::PlaceholderText) != palette.color(QPalette::Text));
    QVERIFY(palette.color(QPalette::PlaceholderText).lightness() > palette.color(QPalette::Text).lightness() + 60);
}

void TestBaseWindows::oversizedWindowKeepsTitleOnScreen()
{
    TitledDlg dlg(0);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    dlg.resize(available.width() + 200, available.height() + 200);
    CDisplayScale::centerOn(&dlg, screen);
    QCOMPARE(dlg.pos(), available.topLeft());

    dlg.resize(available.width() / 2, available.height() / 2);
    CDisplayScale::centerOn(&dlg, screen);
    QCOMPARE(dlg.geometry().center(), available.center());
}

QTEST_MAIN(TestBaseWindows)
#include "tst_basewindows.moc"
