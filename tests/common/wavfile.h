#pragma once

#include <cmath>

#include <QDataStream>
#include <QFile>
#include <QString>

// Writes a plain 16-bit mono PCM WAV file of the given length: a 440 Hz tone
// at the given fraction of full scale, silence at 0. Returns the path, or an
// empty text when it cannot be written.
inline QString writeWavFile(const QString &path, int milliseconds, double amplitude = 0.0, quint32 rate = 8000)
{
    const quint32 frames = rate * quint32(milliseconds) / 1000;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QString();
    }
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + frames * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << rate << rate * 2 << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(frames * 2);
    for (quint32 i = 0; i < frames; ++i) {
        out << qint16(std::lround(32767.0 * amplitude * std::sin(2.0 * M_PI * 440.0 * i / rate)));
    }
    return path;
}
