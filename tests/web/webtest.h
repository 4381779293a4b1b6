#pragma once

// What the tests of the embedded web pages share: a browser data folder of
// the process's own, the program's start-up attribute, a signed-in "CCM"
// account on the local server, and synchronous helpers around pages.

#include <functional>

#include <QApplication>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtTest>

#include "helpers/cscripttext.h"
#include "homefixture.h"
#include "views/web/cwebbrowserwrapperform.h"
#include "views/web/cwebpageenginecustomization.h"
#include "webpagetest.h"

// The demo organisation as a "CCM" server with its pages under "/portal/".
inline QByteArray portalSeed()
{
    return serverSeed("demo-portal.json");
}

// The same organisation as an ordinary ("UCM") server.
inline QByteArray nativeSeed()
{
    QByteArray seed = portalSeed();
    seed.replace("\"appServerType\": \"CCM\"", "\"appServerType\": \"UCM\"");
    return seed;
}

// Clicks the button with this text in the list row that shows rowText, or
// with an empty rowText the element with that id; false when there is none.
inline bool clickOnPage(QWebEnginePage *page, const QString &rowText, const QString &button)
{
    using kd_app::helpers::CScriptText;
    const QString script =
        rowText.isEmpty()
            ? QStringLiteral(
                  "(function(){var b=document.getElementById(%1);if(!b)return false;b.click();return true;})()")
                  .arg(CScriptText::quoted(button))
            : QStringLiteral("(function(){var rows=document.querySelectorAll('.row');"
                             "for(var i=0;i<rows.length;i++){if(rows[i].textContent.indexOf(%1)<0)continue;"
                             "var b=Array.prototype.filter.call(rows[i].querySelectorAll('button'),"
                             "function(e){return e.textContent===%2;})[0];if(b){b.click();return true;}}"
                             "return false;})()")
                  .arg(CScriptText::quoted(rowText), CScriptText::quoted(button));
    return runScript(page, script).toBool();
}

// Shown, its page reported ready and uncovered.
inline bool waitPageShown(kd_app::views::CWebBrowserWrapperForm *form, int timeoutMs = 15000)
{
    return waitUntil([form] { return form->isPageCreated() && form->webView()->isVisible(); }, timeoutMs);
}
