#include "cgeneralutils.h"

#include <QBitmap>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QImage>
#include <QLabel>
#include <QNetworkInterface>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWidget>

#include "helpers/clogformat.h"

namespace kd_app {
namespace helpers {

QString CGeneralUtils::readStyleText(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromUtf8(zero < 0 ? bytes : bytes.left(zero));
}

void CGeneralUtils::setStyle(QWidget *widget, const QStringList &qssFiles)
{
    KD_LOG << "widget:" << widget;
    QString styleSheet;
    for (const QString &path : qssFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            KD_LOG << "Failed to open qss file:" << path;
            continue;
        }
        styleSheet += readStyleText(file.readAll());
    }
    widget->setStyleSheet(styleSheet);
}

void CGeneralUtils::setStyle(QWidget *widget, const QString &qssFile)
{
    KD_LOG << "CGeneralUtils::setStyle:" << widget->objectName();
    QFile file(qssFile);
    if (!file.open(QIODevice::ReadOnly)) {
        KD_LOG << "Failed to open qss file:" << qssFile;
        return;
    }
    widget->setStyleSheet(readStyleText(file.readAll()));
}

bool CGeneralUtils::drawRectroundImageOnLabel(QLabel *label, const QString &imagePath, int width, int height,
                                              int radiusX, int radiusY, bool darken)
{
    const QFileInfo info(imagePath);
    if (!info.isFile() || info.size() == 0) {
        KD_LOG << "Invalid faile, isFile" << info.isFile() << ", file size:" << info.size();
        return false;
    }
    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        KD_WARN << "Cannot read image file:" << imagePath;
        return false;
    }
    const QByteArray data = file.readAll();
    KD_LOG << "File size: " << data.size();

    QBitmap mask(width, height);
    mask.clear();
    {
        QPainter painter(&mask);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::color1);
        painter.drawRoundedRect(0, 0, width, height, radiusX, radiusY);
    }

    QPixmap picture(width, height);
    picture.fill(Qt::transparent);
    const QImage image = QImage::fromData(data);
    if (!image.isNull()) {
        picture = QPixmap::fromImage(image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    picture.setMask(mask);

    if (darken) {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 80));
        painter.drawRoundedRect(0, 0, width, height, radiusX, radiusY);
    }

    label->setFixedSize(width, height);
    label->setPixmap(picture);
    return true;
}

bool CGeneralUtils::drawRectroundImageOnLabel(QLabel *label, const QString &imagePath, int width, int height)
{
    return drawRectroundImageOnLabel(label, imagePath, width, height, width / 2, height / 2, false);
}

QString CGeneralUtils::getLocalIpAddress()
{
    const QHostAddress loopback(QHostAddress::LocalHost);
    const auto addresses = QNetworkInterface::allAddresses();
    for (const QHostAddress &address : addresses) {
        if (address == loopback) {
            continue;
        }
        if (address.protocol() == QAbstractSocket::IPv4Protocol && address.toIPv4Address() != 0) {
            return address.toString();
        }
    }
    return loopback.toString();
}

bool CGeneralUtils::isEqual(double a, double b)
{
    const double difference = a - b;
    return difference > -0.000001 && difference < 0.000001;
}

bool CGeneralUtils::isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool CGeneralUtils::isNullOrEmpty(const QString &text)
{
    return text.isNull() || text.isEmpty();
}

} // namespace helpers
} // namespace kd_app
