#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrlQuery>

#include "models/ucmdata.h"

class QNetworkReply;

namespace kd_app {
namespace models {

// Client of the conference-management server's REST API ("v2.0"): users,
// contacts, meetings and the participants of a running meeting. Every call
// blocks in a local event loop for at most kReplyTimeoutMs, then results
// arrive as queued signals; errors as signal_ucmapi_error.
class CUCMApiManager : public QObject
{
    Q_OBJECT

public:
    static constexpr int kReplyTimeoutMs = 5000;
    // Not a server code: the server's certificate could not be verified.
    static constexpr int kCertificateErrorCode = 6;

    static CUCMApiManager *getInstance();
    ~CUCMApiManager() override;

    void getUsers(const QString &serverUrl, const QString &token);
    void getUser(const QString &serverUrl, const QString &token, const QString &userId);
    void getContacts(const QString &serverUrl, const QString &token);
    void postContact(const QString &serverUrl, const QString &token, const int &userId);
    void deleteContact(const QString &serverUrl, const QString &token, const QString &contactId, const QString &userId);
    void getConferences(const QString &serverUrl, const QString &token);
    void postConference(const QString &serverUrl, const QString &token, const ucmconferenceParam &conference);
    void putConference(const QString &serverUrl, const QString &token, const ucmconferenceParam &conference);
    void deleteConference(const QString &serverUrl, const QString &token, const QString &meetingId);
    void terminateConference(const QString &serverUrl, const QString &token, const QString &meetingId);
    // Takes the conference number of the current call; a dial string's
    // "*password" and "@server" are left out of the request.
    void getParticipants(const QString &serverUrl, const QString &token, const QString &meetingId);

    QList<ucmuserData> &getUserList() { return m_userList; }
    ucmuserData &getUserInfo() { return m_userInfo; }
    QList<ucmcontactData> &getContactList() { return m_contactList; }
    ucmcontactData &getAddedContact() { return m_addedContact; }
    QString &getDeletedContactId() { return m_strDeletedContactUserId; }
    QList<ucmconferenceData> &getConferenceList() { return m_conferenceList; }
    QList<ucmParticipantData> &getParticipantList() { return m_participantList; }

    void clearUserList() { m_userList.clear(); }
    void clearContactList() { m_contactList.clear(); }
    // A call's list is no longer ours once the call has ended.
    void clearParticipantList() { m_participantList.clear(); }
    void removeContactById(int userId);

    static QByteArray buildPostConferenceJson(const ucmconferenceParam &conference);
    static QByteArray buildPutConferenceJson(const ucmconferenceParam &conference);
    static QByteArray buildPostContactJson(int userId);
    // The meeting number of a dial string: "80001*4711@host" gives "80001".
    static QString meetingNumberOf(const QString &dialString);
    // The address of a REST resource under serverUrl, each piece encoded on
    // its own, the token and the extra items in the query.
    static QUrl restUrl(const QString &serverUrl, const QStringList &path, const QString &token,
                        const QUrlQuery &extra = QUrlQuery());

signals:
    void signal_getUsers_succeed();
    void signal_getUser_succeed();
    void signal_getContacts_succeed();
    void signal_addContact_succeed();
    void signal_deleteContact_succeed();
    void signal_getConferences_succeed();
    void signal_addConference_succeed();
    void signal_putConference_succeed();
    void signal_deleteConference_succeed();
    void signal_terminateConference_succeed();
    void signal_getParticipants_succeed();
    void signal_ucmapi_error(int errorCode, QString errorInfo);

public slots:
    void slotOnLanguageChanged();

    void slot_ReplyFinished_users(QNetworkReply *reply);
    void slot_ReplyFinished_user(QNetworkReply *reply);
    void slot_ReplyFinished_contacts(QNetworkReply *reply);
    void slot_ReplyFinished_contactPost(QNetworkReply *reply);
    void slot_ReplyFinished_contactDelete(QNetworkReply *reply);
    void slot_ReplyFinished_conferences(QNetworkReply *reply);
    void slot_ReplyFinished_conferencePost(QNetworkReply *reply);
    void slot_ReplyFinished_conferencePut(QNetworkReply *reply);
    void slot_ReplyFinished_conferenceDelete(QNetworkReply *reply);
    void slot_ReplyFinished_conferenceTerminate(QNetworkReply *reply);
    void slot_ReplyFinished_participants(QNetworkReply *reply);

private:
    enum Operation {
        OpUsers,
        OpUser,
        OpContacts,
        OpContactPost,
        OpContactDelete,
        OpConferences,
        OpConferencePost,
        OpConferencePut,
        OpConferenceDelete,
        OpConferenceTerminate,
        OpParticipants,
        OpCount
    };
    using SuccessSignal = void (CUCMApiManager::*)();

    CUCMApiManager();

    // False when nothing may be sent: a blank token or a blank id.
    bool prepare(const QString &serverUrl, const QString &token, const QString &requiredId = QStringLiteral("-"));
    void send(Operation operation, const QByteArray &verb, const QUrl &url, const QByteArray &body = QByteArray());

    // Reads the reply; false (and already reported) unless it is JSON.
    bool readReply(QNetworkReply *reply, QJsonDocument *document);
    void finishObjectReply(QNetworkReply *reply, SuccessSignal success,
                           void (CUCMApiManager::*store)(const QJsonObject &));
    void finishListReply(QNetworkReply *reply, SuccessSignal success,
                         void (CUCMApiManager::*store)(const QJsonArray &));
    void reportError(const QJsonObject &error);
    void reportError(int code, const QString &text);
    void emitQueued(SuccessSignal success);

    void storeUser(const QJsonObject &json);
    void storeAddedContact(const QJsonObject &json);
    void storeUsers(const QJsonArray &json);
    void storeContacts(const QJsonArray &json);
    void storeConferences(const QJsonArray &json);
    void storeParticipants(const QJsonArray &json);

    QNetworkAccessManager m_networkManagers[OpCount];
    QList<ucmuserData> m_userList;
    ucmuserData m_userInfo;
    QList<ucmcontactData> m_contactList;
    ucmcontactData m_addedContact;
    QString m_strDeletedContactUserId;
    QList<ucmconferenceData> m_conferenceList;
    QList<ucmParticipantData> m_participantList;
    QString m_strLastServerUrl;
    QString m_strLastToken;
    bool m_bUsersInFlight = false;
    bool m_bContactsInFlight = false;
    bool m_bConferencesInFlight = false;
    bool m_bParticipantsInFlight = false;
    QMap<int, QString> m_errorTexts;
    QString m_strCertificateErrorText;
};

} // namespace models
} // namespace kd_app
