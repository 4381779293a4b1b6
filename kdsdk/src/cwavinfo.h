#pragma once

#include <QByteArray>
#include <QString>

namespace kd {
namespace sdk {

// The sound of a RIFF/WAVE file: its format and the samples it holds.
struct CWavData
{
    int formatTag = 0; // 1 integer PCM, 3 floating point
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    quint32 byteRate = 0;
    qint64 dataSize = 0; // bytes of samples the file holds
    QByteArray samples;  // read only when asked for
};

// Reads a RIFF/WAVE file; false when it is not one. A header that claims
// more samples than the file holds gets what is there.
bool readWav(const QString &path, CWavData *wav, bool withSamples = true);

// Reads how long a RIFF/WAVE file plays; negative when it is not one.
double wavDurationSeconds(const QString &path);

} // namespace sdk
} // namespace kd
