#include "cwhiteboards.h"

#include <algorithm>
#include <cmath>

#include <QJsonArray>
#include <QRandomGenerator>

#include "cconfstore.h"
#include "cjsonbody.h"

namespace confserver {

namespace {

const QString kPencil = QStringLiteral("pencil");
const QString kNitePen = QStringLiteral("nitePen");
const QString kEraser = QStringLiteral("eraser");

bool isWholeIn(const QJsonValue &value, int low, int high)
{
    const double number = value.toDouble(-1.0);
    return value.isDouble() && number >= low && number <= high && std::floor(number) == number;
}

bool isNumberIn(const QJsonValue &value, double low, double high)
{
    const double number = value.toDouble();
    return value.isDouble() && number >= low && number <= high;
}

CResult invalid(const QString &info)
{
    return CResult::error(codes::kInvalidParameter, info);
}

// The stroke as the board keeps it, or an error.
CResult readStroke(const QByteArray &body, QJsonObject *stroke)
{
    QJsonObject request;
    if (!CJsonBody::parseObject(body, &request)) {
        return invalid(QStringLiteral("The body is not a JSON object"));
    }
    const QString tool = request.value("tool").toString();
    if (tool != kPencil && tool != kNitePen && tool != kEraser) {
        return invalid(QStringLiteral("tool must be pencil, nitePen or eraser"));
    }
    if (!isWholeIn(request.value("width"), CWhiteboards::kMinWidth, CWhiteboards::kMaxWidth)) {
        return invalid(QStringLiteral("width must be 1 to 4"));
    }
    const QJsonObject color = request.value("color").toObject();
    if (tool != kEraser && (!isWholeIn(color.value("r"), 0, 255) || !isWholeIn(color.value("g"), 0, 255) ||
                            !isWholeIn(color.value("b"), 0, 255) || !isNumberIn(color.value("a"), 0.0, 1.0))) {
        return invalid(QStringLiteral("color must be {r, g, b: 0-255, a: 0-1}"));
    }
    const QJsonArray points = request.value("points").toArray();
    if (points.isEmpty() || points.size() % 2 != 0 || points.size() > 2 * CWhiteboards::kMaxPoints) {
        return invalid(QStringLiteral("points must be 1 to %1 pairs of numbers").arg(CWhiteboards::kMaxPoints));
    }
    for (int i = 0; i < points.size(); i += 2) {
        if (!isNumberIn(points[i], 0.0, CWhiteboards::kWidth) ||
            !isNumberIn(points[i + 1], 0.0, CWhiteboards::kHeight)) {
            return invalid(QStringLiteral("points must lie on the board (%1 x %2)")
                               .arg(CWhiteboards::kWidth)
                               .arg(CWhiteboards::kHeight));
        }
    }
    *stroke = QJsonObject{{"tool", tool}, {"width", request.value("width").toInt()}, {"points", points}};
    if (tool != kEraser) {
        (*stroke)["color"] = QJsonObject{{"r", color.value("r").toInt()},
                                         {"g", color.value("g").toInt()},
                                         {"b", color.value("b").toInt()},
                                         {"a", color.value("a").toDouble()}};
    }
    return CResult::ok(QJsonValue());
}

} // namespace

CWhiteboards::CWhiteboards() : m_epoch(QString::number(QRandomGenerator::global()->generate64(), 36))
{
}

CWhiteboards::CBoard &CWhiteboards::boardOf(int meeting)
{
    return m_boards[meeting];
}

void CWhiteboards::changed(CBoard &board)
{
    board.revision = ++m_lastRevision;
    m_changed.notify_all();
}

bool CWhiteboards::isNewFor(const CBoard &board, qint64 since, const QString &epoch) const
{
    return epoch != m_epoch || since != board.revision;
}

void CWhiteboards::setLimits(const CBoardLimits &limits)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_limits = limits;
}

QJsonObject CWhiteboards::board(int meeting, qint64 since, const QString &epoch, qint64 after)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const CBoard &board = boardOf(meeting);
    const bool full = epoch != m_epoch || since <= 0 || since > board.revision;
    QJsonArray ids;
    QJsonArray strokes;
    qint64 points = 0;
    bool more = false;
    for (const CStroke &stroke : board.strokes) {
        ids.append(double(stroke.id));
        if ((!full && stroke.revision <= since) || stroke.id <= after || more) {
            continue;
        }
        // Every answer carries at least one stroke, so the pages come to an end.
        if (!strokes.isEmpty() && points + stroke.points > m_limits.pointsPerAnswer) {
            more = true;
            continue;
        }
        points += stroke.points;
        QJsonObject entry = stroke.data;
        entry["id"] = double(stroke.id);
        strokes.append(entry);
    }
    return QJsonObject{{"epoch", m_epoch},
                       {"revision", double(board.revision)},
                       {"full", full},
                       {"started", board.started},
                       {"background", board.background},
                       {"pictureVersion", board.pictureVersion},
                       {"width", kWidth},
                       {"height", kHeight},
                       {"ids", ids},
                       {"strokes", strokes},
                       {"more", more}};
}

qint64 CWhiteboards::beginWait(const QString &holder)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<qint64> own;
    for (const auto &wait : m_waits) {
        if (wait.second == holder) {
            own.push_back(wait.first);
        }
    }
    // A page that asks again without waiting for its answer, or a holder
    // with more pages than it may have: the oldest is answered now.
    for (size_t i = 0; i + size_t(std::max(1, m_limits.waitsPerHolder)) <= own.size(); ++i) {
        m_waits.erase(own[i]);
        m_endedWaits.insert(own[i]);
        m_changed.notify_all();
    }
    if (m_waits.size() >= size_t(m_limits.waits)) {
        return 0;
    }
    m_waits.emplace(++m_lastWait, holder);
    return m_lastWait;
}

void CWhiteboards::endWait(qint64 wait)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_waits.erase(wait);
    m_endedWaits.erase(wait);
}

int CWhiteboards::waiting()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_waits.size());
}

bool CWhiteboards::waitForChange(int meeting, qint64 since, const QString &epoch, std::chrono::milliseconds timeout,
                                 qint64 wait)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, timeout,
                              [&] { return m_endedWaits.count(wait) > 0 || isNewFor(boardOf(meeting), since, epoch); });
}

CResult CWhiteboards::addStroke(int meeting, const QString &participant, const QByteArray &body)
{
    QJsonObject data;
    const CResult read = readStroke(body, &data);
    if (read.isError()) {
        return read;
    }
    const qint64 points = data.value("points").toArray().size() / 2;
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    if (int(board.strokes.size()) >= m_limits.strokesPerBoard || board.points + points > m_limits.pointsPerBoard) {
        return CResult::error(codes::kBoardFull, QStringLiteral("The board is full"));
    }
    int ownStrokes = 0;
    qint64 ownPoints = 0;
    for (const CStroke &stroke : board.strokes) {
        if (stroke.participant == participant) {
            ++ownStrokes;
            ownPoints += stroke.points;
        }
    }
    if (ownStrokes >= m_limits.strokesPerParticipant || ownPoints + points > m_limits.pointsPerParticipant) {
        return CResult::error(codes::kDrawnEnough, QStringLiteral("You have drawn all you may on this board"));
    }
    changed(board);
    const qint64 id = ++m_lastStrokeId;
    board.strokes.push_back(CStroke{id, board.revision, participant, data, points});
    board.points += points;
    return CResult::ok(QJsonObject{{"id", double(id)}, {"revision", double(board.revision)}});
}

CResult CWhiteboards::undo(int meeting, const QString &participant)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    const auto own = std::find_if(board.strokes.rbegin(), board.strokes.rend(),
                                  [&participant](const CStroke &stroke) { return stroke.participant == participant; });
    if (own == board.strokes.rend()) {
        return CResult::ok(QJsonObject{{"undone", QJsonValue()}, {"revision", double(board.revision)}});
    }
    const qint64 id = own->id;
    board.points -= own->points;
    board.strokes.erase(std::next(own).base());
    changed(board);
    return CResult::ok(QJsonObject{{"undone", double(id)}, {"revision", double(board.revision)}});
}

CResult CWhiteboards::clear(int meeting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    board.strokes.clear();
    board.points = 0;
    changed(board);
    return CResult::ok(QJsonObject{{"revision", double(board.revision)}});
}

CResult CWhiteboards::start(int meeting)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    board.started = true;
    changed(board);
    return CResult::ok(QJsonObject{{"revision", double(board.revision)}});
}

CResult CWhiteboards::setBackground(int meeting, const QByteArray &body)
{
    QJsonObject request;
    if (!CJsonBody::parseObject(body, &request)) {
        return invalid(QStringLiteral("The body is not a JSON object"));
    }
    const QString background = request.value("background").toString();
    if (background != QLatin1String("black") && background != QLatin1String("white") &&
        background != QLatin1String("img")) {
        return invalid(QStringLiteral("background must be black, white or img"));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    if (background == QLatin1String("img") && board.picture.isEmpty()) {
        return invalid(QStringLiteral("No picture has been uploaded for this board"));
    }
    board.background = background;
    changed(board);
    return CResult::ok(QJsonObject{{"revision", double(board.revision)}});
}

void CWhiteboards::setPicture(int meeting, const QByteArray &bytes, const QByteArray &contentType)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CBoard &board = boardOf(meeting);
    board.picture = bytes;
    board.pictureType = contentType;
    ++board.pictureVersion;
    changed(board);
}

QByteArray CWhiteboards::picture(int meeting, QByteArray *contentType)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const CBoard &board = boardOf(meeting);
    *contentType = board.pictureType;
    return board.picture;
}

void CWhiteboards::recordUpload(const CBackgroundUpload &upload)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastUpload = upload;
}

CBackgroundUpload CWhiteboards::lastUpload()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastUpload;
}

} // namespace confserver
