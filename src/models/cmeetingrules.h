#pragma once

#include <QDateTime>
#include <QString>

#include "models/ucmdata.h"

namespace kd_app {
namespace models {

// The rules the meetings pages show meetings by, free of any window.
class CMeetingRules
{
public:
    CMeetingRules() = delete;

    // What a meeting is to the user: a permanent room, running, or scheduled.
    enum Kind {
        Scheduled = 0,
        Ongoing = 1,
        Fixed = 2,
    };

    static constexpr int kFirstFixedRoom = 8201000;
    static constexpr int kLastFixedRoom = 8209999;

    // Rooms by number first, then the status ("LAUNCHING" and "ONGOING" run).
    static int kindOf(int numericId, const QString &status);
    static int kindOf(const ucmconferenceData &meeting);
    // 1 when the meeting was created by someone other than the signed-in
    // user, whose 64-bit id is compared by its low 32 bits.
    static int notMineFlag(quint64 signedInUserId, int applicantId);

    // "hh:mm" of a duration in ms; hours go on past 23 ("24:00", "36:30").
    // A negative duration shows nothing.
    static QString durationText(qint64 ms);

    // The start offered for a new meeting: the next minute that is a
    // multiple of 5, strictly after the current minute (seconds kept).
    static QDateTime nextStart(const QDateTime &now);

    // Every field the meetings list shows or keeps: a row whose meeting
    // still reads the same needs no refill.
    static bool sameMeeting(const ucmconferenceData &a, const ucmconferenceData &b);
};

} // namespace models
} // namespace kd_app
