#pragma once

#include <QMetaType>

namespace kd_app {
namespace enums {

// The program's login state. 0 to 5 are also stored by name in the per-user
// settings; NeedChangePassword has no stored name.
enum LoginStatus {
    NotLogin = 0,
    LoggedIn = 1,
    LoggingIn = 2,
    LoginFailed = 3,
    AnonymousLoggedIn = 4,
    AnonymousLoggingIn = 5,
    NeedChangePassword = 6,
};

} // namespace enums
} // namespace kd_app

Q_DECLARE_METATYPE(kd_app::enums::LoginStatus)
