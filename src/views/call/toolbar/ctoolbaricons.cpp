#include "ctoolbaricons.h"

namespace kd_app {
namespace views {

namespace {

struct IconName
{
    const char *stem;
    const char *separator; // before "1.5x" and "2x"
};

const IconName NAMES[] = {
    {"icon_unmute", "@"},        {"icon_mute", "@"},
    {"icon_resume-camera", "@"}, {"icon_suspend-camera", "@"},
    {"icon_volume", "-"},        {"icon_volumeoff", "-"},
    {"icon_share", "@"},         {"icon_more", "@"},
    {"icon_dtmf", "-"},          {"icon_perferred_content", "@"},
    {"icon_speaker", "@"},       {"icon_arrow", "@"},
};

} // namespace

QString CToolbarIcons::path(Icon icon, double scale)
{
    const IconName &name = NAMES[icon];
    QString variant;
    if (scale == 1.5) {
        variant = QString::fromLatin1(name.separator) + QStringLiteral("1.5x");
    } else if (scale == 2.0) {
        variant = QString::fromLatin1(name.separator) + QStringLiteral("2x");
    }
    return QStringLiteral(":/resources/images/layout-operationbar/") + QLatin1String(name.stem) + variant +
           QStringLiteral(".png");
}

} // namespace views
} // namespace kd_app
