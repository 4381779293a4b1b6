#include "cwavinfo.h"

#include <QFile>
#include <QtEndian>

namespace kd {
namespace sdk {

namespace {

template <typename T> T little(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<T>(reinterpret_cast<const uchar *>(bytes.constData() + offset));
}

} // namespace

bool readWav(const QString &path, CWavData *wav, bool withSamples)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray header = file.read(12);
    if (header.size() != 12 || !header.startsWith("RIFF") || header.mid(8, 4) != "WAVE") {
        return false;
    }
    CWavData found;
    // Chunks follow one another; "fmt " gives the format, "data" the samples.
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8) {
            break;
        }
        const quint32 size = little<quint32>(chunk, 4);
        if (chunk.startsWith("fmt ")) {
            const QByteArray format = file.read(qMin<quint32>(size, 16));
            if (format.size() < 16) {
                return false;
            }
            found.formatTag = little<quint16>(format, 0);
            found.channels = little<quint16>(format, 2);
            found.sampleRate = int(little<quint32>(format, 4));
            found.byteRate = little<quint32>(format, 8);
            found.bitsPerSample = little<quint16>(format, 14);
            file.seek(file.pos() + qint64(size) - format.size() + (size & 1));
            continue;
        }
        if (chunk.startsWith("data")) {
            if (found.byteRate == 0) {
                return false;
            }
            found.dataSize = qMin<qint64>(size, file.size() - file.pos());
            if (withSamples) {
                found.samples = file.read(found.dataSize);
            }
            *wav = found;
            return true;
        }
        if (!file.seek(file.pos() + qint64(size) + (size & 1))) {
            break;
        }
    }
    return false;
}

double wavDurationSeconds(const QString &path)
{
    CWavData wav;
    if (!readWav(path, &wav, false)) {
        return -1.0;
    }
    return double(wav.dataSize) / double(wav.byteRate);
}

} // namespace sdk
} // namespace kd
