#include "cwavinfo.h"

#include <QFile>
#include <QtEndian>

namespace kd {
namespace sdk {

double wavDurationSeconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1.0;
    }
    const QByteArray header = file.read(12);
    if (header.size() != 12 || !header.startsWith("RIFF") || header.mid(8, 4) != "WAVE") {
        return -1.0;
    }
    quint32 byteRate = 0;
    // Chunks follow one another; "fmt " gives the byte rate, "data" the length.
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8) {
            break;
        }
        const quint32 size = qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(chunk.constData() + 4));
        if (chunk.startsWith("fmt ")) {
            const QByteArray format = file.read(qMin<quint32>(size, 16));
            if (format.size() < 12) {
                return -1.0;
            }
            byteRate = qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(format.constData() + 8));
            file.seek(file.pos() + qint64(size) - format.size() + (size & 1));
            continue;
        }
        if (chunk.startsWith("data")) {
            if (byteRate == 0) {
                return -1.0;
            }
            // A header may claim more than the file holds; only what is there plays.
            const qint64 available = qMin<qint64>(size, file.size() - file.pos());
            return double(available) / double(byteRate);
        }
        if (!file.seek(file.pos() + qint64(size) + (size & 1))) {
            break;
        }
    }
    return -1.0;
}

} // namespace sdk
} // namespace kd
