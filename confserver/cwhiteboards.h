#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
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

    // {"epoch", "revision", "full", "started", "background", "pictureVersion",
    // "width", "height", "ids" (every stroke on the board, bottom first),
    // "strokes" (those added after `since`)}. A page that saw another epoch
    // (another server run) or no revision yet gets every stroke ("full").
    QJsonObject board(int meeting, qint64 since, const QString &epoch);
    // Waits until there is something new for a page at `since` of `epoch`,
    // at most for `timeout`; true when there is.
    bool waitForChange(int meeting, qint64 since, const QString &epoch, std::chrono::milliseconds timeout);

    // Body {"tool": "pencil"|"nitePen"|"eraser", "color": {"r", "g", "b",
    // "a"}, "width": 1-4, "points": [x0, y0, x1, y1, ...]}; {"id", "revision"}.
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
};

} // namespace confserver
