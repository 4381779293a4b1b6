#include "cconfstore.h"

#include <algorithm>
#include <cmath>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QRegularExpression>

#include "cavatarimage.h"
#include "cjsonbody.h"

namespace confserver {

namespace {

constexpr qint64 kMinuteMs = 60 * 1000;
constexpr qint64 kLongestMeetingMs = 24 * 60 * kMinuteMs;
// A meeting scheduled to start within this margin counts as started now.
constexpr qint64 kStartNowMarginMs = kMinuteMs;
const QString kOngoing = QStringLiteral("ONGOING");
// A meeting being started: it runs as far as anyone dialling in can tell.
const QString kLaunching = QStringLiteral("LAUNCHING");
// Meeting numbers of this range are permanent rooms; they are seeded, never
// handed out to new meetings.
constexpr int kFirstFixedRoom = 8201000;
constexpr int kLastFixedRoom = 8209999;
const QString kScheduled = QStringLiteral("SCHEDULED");
const QString kEnded = QStringLiteral("ENDED");
// Longest meeting name, and longest name a participant may give.
constexpr int kMaxNameLength = 128;
// Whiteboard tokens of ended meetings are dropped once this many were handed out.
constexpr size_t kAcsTokensBeforePrune = 4096;
const QString kSpecialCharacters = QStringLiteral("~!@#$%^&*()_+-=.,?");
const QString kPrintableSigns = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
constexpr int kLocalRuleMinLength = 4;
constexpr int kLocalRuleMaxLength = 16;

qint64 nowMs()
{
    return QDateTime::currentMSecsSinceEpoch();
}

bool parseWhole(const QString &text, int *value)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(text).hasMatch()) {
        return false;
    }
    *value = text.toInt();
    return true;
}

// A whole number of milliseconds from a request body; a value outside what
// a 64-bit time holds (1.7e22) is no time at all.
bool readMs(const QJsonValue &value, qint64 *ms)
{
    const double number = value.toDouble();
    if (!value.isDouble() || !(number >= -9223372036854775808.0 && number < 9223372036854775808.0)) {
        return false;
    }
    *ms = qint64(number);
    return true;
}

// Ids and meeting numbers of a seed: what a path's nine digits can name.
constexpr double kLargestSeedNumber = 999999999;
// Times of a seed, in minutes from the server's start: a century either way.
constexpr double kSeedMinutes = 100.0 * 366 * 24 * 60;

// A number of a seed entry, when it is there, within [low, high] (and whole
// when asked); otherwise false with a reason that names the field.
bool checkSeedNumber(const QJsonObject &entry, const QString &field, double low, double high, bool whole,
                     QString *error)
{
    const QJsonValue value = entry.value(field);
    if (value.isUndefined()) {
        return true;
    }
    const double number = value.toDouble();
    if (value.isDouble() && number >= low && number <= high && (!whole || std::floor(number) == number)) {
        return true;
    }
    *error = QStringLiteral("%1 must be a %2 from %3 to %4")
                 .arg(field, whole ? QStringLiteral("whole number") : QStringLiteral("number"))
                 .arg(low, 0, 'f', 0)
                 .arg(high, 0, 'f', 0);
    return false;
}

// Every number of a seed that the loader computes with, so that none is
// out of the range of what it is converted to.
bool checkSeedNumbers(const QJsonObject &seed, QString *error)
{
    if (!checkSeedNumber(seed, QStringLiteral("firstMeetingNumber"), 1, kLargestSeedNumber, true, error)) {
        return false;
    }
    const QJsonArray users = seed.value("users").toArray();
    for (int i = 0; i < users.size(); ++i) {
        if (!checkSeedNumber(users.at(i).toObject(), QStringLiteral("id"), 1, kLargestSeedNumber, true, error)) {
            error->prepend(QStringLiteral("users[%1].").arg(i));
            return false;
        }
    }
    const QJsonArray meetings = seed.value("meetings").toArray();
    for (int i = 0; i < meetings.size(); ++i) {
        const QJsonObject meeting = meetings.at(i).toObject();
        if (!checkSeedNumber(meeting, QStringLiteral("id"), 1, kLargestSeedNumber, true, error) ||
            !checkSeedNumber(meeting, QStringLiteral("numericId"), 1, kLargestSeedNumber, true, error) ||
            !checkSeedNumber(meeting, QStringLiteral("startInMinutes"), -kSeedMinutes, kSeedMinutes, false, error) ||
            !checkSeedNumber(meeting, QStringLiteral("durationMinutes"), 0, kSeedMinutes, false, error)) {
            error->prepend(QStringLiteral("meetings[%1].").arg(i));
            return false;
        }
    }
    return true;
}

bool parseObject(const QByteArray &body, QJsonObject *object)
{
    return CJsonBody::parseObject(body, object);
}

// What one user may read of another: no password fields at all.
QJsonObject withoutSecrets(QJsonObject user)
{
    user.remove(QStringLiteral("password"));
    user.remove(QStringLiteral("sipPassword"));
    return user;
}

CResult notAnObject()
{
    return CResult::error(codes::kInvalidParameter, QStringLiteral("The body is not a JSON object"));
}

bool isRunning(const QJsonObject &meeting)
{
    const QString status = meeting.value("status").toString();
    return status == kOngoing || status == kLaunching;
}

bool isFixedRoom(int number)
{
    return number >= kFirstFixedRoom && number <= kLastFixedRoom;
}

int characterTypes(const QString &password)
{
    bool lower = false, upper = false, digit = false, special = false;
    for (const QChar c : password) {
        lower = lower || c.isLower();
        upper = upper || c.isUpper();
        digit = digit || c.isDigit();
        special = special || kSpecialCharacters.contains(c);
    }
    return int(lower) + int(upper) + int(digit) + int(special);
}

} // namespace

CConfStore::CConfStore() = default;

bool CConfStore::loadSeedFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QStringLiteral("cannot read %1").arg(path);
        }
        return false;
    }
    return loadSeed(file.readAll(), error);
}

bool CConfStore::loadSeed(const QByteArray &json, QString *error)
{
    QJsonObject seed;
    if (!parseObject(json, &seed)) {
        if (error) {
            *error = QStringLiteral("the seed is not a JSON object");
        }
        return false;
    }
    QString outOfRange;
    if (!checkSeedNumbers(seed, &outOfRange)) {
        if (error) {
            *error = QStringLiteral("the seed's %1").arg(outOfRange);
        }
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_organisation = seed.value("organisation").toObject();
    m_users.clear();
    m_avatars.clear();
    m_contacts.clear();
    m_meetings.clear();
    m_roomParticipants.clear();
    m_tokens.clear();
    m_sipRegistrations.clear();
    m_userTokens.clear();
    m_acsTokens.clear();
    const qint64 now = nowMs();
    for (const QJsonValue &value : seed.value("users").toArray()) {
        QJsonObject user = value.toObject();
        const int id = user.value("id").toInt();
        if (id <= 0) {
            continue;
        }
        if (!user.contains("lastModifiedTime")) {
            user["lastModifiedTime"] = double(now / 1000);
        }
        m_users[id] = user;
        m_avatars[id] = CAvatarImage::jpeg(id, user.value("avatarColor").toString());
    }
    m_nextContactId = 1;
    for (const QJsonValue &value : seed.value("contacts").toArray()) {
        const QJsonObject contact = value.toObject();
        const int ownerId = contact.value("ownerId").toInt();
        const int userId = contact.value("userId").toInt();
        if (m_users.count(ownerId) && m_users.count(userId)) {
            m_contacts[m_nextContactId++] = {ownerId, userId};
        }
    }
    m_nextMeetingId = 1;
    m_nextNumericId = seed.value("firstMeetingNumber").toInt(80001);
    for (const QJsonValue &value : seed.value("meetings").toArray()) {
        QJsonObject meeting = value.toObject();
        // Seeds give times relative to the server's start, so the demo
        // always shows a running meeting and upcoming ones.
        if (!meeting.contains("startTime")) {
            meeting["startTime"] = double(now + qint64(meeting.value("startInMinutes").toDouble()) * kMinuteMs);
        }
        if (!meeting.contains("duration")) {
            meeting["duration"] = double(qint64(meeting.value("durationMinutes").toDouble(60)) * kMinuteMs);
        }
        meeting.remove("startInMinutes");
        meeting.remove("durationMinutes");
        const int id = meeting.value("id").toInt(m_nextMeetingId);
        meeting["id"] = id;
        if (!meeting.contains("numericId")) {
            meeting["numericId"] = allocateMeetingNumber();
        }
        if (!meeting.contains("status")) {
            meeting["status"] = kScheduled;
        }
        m_meetings[id] = meeting;
        m_nextMeetingId = std::max(m_nextMeetingId, id + 1);
        const int number = meeting.value("numericId").toInt();
        if (!isFixedRoom(number)) {
            m_nextNumericId = std::max(m_nextNumericId, number + 1);
        }
    }
    return true;
}

int CConfStore::allocateMeetingNumber()
{
    if (isFixedRoom(m_nextNumericId)) {
        m_nextNumericId = kLastFixedRoom + 1;
    }
    return m_nextNumericId++;
}

QString CConfStore::newToken(int userId)
{
    QByteArray random(16, Qt::Uninitialized);
    for (char &c : random) {
        c = char(QRandomGenerator::system()->bounded(256));
    }
    const QString token = QString::fromLatin1(random.toHex());
    m_tokens[token] = CTokenState{userId, false, nowMs()};
    // An account signed in on more devices than anybody has loses its
    // oldest sign-in, so that the account's online state stays cheap to tell.
    std::vector<QString> &own = m_userTokens[userId];
    if (own.size() >= size_t(kSessionsPerUser)) {
        m_tokens.erase(own.front());
        own.erase(own.begin());
    }
    own.push_back(token);
    // Every sign-in adds a token: old ones go now and then, so a server
    // that runs for weeks neither grows nor slows down.
    if (++m_tokensSincePrune >= 256) {
        forgetOldTokens();
    }
    return token;
}

bool CConfStore::isLive(const CTokenState &state) const
{
    return !state.expired && nowMs() - state.issuedMs < m_tokenLifetimeMs;
}

void CConfStore::forgetOldTokens()
{
    m_tokensSincePrune = 0;
    const qint64 oldest = nowMs() - m_tokenLifetimeMs - m_tokenRenewalMs;
    for (auto token = m_tokens.begin(); token != m_tokens.end();) {
        if (token->second.issuedMs >= oldest) {
            ++token;
            continue;
        }
        std::vector<QString> &own = m_userTokens[token->second.userId];
        own.erase(std::remove(own.begin(), own.end(), token->first), own.end());
        token = m_tokens.erase(token);
    }
}

void CConfStore::setTokenLifetime(std::chrono::milliseconds lifetime, std::chrono::milliseconds renewal)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tokenLifetimeMs = lifetime.count();
    m_tokenRenewalMs = renewal.count();
    forgetOldTokens();
}

int CConfStore::sessionCount(int userId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto own = m_userTokens.find(userId);
    if (own == m_userTokens.end()) {
        return 0;
    }
    return int(std::count_if(own->second.begin(), own->second.end(), [this](const QString &token) {
        const auto state = m_tokens.find(token);
        return state != m_tokens.end() && isLive(state->second);
    }));
}

int CConfStore::tokenCount()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    forgetOldTokens();
    return int(m_tokens.size());
}

QString CConfStore::issueToken(int userId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return newToken(userId);
}

void CConfStore::expireToken(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_tokens.find(token);
    if (found != m_tokens.end()) {
        found->second.expired = true;
    }
}

void CConfStore::addGeneratedMeetings(int count, int applicantId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const qint64 start = nowMs() + kMinuteMs * 60;
    for (int i = 0; i < count; ++i) {
        QJsonObject meeting;
        meeting["id"] = m_nextMeetingId;
        meeting["numericId"] = allocateMeetingNumber();
        meeting["name"] = QStringLiteral("Generated meeting %1").arg(i + 1);
        meeting["startTime"] = double(start + qint64(i) * kMinuteMs * 30);
        meeting["duration"] = double(kMinuteMs * 30);
        meeting["confPassword"] = QString();
        meeting["remarks"] = QStringLiteral("Weekly sync of team %1").arg(i % 50);
        meeting["status"] = kScheduled;
        meeting["applicantId"] = applicantId;
        meeting["userIds"] = QJsonArray{applicantId};
        m_meetings[m_nextMeetingId++] = meeting;
    }
}

void CConfStore::addGeneratedUsers(int count)
{
    static const char *const givenNames[] = {"Anna", "Ben",  "Carla", "Dmitri", "Elif",  "Farah", "Goran", "Hana",
                                             "Ivo",  "Jana", "Kenji", "Lena",   "Malik", "Nora",  "Oskar", "Pia"};
    static const char *const familyNames[] = {"Berg",   "Lindqvist", "Novak",  "Sato", "Okafor", "Meyer", "Costa",
                                              "Horvat", "Kaya",      "Brandt", "Ito",  "Silva",  "Weber"};
    std::lock_guard<std::mutex> lock(m_mutex);
    int id = m_users.empty() ? 1 : m_users.rbegin()->first + 1;
    const qint64 now = nowMs();
    for (int i = 0; i < count; ++i, ++id) {
        QJsonObject user;
        user["id"] = id;
        user["name"] = QStringLiteral("user%1").arg(id);
        user["password"] = QStringLiteral("Harbour#2026");
        user["displayName"] = QStringLiteral("%1 %2 %3")
                                  .arg(QLatin1String(givenNames[i % 16]), QLatin1String(familyNames[(i / 16) % 13]))
                                  .arg(id);
        user["email"] = QStringLiteral("user%1@harbourline.example").arg(id);
        user["callNumber"] = QString::number(700000 + id);
        user["vmr"] = QString::number(9700000 + id);
        user["sipUserName"] = user["callNumber"];
        user["status"] = 1;
        user["lastModifiedTime"] = double(now / 1000);
        m_users[id] = user;
    }
}

bool CConfStore::setMeetingStatus(int meetingId, const QString &status)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_meetings.find(meetingId);
    if (found == m_meetings.end()) {
        return false;
    }
    found->second["status"] = status;
    if (!isRunning(found->second)) {
        found->second.remove("participants");
    }
    return true;
}

int CConfStore::firstUserId()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_users.empty() ? 0 : m_users.begin()->first;
}

int CConfStore::userCount()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_users.size());
}

int CConfStore::userOf(const QString &token, bool acceptExpired) const
{
    const auto found = m_tokens.find(token);
    if (found == m_tokens.end()) {
        return 0;
    }
    const CTokenState &state = found->second;
    if (!isLive(state) && (!acceptExpired || nowMs() - state.issuedMs >= m_tokenLifetimeMs + m_tokenRenewalMs)) {
        return 0;
    }
    return state.userId;
}

CResult CConfStore::tokenError() const
{
    return CResult::error(codes::kInvalidToken, QStringLiteral("Invalid token"));
}

QString CConfStore::avatarPath(int userId) const
{
    return QStringLiteral("/userFiles/avatar/%1.jpg").arg(userId);
}

QJsonObject CConfStore::userJson(const QJsonObject &stored) const
{
    static const char *const texts[] = {"name",        "displayName",      "email", "telephone",   "cellphone",
                                        "description", "callNumber",       "vmr",   "sipUserName", "sipAuthName",
                                        "sipPassword", "companyShortName", "dept"};
    QJsonObject user;
    const int id = stored.value("id").toInt();
    user["id"] = id;
    for (const char *key : texts) {
        user[key] = stored.value(key).toString();
    }
    if (user.value("companyShortName").toString().isEmpty()) {
        user["companyShortName"] = m_organisation.value("companyShortName").toString();
    }
    // Passwords never leave the server.
    user["password"] = QString();
    user["imageURL"] = avatarPath(id);
    user["lastModifiedTime"] = stored.value("lastModifiedTime");
    user["systemmanager"] = stored.value("systemmanager").toBool();
    user["status"] = stored.value("status").toInt(1);
    user["passwordModifiedByUser"] = stored.value("passwordModifiedByUser").toBool(true);
    user["company"] = m_organisation.value("company").toInt(1);
    user["endpointId"] = stored.value("endpointId").toInt(id + 1000);
    return user;
}

QJsonObject CConfStore::contactJson(int contactId, int ownerId, int userId) const
{
    const QJsonObject &user = m_users.at(userId);
    bool online = false;
    const auto own = m_userTokens.find(userId);
    if (own != m_userTokens.end()) {
        for (const QString &token : own->second) {
            const auto state = m_tokens.find(token);
            online = online || (state != m_tokens.end() && isLive(state->second));
        }
    }
    QJsonObject contact;
    contact["id"] = contactId;
    contact["name"] = user.value("displayName").toString();
    contact["ownerId"] = ownerId;
    contact["email"] = user.value("email").toString();
    contact["telephone"] = user.value("telephone").toString();
    contact["cellphone"] = user.value("cellphone").toString();
    contact["userId"] = userId;
    contact["lastModifiedTime"] = user.value("lastModifiedTime");
    contact["userName"] = user.value("name").toString();
    contact["h323ConfNumber"] = user.value("callNumber").toString();
    contact["sipConfNumber"] = user.value("sipUserName").toString();
    contact["pstn"] = user.value("telephone").toString();
    contact["callNumber"] = user.value("callNumber").toString();
    contact["imageURL"] = avatarPath(userId);
    contact["status"] = online ? QStringLiteral("ONLINE") : QStringLiteral("OFFLINE");
    return contact;
}

QJsonObject CConfStore::personJson(int userId) const
{
    QJsonObject person;
    person["id"] = userId;
    const auto found = m_users.find(userId);
    if (found != m_users.end()) {
        person["name"] = found->second.value("name").toString();
        person["displayName"] = found->second.value("displayName").toString();
    }
    return person;
}

QJsonObject CConfStore::meetingJson(const QJsonObject &stored) const
{
    QJsonObject meeting;
    for (const char *key : {"id", "name", "startTime", "duration", "numericId", "confPassword", "remarks", "status"}) {
        meeting[key] = stored.value(key);
    }
    QJsonArray users;
    for (const QJsonValue &id : stored.value("userIds").toArray()) {
        users.append(personJson(id.toInt()));
    }
    meeting["users"] = users;
    meeting["applicant"] = personJson(stored.value("applicantId").toInt());
    return meeting;
}

int CConfStore::meetingIdByNumber(int number) const
{
    for (const auto &meeting : m_meetings) {
        if (meeting.second.value("numericId").toInt() == number) {
            return meeting.first;
        }
    }
    return 0;
}

CResult CConfStore::users(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!userOf(token)) {
        return tokenError();
    }
    QJsonArray users;
    for (const auto &user : m_users) {
        users.append(withoutSecrets(userJson(user.second)));
    }
    return CResult::ok(users);
}

CResult CConfStore::user(const QString &token, const QString &id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int caller = userOf(token);
    if (!caller) {
        return tokenError();
    }
    int userId = 0;
    if (!parseWhole(id, &userId) || !m_users.count(userId)) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("No such user"));
    }
    const QJsonObject user = userJson(m_users.at(userId));
    return CResult::ok(userId == caller ? user : withoutSecrets(user));
}

CResult CConfStore::contacts(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int owner = userOf(token);
    if (!owner) {
        return tokenError();
    }
    QJsonArray contacts;
    for (const auto &contact : m_contacts) {
        if (contact.second.first == owner) {
            contacts.append(contactJson(contact.first, owner, contact.second.second));
        }
    }
    return CResult::ok(contacts);
}

CResult CConfStore::addContact(const QString &token, const QByteArray &body)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int owner = userOf(token);
    if (!owner) {
        return tokenError();
    }
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const int userId = request.value("userId").toInt();
    if (!m_users.count(userId)) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("No such user"));
    }
    for (const auto &contact : m_contacts) {
        if (contact.second == std::make_pair(owner, userId)) {
            return CResult::ok(contactJson(contact.first, owner, userId));
        }
    }
    const int contactId = m_nextContactId++;
    m_contacts[contactId] = {owner, userId};
    return CResult::ok(contactJson(contactId, owner, userId));
}

CResult CConfStore::deleteContact(const QString &token, const QString &id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int owner = userOf(token);
    if (!owner) {
        return tokenError();
    }
    int contactId = 0;
    if (!parseWhole(id, &contactId) || !m_contacts.count(contactId)) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("No such contact"));
    }
    if (m_contacts.at(contactId).first != owner) {
        return CResult::error(codes::kNoPermission, QStringLiteral("Not your contact"));
    }
    m_contacts.erase(contactId);
    return CResult::empty();
}

CResult CConfStore::meetings(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    QJsonArray meetings;
    for (const auto &entry : m_meetings) {
        const QJsonObject &meeting = entry.second;
        const bool invited = meeting.value("userIds").toArray().contains(userId);
        if (meeting.value("status").toString() != kEnded &&
            (invited || meeting.value("applicantId").toInt() == userId)) {
            meetings.append(meetingJson(meeting));
        }
    }
    return CResult::ok(meetings);
}

CResult CConfStore::readMeetingBody(const QByteArray &body, QJsonObject *meeting) const
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString name = request.value("name").toString().trimmed();
    qint64 startTime = 0;
    qint64 duration = 0;
    if (name.isEmpty() || !readMs(request.value("startTime"), &startTime) || !request.value("duration").isDouble()) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("name, startTime and duration are required"));
    }
    if (!readMs(request.value("duration"), &duration) || duration <= 0 || duration > kLongestMeetingMs ||
        name.size() > kMaxNameLength) {
        return CResult::error(codes::kOutOfRange, QStringLiteral("duration or name out of range"));
    }
    QJsonArray userIds;
    for (const QJsonValue &id : request.value("userIds").toArray()) {
        if (!m_users.count(id.toInt())) {
            return CResult::error(codes::kInvalidParameter, QStringLiteral("No such user"));
        }
        if (!userIds.contains(id.toInt())) {
            userIds.append(id.toInt());
        }
    }
    (*meeting)["name"] = name;
    (*meeting)["startTime"] = double(startTime);
    (*meeting)["duration"] = double(duration);
    (*meeting)["confPassword"] = request.value("confPassword").toString();
    (*meeting)["remarks"] = request.value("remarks").toString();
    (*meeting)["userIds"] = userIds;
    return CResult();
}

CResult CConfStore::addMeeting(const QString &token, const QByteArray &body)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    QJsonObject meeting;
    const CResult check = readMeetingBody(body, &meeting);
    if (check.isError()) {
        return check;
    }
    const int id = m_nextMeetingId++;
    meeting["id"] = id;
    meeting["numericId"] = allocateMeetingNumber();
    meeting["applicantId"] = userId;
    const bool startsNow = qint64(meeting.value("startTime").toDouble()) <= nowMs() + kStartNowMarginMs;
    meeting["status"] = startsNow ? kOngoing : kScheduled;
    meeting["participants"] = QJsonArray{QJsonObject{{"userId", userId}, {"videoMode", true}}};
    m_meetings[id] = meeting;
    return CResult::ok(meetingJson(meeting));
}

CResult CConfStore::ownedMeeting(const QString &token, const QString &id, int *userId, int *meetingId) const
{
    *userId = userOf(token);
    if (!*userId) {
        return tokenError();
    }
    if (!parseWhole(id, meetingId) || !m_meetings.count(*meetingId)) {
        return CResult::error(codes::kMeetingMissing, QStringLiteral("Meeting does not exist"));
    }
    const bool organiser = m_meetings.at(*meetingId).value("applicantId").toInt() == *userId;
    if (!organiser && !m_users.at(*userId).value("systemmanager").toBool()) {
        return CResult::error(codes::kNoPermission, QStringLiteral("Only the organiser may change the meeting"));
    }
    return CResult();
}

CResult CConfStore::editMeeting(const QString &token, const QString &id, const QByteArray &body)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int userId = 0;
    int meetingId = 0;
    const CResult access = ownedMeeting(token, id, &userId, &meetingId);
    if (access.isError()) {
        return access;
    }
    QJsonObject meeting = m_meetings.at(meetingId);
    if (meeting.value("status").toString() == kEnded) {
        return CResult::error(codes::kMeetingEnded, QStringLiteral("The meeting has ended"));
    }
    const CResult check = readMeetingBody(body, &meeting);
    if (check.isError()) {
        return check;
    }
    if (!isRunning(meeting) && qint64(meeting.value("startTime").toDouble()) <= nowMs() + kStartNowMarginMs) {
        meeting["status"] = kOngoing;
        meeting["participants"] = QJsonArray{QJsonObject{{"userId", userId}, {"videoMode", true}}};
    }
    m_meetings[meetingId] = meeting;
    return CResult::ok(meetingJson(meeting));
}

CResult CConfStore::deleteMeeting(const QString &token, const QString &id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int userId = 0;
    int meetingId = 0;
    const CResult access = ownedMeeting(token, id, &userId, &meetingId);
    if (access.isError()) {
        return access;
    }
    const QJsonObject &meeting = m_meetings.at(meetingId);
    if (isRunning(meeting)) {
        return CResult::error(codes::kMeetingRunning, QStringLiteral("The meeting is in progress"));
    }
    m_meetings.erase(meetingId);
    return CResult::empty();
}

CResult CConfStore::terminateMeeting(const QString &token, const QString &id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int userId = 0;
    int meetingId = 0;
    const CResult access = ownedMeeting(token, id, &userId, &meetingId);
    if (access.isError()) {
        return access;
    }
    QJsonObject &meeting = m_meetings.at(meetingId);
    if (!isRunning(meeting)) {
        return CResult::error(codes::kMeetingEnded, QStringLiteral("The meeting is not running"));
    }
    meeting["status"] = kEnded;
    meeting.remove("participants");
    return CResult::empty();
}

CResult CConfStore::participantsOf(const QString &number) const
{
    int meetingNumber = 0;
    if (!parseWhole(number, &meetingNumber)) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("The meeting number is not a number"));
    }
    const int meetingId = meetingIdByNumber(meetingNumber);
    if (!meetingId) {
        if (userByRoom(number)) {
            // A personal room is always open: whoever is in it now.
            const auto room = m_roomParticipants.find(number);
            return CResult::ok(participantsJson(room != m_roomParticipants.end() ? room->second : QJsonArray()));
        }
        return CResult::error(codes::kMeetingMissing, QStringLiteral("Meeting does not exist"));
    }
    const QJsonObject &meeting = m_meetings.at(meetingId);
    const QJsonArray entries = meeting.value("participants").toArray();
    // Who dialled into a meeting before its start is in it all the same.
    const bool joined = std::any_of(entries.begin(), entries.end(),
                                    [](const QJsonValue &entry) { return entry.toObject().contains("participantId"); });
    if (!isRunning(meeting) && !joined) {
        return CResult::error(codes::kMeetingEnded, QStringLiteral("The meeting is not running"));
    }
    return CResult::ok(participantsJson(entries));
}

QJsonArray CConfStore::participantsJson(const QJsonArray &entries) const
{
    QJsonArray participants;
    for (const QJsonValue &value : entries) {
        const QJsonObject entry = value.toObject();
        const int userId = entry.value("userId").toInt();
        const auto user = m_users.find(userId);
        QJsonObject participant;
        participant["userId"] = userId;

        participant["videoMode"] = entry.value("videoMode").toBool(true);
        participant["halfDuplex"] = entry.value("halfDuplex").toBool(false);
        if (user != m_users.end()) {
            participant["name"] = user->second.value("displayName").toString();
            participant["sipUserName"] = user->second.value("sipUserName").toString();
            participant["userLastModifiedTime"] = user->second.value("lastModifiedTime").toDouble() * 1000;
        } else if (userId == 0 && entry.contains("participantId")) {
            // A guest who joined: known by the name it gave.
            participant["name"] = entry.value("name").toString();
            participant["sipUserName"] = QString();
            participant["userLastModifiedTime"] = 0;
        } else {
            continue;
        }
        participants.append(participant);
    }
    return participants;
}

bool CConfStore::isMember(const QJsonObject &meeting, int userId) const
{
    if (userId == 0) {
        return false;
    }
    if (meeting.value("applicantId").toInt() == userId) {
        return true;
    }
    // The invited are listed from the start; who joins is added on joining.
    const QJsonArray entries = meeting.value("participants").toArray();
    return std::any_of(entries.begin(), entries.end(), [userId](const QJsonValue &entry) {
        return entry.toObject().value("userId").toInt() == userId;
    });
}

CResult CConfStore::participants(const QString &token, const QString &number)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    if (meetingId && !isMember(m_meetings.at(meetingId), userId)) {
        return CResult::error(codes::kNoPermission, QStringLiteral("Not a member of this meeting"));
    }
    return participantsOf(number);
}

CResult CConfStore::acsToken(const QString &token, const QString &number, const QString &deviceId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    static const QRegularExpression device(QStringLiteral("^[0-9]{1,20}$"));
    int meetingNumber = 0;
    if (!parseWhole(number, &meetingNumber) || !device.match(deviceId).hasMatch()) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("confNumericId and deviceId must be numbers"));
    }
    const int meetingId = meetingIdByNumber(meetingNumber);
    if (!meetingId) {
        return CResult::error(codes::kMeetingMissing, QStringLiteral("Meeting does not exist"));
    }
    if (!isRunning(m_meetings.at(meetingId))) {
        return CResult::error(codes::kMeetingEnded, QStringLiteral("The meeting is not running"));
    }
    if (!isMember(m_meetings.at(meetingId), userId)) {
        return CResult::error(codes::kNoPermission, QStringLiteral("Not a member of this meeting"));
    }
    const QJsonObject claims{{"sub", userId}, {"conf", meetingNumber}, {"dev", deviceId}, {"iat", nowMs() / 1000}};
    const QByteArray payload = QJsonDocument(claims).toJson(QJsonDocument::Compact);
    const QByteArray header = QByteArrayLiteral(R"({"alg":"HS256","typ":"JWT"})");
    const auto base64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;
    const QByteArray signedPart = header.toBase64(base64) + '.' + payload.toBase64(base64);
    const QByteArray signature = QCryptographicHash::hash(signedPart + token.toUtf8(), QCryptographicHash::Sha256);
    const QString jwt = QString::fromLatin1(signedPart + '.' + signature.toBase64(base64));
    if (m_acsTokens.size() >= kAcsTokensBeforePrune) {
        forgetEndedAcsTokens();
    }
    m_acsTokens[jwt] = CAcsTokenState{CAcsGrant{userId, meetingNumber, deviceId}, token, false};
    QJsonObject reply;
    reply["acsJsonWebToken"] = jwt;
    reply["internalEdgeIp"] = QStringLiteral("127.0.0.1");
    reply["externalEdgeIp"] = QStringLiteral("127.0.0.1");
    return CResult::ok(reply);
}

bool CConfStore::acsGrant(const QString &jwt, CAcsGrant *grant)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_acsTokens.find(jwt);
    if (found == m_acsTokens.end() || !isAcsLive(found->second)) {
        return false;
    }
    if (grant) {
        *grant = found->second.grant;
    }
    return true;
}

void CConfStore::expireAcsToken(const QString &jwt)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_acsTokens.find(jwt);
    if (found != m_acsTokens.end()) {
        found->second.expired = true;
    }
}

bool CConfStore::isAcsLive(const CAcsTokenState &state) const
{
    if (state.expired) {
        return false;
    }
    // The holder must still be signed in with the sign-in the token came
    // from, and still be in the meeting: one who left, or signed out, no
    // longer reads or draws on its board.
    const int meetingId = meetingIdByNumber(state.grant.meetingNumber);
    return meetingId && isRunning(m_meetings.at(meetingId)) && userOf(state.issuer) == state.grant.userId &&
           isMember(m_meetings.at(meetingId), state.grant.userId);
}

void CConfStore::forgetEndedAcsTokens()
{
    for (auto token = m_acsTokens.begin(); token != m_acsTokens.end();) {
        token = isAcsLive(token->second) ? std::next(token) : m_acsTokens.erase(token);
    }
}

CResult CConfStore::features()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QJsonObject features;
    features["apiVersion"] = QStringLiteral("v1");
    features["enableChangePassword"] = m_organisation.value("enableChangePassword").toBool(true);
    features["appServerType"] = m_organisation.value("appServerType").toString(QStringLiteral("UCM"));
    features["urlSuffixForPC"] = m_organisation.value("urlSuffixForPC").toString();
    features["whiteboard"] = true;
    return CResult::ok(features);
}

CResult CConfStore::login(const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString account = request.value("account").toString();
    const QString password = request.value("password").toString();
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &user : m_users) {
        const bool named = !account.isEmpty() && (user.second.value("name").toString() == account ||
                                                  user.second.value("email").toString() == account);
        if (!named || user.second.value("password").toString() != password) {
            continue;
        }
        // Only the account's owner learns that it is locked or not in use:
        // without the password every refusal reads the same.
        const QString state = user.second.value("accountState").toString();
        if (state == QLatin1String("locked")) {
            return CResult::error(codes::kAccountLocked, QStringLiteral("Account is locked"));
        }
        if (state == QLatin1String("unused")) {
            return CResult::error(codes::kAccountUnused, QStringLiteral("Account is not used"));
        }
        QJsonObject reply;
        reply["token"] = newToken(user.first);
        reply["user"] = userJson(user.second);
        return CResult::ok(reply);
    }
    return CResult::error(codes::kInvalidLogin, QStringLiteral("Invalid username or password"));
}

CResult CConfStore::refreshUser(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token, true);
    if (!userId) {
        return tokenError();
    }
    QString current = token;
    if (!isLive(m_tokens.at(token))) {
        m_tokens.erase(token);
        std::vector<QString> &own = m_userTokens[userId];
        own.erase(std::remove(own.begin(), own.end(), token), own.end());
        current = newToken(userId);
    }
    QJsonObject reply;
    reply["token"] = current;
    reply["user"] = userJson(m_users.at(userId));
    return CResult::ok(reply);
}

CResult CConfStore::changeDisplayName(const QString &token, const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString name = request.value("displayName").toString().trimmed();
    if (name.isEmpty()) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("The display name is empty"));
    }
    if (name.size() > kMaxNameLength) {
        return CResult::error(codes::kOutOfRange, QStringLiteral("The display name is too long"));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    QJsonObject &user = m_users.at(userId);
    user["displayName"] = name;
    user["lastModifiedTime"] = double(nowMs() / 1000);
    return CResult::ok(QJsonObject{{"displayName", name}});
}

CResult CConfStore::ring(const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString account = request.value("account").toString();
    const QString from = request.value("from").toString();
    if (account.isEmpty() || from.isEmpty()) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("account and from are required"));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &user : m_users) {
        if (user.second.value("name").toString() != account && user.second.value("email").toString() != account) {
            continue;
        }
        QJsonObject call;
        call["from"] = from;
        call["number"] = request.value("number").toString();
        call["audioOnly"] = request.value("audioOnly").toBool();
        m_rings[user.first] = call;
        return CResult::ok(QJsonObject());
    }
    return CResult::error(codes::kInvalidParameter, QStringLiteral("No such account"));
}

CResult CConfStore::takeIncoming(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token, false);
    if (!userId) {
        return tokenError();
    }
    QJsonObject reply;
    const auto ringing = m_rings.find(userId);
    if (ringing != m_rings.end()) {
        reply["incoming"] = ringing->second;
        m_rings.erase(ringing);
    }
    return CResult::ok(reply);
}

bool CConfStore::hasOwnPasswordPolicy()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_organisation.value("appServerType").toString() == QStringLiteral("CCM");
}

bool CConfStore::hasWaitingRing() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_rings.empty();
}

CResult CConfStore::passwordPolicy()
{
    QJsonObject policy;
    if (hasOwnPasswordPolicy()) {
        policy["minLength"] = 8;
        policy["maxLength"] = 32;
        policy["charTypes"] = 2;
        policy["specialChars"] = kSpecialCharacters;
    } else {
        // The client's own rule for such a server: any printable character
        // but a space, so every sign the engine might test for is allowed.
        policy["minLength"] = kLocalRuleMinLength;
        policy["maxLength"] = kLocalRuleMaxLength;
        policy["charTypes"] = 1;
        policy["specialChars"] = kPrintableSigns;
    }
    return CResult::ok(policy);
}

bool CConfStore::acceptsNewPassword(const QString &password)
{
    if (hasOwnPasswordPolicy()) {
        return password.size() >= 8 && password.size() <= 32 && characterTypes(password) >= 2;
    }
    // The rule the client tests before it asks for a change on a server
    // without a policy of its own, so that what it lets through is taken.
    return password.size() >= kLocalRuleMinLength && password.size() <= kLocalRuleMaxLength &&
           !password.contains(QLatin1Char(' '));
}

CResult CConfStore::changePassword(const QString &token, const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString password = request.value("newPassword").toString();
    const bool accepted = acceptsNewPassword(password);
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    QJsonObject &user = m_users.at(userId);
    if (user.value("password").toString() != request.value("oldPassword").toString()) {
        return CResult::error(codes::kWrongCredentials, QStringLiteral("The old password is wrong"));
    }
    if (!accepted) {
        return CResult::error(codes::kPasswordPolicy, QStringLiteral("The new password breaks the password policy"));
    }
    user["password"] = password;
    user["passwordModifiedByUser"] = true;
    return CResult::ok(QJsonObject());
}

CResult CConfStore::uploadAvatar(const QString &token, const QByteArray &image)
{
    {
        // Who may upload is settled before any work is spent on the picture.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!userOf(token)) {
            return tokenError();
        }
    }
    QImage decoded;
    switch (CAvatarImage::decode(image, &decoded)) {
    case CAvatarImage::Decoded::Picture:
        break;
    case CAvatarImage::Decoded::NotAPicture:
        return CResult::error(codes::kInvalidParameter, QStringLiteral("The body is not an image"));
    case CAvatarImage::Decoded::TooLarge:
        return CResult::error(codes::kInvalidParameter,
                              QStringLiteral("The picture is larger than %1 x %1 pixels").arg(CAvatarImage::kMaxSide));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const int userId = userOf(token);
    if (!userId) {
        return tokenError();
    }
    m_avatars[userId] = CAvatarImage::jpeg(decoded);
    m_users.at(userId)["lastModifiedTime"] = double(nowMs() / 1000);
    return CResult::ok(QJsonObject{{"imageURL", avatarPath(userId)}});
}

CResult CConfStore::uploadFeedback(const QString &token, const QString &contact, const QString &description,
                                   const QByteArray &archive)
{
    CFeedbackRecord record;
    QString folder;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const int userId = token.isEmpty() ? 0 : userOf(token);
        if (!token.isEmpty() && !userId) {
            return tokenError();
        }
        if (archive.isEmpty()) {
            return CResult::error(codes::kInvalidParameter, QStringLiteral("The feedback is empty"));
        }
        record.id = ++m_feedbackCount;
        record.user = userId ? m_users.at(userId).value("name").toString() : QString();
        folder = feedbackFolder();
    }
    record.contact = contact;
    record.description = description;
    record.size = archive.size();
    // Written outside the lock: an archive of many megabytes holds up nobody else.
    const QString base = QStringLiteral("%1/feedback-%2").arg(folder).arg(record.id);
    QFile zip(base + QStringLiteral(".zip"));
    QFile about(base + QStringLiteral(".json"));
    const QJsonObject details{{"contact", contact},
                              {"description", description},
                              {"user", record.user},
                              {"size", archive.size()},
                              {"receivedAt", QDateTime::currentDateTime().toString(Qt::ISODate)}};
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (folder.isEmpty() || !zip.open(QIODevice::WriteOnly) || !zip.setPermissions(ownerOnly) ||
        zip.write(archive) != archive.size() || !about.open(QIODevice::WriteOnly) || !about.setPermissions(ownerOnly) ||
        about.write(QJsonDocument(details).toJson()) < 0) {
        zip.remove();
        about.remove();
        return CResult::error(codes::kInvalidParameter, QStringLiteral("The feedback could not be stored"));
    }
    zip.close();
    about.close();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_feedbacks.push_back(CKeptFeedback{record, base});
    m_feedbackBytes += record.size;
    forgetOldFeedbacks();
    return CResult::ok(QJsonObject{{"feedbackId", record.id}, {"size", archive.size()}});
}

QString CConfStore::feedbackFolder()
{
    if (!m_feedbackFolder.isEmpty()) {
        return m_feedbackFolder;
    }
    if (!m_feedbackScratch) {
        m_feedbackScratch = std::make_unique<QTemporaryDir>();
    }
    return m_feedbackScratch->isValid() ? m_feedbackScratch->path() : QString();
}

void CConfStore::forgetOldFeedbacks()
{
    while (m_feedbacks.size() > 1 &&
           (m_feedbacks.size() > size_t(m_feedbacksKept) || m_feedbackBytes > m_feedbackBytesKept)) {
        const CKeptFeedback &oldest = m_feedbacks.front();
        QFile::remove(oldest.base + QStringLiteral(".zip"));
        QFile::remove(oldest.base + QStringLiteral(".json"));
        m_feedbackBytes -= oldest.record.size;
        m_feedbacks.pop_front();
    }
}

int CConfStore::feedbackCount()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_feedbackCount;
}

std::vector<CFeedbackRecord> CConfStore::feedbacks()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<CFeedbackRecord> records;
    for (const CKeptFeedback &kept : m_feedbacks) {
        records.push_back(kept.record);
        QFile zip(kept.base + QStringLiteral(".zip"));
        if (zip.open(QIODevice::ReadOnly)) {
            records.back().archive = zip.readAll();
        }
    }
    return records;
}

void CConfStore::setFeedbackFolder(const QString &folder)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_feedbackFolder = folder;
}

void CConfStore::setFeedbackLimits(int count, qint64 bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_feedbacksKept = std::max(1, count);
    m_feedbackBytesKept = bytes;
    forgetOldFeedbacks();
}

void CConfStore::publishUpgrade(const QString &version, const QString &packageName, const QByteArray &package)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_upgrade.version = version;
    m_upgrade.packageName = packageName;
    m_upgrade.package = package;
    m_upgrade.checksumLine =
        QCryptographicHash::hash(package, QCryptographicHash::Sha256).toHex() + "  " + packageName.toUtf8() + "\n";
    m_upgrade.checksumPublished = !packageName.isEmpty();
}

void CConfStore::setUpgradeChecksum(const QByteArray &line, bool published)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_upgrade.checksumLine = line;
    m_upgrade.checksumPublished = published;
}

void CConfStore::setUpgradeUrlAbsolute(bool absolute)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_upgrade.absoluteUrl = absolute;
}

CUpgradeOffer CConfStore::upgradeOffer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_upgrade;
}

int CConfStore::userByRoom(const QString &number) const
{
    for (const auto &user : m_users) {
        if (!number.isEmpty() && user.second.value("vmr").toString() == number) {
            return user.first;
        }
    }
    return 0;
}

int CConfStore::userByCallNumber(const QString &number) const
{
    for (const auto &user : m_users) {
        if (!number.isEmpty() && user.second.value("callNumber").toString() == number) {
            return user.first;
        }
    }
    return 0;
}

CResult CConfStore::meetingInfo(const QString &number)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    if (!meetingId && meetingNumber > 0) {
        // A user's permanent room is always open; a user's own number is a
        // direct call to that user.
        QJsonObject info;
        info["numericId"] = meetingNumber;
        info["status"] = kOngoing;
        info["passwordRequired"] = false;
        if (const int owner = userByRoom(number)) {
            info["name"] = QStringLiteral("%1's room").arg(m_users.at(owner).value("displayName").toString());
            return CResult::ok(info);
        }
        if (const int callee = userByCallNumber(number)) {
            info["name"] = m_users.at(callee).value("displayName").toString();
            info["pointToPoint"] = true;
            return CResult::ok(info);
        }
    }
    if (!meetingId || m_meetings.at(meetingId).value("status").toString() == kEnded) {
        return CResult::error(codes::kMeetingUnavailable, QStringLiteral("The meeting does not exist or has ended"));
    }
    const QJsonObject &meeting = m_meetings.at(meetingId);
    QJsonObject info;
    info["numericId"] = meetingNumber;
    info["status"] = meeting.value("status").toString();
    const bool passwordRequired = !meeting.value("confPassword").toString().isEmpty();
    info["passwordRequired"] = passwordRequired;
    // Anyone may dial a number; what a password protects is told only
    // after the password.
    if (!passwordRequired) {
        info["name"] = meeting.value("name").toString();
    }
    if (meeting.value("waitQueue").toInt() > 0) {
        info["waitQueue"] = meeting.value("waitQueue").toInt();
    }
    return CResult::ok(info);
}

CResult CConfStore::checkMeetingPassword(const QString &number, const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    if (!meetingId) {
        return CResult::error(codes::kMeetingUnavailable, QStringLiteral("The meeting does not exist or has ended"));
    }
    const QJsonObject &meeting = m_meetings.at(meetingId);
    if (meeting.value("confPassword").toString() != request.value("password").toString()) {
        return CResult::error(codes::kWrongMeetingRoomPassword, QStringLiteral("Wrong meeting password"));
    }
    return CResult::ok(QJsonObject{{"numericId", meetingNumber},
                                   {"name", meeting.value("name").toString()},
                                   {"status", meeting.value("status").toString()},
                                   {"passwordRequired", true}});
}

CResult CConfStore::peopleIn(const QString &number)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return participantsOf(number);
}

CResult CConfStore::meetingParticipants(const QString &number, const QString &token, const QString &participantId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    if (meetingId) {
        const QJsonObject &meeting = m_meetings.at(meetingId);
        bool allowed = meeting.value("confPassword").toString().isEmpty() || isMember(meeting, userOf(token));
        bool numeric = false;
        const double caller = participantId.toDouble(&numeric);
        const QJsonArray entries = meeting.value("participants").toArray();
        allowed = allowed || (numeric && std::any_of(entries.begin(), entries.end(), [caller](const QJsonValue &entry) {
                                  const QJsonValue id = entry.toObject().value("participantId");
                                  return !id.isUndefined() && id.toDouble() == caller;
                              }));
        if (!allowed) {
            return CResult::error(codes::kNoPermission, QStringLiteral("Not a member of this meeting"));
        }
    }
    return participantsOf(number);
}

CResult CConfStore::joinMeeting(const QString &token, const QString &number, const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    int userId = 0;
    if (!token.isEmpty()) {
        userId = userOf(token);
        if (!userId) {
            return tokenError();
        }
    }
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    if (!meetingId && meetingNumber > 0) {
        if (const int owner = userByRoom(number)) {
            return joinRoom(number, owner, userId, request);
        }
    }
    if (!meetingId || m_meetings.at(meetingId).value("status").toString() == kEnded) {
        return CResult::error(codes::kMeetingUnavailable, QStringLiteral("The meeting does not exist or has ended"));
    }
    QJsonObject &meeting = m_meetings.at(meetingId);
    // The join itself proves the password, so the list holds nobody who
    // skipped the password check.
    if (meeting.value("confPassword").toString() != request.value("password").toString()) {
        return CResult::error(codes::kWrongMeetingRoomPassword, QStringLiteral("Wrong meeting password"));
    }
    // Who is in it before the caller: the joiner learns it with the join,
    // as the list is only for those in the meeting.
    const CResult before = participantsOf(number);
    const QJsonArray others = before.isError() ? QJsonArray() : before.value.toArray();
    QString name = request.value("displayName").toString().trimmed().left(kMaxNameLength);
    if (name.isEmpty()) {
        name = userId ? m_users.at(userId).value("displayName").toString() : QStringLiteral("Guest");
    }
    const bool video = request.value("videoMode").toBool(true);
    // Not a counter: a participant id is all a leave needs, so others must
    // not be able to guess it.
    const qint64 participantId = qint64(QRandomGenerator::system()->generate64() >> 12) + 1;
    QJsonArray participants = meeting.value("participants").toArray();
    bool tookOver = false;
    for (int i = 0; i < participants.size() && userId && !tookOver; ++i) {
        QJsonObject entry = participants.at(i).toObject();
        if (entry.value("userId").toInt() == userId && !entry.contains("participantId")) {
            // A person the meeting already listed joins: that entry is them.
            entry["participantId"] = double(participantId);
            entry["videoMode"] = video;
            participants[i] = entry;
            tookOver = true;
        }
    }
    if (!tookOver) {
        participants.append(QJsonObject{
            {"participantId", double(participantId)}, {"userId", userId}, {"name", name}, {"videoMode", video}});
    }
    meeting["participants"] = participants;
    const bool controllable = userId != 0 && (meeting.value("applicantId").toInt() == userId ||
                                              m_users.at(userId).value("systemmanager").toBool());
    return CResult::ok(QJsonObject{
        {"participantId", double(participantId)}, {"controllable", controllable}, {"participants", others}});
}

CResult CConfStore::joinRoom(const QString &number, int owner, int userId, const QJsonObject &request)
{
    QString name = request.value("displayName").toString().trimmed().left(kMaxNameLength);
    if (name.isEmpty()) {
        name = userId ? m_users.at(userId).value("displayName").toString() : QStringLiteral("Guest");
    }
    const qint64 participantId = qint64(QRandomGenerator::system()->generate64() >> 12) + 1;
    const QJsonArray others = participantsJson(m_roomParticipants[number]);
    m_roomParticipants[number].append(QJsonObject{{"participantId", double(participantId)},
                                                  {"userId", userId},
                                                  {"name", name},
                                                  {"videoMode", request.value("videoMode").toBool(true)}});
    // The owner runs the room; nobody needs a password for it.
    return CResult::ok(QJsonObject{
        {"participantId", double(participantId)}, {"controllable", userId == owner}, {"participants", others}});
}

CResult CConfStore::leaveMeeting(const QString &number, const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    int meetingNumber = 0;
    const int meetingId = parseWhole(number, &meetingNumber) ? meetingIdByNumber(meetingNumber) : 0;
    const bool room = !meetingId && meetingNumber > 0 && userByRoom(number);
    if (!meetingId && !room) {
        return CResult::error(codes::kMeetingUnavailable, QStringLiteral("The meeting does not exist or has ended"));
    }
    const double participantId = request.value("participantId").toDouble(-1);
    QJsonArray participants =
        room ? m_roomParticipants[number] : m_meetings.at(meetingId).value("participants").toArray();
    for (int i = 0; i < participants.size(); ++i) {
        const QJsonValue id = participants.at(i).toObject().value("participantId");
        if (!id.isUndefined() && id.toDouble() == participantId) {
            participants.removeAt(i);
            if (room) {
                m_roomParticipants[number] = participants;
            } else {
                m_meetings.at(meetingId)["participants"] = participants;
            }
            return CResult::ok(QJsonObject());
        }
    }
    return CResult::error(codes::kInvalidParameter, QStringLiteral("No such participant"));
}

QByteArray CConfStore::avatar(int userId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_avatars.find(userId);
    if (found != m_avatars.end()) {
        return found->second;
    }
    // Generated users get their picture when it is first asked for.
    const auto user = m_users.find(userId);
    if (user == m_users.end()) {
        return QByteArray();
    }
    return m_avatars[userId] = CAvatarImage::jpeg(userId, user->second.value("avatarColor").toString());
}

QByteArray CConfStore::avatarOfToken(const QString &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_avatars.find(userOf(token));
    return found == m_avatars.end() ? QByteArray() : found->second;
}

CResult CConfStore::registerSip(const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    const QString username = request.value("username").toString();
    const QString password = request.value("password").toString();
    if (username.isEmpty()) {
        return CResult::error(codes::kInvalidParameter, QStringLiteral("username is missing"));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto &user : m_users) {
        const QJsonObject &stored = user.second;
        const QString authName = stored.value("sipAuthName").toString();
        const QString sipName = authName.isEmpty() ? stored.value("sipUserName").toString() : authName;
        const QString secret = stored.value("sipPassword").toString();
        if (sipName != username || secret.isEmpty() || secret != password) {
            continue;
        }
        m_sipRegistrations.insert(username);
        return CResult::ok(
            QJsonObject{{"registered", true}, {"number", stored.value("sipUserName").toString()}, {"expires", 3600}});
    }
    return CResult::error(codes::kWrongCredentials, QStringLiteral("Wrong SIP user name or password"));
}

CResult CConfStore::unregisterSip(const QByteArray &body)
{
    QJsonObject request;
    if (!parseObject(body, &request)) {
        return notAnObject();
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sipRegistrations.erase(request.value("username").toString());
    return CResult::ok(QJsonObject());
}

bool CConfStore::isSipRegistered(const QString &username)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sipRegistrations.count(username) > 0;
}

} // namespace confserver
