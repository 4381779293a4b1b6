#pragma once

#include <memory>

#include <QPointer>
#include <QString>
#include <QWebEnginePage>

#include "views/base/cbasewgt.h"

class QTimer;
class QWebChannel;
class QWebEngineView;

namespace Ui {
class CWebBrowserWrapperForm;
}

namespace kd_app {
namespace views {

class CWebBrowserLoadFailedForm;
class CWebBrowserLoadingForm;
class CWebJsContext;
class CWebPageEngineCustomization;

// One of the server's web pages in an embedded browser: type 0 the
// meetings ("conferences"), 1 conference control ("confControl"), 2 the
// contacts ("contact"). A loading cover shows until the page's script calls
// the bridge's pageCreated(); 20 seconds without it show the failure cover
// with "Reload". The page talks to the program through the bridge object
// "qtWebObj" on its web channel.
class CWebBrowserWrapperForm : public CBaseWgt
{
    Q_OBJECT

public:
    static constexpr int kLoadTimeoutMs = 20000;
    static constexpr int kDelayedLoadMs = 500;

    CWebBrowserWrapperForm(int webBrowserUrlType, QWidget *parent);
    ~CWebBrowserWrapperForm() override;

    void loadStart();
    void loadUrl();
    QString getUrl() const;
    void createNewPage();
    void releaseCurrentPage();
    void updatePage();
    void stopWeb();
    void clearConfListCache();
    void updateDpi(double scale);

    // What the owners and tests read.
    int pageType() const { return m_webBrowserUrlType; }
    QWebEngineView *webView() const { return m_pWebView; }
    CWebPageEngineCustomization *currentPage() const;
    CWebJsContext *jsContext() const { return m_pJsContext; }
    CWebBrowserLoadingForm *loadingForm() const { return m_pLoadingForm; }
    CWebBrowserLoadFailedForm *loadFailedForm() const { return m_pLoadFailedForm; }
    bool isPageUsed() const { return m_bPageUsed; }
    bool isPageCreated() const { return m_bPageCreated; }
    double zoomFactor() const { return m_zoomFactor; }

signals:
    void sigJoinConf(const QString &confNumber, const QString &confPassword, bool isAudioOnly, const QString &peerName);

public slots:
    void slotOnLoginTokenChanged();
    void slotOnDisplayNameChanged();
    void slotOnPageCreated();
    void slotOnLoadStarted();
    void slotOnLoadProgress(int progress);
    void slotOnLoadFinished(bool ok);
    void slotOnTimerLoadUrl();
    void slotOnTimerTimeout();
    void slotReload();
    void slotOnLanguageChanged();
    void slotOnRenderProcessTerminated(QWebEnginePage::RenderProcessTerminationStatus terminationStatus, int exitCode);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void runScript(const QString &script);
    void logCachePath() const;

    std::unique_ptr<Ui::CWebBrowserWrapperForm> m_pUi;
    const int m_webBrowserUrlType;
    QString m_qstrPageName;
    QString m_qstrTypeUrl;
    QWebEngineView *m_pWebView = nullptr;
    QPointer<CWebPageEngineCustomization> m_pPage;
    QPointer<QWebChannel> m_pWebChannel;
    CWebJsContext *m_pJsContext = nullptr;
    CWebBrowserLoadingForm *m_pLoadingForm = nullptr;
    CWebBrowserLoadFailedForm *m_pLoadFailedForm = nullptr;
    std::unique_ptr<QTimer> m_pTimerLoadUrl;
    QTimer *m_pTimerTimeout = nullptr;
    bool m_showFlag = false;
    bool m_bPageUsed = false;
    bool m_bPageCreated = false;
    double m_zoomFactor = 1.0;
};

} // namespace views
} // namespace kd_app
