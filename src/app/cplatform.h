#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace kd_app {

// What the program needs of the operating system, in one place; the rest of
// the code reads as if on the desktop system the program was designed for.
class CPlatform
{
public:
    CPlatform() = delete;

    // The per-user data root is taken from the variable "appdata"; where the
    // system does not set it, it is set here to the user's data folder.
    static void ensureAppDataVariable();

    // The folder of the running executable, links resolved; also before the
    // application object exists.
    static QString executableFolder();

    // The call windows are separate top-level windows placed at absolute
    // screen positions, which only X11 allows: in a Wayland session the
    // program runs through the session's X server unless the user chose a
    // platform himself. Before the application object exists.
    static void chooseWindowSystem();

    // Whether the accelerated desktop rendering path can be used.
    static bool supportDesktopOpengl();

    // Whether the application-wide native event filter discards a message.
    static bool swallowsNativeEvent(const QByteArray &eventType, void *message);

    // Creates the folder and its missing parents, readable by the user only.
    static bool makePrivateFolder(const QString &path);
    static bool makePrivateFile(const QString &path);
    // Makes an existing folder of this user readable by the user only; false
    // for a folder that is missing, a link, or another user's.
    static bool tightenPrivateFolder(const QString &path);

    // Every file and folder the process creates from now on is the user's
    // alone: the per-user folder holds passwords, tokens and logs.
    static void restrictNewFileModes();

    // The name under which one user's instances meet: the shared-memory key
    // and the local server's name.
    static QString instanceName(const QString &key, const QString &userFolder);
    // Where the local server of that name listens: in a folder only this user
    // can enter (the session's runtime folder, else the per-user folder, else
    // a private folder under the temporary one). Empty when there is none.
    static QString instanceServerPath(const QString &name, const QString &userFolder);
    // Whether the process at the other end of a connected local socket runs
    // as this user.
    static bool isPeerOfThisUser(qintptr socketDescriptor);
    // Whether the path (not followed when it is a link) belongs to this user.
    static bool isOwnedByThisUser(const QString &path);

    // Hands memory that was freed back to the system: after a large answer is
    // read and dropped, the allocator would otherwise keep it for the
    // program's lifetime.
    static void giveBackFreedMemory();

    // Font families for the user interface, the preferred one first.
    static QStringList uiFontFamilies();

    // Whether the system is the one old desktop release on which the
    // engine's own screen capture cannot see what is drawn over the shared
    // screen, so the application captures it itself. Never here; tests can
    // switch the answer to drive that road.
    static bool isWindows7Sp1();
    static void setWindows7Sp1ForTests(bool windows7Sp1);

    // Whether the system is a desktop release of version 6.1 or older, on
    // which a main window's first page is drawn late and an empty page stands
    // in for a moment. Never here; tests can switch the answer.
    static bool isWindows61OrOlder();
    static void setWindows61OrOlderForTests(bool older);
};

} // namespace kd_app
