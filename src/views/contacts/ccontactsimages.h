#pragma once

#include <QString>

// The contacts' images for a display scale. The icons carry "-1.5x" and
// "-2x" before the ending, the tick boxes "_1.5x" and "_2x"; the plain file
// serves scales up to 1.
enum class CContactsImageSuffix {
    Dash,
    Underscore,
};

// The file for a scale of an image named by its plain file.
inline QString contactsImageFile(const QString &plainFile, double scale, CContactsImageSuffix suffix)
{
    if (scale <= 1) {
        return plainFile;
    }
    const QChar separator = suffix == CContactsImageSuffix::Dash ? QLatin1Char('-') : QLatin1Char('_');
    const int ending = plainFile.lastIndexOf(QLatin1Char('.'));
    return plainFile.left(ending) + separator + (scale < 2 ? QStringLiteral("1.5x") : QStringLiteral("2x")) +
           plainFile.mid(ending);
}
