#pragma once

#include <QString>

namespace kd_app {
namespace views {

// How the upgrade prompt shows a download's progress: the transfer speed as
// text and the progress bar's range and value.
class CUpdateProgress
{
public:
    CUpdateProgress() = delete;

    struct Bar
    {
        int maximum = 0; // 0 (with value 0): the size is unknown, the bar shows that it is busy
        int value = 0;
    };

    // "%1 %2": the speed with one decimal, at least three characters wide,
    // and its unit ("bytes/s", "kB/s", "MB/s"). No time yet reads as 0.
    static QString speedText(qint64 bytesReceived, qint64 elapsedMs);
    // A total beyond the bar's int range is scaled down with the received
    // count; an unknown total (-1, 0) gives the busy bar.
    static Bar bar(qint64 bytesReceived, qint64 bytesTotal);
};

} // namespace views
} // namespace kd_app
