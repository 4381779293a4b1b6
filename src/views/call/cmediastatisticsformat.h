#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include "engine/kdtypes.h"

namespace kd_app {
namespace views {

// What the statistics table shows of the engine's figures, apart from the
// window: the cells of one stream, how many streams to read and how high
// the table must be.
class CMediaStatisticsFormat
{
    Q_DECLARE_TR_FUNCTIONS(kd_app::views::CMediaStatisticsFormat)

public:
    static constexpr int COLUMNS = 8;
    static constexpr int ROWS_WITHOUT_SCROLLING = 12;

    CMediaStatisticsFormat() = delete;

    // The engine's count, kept within what the record holds: a count above
    // 32 would read past its streams, a negative one means none.
    static int streamCount(const kd::engine::KDStats &stats);
    // The eight cells of a stream, left to right.
    static QStringList cells(const kd::engine::KDStreamStats &stream);
    static QString direction(int type, int direction);
    static QString resolution(int width, int height);
    static QString frameRate(float fps);
    static QString packetLoss(uint64_t lost, float rate);
    // The dialog's height for a number of rows at a scale: at most twelve
    // rows are shown without scrolling.
    static int dialogHeight(int rows, double scale, int titleBarHeight);
};

} // namespace views
} // namespace kd_app
