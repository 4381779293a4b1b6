#pragma once

// The sharing overlay on a real X server of its own, over a test "desktop"
// window, with or without a compositor (the two test programs that include
// this choose). Clicks and drags come from xdotool, as a user's would, and
// what the screen shows is read back from the root window.
//
// With KD_SHOTS_DIR set, the pictures of the root window taken along the
// way are kept there for looking at.

#include <memory>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include "statewait.h"
#include "alertanswerer.h"
#include "app/cwindowshape.h"
#include "clientfixture.h"
#include "custom_controls/button_share.h"
#include "custom_controls/qmenubutton.h"
#include "overlaypopups.h"
#include "xstacking.h"
#include "ownxvfb.h"
#include "views/annotation/colorwidget.h"
#include "views/annotation/paintlistwidget.h"
#include "views/annotation/paintwidget.h"
#include "views/annotation/selectbgcolorwidget.h"
#include "views/settings/ccontainersettingsformwidget.h"
#include "views/sharing/cbackgroundwidget.h"
#include "views/sharing/whiteboard.h"

namespace x11test {

using kd_app::views::CbackgroundWidget;
using kd_app::views::WhiteBoard;

const QColor kDesktopColour(40, 120, 200);
const QColor kPenRed(255, 0, 0);

// The windows below the overlay: one flat colour, and a count of the clicks
// that reached it.
class DesktopWindow : public QWidget
{
public:
    DesktopWindow() : QWidget(nullptr, Qt::FramelessWindowHint) {}

    int presses = 0;
    QPoint lastPress;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), kDesktopColour);
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        lastPress = event->globalPos();
    }
};

inline bool near(const QColor &a, const QColor &b, int tolerance = 4)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

inline QString describe(const QColor &colour)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

inline QImage rootPicture()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

inline bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

inline bool clickAt(const QPoint &global)
{
    return xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y()), "click", "1"});
}

inline bool dragAlong(const QPoint &from, const QPoint &to)
{
    QStringList arguments{"mousemove", "--sync", QString::number(from.x()), QString::number(from.y()),
                          "mousedown", "1"};
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const QPoint at = from + (to - from) * i / steps;
        arguments << "mousemove"
                  << "--sync" << QString::number(at.x()) << QString::number(at.y()) << "sleep"
                  << "0.02";
    }
    arguments << "mouseup"
              << "1";
    return xdotool(arguments);
}

// The X server's own idea of the window's input region.
inline QRegion inputRegionOf(WId window)
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    QRegion region;
    xcb_shape_get_rectangles_reply_t *reply = xcb_shape_get_rectangles_reply(
        connection, xcb_shape_get_rectangles(connection, xcb_window_t(window), XCB_SHAPE_SK_INPUT), nullptr);
    if (reply) {
        const xcb_rectangle_t *rectangles = xcb_shape_get_rectangles_rectangles(reply);
        for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(reply); ++i) {
            region += QRect(rectangles[i].x, rectangles[i].y, rectangles[i].width, rectangles[i].height);
        }
        free(reply);
    }
    xcb_disconnect(connection);
    return region;
}

template <typename T> T *child(QObject *parent, const char *name)
{
    T *found = parent->findChild<T *>(QLatin1String(name));
    if (!found) {
        qFatal("no child %s", name);
    }
    return found;
}

inline QPoint centreOf(QWidget *widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

class OverlayOnX11 : public QObject
{
    Q_OBJECT

public:
    explicit OverlayOnX11(bool compositor) : m_bCompositor(compositor) {}

private slots:
    void initTestCase()
    {
        QVERIFY(m_appData.isValid());
        m_control = fixture::startClient(m_appData);
        QVERIFY(m_control);
        QCOMPARE(kd_app::CWindowShape::isCompositorRunning(), m_bCompositor);
        m_desktop = std::make_unique<DesktopWindow>();
        m_desktop->setGeometry(QGuiApplication::primaryScreen()->geometry());
        m_desktop->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_desktop.get()));
    }

    void init()
    {
        m_board = new WhiteBoard(nullptr);
        m_overlay = new CbackgroundWidget(nullptr);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        WhiteBoard *board = m_board;
        CbackgroundWidget *overlay = m_overlay;
        connect(overlay, &CbackgroundWidget::changeBgColor, board,
                [board, overlay] { board->setBackgroundColor(overlay->getBgColor()); });
        connect(overlay, &CbackgroundWidget::stopDraw, board, &WhiteBoard::clearBackground);
        for (QWidget *window : {static_cast<QWidget *>(board), static_cast<QWidget *>(overlay)}) {
            window->setFixedSize(screen.size());
            window->move(screen.topLeft());
            window->showMaximized();
        }
        QVERIFY(QTest::qWaitForWindowExposed(m_overlay));
        QCOMPARE(m_overlay->isTranslucentMode(), m_bCompositor);
        QCOMPARE(m_board->isVisible(), m_bCompositor);
        // The engine's answer hides the management button of a user who
        // does not lead the meeting, and the toolbar narrows: the buttons
        // are where a click should go only after it.
        QTRY_VERIFY(child<QWidget>(m_overlay, "Button_Manager")->isHidden());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        // Clicks pass through once the input region is the toolbar's.
        QWidget *property = child<QWidget>(m_overlay, "PropertyWidget");
        const QRect toolbar(property->mapTo(m_overlay, QPoint()), property->size());
        QTRY_COMPARE(inputRegionOf(m_overlay->winId()), QRegion(toolbar));
        m_desktop->presses = 0;
    }

    void cleanup()
    {
        delete m_overlay;
        delete m_board;
        QCoreApplication::processEvents();
        xdotool({"mousemove", "--sync", "5", "900"});
    }

    void clicksPassBesideTheToolbar()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint beside(screen.center().x(), screen.center().y() + 100);
        QVERIFY(clickAt(beside));
        QTRY_COMPARE(m_desktop->presses, 1);
        QCOMPARE(m_desktop->lastPress, beside);
        // A click on the toolbar stays on the toolbar.
        QVERIFY(clickAt(centreOf(child<QWidget>(m_overlay, "Button_Draw"))));
        QTRY_VERIFY(m_overlay->isCatchingMouse());
        QCOMPARE(m_desktop->presses, 1);
        QVERIFY(m_overlay->toolMenu()->isVisible());
        QTRY_VERIFY(inputRegionOf(m_overlay->winId()).contains(beside));
        keepPicture("toolbar-drawing");
    }

    void dragDrawsAStroke()
    {
        startDrawingInRed();
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(dragAlong(middle - QPoint(150, 0), middle + QPoint(150, 0)));
        QTRY_VERIFY(near(colourAt(middle), kPenRed));
        QCOMPARE(m_desktop->presses, 0);
        // The rest of the screen shows the desktop (composited through the
        // overlay, or the still picture under the strokes).
        const QPoint away = middle + QPoint(0, 120);
        QVERIFY2(near(colourAt(away), kDesktopColour), qPrintable(describe(colourAt(away))));
        keepPicture("drawing");
    }

    void strokesStayAfterMouse()
    {
        startDrawingInRed();
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(dragAlong(middle - QPoint(150, 0), middle + QPoint(150, 0)));
        QTRY_VERIFY(near(colourAt(middle), kPenRed));
        m_overlay->slotOnMouse();
        QTRY_VERIFY(!inputRegionOf(m_overlay->winId()).contains(middle + QPoint(0, 60)));
        QTRY_VERIFY(near(colourAt(middle), kPenRed));
        const QPoint beside = middle + QPoint(0, 60);
        QVERIFY2(near(colourAt(beside), kDesktopColour), qPrintable(describe(colourAt(beside))));
        QVERIFY(clickAt(beside));
        QTRY_COMPARE(m_desktop->presses, 1);
        keepPicture("after-mouse");
    }

    void desktopShowsAroundFrameAndToolbar()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_VERIFY(near(colourAt(screen.center()), kDesktopColour));
        // The frame shows along the edges.
        QVERIFY2(near(colourAt(QPoint(screen.center().x(), screen.bottom() - 1)), QColor(67, 129, 255)),
                 qPrintable(describe(colourAt(QPoint(screen.center().x(), screen.bottom() - 1)))));
        // The toolbar's dark face, not the desktop, under the toolbar.
        QWidget *view = child<QWidget>(m_overlay, "horizontalView");
        const QPoint onToolbar = view->mapToGlobal(QPoint(8, view->height() / 2));
        QVERIFY2(!near(colourAt(onToolbar), kDesktopColour, 20), qPrintable(describe(colourAt(onToolbar))));
        // Beside the red tab, below the toolbar's face, the desktop shows.
        QWidget *tab = child<QWidget>(m_overlay, "shareBtnView");
        const QPoint besideTab = tab->mapToGlobal(QPoint(-20, tab->height() / 2));
        QVERIFY2(near(colourAt(besideTab), kDesktopColour), qPrintable(describe(colourAt(besideTab))));
        keepPicture("toolbar");
    }

    void foldingMovesTheInputRegion()
    {
        QWidget *property = child<QWidget>(m_overlay, "PropertyWidget");
        QWidget *tab = child<QWidget>(m_overlay, "shareBtnView");
        QVERIFY(
            xdotool({"mousemove", "--sync", QString::number(centreOf(tab).x()), QString::number(centreOf(tab).y())}));
        QTRY_VERIFY(!child<QWidget>(m_overlay, "horizontalView")->isVisible());
        QTRY_COMPARE(inputRegionOf(m_overlay->winId()),
                     QRegion(QRect(property->mapTo(m_overlay, QPoint()), QSize(property->width(), 15))));
        keepPicture("folded");
        QVERIFY(xdotool({"mousemove", "--sync", "5", "900"}));
        QVERIFY(
            xdotool({"mousemove", "--sync", QString::number(centreOf(tab).x()), QString::number(centreOf(tab).y())}));
        QTRY_VERIFY(child<QWidget>(m_overlay, "horizontalView")->isVisible());
        QTRY_COMPARE(inputRegionOf(m_overlay->winId()),
                     QRegion(QRect(property->mapTo(m_overlay, QPoint()), QSize(property->width(), 69))));
    }

    // The pointer comes to rest on the folded tab, which unfolds the
    // toolbar: the click meant for the tab presses no button that now lies
    // under it; the next one, meant for that button, does.
    void unfoldingClickPressesNoButton()
    {
        // A leader's toolbar, with Management.
        m_overlay->slotConfMngtVisible(true);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        int faceClicks = 0;
        connect(m_overlay, &CbackgroundWidget::sigClickManagerButton, this, [&faceClicks] { ++faceClicks; });
        for (QAbstractButton *button : child<QWidget>(m_overlay, "horizontalView")->findChildren<QAbstractButton *>()) {
            connect(button, &QAbstractButton::clicked, this, [&faceClicks] { ++faceClicks; });
        }
        QWidget *face = child<QWidget>(m_overlay, "horizontalView");
        QWidget *tab = child<QWidget>(m_overlay, "shareBtnView");
        QVERIFY(
            xdotool({"mousemove", "--sync", QString::number(centreOf(tab).x()), QString::number(centreOf(tab).y())}));
        QTRY_VERIFY(!face->isVisible());
        // Folded once the layouts have settled.
        QTRY_COMPARE(inputRegionOf(m_overlay->winId()).boundingRect().height(), 15);
        QVERIFY(xdotool({"mousemove", "--sync", "5", "900"}));
        const QPoint onTab = centreOf(tab);
        QVERIFY(xdotool({"mousemove", "--sync", QString::number(onTab.x()), QString::number(onTab.y())}));
        QTRY_VERIFY(face->isVisible());
        QTRY_VERIFY(child<QWidget>(m_overlay, "Button_Manager")
                        ->geometry()
                        .contains(child<QWidget>(m_overlay, "Button_Manager")->parentWidget()->mapFromGlobal(onTab)));

        QVERIFY(clickAt(onTab));
        // A click on the desktop after it: once that arrives, so has the first.
        QVERIFY(clickAt(QPoint(5, 900)));
        QTRY_COMPARE(m_desktop->presses, 1);
        QCOMPARE(faceClicks, 0);
        QVERIFY(face->isVisible());

        QVERIFY(clickAt(onTab));
        QTRY_COMPARE(faceClicks, 1);
    }

    void popupsStayAboveTheOverlay()
    {
        m_overlay->showPaintWindow();
        m_overlay->onBtnSelectPenClicked();
        m_overlay->showSetting(true);
        QWidget *popups[] = {m_overlay->toolMenu(), m_overlay->colorPicker(), m_overlay->settingsPopup()};
        for (QWidget *popup : popups) {
            QVERIFY(QTest::qWaitForWindowExposed(popup));
        }
        QTRY_VERIFY(m_overlay->screenPicture().isNull() == m_bCompositor);
        const QVector<WId> order = stackingOrder();
        const int overlayAt = order.indexOf(m_overlay->winId());
        QVERIFY(overlayAt >= 0);
        for (QWidget *popup : popups) {
            QVERIFY2(order.indexOf(popup->winId()) > overlayAt, popup->metaObject()->className());
            QCOMPARE(transientFor(popup->winId()), m_overlay->winId());
        }
        // A picker opened later comes up above the others too.
        m_overlay->onBtnBgClicked();
        QVERIFY(QTest::qWaitForWindowExposed(m_overlay->backgroundPicker()));
        QVERIFY(stackingOrder().indexOf(m_overlay->backgroundPicker()->winId()) > overlayAt);
        keepPicture("popups");
    }

    // The device menus and the volume pop-up close when another window takes
    // the activation, and stay while the click lands on them.
    void popupsCloseWhenDeactivated_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("microphone menu") << "m_pBtnSelectMicUp";
        QTest::newRow("camera menu") << "m_pBtnSelectCameraUp";
        QTest::newRow("volume") << "m_pBtnVolume";
    }

    void popupsCloseWhenDeactivated()
    {
        QFETCH(QString, button);
        CbackgroundWidget *overlay = m_overlay;
        const auto popup = [overlay, &button] { return popupOfButton(overlay, button); };
        QVERIFY(clickAt(centreOf(child<QWidget>(m_overlay, qPrintable(button)))));
        QTRY_VERIFY(popup());
        QPointer<QWidget> opened = popup();
        QVERIFY(QTest::qWaitForWindowExposed(opened));
        QTRY_VERIFY(opened->isActiveWindow());
        keepPicture("popup-" + button);

        // A click on the pop-up itself keeps it.
        QVERIFY(clickAt(opened->geometry().topLeft() + QPoint(4, 4)));
        QTest::qWait(200);
        QVERIFY(opened && opened->isVisible());
        QCOMPARE(popup(), opened.data());

        // A click on the desktop activates that window: the pop-up hears of
        // it and closes.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(clickAt(QPoint(screen.center().x(), screen.center().y() + 150)));
        QTRY_COMPARE(m_desktop->presses, 1);
        QTRY_VERIFY(!popup());
        QVERIFY(!m_overlay->isPopupShown());
        QTRY_VERIFY(!opened);
    }

    void engineFrameCarriesTheStrokes()
    {
        using namespace fixture;
        const bool ringtone = provideRingtone();
        m_control->addAccount(account("sharer", "pass", "Sharer", 601));
        kd::sdk::KDModelMeeting meeting;
        meeting.number = "88001";
        meeting.name = "Sharing";
        m_control->addMeeting(meeting);
        QVERIFY(signInAs(m_control, QStringLiteral("sharer"), QStringLiteral("pass")));
        CCallController::getInstance().dialOut(QStringLiteral("88001"), QString(), true, QString());
        QTRY_COMPARE(CCallController::getInstance().getCallStatus(), enums::Connected);

        CKDSdkManager *sdk = CKDSdkManager::getInstance();
        const std::vector<kd::engine::KDContentSourceInfo> sources = sdk->getContentSourceList();
        QVERIFY(!sources.empty());
        QVERIFY(sdk->setLocalContentSource(sources.front()));
        QVERIFY(sdk->sendContent());

        startDrawingInRed();
        const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
        QVERIFY(dragAlong(middle - QPoint(150, 0), middle + QPoint(150, 0)));
        QTRY_VERIFY(near(colourAt(middle), kPenRed));
        const uint64_t drawn = m_control->contentFramesCaptured();
        QTRY_VERIFY(m_control->contentFramesCaptured() >= drawn + 2);
        const kd::sdk::KDContentFrame frame = m_control->latestContentFrame();
        const QImage picture(frame.pixels.data(), frame.width, frame.height, frame.bytesPerLine,
                             QImage::Format(frame.format));
        QCOMPARE(picture.size(), QGuiApplication::primaryScreen()->geometry().size());
        QVERIFY2(near(picture.pixelColor(middle), kPenRed), qPrintable(describe(picture.pixelColor(middle))));
        const QPoint away = middle + QPoint(0, 120);
        QVERIFY2(near(picture.pixelColor(away), kDesktopColour), qPrintable(describe(picture.pixelColor(away))));

        resetClient(m_control);
        QVERIFY(m_control->contentFramesCaptured() > 0);
        if (ringtone) {
            QFile::remove(CCallController::getRingtonePath());
        }
    }

private:
    void startDrawingInRed()
    {
        QVERIFY(clickAt(centreOf(child<QWidget>(m_overlay, "Button_Draw"))));
        QTRY_VERIFY(m_overlay->isCatchingMouse());
        m_overlay->onBtnSelectPenClicked();
        QTest::mouseClick(child<QPushButton>(m_overlay->colorPicker(), "color_red"), Qt::LeftButton);
        m_overlay->onBtnPenClicked();
        QCOMPARE(child<PaintWidget>(m_overlay, "paintWidget")->pen().color(), kPenRed);
        // Without a compositor the still picture is in place before drawing.
        QTRY_VERIFY(m_bCompositor || !m_overlay->screenPicture().isNull());
        QTRY_VERIFY(inputRegionOf(m_overlay->winId()).contains(QGuiApplication::primaryScreen()->geometry().center()));
    }

    QColor colourAt(const QPoint &global) const { return rootPicture().pixelColor(global); }

    void keepPicture(const QString &name) const
    {
        const QString folder = qEnvironmentVariable("KD_SHOTS_DIR");
        if (folder.isEmpty()) {
            return;
        }
        QDir().mkpath(folder);
        QCoreApplication::processEvents();
        const QString scale = qEnvironmentVariableIsSet("QT_FONT_DPI") ? QStringLiteral("s2") : QStringLiteral("s1");
        rootPicture().save(QDir(folder).filePath(
            QStringLiteral("overlay_%1_%2_%3.png").arg(m_bCompositor ? "compositor" : "nocompositor", name, scale)));
    }

    const bool m_bCompositor;
    QTemporaryDir m_appData;
    kd::sdk::IEngineControl *m_control = nullptr;
    std::unique_ptr<DesktopWindow> m_desktop;
    QPointer<CbackgroundWidget> m_overlay;
    QPointer<WhiteBoard> m_board;
};

} // namespace x11test

// The display's scale stays 1 unless a run for pictures asks for another
// through QT_FONT_DPI.
#define KD_OVERLAY_ON_X11_MAIN(compositorRunning)                                                                      \
    int main(int argc, char *argv[])                                                                                   \
    {                                                                                                                  \
        OwnXvfb::Options options;                                                                                      \
        options.compositor = compositorRunning;                                                                        \
        OwnXvfb xvfb(options);                                                                                         \
        if (!xvfb.ok()) {                                                                                              \
            fprintf(stderr, "FAIL: no private X server: %s\n", xvfb.error().c_str());                                  \
            return 1;                                                                                                  \
        }                                                                                                              \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, !qEnvironmentVariableIsSet("QT_FONT_DPI"));                                  \
        x11test::OverlayOnX11 test(compositorRunning);                                                                 \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
