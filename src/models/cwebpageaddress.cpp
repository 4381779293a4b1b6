#include "cwebpageaddress.h"

#include <QUrl>

namespace kd_app {
namespace models {

bool CWebPageAddress::exists() const
{
    return !overrideAddress.isEmpty() || (serverType == QLatin1String("CCM") && !urlSuffix.isEmpty());
}

QString CWebPageAddress::compose() const
{
    if (!overrideAddress.isEmpty()) {
        return overrideAddress;
    }
    if (!exists()) {
        return QString();
    }
    const auto encoded = [](const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return QStringLiteral("%1://%2:%3%4%5?token=%6&numericId=%7")
        .arg(https ? QStringLiteral("https") : QStringLiteral("http"), host, QString::number(port), urlSuffix, pageName,
             encoded(token), encoded(meetingNumber));
}

} // namespace models
} // namespace kd_app
