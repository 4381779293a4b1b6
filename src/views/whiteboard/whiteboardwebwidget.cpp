#include "whiteboardwebwidget.h"

#include <QChildEvent>
#include <QResizeEvent>
#include <QUrlQuery>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "helpers/clogformat.h"
#include "models/ccallcontroller.h"
#include "ui_whiteboardwebwidget.h"
#include "views/web/cwebpageenginecustomization.h"
#include "views/whiteboard/webwhiteboardjscontext.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;
using models::CCallController;

namespace {

const char kBridgeName[] = "qtWebObj";
// From this width on the board keeps its size and stands centred.
constexpr int kMaxViewWidth = 1920;

} // namespace

WhiteBoardWebWidget::WhiteBoardWebWidget(QWidget *parent)
    : QWidget(parent), ui(std::make_unique<Ui::WhiteBoardWebWidget>())
{
    ui->setupUi(this);
    // Placed by placeView, outside any layout: a layout would make the
    // view's fixed size the widget's minimum, and the window could not shrink.
    m_pWebView = new QWebEngineView(ui->webBrowserFrame);
    m_pWebView->setContextMenuPolicy(Qt::NoContextMenu);
    m_pJsContext = new WebWhiteBoardJSContext(this);
    ui->webBrowserFrame->installEventFilter(this);
    // The page takes the mouse in a widget the view makes for it later.
    m_pWebView->installEventFilter(this);
    createNewPage();
    connect(m_pJsContext, &WebWhiteBoardJSContext::sigBoardConnected, this, &WhiteBoardWebWidget::slotBoardConnected);
}

WhiteBoardWebWidget::~WhiteBoardWebWidget()
{
    KD_LOG << "~WhiteBoardWebWidget";
    ui->webBrowserFrame->removeEventFilter(this);
    m_pWebView->removeEventFilter(this);
    disconnect(m_pJsContext, &WebWhiteBoardJSContext::sigBoardConnected, this,
               &WhiteBoardWebWidget::slotBoardConnected);
    releaseCurrentPage();
}

CWebPageEngineCustomization *WhiteBoardWebWidget::currentPage() const
{
    return m_pPage;
}

void WhiteBoardWebWidget::setIsSendWhiteBoard(bool send)
{
    KD_LOG << "send:" << send;
    m_bIsSendWhiteBoard = send;
    m_bIsSetStartBoard = false;
    m_bIsBoardConnected = false;
}

// ---- page life cycle -----------------------------------------------------------

QUrl WhiteBoardWebWidget::pageUrl(const QString &server, const QString &token)
{
    QUrl url(server);
    url.setPath(url.path() + QStringLiteral("/acs/index.html"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("jwt"), QString::fromLatin1(QUrl::toPercentEncoding(token)));
    url.setQuery(query);
    return url;
}

QUrl WhiteBoardWebWidget::getUrl() const
{
    const CCallController &call = CCallController::getInstance();
    const QString token = call.getAcsJsonWebToken();
    const QUrl url = pageUrl(call.getAcsServer(), token);
    KD_LOG << "WhiteBoardWebWidget url:" << CLogFormat::maskedUrl(url);
    KD_LOG << "getAcsJsonWebToken:" << CLogFormat::masked(token);
    return url;
}

void WhiteBoardWebWidget::loadUrl()
{
    // The profile keeps no HTTP cache (CWebPageEngineCustomization): every
    // load asks the server, without clearing a cache that other pages'
    // running requests still use.
    KD_LOG << "begin to load url, cache:" << m_pPage->profile()->httpCacheType();
    m_pPage->load(getUrl());
}

void WhiteBoardWebWidget::loadStart()
{
    if (m_bPageUsed) {
        KD_LOG << "Page used and create new page";
        createNewPage();
    }
    if (!m_pWebChannel) {
        KD_LOG << "m_pWebChannel is null";
        createNewPage();
    }
    m_bIsBoardConnected = false;
    m_bPageUsed = true;
    loadUrl();
}

void WhiteBoardWebWidget::updatePage()
{
    // A page released before it ever loaded leaves nothing to show either.
    if (!m_bPageUsed && m_pWebChannel) {
        KD_LOG << "page not used and do not create new page";
        return;
    }
    KD_LOG << "updatePage";
    createNewPage();
    m_bIsBoardConnected = false;
    m_bPageUsed = false;
}

void WhiteBoardWebWidget::createNewPage()
{
    releaseCurrentPage();
    m_pPage = CWebPageEngineCustomization::createInView(m_pWebView, m_pJsContext, QLatin1String(kBridgeName));
    m_pWebChannel = m_pPage->webChannel();
    m_pPage->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    connect(m_pPage, &QWebEnginePage::loadStarted, this, &WhiteBoardWebWidget::slotOnLoadStarted);
    connect(m_pPage, &QWebEnginePage::loadProgress, this, &WhiteBoardWebWidget::slotOnLoadProgress);
    connect(m_pPage, &QWebEnginePage::loadFinished, this, &WhiteBoardWebWidget::slotOnLoadFinished);
    m_pWebView->show();
    KD_LOG << "Cache path:" << m_pPage->profile()->cachePath();
}

void WhiteBoardWebWidget::releaseCurrentPage()
{
    KD_LOG << "m_bPageUsed:" << m_bPageUsed << ", page:" << m_pPage.data() << ", channel:" << m_pWebChannel.data();
    if (!m_pWebChannel) {
        return;
    }
    KD_LOG << "release page";
    if (m_pPage) {
        disconnect(m_pPage, nullptr, this, nullptr);
    }
    CWebPageEngineCustomization::releaseFromView(m_pWebView, m_pPage, m_pJsContext);
    m_pWebChannel = nullptr;
}

// ---- page commands -------------------------------------------------------------

void WhiteBoardWebWidget::runCommand(const QString &command)
{
    if (!m_pPage) {
        KD_WARN << "no page, not run:" << command;
        return;
    }
    m_pPage->runJavaScript(command);
}

void WhiteBoardWebWidget::didChangeBackGround()
{
    KD_LOG << "didChangeBackGround";
    runCommand(QStringLiteral("window.changeBackground('img')"));
}

void WhiteBoardWebWidget::didChangeBlackBackGround()
{
    KD_LOG << "didChangeBlackBackGround";
    runCommand(QStringLiteral("window.changeBackground('black')"));
}

void WhiteBoardWebWidget::didChangeWhiteBackGround()
{
    KD_LOG << "didChangeWhiteBackGround";
    runCommand(QStringLiteral("window.changeBackground('white')"));
}

void WhiteBoardWebWidget::didChangeNitePenColor(int r, int g, int b)
{
    KD_LOG << "didChangeNitePenColor r:" << r << ", g:" << g << ", b:" << b;
    runCommand(QStringLiteral("window.changeColor('{\"r\":%1,\"g\":%2,\"b\":%3,\"a\":1}')").arg(r).arg(g).arg(b));
}

void WhiteBoardWebWidget::didChangeNitePenLineWight(int n)
{
    KD_LOG << "didChangeNitePenLineWight:" << n;
    runCommand(QStringLiteral("window.lineWight(%1)").arg(n));
}

void WhiteBoardWebWidget::didChangePencilLineWight(int n)
{
    KD_LOG << "didChangePencilLineWight:" << n;
    runCommand(QStringLiteral("window.lineWight(%1)").arg(n));
}

void WhiteBoardWebWidget::didUsePencil()
{
    KD_LOG << "didUsePencil";
    runCommand(QStringLiteral("window.pencil('pencil')"));
}

void WhiteBoardWebWidget::didUseNitePen()
{
    KD_LOG << "didUseNitePen";
    runCommand(QStringLiteral("window.pencil('nitePen')"));
}

void WhiteBoardWebWidget::didUseEraser()
{
    KD_LOG << "didUseEraser";
    runCommand(QStringLiteral("window.eraser()"));
}

void WhiteBoardWebWidget::didRevokeOperation()
{
    KD_LOG << "didRevokeOperation";
    runCommand(QStringLiteral("window.undoLastOperation()"));
}

void WhiteBoardWebWidget::didClearUp()
{
    KD_LOG << "didClearUp";
    runCommand(QStringLiteral("window.clearProject()"));
}

void WhiteBoardWebWidget::didDisconnectWhiteboard()
{
    KD_LOG << "didDisconnectWhiteboard";
    runCommand(QStringLiteral("window.disconnect()"));
}

void WhiteBoardWebWidget::didStartWhiteBoard()
{
    KD_LOG << "didStartWhiteBoard";
    runCommand(QStringLiteral("window.startBoard()"));
}

// ---- page events ---------------------------------------------------------------

void WhiteBoardWebWidget::slotBoardConnected()
{
    KD_LOG << "m_bIsSendWhiteBoard:" << m_bIsSendWhiteBoard << ", m_bIsSetStartBoard:" << m_bIsSetStartBoard;
    // A sender starting again in the same meeting goes on with the meeting's
    // board: clearing it here would wipe everyone's strokes.
    if (m_bIsSendWhiteBoard && !m_bIsSetStartBoard) {
        m_bIsSetStartBoard = true;
        didStartWhiteBoard();
    }
    m_bIsBoardConnected = true;
    KD_LOG << "m_bIsBoardConnected:" << m_bIsBoardConnected;
}

void WhiteBoardWebWidget::slotOnLoadStarted()
{
    KD_LOG << "loadStarted";
}

void WhiteBoardWebWidget::slotOnLoadProgress(int progress)
{
    KD_LOG << "progress:" << progress;
}

void WhiteBoardWebWidget::slotOnLoadFinished(bool ok)
{
    KD_LOG << "ok:" << ok;
}

// ---- widget --------------------------------------------------------------------

void WhiteBoardWebWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    KD_LOG << "m_bIsBoardConnected:" << m_bIsBoardConnected;
    if (!m_pWebChannel) {
        KD_WARN << "m_pWebChannel is null and can not load url";
        return;
    }
    if (m_bIsBoardConnected) {
        KD_LOG << "board has been connected";
        return;
    }
    loadStart();
}

void WhiteBoardWebWidget::hideEvent(QHideEvent *event)
{
    KD_LOG << "hide";
    QWidget::hideEvent(event);
}

void WhiteBoardWebWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeView();
}

bool WhiteBoardWebWidget::eventFilter(QObject *watched, QEvent *event)
{
    // The frame takes its size from the layout, at times after this widget's own resize.
    if (watched == ui->webBrowserFrame && event->type() == QEvent::Resize) {
        placeView();
    }
    if (watched == m_pWebView && event->type() == QEvent::ChildAdded) {
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType()) {
            child->installEventFilter(this);
        }
    }
    if (watched != m_pWebView && watched->parent() == m_pWebView && event->type() == QEvent::MouseButtonPress) {
        emit sigPagePressed();
    }
    return QWidget::eventFilter(watched, event);
}

void WhiteBoardWebWidget::placeView()
{
    // Narrower than the board's full width the view fills the frame; wider,
    // it keeps that width and stands centred.
    const int width = ui->webBrowserFrame->width();
    const QRect inside = ui->webBrowserFrame->contentsRect();
    const QSize view(width < kMaxViewWidth ? width - 2 : kMaxViewWidth, inside.height());
    m_pWebView->setFixedSize(view);
    m_pWebView->move(inside.left() + (inside.width() - view.width()) / 2, inside.top());
}

} // namespace views
} // namespace kd_app
