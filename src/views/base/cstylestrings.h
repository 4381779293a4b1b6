#pragma once

#include <QString>

namespace kd_app {
namespace views {

// Style rules that several windows apply to single controls; a window's own
// look belongs in its style sheet under resources/qss.
extern const QString STYLE_RED_BUTTON;
extern const QString STYLE_TEXT_RED;
extern const QString STYLE_TEXT_WHITE;
extern const QString STYLE_DARK_BACKGROUND;
extern const QString STYLE_TITLE_WHITE_20;
extern const QString STYLE_WHITE_DIALOG;
extern const QString STYLE_PLAYER_MINIMIZE_BUTTON;
extern const QString STYLE_PLAYER_MAXIMIZE_BUTTON;
extern const QString STYLE_PLAYER_RESTORE_BUTTON;
extern const QString STYLE_PLAYER_FULLSCREEN_BUTTON;
extern const QString STYLE_PLAYER_EXIT_FULLSCREEN_BUTTON;

} // namespace views
} // namespace kd_app
