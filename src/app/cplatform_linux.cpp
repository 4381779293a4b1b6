#include "cplatform.h"

#include <atomic>

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace kd_app {

void CPlatform::ensureAppDataVariable()
{
    if (!qEnvironmentVariableIsEmpty("appdata")) {
        return;
    }
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    qputenv("appdata", QFile::encodeName(dataFolder));
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

} // namespace

bool CPlatform::isWindows7Sp1()
{
    return g_windows7Sp1;
}

void CPlatform::setWindows7Sp1ForTests(bool windows7Sp1)
{
    g_windows7Sp1 = windows7Sp1;
}

QStringList CPlatform::uiFontFamilies()
{
    return {QStringLiteral("Microsoft YaHei"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("DejaVu Sans")};
}

} // namespace kd_app
