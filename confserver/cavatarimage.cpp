#include "cavatarimage.h"

#include <QBuffer>
#include <QColor>
#include <QImageReader>
#include <QPainter>

namespace confserver {

namespace {

constexpr int kSide = 96;

QByteArray encode(const QImage &image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

} // namespace

QByteArray CAvatarImage::jpeg(int userId, const QString &colour)
{
    QColor background(colour);
    if (!background.isValid()) {
        background = QColor::fromHsv((userId * 47) % 360, 120, 200);
    }
    QImage image(kSide, kSide, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background.lighter(160));
    painter.drawEllipse(QRectF(kSide * 0.3, kSide * 0.15, kSide * 0.4, kSide * 0.4));
    painter.drawEllipse(QRectF(kSide * 0.12, kSide * 0.6, kSide * 0.76, kSide * 0.7));
    painter.end();
    return encode(image);
}

CAvatarImage::Decoded CAvatarImage::decode(const QByteArray &data, QImage *image)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid()) {
        return Decoded::NotAPicture;
    }
    if (size.width() > kMaxSide || size.height() > kMaxSide) {
        return Decoded::TooLarge;
    }
    QImage decoded = reader.read();
    if (decoded.isNull()) {
        return Decoded::NotAPicture;
    }
    *image = std::move(decoded);
    return Decoded::Picture;
}

QByteArray CAvatarImage::jpeg(const QImage &image)
{
    const int side = qMin(image.width(), image.height());
    const QImage square = image.copy((image.width() - side) / 2, (image.height() - side) / 2, side, side);
    return encode(square.convertToFormat(QImage::Format_RGB32));
}

} // namespace confserver
