#include "cwebjscontext.h"

#include <QDesktopServices>
#include <QUrl>

#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "models/cloginmanager.h"

namespace kd_app {
namespace views {

using helpers::CLogFormat;

namespace {

// Only these schemes leave the program through the desktop's handlers: a
// page must not start other programs (file:, custom schemes) through it.
bool openIfScheme(const QUrl &url, const QStringList &schemes)
{
    if (!url.isValid() || !schemes.contains(url.scheme().toLower())) {
        KD_WARN << "refused:" << CLogFormat::oneLine(url.toString());
        return false;
    }
    const bool opened = QDesktopServices::openUrl(url);
    KD_LOG << "opened:" << opened;
    return opened;
}

// A mail link keeps its addresses, subject and body; the other fields
// (attach, cc, bcc, to, headers) would let a page add files or recipients
// behind the user's back.
QUrl withMailFieldsOnly(QUrl url)
{
    QStringList kept;
    const QString query = url.query(QUrl::FullyEncoded);
    for (const QString &field : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString name = QUrl::fromPercentEncoding(field.section(QLatin1Char('='), 0, 0).toUtf8()).toLower();
        if (name == QLatin1String("subject") || name == QLatin1String("body")) {
            kept << field;
        }
    }
    // A null text drops the query, "?" included.
    url.setQuery(kept.isEmpty() ? QString() : kept.join(QLatin1Char('&')), QUrl::TolerantMode);
    url.setFragment(QString());
    return url;
}

} // namespace

CWebJsContext::CWebJsContext(QObject *parent) : QObject(parent)
{
    connect(models::CLinguist::getInstance(), &models::CLinguist::sigLanguageChanged, this,
            &CWebJsContext::languageChanged);
}

QString CWebJsContext::language() const
{
    return models::CLinguist::getInstance()->languageCode();
}

void CWebJsContext::joinConf(QString confNumber, QString confPassword, bool isAudioOnly)
{
    KD_LOG << "confNumber:" << CLogFormat::oneLine(confNumber)
           << ", confPassword:" << CLogFormat::masked(confPassword, 0) << ", isAudioOnly:" << isAudioOnly;
    emit sigJoinConf(confNumber, confPassword, isAudioOnly, QString());
}

void CWebJsContext::joinConfWithPeerName(QString confNumber, QString confPassword, bool isAudioOnly, QString peerName)
{
    KD_LOG << "confNumber:" << CLogFormat::oneLine(confNumber)
           << ", confPassword:" << CLogFormat::masked(confPassword, 0) << ", isAudioOnly:" << isAudioOnly
           << ", peerName:" << CLogFormat::oneLine(peerName);
    emit sigJoinConf(confNumber, confPassword, isAudioOnly, peerName);
}

void CWebJsContext::tokenExpired()
{
    KD_LOG << "tokenExpired";
    models::CLoginManager::getInstance().updateLoginToken(true);
}

void CWebJsContext::go2Reservation(QString qstrUrl)
{
    KD_LOG << "qstrUrl:" << CLogFormat::maskedUrl(QUrl(qstrUrl, QUrl::TolerantMode));
    openIfScheme(QUrl(qstrUrl, QUrl::TolerantMode), {QStringLiteral("http"), QStringLiteral("https")});
}

void CWebJsContext::sendEmail(QString qstrEmail)
{
    KD_LOG << "qstrEmail:" << CLogFormat::oneLine(qstrEmail);
    QString address = qstrEmail.trimmed();
    // A bare address ("name@example.org") reads as a path without a scheme.
    if (QUrl(address, QUrl::TolerantMode).scheme().isEmpty() && address.contains(QLatin1Char('@'))) {
        address.prepend(QStringLiteral("mailto:"));
    }
    openIfScheme(withMailFieldsOnly(QUrl(address, QUrl::TolerantMode)), {QStringLiteral("mailto")});
}

void CWebJsContext::pageCreated()
{
    KD_LOG << "pageCreated";
    emit sigPageCreated();
}

void CWebJsContext::p2pCall(QString qstrPeerInfo)
{
    KD_LOG << "p2pCall:" << CLogFormat::oneLine(qstrPeerInfo);
}

void CWebJsContext::clearCache()
{
    KD_LOG << "do nothing currently";
}

void CWebJsContext::webLog(QString logInfo)
{
    KD_LOG << CLogFormat::oneLine(logInfo);
}

} // namespace views
} // namespace kd_app
