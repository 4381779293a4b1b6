#include "cmediastatisticsformat.h"

#include <algorithm>
#include <cmath>

namespace kd_app {
namespace views {

namespace {

constexpr int MEDIA_AUDIO = 0;
constexpr int DIRECTION_INCOMING = 1;

} // namespace

int CMediaStatisticsFormat::streamCount(const kd::engine::KDStats &stats)
{
    return std::clamp(stats.count, 0, kd::engine::KDStats::kMaxStreams);
}

QString CMediaStatisticsFormat::direction(int type, int direction)
{
    const bool in = direction == DIRECTION_INCOMING;
    switch (type) {
    case 0:
        return in ? tr("Audio In") : tr("Audio Out");
    case 1:
        return in ? tr("Video In") : tr("Video Out");
    case 2:
        return in ? tr("Content In") : tr("Content Out");
    case 3:
        return in ? tr("White Board In") : tr("White Board Out");
    default:
        return in ? tr("Other In") : tr("Other Out");
    }
}

QString CMediaStatisticsFormat::resolution(int width, int height)
{
    struct Named
    {
        int width;
        int height;
        const char *name;
    };
    static const Named named[] = {
        {160, 90, "90p"}, {320, 180, "180p"}, {640, 360, "360p"}, {1280, 720, "720p"}, {1920, 1080, "1080p"},
    };
    for (const Named &size : named) {
        if (size.width == width && size.height == height) {
            return QString::fromLatin1(size.name);
        }
    }
    return QStringLiteral("%1x%2").arg(width).arg(height);
}

QString CMediaStatisticsFormat::frameRate(float fps)
{
    return QString::asprintf("%.0f", std::ceil(double(fps)));
}

QString CMediaStatisticsFormat::packetLoss(uint64_t lost, float rate)
{
    return QString::number(lost) + "(" + QString::asprintf("%.1f", double(rate)) + "%)";
}

QStringList CMediaStatisticsFormat::cells(const kd::engine::KDStreamStats &stream)
{
    const bool audio = stream.mediaType == MEDIA_AUDIO;
    return {
        direction(stream.mediaType, stream.direction),
        QString::fromStdString(stream.codec),
        QString::number(double(stream.lineRate), 'g', 6),
        QString::asprintf("%.1f", double(stream.actualLineRate)),
        audio ? QStringLiteral("-") : resolution(stream.width, stream.height),
        audio ? QStringLiteral("-") : frameRate(stream.frameRate),
        packetLoss(stream.packetsLost, stream.packetLostRate),
        stream.encrypted ? tr("Encrypted") : tr("Not encrypted"),
    };
}

int CMediaStatisticsFormat::dialogHeight(int rows, double scale, int titleBarHeight)
{
    const double s = std::max(1.0, scale);
    const int shown = std::clamp(rows, 0, ROWS_WITHOUT_SCROLLING);
    return int(shown * 37 * s + int(titleBarHeight + 38 * s));
}

} // namespace views
} // namespace kd_app
