#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

namespace confserver {

// Error codes of the REST API (the client knows these) and of the engine API.
namespace codes {
constexpr int kInvalidToken = 1010;
constexpr int kInvalidParameter = 1020;
constexpr int kOutOfRange = 1021;
// Whiteboards: the board holds all it may (413), the participant drew their share (429).
constexpr int kBoardFull = 1022;
constexpr int kDrawnEnough = 1023;
constexpr int kNoPermission = 1040;
constexpr int kMeetingMissing = 3010;
constexpr int kMeetingRunning = 3040;
constexpr int kMeetingEnded = 3070;
constexpr int kWrongCredentials = 4010;
constexpr int kPasswordPolicy = 4020;
// Engine API: the codes the client's error tables know.
constexpr int kInvalidLogin = 2000;
constexpr int kAccountLocked = 2010;
constexpr int kAccountUnused = 2020;
constexpr int kMeetingUnavailable = 4205;
constexpr int kWrongMeetingRoomPassword = 6601;
// Answered with status 429 while a client has guessed a meeting's password
// wrong too often.
constexpr int kTooManyAttempts = 6609;
} // namespace codes

// What one API call answers: an error, a JSON value, or nothing (204).
struct CResult
{
    int errorCode = 0;
    QString errorInfo;
    QJsonValue value;
    bool noContent = false;

    static CResult error(int code, const QString &info) { return CResult{code, info, QJsonValue(), false}; }
    static CResult ok(const QJsonValue &value) { return CResult{0, QString(), value, false}; }
    static CResult empty() { return CResult{0, QString(), QJsonValue(), true}; }
    bool isError() const { return errorCode != 0; }
};

// One feedback upload as the server received it.
struct CFeedbackRecord
{
    int id = 0;
    QByteArray archive;
    qint64 size = 0; // of the archive
    QString contact;
    QString description;
    QString user; // the uploader's account name; empty: sent without sign-in
};

// The program version on offer for upgrades, with its package.
struct CUpgradeOffer
{
    QString version; // empty: nothing published
    QString packageName;
    QByteArray package;
    QByteArray checksumLine; // "<sha256 in hex>  <name>\n"
    bool checksumPublished = false;
    bool absoluteUrl = false; // the query answers a whole address, not a path
};

// Who a whiteboard token stands for: a user's device in a meeting.
struct CAcsGrant
{
    int userId = 0;
    int meetingNumber = 0;
    QString deviceId;
    // One participant of the board: the same user on another device is another one.
    QString participant() const { return QStringLiteral("%1/%2").arg(userId).arg(deviceId); }
};

// The server's data and rules: the organisation's users, each user's
// contacts, the meetings, the sign-in tokens and the avatars. Every public
// call takes the lock, so the HTTP worker threads can share one store.
class CConfStore
{
public:
    CConfStore();

    // Replaces everything with the content of a seed document; false and a
    // reason when it is not one.
    bool loadSeed(const QByteArray &json, QString *error = nullptr);
    bool loadSeedFile(const QString &path, QString *error = nullptr);

    // Issues a token for a user directly (tests, benchmarks).
    QString issueToken(int userId);
    // From now on the token is refused with 1010 by the REST API; the
    // engine's token refresh still accepts it and answers a new one.
    void expireToken(const QString &token);
    // A token is refused with 1010 once it is older than `lifetime`; the
    // engine's refresh swaps it for a new one until `lifetime + renewal`,
    // after which it is forgotten.
    void setTokenLifetime(std::chrono::milliseconds lifetime, std::chrono::milliseconds renewal);
    int tokenCount();
    // Live sign-ins of one account; at most kSessionsPerUser, the oldest
    // goes when another is made.
    static constexpr int kSessionsPerUser = 32;
    int sessionCount(int userId);
    // Adds meetings in bulk (benchmarks): applicant and the only invitee is
    // the given user.
    void addGeneratedMeetings(int count, int applicantId);
    // Adds users in bulk (benchmarks, demos) with names that share parts, as
    // real names do; their avatars are made when first asked for.
    void addGeneratedUsers(int count);
    // Sets a meeting's status as the conference side would ("LAUNCHING",
    // "ONGOING", "ENDED" ...); false when there is no such meeting.
    bool setMeetingStatus(int meetingId, const QString &status);
    int userCount();
    // The smallest user id, 0 without users.
    int firstUserId();

    // REST API, "/api/rest/v2.0/".
    CResult users(const QString &token);
    CResult user(const QString &token, const QString &id);
    CResult contacts(const QString &token);
    CResult addContact(const QString &token, const QByteArray &body);
    CResult deleteContact(const QString &token, const QString &id);
    CResult meetings(const QString &token);
    CResult addMeeting(const QString &token, const QByteArray &body);
    CResult editMeeting(const QString &token, const QString &id, const QByteArray &body);
    CResult deleteMeeting(const QString &token, const QString &id);
    CResult terminateMeeting(const QString &token, const QString &id);
    CResult participants(const QString &token, const QString &number);
    // The whiteboard token of a running meeting for one of its members on
    // one device; the server remembers it for the board's routes.
    CResult acsToken(const QString &token, const QString &number, const QString &deviceId);
    // The grant of a whiteboard token that acsToken issued; false for an
    // unknown or expired one, for one whose meeting no longer runs, and for
    // one whose holder left the meeting or whose sign-in ended.
    bool acsGrant(const QString &jwt, CAcsGrant *grant = nullptr);
    // Tests: from now on the whiteboard token is refused.
    void expireAcsToken(const QString &jwt);

    // Engine API, "/api/engine/v1/".
    CResult features();
    CResult login(const QByteArray &body);
    CResult refreshUser(const QString &token);
    // Body {"displayName"}: the token user's new display name, trimmed, 1 to
    // 128 characters.
    CResult changeDisplayName(const QString &token, const QByteArray &body);
    // Rings an account ({"account", "from", "number", "audioOnly"}); its
    // client takes the call at its next look for incoming calls.
    CResult ring(const QByteArray &body);
    // The call ringing the token's account, once: {"incoming": {...}} or {}.
    CResult takeIncoming(const QString &token);
    // Tests: whether a ring waits for any account's client to take it.
    bool hasWaitingRing() const;
    // An organisation of type "CCM" publishes its own policy (8 to 32
    // characters of two kinds); any other takes what its client's fixed rule
    // lets through: 4 to 16 characters without a space.
    CResult passwordPolicy();
    CResult changePassword(const QString &token, const QByteArray &body);
    CResult uploadAvatar(const QString &token, const QByteArray &image);
    // Without a token the upload is kept as anonymous; an unknown token is refused (1010).
    CResult uploadFeedback(const QString &token, const QString &contact, const QString &description,
                           const QByteArray &archive);
    CResult meetingInfo(const QString &number);
    CResult checkMeetingPassword(const QString &number, const QByteArray &body);
    // Only for those in the meeting: an open meeting's caller, or one who
    // joined it (its participant id) or belongs to it (a member's token).
    CResult meetingParticipants(const QString &number, const QString &token, const QString &participantId);
    // Who is in a meeting, as the server itself sees it (tests, benchmarks).
    CResult peopleIn(const QString &number);
    // SIP accounts: a user's SIP name ("sipAuthName", else "sipUserName")
    // with its "sipPassword"; a user without a SIP password cannot register.
    CResult registerSip(const QByteArray &body);
    CResult unregisterSip(const QByteArray &body);
    bool isSipRegistered(const QString &username);
    // Taking part: a join (token optional: a guest has none) lists the
    // caller among the meeting's participants until the matching leave.
    CResult joinMeeting(const QString &token, const QString &number, const QByteArray &body);
    CResult leaveMeeting(const QString &number, const QByteArray &body);

    // The avatar of a user as JPEG data; empty when the user is unknown.
    QByteArray avatar(int userId);
    // The avatar of the token's user; empty when the token is unknown.
    QByteArray avatarOfToken(const QString &token);
    // Uploads received since the server started.
    int feedbackCount();
    // The uploads kept, oldest first, their archives read back from disk.
    std::vector<CFeedbackRecord> feedbacks();
    // Uploads are kept on disk, there (else in a temporary folder of the
    // store's own): feedback-<id>.zip and feedback-<id>.json.
    void setFeedbackFolder(const QString &folder);
    // Only the newest uploads are kept, at most `count` of them and `bytes`
    // of archives together (the newest always); older ones are removed.
    void setFeedbackLimits(int count, qint64 bytes);

    // The upgrade on offer: a version, and the package under /download/<name>
    // with its checksum beside it ("<name>.sha256"). A name without package
    // bytes offers the version only.
    void publishUpgrade(const QString &version, const QString &packageName = QString(),
                        const QByteArray &package = QByteArray());
    // Tests: another checksum line, or none at all.
    void setUpgradeChecksum(const QByteArray &line, bool published = true);
    void setUpgradeUrlAbsolute(bool absolute);
    CUpgradeOffer upgradeOffer();

private:
    bool hasOwnPasswordPolicy();
    bool acceptsNewPassword(const QString &password);

    struct CTokenState
    {
        int userId = 0;
        bool expired = false;
        qint64 issuedMs = 0;
    };

    struct CAcsTokenState
    {
        CAcsGrant grant;
        QString issuer; // the sign-in token it was issued for
        bool expired = false;
    };

    int userOf(const QString &token, bool acceptExpired = false) const;
    bool isAcsLive(const CAcsTokenState &state) const;
    void forgetEndedAcsTokens();
    CResult tokenError() const;
    QJsonObject userJson(const QJsonObject &stored) const;
    QJsonObject contactJson(int contactId, int ownerId, int userId) const;
    QJsonObject meetingJson(const QJsonObject &stored) const;
    QJsonObject personJson(int userId) const;
    int meetingIdByNumber(int number) const;
    // The user whose personal room (vmr) or direct-call number this is; 0 when none.
    int userByRoom(const QString &number) const;
    int userByCallNumber(const QString &number) const;
    // The next number for a new meeting: never one of the permanent rooms.
    int allocateMeetingNumber();
    // The meeting of an edit, delete or terminate, when the token's user may change it.
    CResult ownedMeeting(const QString &token, const QString &id, int *userId, int *meetingId) const;
    CResult readMeetingBody(const QByteArray &body, QJsonObject *meeting) const;
    CResult participantsOf(const QString &number) const;
    QJsonArray participantsJson(const QJsonArray &entries) const;
    // A join of a user's personal room (owner), which has no meeting record.
    CResult joinRoom(const QString &number, int owner, int userId, const QJsonObject &request);
    QString newToken(int userId);
    bool isLive(const CTokenState &state) const;
    void forgetOldTokens();
    // Organiser, invited or joined: who may see a meeting's people and board.
    bool isMember(const QJsonObject &meeting, int userId) const;
    QString avatarPath(int userId) const;
    // Where uploads are written; empty when no folder can be had.
    QString feedbackFolder();
    void forgetOldFeedbacks();

    mutable std::mutex m_mutex;
    QJsonObject m_organisation;
    std::map<int, QJsonObject> m_users;
    std::map<int, QByteArray> m_avatars;
    // contact id -> {ownerId, userId}
    std::map<int, std::pair<int, int>> m_contacts;
    std::map<int, QJsonObject> m_meetings;
    // personal room number -> who is in it (as a meeting's "participants")
    std::map<QString, QJsonArray> m_roomParticipants;
    std::unordered_map<QString, CTokenState> m_tokens;
    // Each user's tokens, so that "is this user signed in" does not walk them all.
    std::unordered_map<int, std::vector<QString>> m_userTokens;
    // The whiteboard tokens handed out, until their meeting ends.
    std::unordered_map<QString, CAcsTokenState> m_acsTokens;
    // The latest call ringing each user, until the user's client takes it.
    std::map<int, QJsonObject> m_rings;
    qint64 m_tokenLifetimeMs = 12 * 3600 * 1000;
    qint64 m_tokenRenewalMs = 7 * 24 * 3600 * 1000LL;
    int m_tokensSincePrune = 0;
    std::set<QString> m_sipRegistrations;
    int m_nextContactId = 1;
    int m_nextMeetingId = 1;
    int m_nextNumericId = 80001;
    int m_feedbackCount = 0;
    // An upload kept: its record without the archive, and where its files are.
    struct CKeptFeedback
    {
        CFeedbackRecord record;
        QString base;
    };
    std::deque<CKeptFeedback> m_feedbacks;
    qint64 m_feedbackBytes = 0;
    int m_feedbacksKept = 20;
    qint64 m_feedbackBytesKept = 256 * 1024 * 1024;
    QString m_feedbackFolder;
    std::unique_ptr<QTemporaryDir> m_feedbackScratch;
    CUpgradeOffer m_upgrade;
};

} // namespace confserver
