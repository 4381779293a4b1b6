#include "cmodelbackend.h"

#include <QByteArray>
#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include "cjsontext.h"

namespace kd {
namespace sdk {

namespace {

std::vector<std::string> stringList(const QJsonValue &value)
{
    std::vector<std::string> result;
    for (const QJsonValue &item : value.toArray()) {
        result.push_back(item.toString().toStdString());
    }
    return result;
}

std::string text(const QJsonObject &object, const char *key, const char *fallback = "")
{
    return object.value(QLatin1String(key)).toString(QString::fromUtf8(fallback)).toStdString();
}

// A plain picture with the account's initial, so that every account has an avatar.
std::string initialsImage(const std::string &name)
{
    QImage image(96, 96, QImage::Format_RGB32);
    const uint hash = qHash(QByteArray::fromStdString(name));
    image.fill(QColor::fromHsv(int(hash % 360), 120, 200));
    QPainter painter(&image);
    QFont font = painter.font();
    font.setPixelSize(48);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, QString::fromUtf8(name.c_str()).left(1).toUpper());
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes.toStdString();
}

} // namespace

const KDModelServer *CModelBackend::findServer(const std::string &address) const
{
    for (const KDModelServer &server : m_servers) {
        if (server.address == address) {
            return &server;
        }
    }
    return nullptr;
}

COutcome CModelBackend::getFeature(const std::string &server, unsigned port, kd::engine::AVFeature &feature)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (server.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    KDModelServer open;
    open.address = server;
    const KDModelServer *known = m_servers.empty() ? &open : findServer(server);
    if (!known) {
        return KD_ERR_SERVER_UNREACHABLE;
    }
    if (!known->hasFeatureRecord) {
        return KD_ERR_NO_FEATURE_RECORD;
    }
    feature.appServerType = known->appServerType;
    feature.version = known->version;
    feature.apiEnabled = known->apiEnabled;
    feature.passwordEncryptionWithAES = known->passwordEncryptionWithAES;
    feature.enableChangePassword = known->enableChangePassword;
    return KD_OK;
}

std::string CModelBackend::newToken()
{
    ++m_tokenCounter;
    const QByteArray seed = QByteArray::number(QDateTime::currentMSecsSinceEpoch()) + '/' +
                            QByteArray::number(qulonglong(m_tokenCounter)) + '/' +
                            QByteArray::number(qulonglong(reinterpret_cast<quintptr>(this)));
    return QCryptographicHash::hash(seed, QCryptographicHash::Sha256).toHex().toStdString();
}

void CModelBackend::fillUser(const KDModelAccount &account, const std::string &server, const std::string &token,
                             kd::engine::KDUserInfo &user) const
{
    user = kd::engine::KDUserInfo();
    user.userId = account.userId;
    user.username = account.username;
    user.displayName = account.displayName.empty() ? account.username : account.displayName;
    user.org = account.org;
    user.email = account.email;
    user.callNumber = account.callNumber;
    user.vmr = account.vmr;
    user.sipUserName = account.username;
    user.deviceId = 0x10000 + account.userId;
    user.passwordChangeRequired = account.passwordChangeRequired;
    user.token = token;
    user.serverTime = uint64_t(QDateTime::currentMSecsSinceEpoch());
    user.p2pCall = true;
    const KDModelServer *known = findServer(server);
    if (known) {
        user.appServerType = known->appServerType;
        user.urlSuffixForPC = known->urlSuffixForPC;
    }
}

COutcome CModelBackend::ping(const std::string &host, unsigned port, size_t upload, size_t download,
                             std::chrono::milliseconds limit)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    // The servers of the model answer at once; with none listed, every one does.
    return m_servers.empty() || findServer(host) ? COutcome() : COutcome(KD_ERR_SERVER_UNREACHABLE);
}

COutcome CModelBackend::signIn(const std::string &server, unsigned port, const std::string &username,
                               const std::string &password, kd::engine::KDUserInfo &user)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (server.empty() || username.empty()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    if (!m_servers.empty() && !findServer(server)) {
        return KD_ERR_SERVER_UNREACHABLE;
    }
    const auto found = m_accounts.find(username);
    // An unknown account reads like a wrong password, so names cannot be probed.
    if (found == m_accounts.end() || found->second.password != password) {
        return COutcome::refused(KD_SERVER_ERROR_WRONG_CREDENTIALS, "Invalid username or password");
    }
    if (found->second.accountState == "locked") {
        return COutcome::refused(KD_SERVER_ERROR_ACCOUNT_LOCKED, "Account is locked");
    }
    if (found->second.accountState == "unused") {
        return COutcome::refused(KD_SERVER_ERROR_ACCOUNT_UNUSED, "Account is not used");
    }
    const std::string token = newToken();
    m_tokens[token] = username;
    m_tokenServers[token] = server;
    fillUser(found->second, server, token, user);
    return KD_OK;
}

KDModelAccount *CModelBackend::accountOfToken(const std::string &token)
{
    const auto owner = m_tokens.find(token);
    if (owner == m_tokens.end()) {
        return nullptr;
    }
    const auto account = m_accounts.find(owner->second);
    return account == m_accounts.end() ? nullptr : &account->second;
}

int CModelBackend::refreshUser(const std::string &token, kd::engine::KDUserInfo &user)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const KDModelAccount *account = accountOfToken(token);
    if (!account) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    const std::string server = m_tokenServers[token];
    const std::string fresh = newToken();
    m_tokens.erase(token);
    m_tokenServers.erase(token);
    m_tokens[fresh] = account->username;
    m_tokenServers[fresh] = server;
    fillUser(*account, server, fresh, user);
    return KD_OK;
}

void CModelBackend::signOut(const std::string &token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_tokens.erase(token);
    m_tokenServers.erase(token);
}

kd::engine::KDPasswordPolicy CModelBackend::passwordPolicy()
{
    kd::engine::KDPasswordPolicy policy;
    policy.minLength = 8;
    policy.maxLength = 32;
    policy.typeCount = 2;
    policy.specialChars = "~!@#$%^&*()_+-=";
    return policy;
}

int CModelBackend::changePassword(const std::string &token, const std::string &oldPassword,
                                  const std::string &newPassword)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    KDModelAccount *account = accountOfToken(token);
    if (!account) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    if (account->password != oldPassword) {
        return KD_ERR_AUTH_FAILED;
    }
    account->password = newPassword;
    account->passwordChangeRequired = false;
    return KD_OK;
}

int CModelBackend::changeDisplayName(const std::string &token, const std::string &displayName)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    KDModelAccount *account = accountOfToken(token);
    if (!account) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    account->displayName = displayName;
    return KD_OK;
}

COutcome CModelBackend::joinMeeting(const std::string &number, const std::string &password, const std::string &server,
                                    const KDJoinRequest & /*who*/, KDMeetingInfo &meeting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_meetings.find(number);
    if (found == m_meetings.end()) {
        return COutcome::refused(KD_SERVER_ERROR_MEETING_UNAVAILABLE, "The meeting does not exist or has ended");
    }
    if (!found->second.password.empty() && password.empty()) {
        return COutcome::refused(KD_SERVER_ERROR_MEETING_PASSWORD_REQUIRED, "The meeting password is required");
    }
    if (!found->second.password.empty() && found->second.password != password) {
        return COutcome::refused(KD_SERVER_ERROR_WRONG_MEETING_PASSWORD, "Wrong meeting password");
    }
    meeting.number = found->second.number;
    meeting.name = found->second.name.empty() ? found->second.number : found->second.name;
    meeting.participants = found->second.participants;
    meeting.hosts = found->second.hosts;
    meeting.contentLocked = found->second.contentLocked;
    meeting.waitQueue = found->second.waitQueue;
    return KD_OK;
}

COutcome CModelBackend::uploadUserImage(const std::string &token, const std::string &path)
{
    QFile file(QString::fromLocal8Bit(path.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return KD_ERR_FILE;
    }
    const QByteArray bytes = file.readAll();
    if (QImage::fromData(bytes).isNull()) {
        return KD_ERR_INVALID_ARGUMENT;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    const KDModelAccount *account = accountOfToken(token);
    if (!account) {
        return KD_ERR_NOT_SIGNED_IN;
    }
    m_avatars[account->username] = bytes.toStdString();
    return KD_OK;
}

COutcome CModelBackend::downloadUserImage(const std::string &token, std::string &imageBytes)
{
    std::string username;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const KDModelAccount *account = accountOfToken(token);
        if (!account) {
            return KD_ERR_NOT_SIGNED_IN;
        }
        username = account->username;
        const auto avatar = m_avatars.find(username);
        if (avatar != m_avatars.end()) {
            imageBytes = avatar->second;
            return KD_OK;
        }
    }
    imageBytes = initialsImage(username);
    return KD_OK;
}

void CModelBackend::uploadFeedback(const std::vector<std::string> &files, const std::string &contact,
                                   const std::string &description, const std::string &address,
                                   const std::function<void(int)> &progress)
{
    if (files.empty()) {
        progress(-KD_ERR_INVALID_ARGUMENT);
        return;
    }
    qint64 total = 0;
    for (const std::string &path : files) {
        QFile file(QString::fromLocal8Bit(path.c_str()));
        if (!file.exists()) {
            progress(-KD_ERR_FILE);
            return;
        }
        total += file.size();
    }
    // The model keeps nothing; it only reports the steps a real upload goes through.
    progress(0);
    progress(total > 0 ? 50 : 0);
    progress(100);
}

void CModelBackend::addServer(const KDModelServer &server)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_servers.push_back(server);
}

void CModelBackend::addAccount(const KDModelAccount &account)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_accounts[account.username] = account;
}

void CModelBackend::addMeeting(const KDModelMeeting &meeting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_meetings[meeting.number] = meeting;
}

bool CModelBackend::loadModel(const std::string &jsonPath)
{
    QFile file(QString::fromLocal8Bit(jsonPath.c_str()));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = CJsonText::parse(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return false;
    }
    const QJsonObject root = document.object();
    for (const QJsonValue &value : root.value(QLatin1String("servers")).toArray()) {
        const QJsonObject object = value.toObject();
        KDModelServer server;
        server.address = text(object, "address");
        server.version = text(object, "version", "1.0");
        server.appServerType = text(object, "appServerType");
        server.urlSuffixForPC = text(object, "urlSuffixForPC");
        server.apiEnabled = object.value(QLatin1String("apiEnabled")).toBool(true);
        server.passwordEncryptionWithAES = object.value(QLatin1String("passwordEncryptionWithAES")).toBool(false);
        server.enableChangePassword = object.value(QLatin1String("enableChangePassword")).toBool(true);
        server.hasFeatureRecord = object.value(QLatin1String("hasFeatureRecord")).toBool(true);
        addServer(server);
    }
    for (const QJsonValue &value : root.value(QLatin1String("accounts")).toArray()) {
        const QJsonObject object = value.toObject();
        KDModelAccount account;
        account.username = text(object, "username");
        account.password = text(object, "password");
        account.displayName = text(object, "displayName");
        account.userId = jsonUnsigned(object.value(QLatin1String("userId")));
        account.callNumber = text(object, "callNumber");
        account.email = text(object, "email");
        account.org = text(object, "org");
        account.vmr = text(object, "vmr");
        account.passwordChangeRequired = object.value(QLatin1String("passwordChangeRequired")).toBool(false);
        account.accountState = text(object, "accountState");
        addAccount(account);
    }
    for (const QJsonValue &value : root.value(QLatin1String("meetings")).toArray()) {
        const QJsonObject object = value.toObject();
        KDModelMeeting meeting;
        meeting.number = text(object, "number");
        meeting.name = text(object, "name");
        meeting.password = text(object, "password");
        meeting.participants = stringList(object.value(QLatin1String("participants")));
        meeting.hosts = stringList(object.value(QLatin1String("hosts")));
        meeting.contentLocked = object.value(QLatin1String("contentLocked")).toBool(false);
        meeting.waitQueue = object.value(QLatin1String("waitQueue")).toInt(0);
        addMeeting(meeting);
    }
    return true;
}

} // namespace sdk
} // namespace kd
