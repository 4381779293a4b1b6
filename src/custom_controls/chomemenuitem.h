#pragma once

#include <QString>

// One entry of the home window's menu: its three icons (normal, current,
// under the mouse) and its caption.
struct CHomeMenuItem
{
    QString normalIcon;
    QString currentIcon;
    QString hoverIcon;
    QString text;
};
