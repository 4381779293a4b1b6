#pragma once

#include <mutex>
#include <vector>

#include <QImage>

#include "engine/kdtypes.h"

namespace kd {
namespace sdk {

// Content sources a test or tool adds beside the machine's screens:
// application windows (type 1) with a painted thumbnail and icon, or screens
// no QScreen has. They are listed after the real screens until cleared.
class CContentSources
{
public:
    void add(const kd::engine::KDContentSourceInfo &source);
    void clear();
    std::vector<kd::engine::KDContentSourceInfo> list() const;

    // The picture of an added source: kind 0 its thumbnail, kind 1 its icon;
    // a null image when the source was not added (or has no such picture).
    QImage picture(const kd::engine::KDContentSourceInfo &source, int bitmapType) const;

    // Pixels as the engine hands them out: every row padded to whole 32-bit
    // words; kind 0 24-bit with blue first in each pixel, kind 1 32-bit ARGB.
    static QImage bitmapImage(const QImage &picture, int bitmapType, int maxWidth, int maxHeight);

private:
    struct CEntry
    {
        kd::engine::KDContentSourceInfo info;
        QImage thumbnail;
        QImage icon;
    };

    static QImage paintThumbnail(const QString &title);
    static QImage paintIcon(const QString &title);

    mutable std::mutex m_mutex;
    std::vector<CEntry> m_entries;
};

} // namespace sdk
} // namespace kd
