#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Writes one "key=value" line into a per-user config.ini the way a running
// instance of the program would leave it (CRLF lines), keeping the rest.
inline bool setUserConfigLine(const QString &path, const QByteArray &section, const QByteArray &line)
{
    QFile config(path);
    if (!config.open(QIODevice::ReadOnly)) {
        return false;
    }
    QByteArray content = config.readAll();
    config.close();
    const QByteArray key = line.left(line.indexOf('=') + 1);
    const int at = content.indexOf("\n" + key);
    if (at >= 0) {
        content.replace(at + 1, content.indexOf('\r', at + 1) - at - 1, line);
    } else {
        content.replace("[" + section + "]\r\n", "[" + section + "]\r\n" + line + "\r\n");
    }
    return config.open(QIODevice::WriteOnly | QIODevice::Truncate) && config.write(content) == content.size();
}
