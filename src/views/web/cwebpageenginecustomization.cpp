#include "cwebpageenginecustomization.h"

#include <QSet>
#include <QWebChannel>
#include <QWebEngineCertificateError>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include "helpers/clogformat.h"
#include "models/ccertificatechain.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;

namespace {

QSet<CWebPageEngineCustomization *> &livePages()
{
    static QSet<CWebPageEngineCustomization *> pages;
    return pages;
}

} // namespace

// The server's pages change with every sign-in and meeting: a cached answer
// (a failed one included) must never stand in for the server's. Clearing the
// shared cache before each load instead breaks the requests other pages
// have running at that moment.
QWebEngineProfile *CWebPageEngineCustomization::uncachedProfile()
{
    QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
    if (profile->httpCacheType() != QWebEngineProfile::NoCache) {
        profile->setHttpCacheType(QWebEngineProfile::NoCache);
    }
    return profile;
}

CWebPageEngineCustomization::CWebPageEngineCustomization(QObject *parent) : QWebEnginePage(uncachedProfile(), parent)
{
    livePages().insert(this);
}

CWebPageEngineCustomization::~CWebPageEngineCustomization()
{
    livePages().remove(this);
    KD_LOG << "~CWebPageEngineCustomization";
}

void CWebPageEngineCustomization::releaseAll()
{
    KD_LOG << "pages:" << livePages().size();
    const QSet<CWebPageEngineCustomization *> pages = livePages();
    for (CWebPageEngineCustomization *page : pages) {
        // A page may own another one (devtools); take each only while it lives.
        if (livePages().contains(page)) {
            takeOutOfView(page);
            delete page;
        }
    }
}

int CWebPageEngineCustomization::liveCount()
{
    return livePages().size();
}

CWebPageEngineCustomization *CWebPageEngineCustomization::createInView(QWebEngineView *view, QObject *bridge,
                                                                       const QString &bridgeName)
{
    auto *page = new CWebPageEngineCustomization(view);
    view->setPage(page);
    auto *channel = new QWebChannel(page);
    channel->registerObject(bridgeName, bridge);
    page->setWebChannel(channel);
    return page;
}

void CWebPageEngineCustomization::releaseFromView(QWebEngineView *view, CWebPageEngineCustomization *page,
                                                  QObject *bridge)
{
    view->hide();
    if (!page) {
        return;
    }
    if (QWebChannel *channel = page->webChannel()) {
        channel->deregisterObject(bridge);
    }
    page->setWebChannel(nullptr);
    takeOutOfView(page);
    page->setParent(nullptr);
    delete page;
}

void CWebPageEngineCustomization::takeOutOfView(CWebPageEngineCustomization *page)
{
    // A view left shown without its page makes a default page of its own on
    // its next show or hide, one that nothing here deletes before the
    // profile goes.
    auto *view = qobject_cast<QWebEngineView *>(page->view());
    if (!view) {
        return;
    }
    view->hide();
    view->setPage(nullptr);
}

bool CWebPageEngineCustomization::certificateError(const QWebEngineCertificateError &certificateError)
{
    const QUrl url = certificateError.url();
    const bool trusted = models::CCertificateChain::verifies(certificateError.certificateChain(), url.host());
    KD_LOG << "url:" << CLogFormat::maskedUrl(url) << "error:" << certificateError.error()
           << CLogFormat::oneLine(certificateError.errorDescription()) << "accepted:" << trusted;
    return trusted;
}

void CWebPageEngineCustomization::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message,
                                                           int lineNumber, const QString &sourceID)
{
    KD_LOG << "level:" << level << "source:" << CLogFormat::maskedUrl(QUrl(sourceID)) << "line:" << lineNumber
           << CLogFormat::oneLine(message);
}

} // namespace views
} // namespace kd_app
