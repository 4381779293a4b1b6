#include "cautostart.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>

#include "helpers/clogformat.h"

namespace kd_app {

namespace {

// Characters that make an argument of a desktop entry's command line need
// quotes.
const QString kReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");

// A line "key=value" of the entry's group, if any.
QString entryValue(const QString &path, const QString &key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return QString();
    }
    bool inGroup = false;
    QTextStream in(&file);
    in.setCodec("UTF-8");
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0 && line.left(equals).trimmed() == key) {
            return line.mid(equals + 1).trimmed();
        }
    }
    return QString();
}

} // namespace

QString CAutoStart::entryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config)) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/autostart/") + QCoreApplication::applicationName() + QStringLiteral(".desktop");
}

QString CAutoStart::commandLine(const QString &program)
{
    QString argument = program;
    if (std::any_of(program.begin(), program.end(), [](QChar c) { return kReserved.contains(c); })) {
        // Inside quotes a backslash escapes '"', '`', '$' and itself.
        QString quoted;
        for (QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')) {
                quoted += QLatin1Char('\\');
            }
            quoted += c;
        }
        argument = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    // "%" starts a field code; a literal one is doubled.
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // Then the escapes of every string value of the file.
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    argument.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    argument.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    argument.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return argument;
}

bool CAutoStart::isEnabled()
{
    const QString path = entryPath();
    if (!QFileInfo(path).isFile()) {
        return false;
    }
    return entryValue(path, QStringLiteral("Hidden")).compare(QLatin1String("true"), Qt::CaseInsensitive) != 0;
}

bool CAutoStart::setEnabled(bool enable)
{
    const QString path = entryPath();
    KD_LOG << "enable:" << enable << ", entry:" << path;
    if (!enable) {
        return !QFileInfo::exists(path) || QFile::remove(path);
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        KD_WARN << "Can not make the autostart folder";
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        KD_WARN << "Can not write the autostart entry";
        return false;
    }
    const QString name = QCoreApplication::applicationName();
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).absoluteFilePath();
    QTextStream out(&file);
    out.setCodec("UTF-8");
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=" << name << "\n"
        << "Exec=" << commandLine(program) << "\n";
    out.flush();
    return file.commit();
}

} // namespace kd_app
