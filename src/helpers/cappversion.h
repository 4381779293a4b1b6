#pragma once

namespace kd_app {
namespace helpers {

// The program's version as the user and the servers see it: the About page,
// the upgrade check's comparison and the engine's user agent. The build
// defines it from the project's version, so one change updates all three.
constexpr const char kAppVersion[] = KD_APP_VERSION;

} // namespace helpers
} // namespace kd_app
