#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QString>

// The records of the conference-management REST API: what the replies are
// read into and what the meeting requests are made of. A missing key or a
// value of another JSON type reads as 0, false or an empty text.

// A user of the organisation.
struct ucmuserData
{
    int id = 0;
    QString name;
    QString password;
    QString displayName;
    QString email;
    QString telephone;
    QString cellphone;
    QString description;
    QString callNumber;
    QString imageURL;
    quint32 lastModifiedTime = 0;
    bool systemmanager = false;
    QString vmr;
    QString sipUserName;
    QString sipAuthName;
    QString sipPassword;
    int status = 0;
    bool passwordModifiedByUser = false;
    int company = 0;
    QString companyShortName;
    int endpointId = 0;

    // imageURL is the server URL followed by the reply's text.
    void readJson(const QJsonObject &json, const QString &serverUrl);
    // Two records stand for the same user when their ids match.
    bool operator==(const ucmuserData &other) const { return id == other.id; }
};
Q_DECLARE_METATYPE(ucmuserData)

// A contact of the signed-in user.
struct ucmcontactData
{
    int id = 0;
    QString name;
    int ownerId = 0;
    QString email;
    QString telephone;
    QString cellphone;
    int userId = 0;
    quint32 lastModifiedTime = 0;
    QString userName;
    QString h323ConfNumber;
    QString sipConfNumber;
    QString pstn;
    QString callNumber;
    QString imageURL;
    QString status;

    void readJson(const QJsonObject &json, const QString &serverUrl);
    // Two contacts stand for the same organisation user when their userIds match.
    bool operator==(const ucmcontactData &other) const { return userId == other.userId; }
};
Q_DECLARE_METATYPE(ucmcontactData)

// A meeting of the meetings list.
struct ucmconferenceData
{
    int id = 0;
    QString name;
    qint64 startTime = 0; // ms since the epoch
    int duration = 0;     // ms
    int numericId = 0;
    QString confPassword;
    QString remarks;
    QString status;
    QList<int> userIds;
    int applicantId = 0;
    QString applicantName;
    QString applicantDisplayName;

    void readJson(const QJsonObject &json);
    bool operator==(const ucmconferenceData &other) const { return id == other.id; }
};

// A participant of a running meeting.
struct ucmParticipantData
{
    int userId = 0;
    QString name;
    bool videoMode = false;
    QString avatarUrl;
    QString sipUserName;
    bool halfDuplex = false;
    qint64 userLastModifiedTime = 0;

    // The avatar address is made from the server URL, the user id and the token.
    void readJson(const QJsonObject &json, const QString &serverUrl, const QString &token);
    static QString avatarAddress(const QString &serverUrl, int userId, const QString &token);
};

// What the caller fills to schedule (id and numericId unused) or edit a meeting.
struct ucmconferenceParam
{
    QString name;
    qint64 startTime = 0; // ms since the epoch
    qint64 duration = 0;  // ms
    QString confPassword;
    QString remarks;
    QList<int> userIds;
    int id = 0;
    int numericId = 0;
};
using ucmconferenceRequest = ucmconferenceParam;

// Reads every element of an array reply that is an object into a record, in
// order; other elements are skipped.
template <typename Record, typename... Context>
QList<Record> ucmReadList(const QJsonArray &array, const Context &...context)
{
    QList<Record> records;
    records.reserve(array.size());
    for (const QJsonValue &value : array) {
        if (!value.isObject()) {
            continue;
        }
        Record record;
        record.readJson(value.toObject(), context...);
        records.append(record);
    }
    return records;
}
