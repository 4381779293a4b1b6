#pragma once

#include <QString>

namespace kd {
namespace sdk {

// Reads how long a RIFF/WAVE file plays; negative when it is not one.
double wavDurationSeconds(const QString &path);

} // namespace sdk
} // namespace kd
