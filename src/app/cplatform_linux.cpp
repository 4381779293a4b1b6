#include "cplatform.h"

#include <atomic>

#include <malloc.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "helpers/clogformat.h"

namespace kd_app {

void CPlatform::ensureAppDataVariable()
{
    if (!qEnvironmentVariableIsEmpty("appdata")) {
        return;
    }
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    qputenv("appdata", QFile::encodeName(dataFolder));
}

QString CPlatform::executableFolder()
{
    if (QCoreApplication::instance()) {
        return QCoreApplication::applicationDirPath();
    }
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(executable).path();
}

void CPlatform::chooseWindowSystem()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        return;
    }
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
                         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    // Without an X server in the session there is nothing to switch to.
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

bool CPlatform::supportDesktopOpengl()
{
    // The accelerated path is a Direct3D one, which this system does not
    // have: the default rendering is the right one, and nothing here can
    // fail in a way the user could do something about, so nothing is said.
    return false;
}

bool CPlatform::swallowsNativeEvent(const QByteArray &eventType, void *message)
{
    // X11 has no screen-saver or monitor-power command sent to applications.
    return false;
}

bool CPlatform::makePrivateFolder(const QString &path)
{
    const QString cleanPath = QDir::cleanPath(QDir(path).absolutePath());
    const QStringList parts = cleanPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current;
    for (const QString &part : parts) {
        current += QLatin1Char('/') + part;
        if (QFileInfo(current).isDir()) {
            continue;
        }
        if (mkdir(QFile::encodeName(current).constData(), S_IRWXU) != 0 && !QFileInfo(current).isDir()) {
            return false;
        }
    }
    return QFileInfo(cleanPath).isDir();
}

bool CPlatform::makePrivateFile(const QString &path)
{
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

bool CPlatform::tightenPrivateFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info = {};
    if (lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid()) {
        return false;
    }
    if ((info.st_mode & 07777) == S_IRWXU) {
        return true;
    }
    if (chmod(native.constData(), S_IRWXU) != 0) {
        KD_WARN << "Failed to make folder private:" << path;
        return false;
    }
    KD_LOG << "Made folder private:" << path;
    return true;
}

void CPlatform::restrictNewFileModes()
{
    umask(S_IRWXG | S_IRWXO);
}

namespace {

// A folder nobody but this user can enter or change: not a link, ours, and
// without any access for group or others.
bool isPrivateFolder(const QString &path)
{
    struct stat info = {};
    return !path.isEmpty() && lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

} // namespace

QString CPlatform::instanceServerPath(const QString &name, const QString &userFolder)
{
    auto usable = [&name](const QString &folder) {
        const QString path = folder + QLatin1Char('/') + name;
        // The socket address holds the path and its terminating zero.
        const bool fits = size_t(QFile::encodeName(path).size()) < sizeof(sockaddr_un::sun_path);
        return fits && isPrivateFolder(folder) ? path : QString();
    };
    for (const QString &folder : {qEnvironmentVariable("XDG_RUNTIME_DIR"), userFolder}) {
        const QString path = usable(folder);
        if (!path.isEmpty()) {
            return path;
        }
    }
    // A folder of that name made by someone else is refused by the test.
    const QString fallback = QDir::tempPath() + QStringLiteral("/parvela-") + QString::number(geteuid());
    mkdir(QFile::encodeName(fallback).constData(), S_IRWXU);
    return usable(fallback);
}

bool CPlatform::isPeerOfThisUser(qintptr socketDescriptor)
{
    ucred credentials = {};
    socklen_t length = sizeof credentials;
    if (getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &length) != 0 ||
        length != sizeof credentials) {
        return false;
    }
    return credentials.uid == geteuid();
}

bool CPlatform::isOwnedByThisUser(const QString &path)
{
    struct stat info = {};
    return lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == geteuid();
}

QString CPlatform::instanceName(const QString &key, const QString &userFolder)
{
    // Local server names and shared-memory keys are machine-wide here; the
    // user's data folder tells one user's instances from another's.
    const QByteArray folderHash =
        QCryptographicHash::hash(QFile::encodeName(userFolder), QCryptographicHash::Sha1).toHex().left(12);
    return key + QLatin1Char('-') + QString::fromLatin1(folderHash);
}

namespace {

std::atomic<bool> g_windows7Sp1{false};
std::atomic<bool> g_windows61OrOlder{false};

} // namespace

bool CPlatform::isWindows7Sp1()
{
    return g_windows7Sp1;
}

void CPlatform::setWindows7Sp1ForTests(bool windows7Sp1)
{
    g_windows7Sp1 = windows7Sp1;
}

bool CPlatform::isWindows61OrOlder()
{
    return g_windows61OrOlder;
}

void CPlatform::setWindows61OrOlderForTests(bool older)
{
    g_windows61OrOlder = older;
}

QStringList CPlatform::uiFontFamilies()
{
    return {QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")};
}

void CPlatform::giveBackFreedMemory()
{
    malloc_trim(0);
}

} // namespace kd_app
