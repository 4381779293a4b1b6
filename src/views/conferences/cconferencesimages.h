#pragma once

#include <QString>

class QAbstractButton;

// The meetings pages' images for a display scale: "-1.5x" above 1 and below
// 2, "-2x" from 2, the plain file up to 1.
QString conferencesImageSuffix(double scale);
QString conferencesImage(const QString &name, double scale);

// The "Back" button's arrow, the same on every meetings page.
void conferencesBackIcon(QAbstractButton *button, double scale);
