#include "cmeetingrules.h"

namespace kd_app {
namespace models {

int CMeetingRules::kindOf(int numericId, const QString &status)
{
    // One unsigned comparison covers both ends of the range.
    if (quint32(numericId) - quint32(kFirstFixedRoom) <= quint32(kLastFixedRoom - kFirstFixedRoom)) {
        return Fixed;
    }
    if (status == QLatin1String("LAUNCHING") || status == QLatin1String("ONGOING")) {
        return Ongoing;
    }
    return Scheduled;
}

int CMeetingRules::kindOf(const ucmconferenceData &meeting)
{
    return kindOf(meeting.numericId, meeting.status);
}

int CMeetingRules::notMineFlag(quint64 signedInUserId, int applicantId)
{
    return qint32(quint32(signedInUserId & 0xffffffffu)) != applicantId ? 1 : 0;
}

QString CMeetingRules::durationText(qint64 ms)
{
    if (ms < 0) {
        return QString();
    }
    const qint64 minutes = ms / 60000;
    return QStringLiteral("%1:%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QDateTime CMeetingRules::nextStart(const QDateTime &now)
{
    const int remainder = now.time().minute() % 10;
    const int minutes = remainder < 5 ? 5 - remainder : 10 - remainder;
    return now.addSecs(minutes * 60);
}

bool CMeetingRules::sameMeeting(const ucmconferenceData &a, const ucmconferenceData &b)
{
    return a.id == b.id && a.name == b.name && a.startTime == b.startTime && a.duration == b.duration &&
           a.numericId == b.numericId && a.confPassword == b.confPassword && a.remarks == b.remarks &&
           a.status == b.status && a.userIds == b.userIds && a.applicantId == b.applicantId &&
           a.applicantName == b.applicantName && a.applicantDisplayName == b.applicantDisplayName;
}

} // namespace models
} // namespace kd_app
