#pragma once

#include <QString>

// The contacts' images for a display scale. The icons carry "-1.5x" and
// "-2x" before the ending, the tick boxes "_1.5x" and "_2x"; the plain file
// serves scales up to 1.
enum class CContactsImageSuffix {
    Dash,
    Underscore,
};

inline QString contactsImageFile(const QString &name, double scale, CContactsImageSuffix suffix)
{
    const QChar separator = suffix == CContactsImageSuffix::Dash ? QLatin1Char('-') : QLatin1Char('_');
    QString file = QStringLiteral(":/resources/images/contacts/") + name;
    if (scale > 1) {
        file += separator + (scale < 2 ? QStringLiteral("1.5x") : QStringLiteral("2x"));
    }
    return file + QStringLiteral(".png");
}
