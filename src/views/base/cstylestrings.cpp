#include "cstylestrings.h"

namespace kd_app {
namespace views {

namespace {

QString playerButton(const QString &icon, const QString &head, const QString &beforeBorder)
{
    const QString path = ":/resources/images/title-bar/" + icon;
    return QString("QPushButton{%1 url(%2_default.png) 0px 0px no-repeat;%3border: none;}"
                   "QPushButton:hover{background: url(%2_hover.png);}"
                   "QPushButton:pressed{background: url(%2_click.png);}")
        .arg(head, path, beforeBorder);
}

QString playerButton(const QString &icon)
{
    return playerButton(icon, "background:", QStringLiteral(" "));
}

QString paddedPlayerButton(const QString &icon)
{
    return playerButton(icon, " background:", QString(61, QLatin1Char(' ')));
}

} // namespace

const QString STYLE_RED_BUTTON =
    "QPushButton{background-color: #f64f35; color: #FFFFFF; border: none; border-radius: 3px;}"
    "QPushButton:hover{background-color: #f98878; color: #FFFFFF;}"
    "QPushButton:pressed{background-color: #f98878; color: rgba(255, 255, 255, 0.3);}";
const QString STYLE_TEXT_RED = "color: #FF4747;";
const QString STYLE_TEXT_WHITE = "color: #fff;";
const QString STYLE_DARK_BACKGROUND = "QWidget{background-color:#1c1e20;}";
const QString STYLE_TITLE_WHITE_20 = "QLabel{color: #ffffff; font-size: 20px;}";
const QString STYLE_WHITE_DIALOG = "QDialog{background-color: #ffffff; border: 1px solid #555555}";
const QString STYLE_PLAYER_MINIMIZE_BUTTON = playerButton("icon_player_minimize");
const QString STYLE_PLAYER_MAXIMIZE_BUTTON = playerButton("icon_player_maximize");
const QString STYLE_PLAYER_RESTORE_BUTTON = playerButton("icon_player_restore");
const QString STYLE_PLAYER_FULLSCREEN_BUTTON = paddedPlayerButton("icon_player_fullscreen");
const QString STYLE_PLAYER_EXIT_FULLSCREEN_BUTTON = paddedPlayerButton("icon_player_exit_fullscreen");

} // namespace views
} // namespace kd_app
