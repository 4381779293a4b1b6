#include "webwhiteboardjscontext.h"

#include "helpers/clogformat.h"
#include "models/cloginmanager.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;

WebWhiteBoardJSContext::WebWhiteBoardJSContext(QObject *parent) : QObject(parent)
{
}

QString WebWhiteBoardJSContext::webLogLine(const QString &logInfo)
{
    // Escaped first, then cut: the line a page can write is bounded however
    // many line breaks it sends.
    return CLogFormat::oneLine(logInfo.left(kMaxWebLogLength)).left(kMaxWebLogLength);
}

void WebWhiteBoardJSContext::tokenExpired()
{
    KD_LOG << "tokenExpired";
    models::CLoginManager::getInstance().updateLoginToken(true);
}

void WebWhiteBoardJSContext::boardConnected()
{
    KD_LOG << "slotBoardConnected";
    emit sigBoardConnected();
}

void WebWhiteBoardJSContext::clearCache()
{
    KD_LOG << "clearCache";
}

void WebWhiteBoardJSContext::webLog(QString logInfo)
{
    KD_LOG << webLogLine(logInfo);
}

} // namespace views
} // namespace kd_app
