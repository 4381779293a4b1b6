#include "ccontentsources.h"

#include <QPainter>

namespace kd {
namespace sdk {

using kd::engine::KDContentSourceInfo;

namespace {

bool sameSource(const KDContentSourceInfo &a, const KDContentSourceInfo &b)
{
    return a.type == b.type && a.windowTitle == b.windowTitle && a.windowId == b.windowId;
}

} // namespace

void CContentSources::add(const KDContentSourceInfo &source)
{
    CEntry entry;
    entry.info = source;
    entry.info.frameData = nullptr;
    entry.info.valid = true;
    if (source.type == 1) {
        const QString title = QString::fromLocal8Bit(source.windowTitle.c_str());
        entry.thumbnail = paintThumbnail(title);
        entry.icon = paintIcon(title);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.push_back(entry);
}

void CContentSources::clear()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_entries.clear();
}

std::vector<KDContentSourceInfo> CContentSources::list() const
{
    std::vector<KDContentSourceInfo> sources;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const CEntry &entry : m_entries) {
        sources.push_back(entry.info);
    }
    return sources;
}

QImage CContentSources::picture(const KDContentSourceInfo &source, int bitmapType) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const CEntry &entry : m_entries) {
        if (sameSource(entry.info, source)) {
            return bitmapType == 1 ? entry.icon : entry.thumbnail;
        }
    }
    return QImage();
}

QImage CContentSources::bitmapImage(const QImage &picture, int bitmapType, int maxWidth, int maxHeight)
{
    const QImage scaled = picture.scaled(maxWidth, maxHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (bitmapType == 1) {
        return scaled.convertToFormat(QImage::Format_ARGB32);
    }
    // QImage keeps 24-bit rows padded to 32-bit words; swapping red and blue
    // in place gives the blue-first order the engine's thumbnails have.
    return scaled.convertToFormat(QImage::Format_RGB888).rgbSwapped();
}

QImage CContentSources::paintThumbnail(const QString &title)
{
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(QColor(0xee, 0xf1, 0xf5));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x4a, 0x5d, 0x7e));
    painter.drawRect(0, 0, 320, 28);
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawRect(16, 44, 288, 140);
    painter.setPen(QColor(0xff, 0xff, 0xff));
    painter.drawText(QRect(10, 0, 300, 28), Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.setPen(QColor(0x31, 0x31, 0x31));
    painter.drawText(QRect(16, 44, 288, 140), Qt::AlignCenter, title);
    return image;
}

QImage CContentSources::paintIcon(const QString &title)
{
    QImage image(40, 40, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // One colour per title, so icons of different windows differ.
    painter.setBrush(QColor::fromHsv(int(qHash(title) % 360), 160, 200));
    painter.drawRoundedRect(QRectF(2, 2, 36, 36), 8, 8);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(22);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, title.left(1).toUpper());
    return image;
}

} // namespace sdk
} // namespace kd
