#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace confserver {

// The JPEG pictures the server hands out as avatars.
class CAvatarImage
{
public:
    CAvatarImage() = delete;

    // A 96x96 picture of a head and shoulders on a background of the given
    // colour (#rrggbb), or of a colour picked from the user id.
    static QByteArray jpeg(int userId, const QString &colour);
    // Pictures larger than this on either side are refused unread: a small
    // file can describe a huge picture, and decoding it costs the memory
    // of the picture, not of the file.
    static constexpr int kMaxSide = 4096;

    enum class Decoded { Picture, NotAPicture, TooLarge };
    // Decodes an uploaded picture; *image is set only for Picture.
    static Decoded decode(const QByteArray &data, QImage *image);
    // An uploaded picture, cut to a square and stored as JPEG.
    static QByteArray jpeg(const QImage &image);
};

} // namespace confserver
