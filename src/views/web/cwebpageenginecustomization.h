#pragma once

#include <QWebEnginePage>

class QWebEngineView;

namespace kd_app {
namespace views {

// The page of every embedded web view (the server's pages, the whiteboard),
// on the default profile without an HTTP cache. A certificate the browser does not trust is
// accepted only when its chain verifies for the page's host against the
// program's trusted authorities (the system's and "rootca.pem"), so the
// organisation's own servers load and nothing else does. Page console lines
// reach the log with the token of their address masked.
class CWebPageEngineCustomization : public QWebEnginePage
{
    Q_OBJECT

public:
    explicit CWebPageEngineCustomization(QObject *parent);
    ~CWebPageEngineCustomization() override;

    // Deletes every page still alive. The program's exit calls it before the
    // application object goes: the profile must outlive its pages.
    static void releaseAll();
    static int liveCount();
    // The default profile, without an HTTP cache.
    static QWebEngineProfile *uncachedProfile();

    // A new page shown in the view, with a web channel (a child of the page)
    // on which the page's scripts reach bridge under bridgeName.
    static CWebPageEngineCustomization *createInView(QWebEngineView *view, QObject *bridge, const QString &bridgeName);
    // Takes the page out of the view and deletes it with its channel; the
    // bridge stays. The view is hidden: a shown view without a page would
    // make a default page of its own.
    static void releaseFromView(QWebEngineView *view, CWebPageEngineCustomization *page, QObject *bridge);

protected:
    bool certificateError(const QWebEngineCertificateError &certificateError) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;

private:
    // Hides the page's view and unbinds them, so that the view holds no
    // page, and makes none, once this one is deleted.
    static void takeOutOfView(CWebPageEngineCustomization *page);
};

} // namespace views
} // namespace kd_app
