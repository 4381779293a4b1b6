#pragma once

#include <QStringList>

namespace kd_app {
namespace views {

// Ends the modal dialogs stacked on top of each other before a main-window
// switch or a new message box, so that nothing the user can no longer act
// on is left waiting behind the new window.
class CModualDlgsManager
{
public:
    CModualDlgsManager() = delete;

    static void closeAllModualDlgs(bool onlyAlerts);

    // The dialogs that are ended by rejecting them, and those that are closed.
    static QStringList rejectedClasses(bool onlyAlerts);
    static QStringList closedClasses(bool onlyAlerts);
};

} // namespace views
} // namespace kd_app
