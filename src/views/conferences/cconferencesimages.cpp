#include "cconferencesimages.h"

#include <QAbstractButton>
#include <QIcon>

QString conferencesImageSuffix(double scale)
{
    if (scale <= 1) {
        return QString();
    }
    return scale < 2 ? QStringLiteral("-1.5x") : QStringLiteral("-2x");
}

QString conferencesImage(const QString &plainFile, double scale)
{
    const int ending = plainFile.lastIndexOf(QLatin1Char('.'));
    return plainFile.left(ending) + conferencesImageSuffix(scale) + plainFile.mid(ending);
}

void conferencesBackIcon(QAbstractButton *button, double scale)
{
    button->setIcon(QIcon(conferencesImage(QStringLiteral(":/resources/images/conferences/icon_back.png"), scale)));
    const QSize size = scale <= 1 ? QSize(6, 10) : scale < 2 ? QSize(10, 16) : QSize(12, 20);
    button->setIconSize(size);
}
