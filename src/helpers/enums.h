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

// The page the login window shows.
// A fixed underlying type: a value from outside the list is still a value.
enum LoginProgress : int {
    Initial = 0,
    Login = 1,
    JoinConf = 2,
    ChangePassword = 3,
};

// The call state. No transition produces 2 or 3; windows still count them as
// a call in progress.
enum CallStatus {
    Idle = 0,
    Dialing = 1,
    Reserved2 = 2,
    Reserved3 = 3,
    ConfIncoming = 4,
    Connected = 5,
    Ended = 6,
};

// What the content channel carries, as seen from this client.
enum ContentStreamStatus {
    ContentStreamStatus_None = 0,
    ContentStreamStatus_ReceivingContentStarted = 1,
    ContentStreamStatus_ReceivingWhiteBoardStarted = 2,
    ContentStreamStatus_SendingContentStarted = 3,
    ContentStreamStatus_SendingWhiteBoardStarted = 4,
};

// What the call's video area shows. The layout engine decides it; the call
// toolbar shows it and asks to switch between the two layouts of the same
// remote content (1 <-> 2, 3 <-> 4).
enum LayoutModeType {
    LayoutMode_People = 0,
    LayoutMode_RemoteContentPreferred = 1,
    LayoutMode_RemoteContentOnly = 2,
    LayoutMode_RemoteWhiteBoardPreferred = 3,
    LayoutMode_RemoteWhiteBoardOnly = 4,
    LayoutMode_LocalContent = 5,
    LayoutMode_LocalWhiteBoard = 6,
    LayoutMode_AudioOnly = 7,
};

} // namespace enums
} // namespace kd_app

Q_DECLARE_METATYPE(kd_app::enums::LoginStatus)
Q_DECLARE_METATYPE(kd_app::enums::LoginProgress)
Q_DECLARE_METATYPE(kd_app::enums::CallStatus)
Q_DECLARE_METATYPE(kd_app::enums::LayoutModeType)
