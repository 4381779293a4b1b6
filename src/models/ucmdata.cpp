#include "ucmdata.h"

#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace {

// Numbers from the server are doubles; one that the record's integer cannot
// hold (1e300, a negative stamp) reads as missing, never as whatever an
// out-of-range conversion happens to give. NaN is never in range.
bool fits(const QJsonValue &value, double lowest, double beyondHighest)
{
    const double number = value.toDouble();
    return value.isDouble() && number >= lowest && number < beyondHighest;
}

int readInt(const QJsonObject &json, const char *key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return fits(value, -2147483648.0, 2147483648.0) ? value.toInt(0) : 0;
}

QString readText(const QJsonObject &json, const char *key)
{
    return json.value(QLatin1String(key)).toString();
}

bool readFlag(const QJsonObject &json, const char *key)
{
    return json.value(QLatin1String(key)).toBool(false);
}

// Times arrive as numbers of ms; the fraction is cut toward zero.
qint64 readTime(const QJsonObject &json, const char *key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    return fits(value, -9223372036854775808.0, 9223372036854775808.0) ? qint64(value.toDouble()) : 0;
}

// Servers send modification stamps as numbers or as texts of digits.
quint32 readStamp(const QJsonObject &json, const char *key)
{
    const QJsonValue value = json.value(QLatin1String(key));
    if (value.isDouble()) {
        return fits(value, -0.5, 4294967295.5) ? quint32(qRound64(value.toDouble())) : 0;
    }
    return value.toVariant().toUInt();
}

} // namespace

void ucmuserData::readJson(const QJsonObject &json, const QString &serverUrl)
{
    id = readInt(json, "id");
    name = readText(json, "name");
    password = readText(json, "password");
    displayName = readText(json, "displayName");
    email = readText(json, "email");
    telephone = readText(json, "telephone");
    cellphone = readText(json, "cellphone");
    description = readText(json, "description");
    callNumber = readText(json, "callNumber");
    imageURL = serverUrl + readText(json, "imageURL");
    lastModifiedTime = readStamp(json, "lastModifiedTime");
    systemmanager = readFlag(json, "systemmanager");
    vmr = readText(json, "vmr");
    sipUserName = readText(json, "sipUserName");
    sipAuthName = readText(json, "sipAuthName");
    sipPassword = readText(json, "sipPassword");
    status = readInt(json, "status");
    passwordModifiedByUser = readFlag(json, "passwordModifiedByUser");
    company = readInt(json, "company");
    companyShortName = readText(json, "companyShortName");
    endpointId = readInt(json, "endpointId");
}

void ucmcontactData::readJson(const QJsonObject &json, const QString &serverUrl)
{
    id = readInt(json, "id");
    name = readText(json, "name");
    ownerId = readInt(json, "ownerId");
    email = readText(json, "email");
    telephone = readText(json, "telephone");
    cellphone = readText(json, "cellphone");
    userId = readInt(json, "userId");
    lastModifiedTime = readStamp(json, "lastModifiedTime");
    userName = readText(json, "userName");
    h323ConfNumber = readText(json, "h323ConfNumber");
    sipConfNumber = readText(json, "sipConfNumber");
    pstn = readText(json, "pstn");
    callNumber = readText(json, "callNumber");
    imageURL = serverUrl + readText(json, "imageURL");
    status = readText(json, "status");
}

void ucmconferenceData::readJson(const QJsonObject &json)
{
    id = readInt(json, "id");
    name = readText(json, "name");
    startTime = readTime(json, "startTime");
    duration = readInt(json, "duration");
    numericId = readInt(json, "numericId");
    confPassword = readText(json, "confPassword");
    remarks = readText(json, "remarks");
    status = readText(json, "status");
    userIds.clear();
    for (const QJsonValue &user : json.value(QLatin1String("users")).toArray()) {
        if (user.isObject()) {
            userIds.append(readInt(user.toObject(), "id"));
        }
    }
    const QJsonObject applicant = json.value(QLatin1String("applicant")).toObject();
    applicantId = readInt(applicant, "id");
    applicantName = readText(applicant, "name");
    applicantDisplayName = readText(applicant, "displayName");
}

void ucmParticipantData::readJson(const QJsonObject &json, const QString &serverUrl, const QString &token)
{
    userId = readInt(json, "userId");
    name = readText(json, "name");
    videoMode = readFlag(json, "videoMode");
    avatarUrl = avatarAddress(serverUrl, userId, token);
    sipUserName = readText(json, "sipUserName");
    halfDuplex = readFlag(json, "halfDuplex");
    userLastModifiedTime = readTime(json, "userLastModifiedTime");
}

QString ucmParticipantData::avatarAddress(const QString &serverUrl, int userId, const QString &token)
{
    // Built piece by piece so that a token holding "&", "#" or "%1" cannot
    // change the address.
    QUrl url(serverUrl, QUrl::TolerantMode);
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/'))) {
        path.chop(1);
    }
    url.setPath(path + QStringLiteral("/userFiles/avatar/%1.jpg").arg(userId));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("v"), QString::fromLatin1(QUrl::toPercentEncoding(token)));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}
