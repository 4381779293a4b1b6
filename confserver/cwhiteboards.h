#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QJsonObject>
#include <QString>

namespace confserver {

struct CResult;

// A background picture upload as the server received it, for tests.
struct CBackgroundUpload
{
    // The form part's headers, names and values as sent, in their order.
    std::vector<std::pair<QByteArray, QByteArray>> partHeaders;
    QString partName;
    QString fileName;
    QByteArray bytes;
    QString cookieJwt; // the "jwt" cookie the upload came with
    int status = 0;    // what the server answered
};

// How much a board holds and serves; tests set small ones.
struct CBoardLimits
{
    int strokesPerBoard = 3000;
    qint64 pointsPerBoard = 400000;
    int strokesPerParticipant = 1000;
    qint64 pointsPerParticipant = 100000;
    // Points of strokes in one answer; a page asks for the rest by the last id it got.
    qint64 pointsPerAnswer = 50000;
    // Pages waiting for a change: per whiteboard token, and on the whole server.
    int waitsPerHolder = 2;
    int waits = 128;
};

// The web whiteboards, one per meeting: the strokes drawn on it in board
// coordinates, its background and whether its sender has started it. Every
// change raises the board's revision, so pages ask for what changed since
// the revision they have and can wait for the next change.
class CWhiteboards
{
public:
    // The board's own coordinates: every page fits this area into its view.
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;
    // Line widths a page chooses from.
    static constexpr int kMinWidth = 1;
    static constexpr int kMaxWidth = 4;
    static constexpr int kMaxPoints = 20000;
    // Largest background picture, in bytes.
    static constexpr int kMaxPictureBytes = 10 * 1024 * 1024;

    CWhiteboards();

    void setLimits(const CBoardLimits &limits);

    // {"epoch", "revision", "full", "started", "background", "pictureVersion",
    // "width", "height", "ids" (every stroke on the board, bottom first),
    // "strokes" (those added after `since`, whose id is above `after`),
    // "more" (strokes were left out for the next answer)}. A page that saw
    // another epoch (another server run) or no revision yet gets every
    // stroke ("full").
    QJsonObject board(int meeting, qint64 since, const QString &epoch, qint64 after = 0);

    // A page's wait for a change, counted for its holder (its token). The
    // holder's oldest wait beyond its share ends at once; 0 when the server
    // has no room for another wait.
    qint64 beginWait(const QString &holder);
    void endWait(qint64 wait);
    // How many pages wait now.
    int waiting();
    // Waits until there is something new for a page at `since` of `epoch`,
    // at most for `timeout`; true when there is, or when the wait was ended
    // by a newer one of its holder.
    bool waitForChange(int meeting, qint64 since, const QString &epoch, std::chrono::milliseconds timeout, qint64 wait);

    // Body {"tool": "pencil"|"nitePen"|"eraser", "color": {"r", "g", "b",
    // "a"}, "width": 1-4, "points": [x0, y0, x1, y1, ...]}; {"id", "revision"}.
    // A full board is refused with 1022 (413), a participant who drew their
    // share with 1023 (429).
    CResult addStroke(int meeting, const QString &participant, const QByteArray &body);
    // Takes away the participant's newest stroke still on the board:
    // {"undone": id or null, "revision"}.
    CResult undo(int meeting, const QString &participant);
    CResult clear(int meeting);
    CResult start(int meeting);
    // Body {"background": "black"|"white"|"img"}; "img" needs an uploaded picture.
    CResult setBackground(int meeting, const QByteArray &body);

    // An uploaded picture becomes the board's background picture.
    void setPicture(int meeting, const QByteArray &bytes, const QByteArray &contentType);
    // Empty when the meeting has none.
    QByteArray picture(int meeting, QByteArray *contentType);

    void recordUpload(const CBackgroundUpload &upload);
    CBackgroundUpload lastUpload();

private:
    struct CStroke
    {
        qint64 id = 0;
        qint64 revision = 0;
        QString participant;
        QJsonObject data;
        qint64 points = 0;
    };
    struct CBoard
    {
        qint64 revision = 0;
        bool started = false;
        QString background = QStringLiteral("white");
        QByteArray picture;
        QByteArray pictureType;
        int pictureVersion = 0;
        std::vector<CStroke> strokes;
        qint64 points = 0;
    };

    CBoard &boardOf(int meeting);
    // A new revision for a board that changed; wakes whoever waits for it.
    void changed(CBoard &board);

    bool isNewFor(const CBoard &board, qint64 since, const QString &epoch) const;

    const QString m_epoch;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<int, CBoard> m_boards;
    // Revisions and stroke ids count up across all boards.
    qint64 m_lastRevision = 0;
    qint64 m_lastStrokeId = 0;
    CBackgroundUpload m_lastUpload;
    CBoardLimits m_limits;
    // Waits by age: wait -> holder; those ended by a newer one of their holder.
    std::map<qint64, QString> m_waits;
    std::set<qint64> m_endedWaits;
    qint64 m_lastWait = 0;
};

} // namespace confserver
