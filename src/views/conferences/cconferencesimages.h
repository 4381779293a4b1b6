#pragma once

#include <QString>

class QAbstractButton;

// The meetings pages' images for a display scale: "-1.5x" above 1 and below
// 2, "-2x" from 2, the plain file up to 1.
QString conferencesImageSuffix(double scale);
// The file for a scale of an image named by its plain file, such as
// ":/resources/images/conferences/icon_back.png".
QString conferencesImage(const QString &plainFile, double scale);

// The "Back" button's arrow, the same on every meetings page.
void conferencesBackIcon(QAbstractButton *button, double scale);
