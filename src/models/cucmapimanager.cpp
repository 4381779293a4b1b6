#include "cucmapimanager.h"

#include <QEventLoop>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include "app/cplatform.h"
#include "helpers/clogformat.h"
#include "models/clinguist.h"
#include "models/ctrustedcertificates.h"

namespace kd_app {
namespace models {

using helpers::CLogFormat;

namespace {

const QString kApiPath = QStringLiteral("/api/rest/v2.0");
// A list this long leaves megabytes of parsed text behind: given back at once.
constexpr int kLargeListItems = 1000;

} // namespace

CUCMApiManager *CUCMApiManager::getInstance()
{
    static CUCMApiManager instance;
    return &instance;
}

CUCMApiManager::CUCMApiManager()
{
    using Slot = void (CUCMApiManager::*)(QNetworkReply *);
    static const Slot replySlots[OpCount] = {&CUCMApiManager::slot_ReplyFinished_users,
                                             &CUCMApiManager::slot_ReplyFinished_user,
                                             &CUCMApiManager::slot_ReplyFinished_contacts,
                                             &CUCMApiManager::slot_ReplyFinished_contactPost,
                                             &CUCMApiManager::slot_ReplyFinished_contactDelete,
                                             &CUCMApiManager::slot_ReplyFinished_conferences,
                                             &CUCMApiManager::slot_ReplyFinished_conferencePost,
                                             &CUCMApiManager::slot_ReplyFinished_conferencePut,
                                             &CUCMApiManager::slot_ReplyFinished_conferenceDelete,
                                             &CUCMApiManager::slot_ReplyFinished_conferenceTerminate,
                                             &CUCMApiManager::slot_ReplyFinished_participants};
    for (int operation = 0; operation < OpCount; ++operation) {
        connect(&m_networkManagers[operation], &QNetworkAccessManager::finished, this, replySlots[operation]);
    }
    connect(CLinguist::getInstance(), &CLinguist::sigLanguageChanged, this, &CUCMApiManager::slotOnLanguageChanged);
    slotOnLanguageChanged();
}

CUCMApiManager::~CUCMApiManager() = default;

void CUCMApiManager::slotOnLanguageChanged()
{
    QMap<int, QString> texts;
    texts[1000] = tr("Unsupported API version(%1).");
    texts[1010] = tr("Invalid token(%1).");
    texts[1020] = tr("Invalid parameter(%1).");
    texts[1021] = tr("The parameter exceeds the setting range(%1).");
    texts[1030] = tr("Invalid media type, only \"application/json\" is supported(%1).");
    texts[1040] = tr("You don't have permission to perform this operation(%1).");
    texts[1050] = tr("Misspelling of the field name in the JSON string(%1).");
    texts[1999] = tr("Internal error(%1).");
    texts[3010] = tr("Meeting does not exist(%1).");
    texts[3040] = tr("The meeting is being initiated or in progress(%1).");
    texts[3070] = tr("The meeting has ended or has been deleted(%1).");
    m_errorTexts = texts;
    // Kept apart from the server's codes: a server may send any further code,
    // and its own text must reach the user then.
    m_strCertificateErrorText = tr("The server's certificate could not be verified, the connection is not safe(%1).");
}

bool CUCMApiManager::prepare(const QString &serverUrl, const QString &token, const QString &requiredId)
{
    if (token.trimmed().isEmpty() || requiredId.trimmed().isEmpty() ||
        QUrl(serverUrl.trimmed(), QUrl::TolerantMode).host().isEmpty()) {
        return false;
    }
    if (serverUrl != m_strLastServerUrl) {
        m_strLastServerUrl = serverUrl;
    }
    if (token != m_strLastToken) {
        m_strLastToken = token;
    }
    return true;
}

QUrl CUCMApiManager::restUrl(const QString &serverUrl, const QStringList &path, const QString &token,
                             const QUrlQuery &extra)
{
    // Every piece is percent-encoded on its own, so an id or a token cannot
    // add path segments or query items.
    QUrl url(serverUrl.trimmed(), QUrl::TolerantMode);
    QString encodedPath = url.path(QUrl::FullyEncoded);
    while (encodedPath.endsWith(QLatin1Char('/'))) {
        encodedPath.chop(1);
    }
    encodedPath += kApiPath;
    for (const QString &segment : path) {
        encodedPath += QLatin1Char('/') + QString::fromLatin1(QUrl::toPercentEncoding(segment.trimmed()));
    }
    url.setPath(encodedPath, QUrl::TolerantMode);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("token"), QString::fromLatin1(QUrl::toPercentEncoding(token)));
    for (const auto &item : extra.queryItems(QUrl::FullyEncoded)) {
        query.addQueryItem(item.first, item.second);
    }
    url.setQuery(query);
    return url;
}

void CUCMApiManager::send(Operation operation, const QByteArray &verb, const QUrl &url, const QByteArray &body)
{
    QNetworkRequest request(url);
    request.setSslConfiguration(CTrustedCertificates::sslConfiguration());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json;charset=UTF-8"));
    if (!body.isEmpty()) {
        request.setHeader(QNetworkRequest::ContentLengthHeader, body.size());
    }
    QNetworkAccessManager &manager = m_networkManagers[operation];
    // The reply slot deletes the reply later; a window's own event loop (a
    // message box opened from a queued error) may run inside this wait and
    // carry that deletion out before this wait ends.
    QPointer<QNetworkReply> reply;
    if (verb == "GET") {
        reply = manager.get(request);
    } else if (verb == "DELETE") {
        reply = manager.deleteResource(request);
    } else {
        reply = manager.sendCustomRequest(request, verb, body);
    }
    // A timer of this wait alone: a second request of the same kind started
    // while this one waits must not stop or restart this wait's limit.
    QTimer timer;
    timer.setSingleShot(true);
    QEventLoop loop;
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    timer.start(kReplyTimeoutMs);
    loop.exec();
    if (operation == OpParticipants) {
        KD_LOG << "timer is active" << timer.isActive();
    }
    // The limit may have passed inside a nested event loop after the answer
    // came: only a reply still unanswered has timed out.
    if (reply && !reply->isFinished()) {
        reply->abort();
        reply->deleteLater();
        KD_WARN << "timeout";
    }
}

void CUCMApiManager::getUsers(const QString &serverUrl, const QString &token)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token);
    if (m_bUsersInFlight || !prepare(serverUrl, token)) {
        return;
    }
    m_bUsersInFlight = true;
    send(OpUsers, "GET", restUrl(serverUrl, {QStringLiteral("users")}, token));
    m_bUsersInFlight = false;
}

void CUCMApiManager::getUser(const QString &serverUrl, const QString &token, const QString &userId)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "UserId:" << userId;
    if (!prepare(serverUrl, token, userId)) {
        return;
    }
    send(OpUser, "GET", restUrl(serverUrl, {QStringLiteral("users"), userId}, token));
}

void CUCMApiManager::getContacts(const QString &serverUrl, const QString &token)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token);
    if (m_bContactsInFlight || !prepare(serverUrl, token)) {
        return;
    }
    m_bContactsInFlight = true;
    send(OpContacts, "GET", restUrl(serverUrl, {QStringLiteral("contacts")}, token));
    m_bContactsInFlight = false;
}

void CUCMApiManager::postContact(const QString &serverUrl, const QString &token, const int &userId)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "UserId:" << userId;
    if (!prepare(serverUrl, token)) {
        return;
    }
    send(OpContactPost, "POST", restUrl(serverUrl, {QStringLiteral("contacts")}, token), buildPostContactJson(userId));
}

void CUCMApiManager::deleteContact(const QString &serverUrl, const QString &token, const QString &contactId,
                                   const QString &userId)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "nId:" << contactId;
    m_strDeletedContactUserId = userId;
    if (!prepare(serverUrl, token, contactId)) {
        return;
    }
    send(OpContactDelete, "DELETE", restUrl(serverUrl, {QStringLiteral("contacts"), contactId}, token));
}

void CUCMApiManager::getConferences(const QString &serverUrl, const QString &token)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token);
    if (m_bConferencesInFlight || !prepare(serverUrl, token)) {
        return;
    }
    m_bConferencesInFlight = true;
    QUrlQuery joinMode;
    joinMode.addQueryItem(QStringLiteral("joinMode"), QStringLiteral("TORVE"));
    send(OpConferences, "GET", restUrl(serverUrl, {QStringLiteral("meetings")}, token, joinMode));
    m_bConferencesInFlight = false;
}

void CUCMApiManager::postConference(const QString &serverUrl, const QString &token,
                                    const ucmconferenceParam &conference)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "name:" << conference.name;
    if (!prepare(serverUrl, token)) {
        return;
    }
    send(OpConferencePost, "POST", restUrl(serverUrl, {QStringLiteral("meetings")}, token),
         buildPostConferenceJson(conference));
}

void CUCMApiManager::putConference(const QString &serverUrl, const QString &token, const ucmconferenceParam &conference)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "name:" << conference.name;
    if (!prepare(serverUrl, token)) {
        return;
    }
    send(OpConferencePut, "PUT",
         restUrl(serverUrl, {QStringLiteral("meetings"), QString::number(conference.id)}, token),
         buildPutConferenceJson(conference));
}

void CUCMApiManager::deleteConference(const QString &serverUrl, const QString &token, const QString &meetingId)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "nId:" << meetingId;
    if (!prepare(serverUrl, token, meetingId)) {
        return;
    }
    send(OpConferenceDelete, "DELETE", restUrl(serverUrl, {QStringLiteral("meetings"), meetingId}, token));
}

void CUCMApiManager::terminateConference(const QString &serverUrl, const QString &token, const QString &meetingId)
{
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token) << "nId:" << meetingId;
    if (!prepare(serverUrl, token, meetingId)) {
        return;
    }
    send(OpConferenceTerminate, "PUT",
         restUrl(serverUrl,
                 {QStringLiteral("meetings"), meetingId, QStringLiteral("control"), QStringLiteral("terminate")},
                 token));
}

void CUCMApiManager::getParticipants(const QString &serverUrl, const QString &token, const QString &meetingId)
{
    // The meeting id is the call's dial string, which may carry "*password".
    KD_LOG << "Ip:" << serverUrl << "token:" << CLogFormat::masked(token)
           << "meetingId:" << CLogFormat::maskedDialString(meetingId);
    const QString number = meetingNumberOf(meetingId);
    // A poll or a token change while the previous request still waits would
    // nest a second wait inside the first.
    if (m_bParticipantsInFlight || !prepare(serverUrl, token, number)) {
        return;
    }
    m_bParticipantsInFlight = true;
    send(OpParticipants, "GET",
         restUrl(serverUrl, {QStringLiteral("meetings"), number, QStringLiteral("simpleparticipants")}, token));
    m_bParticipantsInFlight = false;
}

QString CUCMApiManager::meetingNumberOf(const QString &dialString)
{
    QString number = dialString.trimmed();
    const int end = number.indexOf(QRegularExpression(QStringLiteral("[*@]")));
    if (end >= 0) {
        number.truncate(end);
    }
    return number.trimmed();
}

void CUCMApiManager::removeContactById(int userId)
{
    for (int index = 0; index < m_contactList.size(); ++index) {
        if (m_contactList.at(index).userId == userId) {
            m_contactList.removeAt(index);
            return;
        }
    }
}

QByteArray CUCMApiManager::buildPostConferenceJson(const ucmconferenceParam &conference)
{
    QJsonArray userIds;
    for (int id : conference.userIds) {
        userIds.append(id);
    }
    QJsonObject body;
    body[QStringLiteral("name")] = conference.name;
    body[QStringLiteral("startTime")] = double(conference.startTime);
    body[QStringLiteral("duration")] = double(conference.duration);
    body[QStringLiteral("confPassword")] = conference.confPassword;
    body[QStringLiteral("remarks")] = conference.remarks;
    body[QStringLiteral("userIds")] = userIds;
    return QJsonDocument(body).toJson();
}

QByteArray CUCMApiManager::buildPutConferenceJson(const ucmconferenceParam &conference)
{
    QJsonObject body = QJsonDocument::fromJson(buildPostConferenceJson(conference)).object();
    body[QStringLiteral("id")] = conference.id;
    body[QStringLiteral("numericId")] = conference.numericId;
    return QJsonDocument(body).toJson();
}

QByteArray CUCMApiManager::buildPostContactJson(int userId)
{
    QJsonObject body;
    body[QStringLiteral("id")] = -1;
    body[QStringLiteral("name")] = QString();
    body[QStringLiteral("userId")] = userId;
    body[QStringLiteral("email")] = QString();
    body[QStringLiteral("telephone")] = QString();
    body[QStringLiteral("cellphone")] = QString();
    return QJsonDocument(body).toJson();
}

bool CUCMApiManager::readReply(QNetworkReply *reply, QJsonDocument *document)
{
    reply->deleteLater();
    if (reply->error() == QNetworkReply::SslHandshakeFailedError) {
        KD_WARN << "certificate error:" << reply->errorString();
        reportError(kCertificateErrorCode, m_strCertificateErrorText);
        return false;
    }
    QJsonParseError parseError;
    *document = QJsonDocument::fromJson(reply->readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        KD_WARN << "jsonData error" << parseError.errorString() << "network:" << reply->error();
        return false;
    }
    return true;
}

void CUCMApiManager::finishObjectReply(QNetworkReply *reply, SuccessSignal success,
                                       void (CUCMApiManager::*store)(const QJsonObject &))
{
    // A server may answer a delete or a control request with no content at
    // all; that is a success as long as the transfer itself succeeded.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (!store && reply->error() == QNetworkReply::NoError && status >= 200 && status < 300 &&
        reply->bytesAvailable() == 0) {
        reply->deleteLater();
        emitQueued(success);
        return;
    }
    QJsonDocument document;
    if (!readReply(reply, &document) || !document.isObject()) {
        return;
    }
    const QJsonObject object = document.object();
    if (object.contains(QStringLiteral("errorCode"))) {
        reportError(object);
        return;
    }
    if (store) {
        (this->*store)(object);
    }
    emitQueued(success);
}

void CUCMApiManager::finishListReply(QNetworkReply *reply, SuccessSignal success,
                                     void (CUCMApiManager::*store)(const QJsonArray &))
{
    QJsonDocument document;
    if (!readReply(reply, &document)) {
        return;
    }
    if (document.isObject()) {
        reportError(document.object());
        return;
    }
    if (!document.isArray()) {
        return;
    }
    const bool large = document.array().size() >= kLargeListItems;
    (this->*store)(document.array());
    emitQueued(success);
    document = QJsonDocument();
    if (large) {
        CPlatform::giveBackFreedMemory();
    }
}

void CUCMApiManager::reportError(const QJsonObject &error)
{
    const int code = error.value(QStringLiteral("errorCode")).toInt(0);
    const QString info = error.value(QStringLiteral("errorInfo")).toString();
    KD_WARN << "errorCode:" << code << ", errorInfo:" << info;
    reportError(code, m_errorTexts.value(code, info + QStringLiteral("(%1)")));
}

void CUCMApiManager::reportError(int code, const QString &text)
{
    QMetaObject::invokeMethod(
        this, [this, code, text] { emit signal_ucmapi_error(code, text); }, Qt::QueuedConnection);
}

void CUCMApiManager::emitQueued(SuccessSignal success)
{
    QMetaObject::invokeMethod(
        this, [this, success] { emit(this->*success)(); }, Qt::QueuedConnection);
}

void CUCMApiManager::storeUser(const QJsonObject &json)
{
    m_userInfo.readJson(json, m_strLastServerUrl);
    const int index = m_userList.indexOf(m_userInfo);
    if (index >= 0) {
        m_userList[index] = m_userInfo;
    }
}

void CUCMApiManager::storeAddedContact(const QJsonObject &json)
{
    m_addedContact.readJson(json, m_strLastServerUrl);
    m_contactList.append(m_addedContact);
}

void CUCMApiManager::storeUsers(const QJsonArray &json)
{
    m_userList = ucmReadList<ucmuserData>(json, m_strLastServerUrl);
}

void CUCMApiManager::storeContacts(const QJsonArray &json)
{
    m_contactList = ucmReadList<ucmcontactData>(json, m_strLastServerUrl);
}

void CUCMApiManager::storeConferences(const QJsonArray &json)
{
    m_conferenceList = ucmReadList<ucmconferenceData>(json);
}

void CUCMApiManager::storeParticipants(const QJsonArray &json)
{
    m_participantList = ucmReadList<ucmParticipantData>(json, m_strLastServerUrl, m_strLastToken);
}

void CUCMApiManager::slot_ReplyFinished_users(QNetworkReply *reply)
{
    finishListReply(reply, &CUCMApiManager::signal_getUsers_succeed, &CUCMApiManager::storeUsers);
}

void CUCMApiManager::slot_ReplyFinished_user(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_getUser_succeed, &CUCMApiManager::storeUser);
}

void CUCMApiManager::slot_ReplyFinished_contacts(QNetworkReply *reply)
{
    finishListReply(reply, &CUCMApiManager::signal_getContacts_succeed, &CUCMApiManager::storeContacts);
}

void CUCMApiManager::slot_ReplyFinished_contactPost(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_addContact_succeed, &CUCMApiManager::storeAddedContact);
}

void CUCMApiManager::slot_ReplyFinished_contactDelete(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_deleteContact_succeed, nullptr);
}

void CUCMApiManager::slot_ReplyFinished_conferences(QNetworkReply *reply)
{
    finishListReply(reply, &CUCMApiManager::signal_getConferences_succeed, &CUCMApiManager::storeConferences);
}

void CUCMApiManager::slot_ReplyFinished_conferencePost(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_addConference_succeed, nullptr);
}

void CUCMApiManager::slot_ReplyFinished_conferencePut(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_putConference_succeed, nullptr);
}

void CUCMApiManager::slot_ReplyFinished_conferenceDelete(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_deleteConference_succeed, nullptr);
}

void CUCMApiManager::slot_ReplyFinished_conferenceTerminate(QNetworkReply *reply)
{
    finishObjectReply(reply, &CUCMApiManager::signal_terminateConference_succeed, nullptr);
}

void CUCMApiManager::slot_ReplyFinished_participants(QNetworkReply *reply)
{
    finishListReply(reply, &CUCMApiManager::signal_getParticipants_succeed, &CUCMApiManager::storeParticipants);
}

} // namespace models
} // namespace kd_app
