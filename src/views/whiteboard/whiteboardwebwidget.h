#pragma once

#include <memory>

#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

class QWebChannel;
class QWebEngineView;

namespace Ui {
class WhiteBoardWebWidget;
}

namespace kd_app {
namespace views {

class CWebPageEngineCustomization;
class WebWhiteBoardJSContext;

// The call's web whiteboard in an embedded browser. It loads the page of
// the call's whiteboard server with the call's whiteboard token on show,
// replaces a used page when asked, and turns each tool action into one
// command of the page. The page reports back through the bridge object
// "qtWebObj" (WebWhiteBoardJSContext).
class WhiteBoardWebWidget : public QWidget
{
    Q_OBJECT

public:
    explicit WhiteBoardWebWidget(QWidget *parent = nullptr);
    ~WhiteBoardWebWidget() override;

    // Whether this side sends the board: a sender starts the board once its
    // page is connected.
    void setIsSendWhiteBoard(bool send);
    // A used page is replaced by a fresh one; the next show loads it.
    void updatePage();
    // Drops the page; nothing loads until updatePage builds a fresh one.
    void releaseCurrentPage();

    // The page commands, one per tool action.
    void didChangeBackGround();
    void didChangeBlackBackGround();
    void didChangeWhiteBackGround();
    // The colour of the pen and of the marker alike.
    void didChangeNitePenColor(int r, int g, int b);
    void didChangeNitePenLineWight(int n);
    void didChangePencilLineWight(int n);
    void didUsePencil();
    void didUseNitePen();
    void didUseEraser();
    void didRevokeOperation();
    void didClearUp();
    void didDisconnectWhiteboard();

    // The page address for a whiteboard server ("scheme://host:port") and
    // token: "<server>/acs/index.html?jwt=<token>", the token percent-encoded.
    static QUrl pageUrl(const QString &server, const QString &token);

    // What the owner and tests read.
    QWebEngineView *webView() const { return m_pWebView; }
    CWebPageEngineCustomization *currentPage() const;
    WebWhiteBoardJSContext *jsContext() const { return m_pJsContext; }
    bool isSendWhiteBoard() const { return m_bIsSendWhiteBoard; }
    bool isBoardConnected() const { return m_bIsBoardConnected; }
    bool isPageUsed() const { return m_bPageUsed; }

signals:
    // A mouse button went down on the page.
    void sigPagePressed();

public slots:
    void slotBoardConnected();
    void slotOnLoadStarted();
    void slotOnLoadProgress(int progress);
    void slotOnLoadFinished(bool ok);

protected:
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QUrl getUrl() const;
    void loadUrl();
    void loadStart();
    void createNewPage();
    void didStartWhiteBoard();
    // Runs a command on the current page; without one it is only logged.
    void runCommand(const QString &command);
    // The view's size and place in the frame.
    void placeView();

    std::unique_ptr<Ui::WhiteBoardWebWidget> ui;
    bool m_bIsSendWhiteBoard = false;
    bool m_bIsSetStartBoard = false;
    bool m_bIsBoardConnected = false;
    bool m_bPageUsed = false;
    QWebEngineView *m_pWebView = nullptr;
    QPointer<QWebChannel> m_pWebChannel;
    WebWhiteBoardJSContext *m_pJsContext = nullptr;
    // The view's page, kept here: asking a view without one for its page
    // would make a default page behind our back.
    QPointer<CWebPageEngineCustomization> m_pPage;
};

} // namespace views
} // namespace kd_app
