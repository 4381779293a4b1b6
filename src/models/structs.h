#pragma once

#include <cstdint>
#include <string>

#include <QMetaType>

namespace kd_app {
namespace structs {

// One change of the content channel; the status values are
// enums::ContentStreamStatus.
struct CContentStreamInfo
{
    int previousStatus = 0;
    int currentStatus = 0;
    std::string senderName;
    uint64_t senderDeviceId = 0;
};

} // namespace structs
} // namespace kd_app

Q_DECLARE_METATYPE(kd_app::structs::CContentStreamInfo)
