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

QString conferencesImage(const QString &name, double scale)
{
    return QStringLiteral(":/resources/images/conferences/%1%2.png").arg(name, conferencesImageSuffix(scale));
}

void conferencesBackIcon(QAbstractButton *button, double scale)
{
    button->setIcon(QIcon(conferencesImage(QStringLiteral("icon_back"), scale)));
    const QSize size = scale <= 1 ? QSize(6, 10) : scale < 2 ? QSize(10, 16) : QSize(12, 20);
    button->setIconSize(size);
}
