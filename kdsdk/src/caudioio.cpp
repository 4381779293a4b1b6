#include "caudioio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QAudioInput>
#include <QAudioOutput>

#include "cwavinfo.h"
#include "kdsdkcontrol.h"

namespace kd {
namespace sdk {

namespace {

// How fast a shown peak falls back per block read.
constexpr float kLevelDecay = 0.85f;

QAudioFormat formatOf(const CWavData &wav)
{
    QAudioFormat format;
    format.setSampleRate(wav.sampleRate);
    format.setChannelCount(wav.channels);
    format.setSampleSize(wav.bitsPerSample);
    format.setCodec(QStringLiteral("audio/pcm"));
    format.setByteOrder(QAudioFormat::LittleEndian);
    if (wav.formatTag == 3) {
        format.setSampleType(QAudioFormat::Float);
    } else {
        format.setSampleType(wav.bitsPerSample == 8 ? QAudioFormat::UnSignedInt : QAudioFormat::SignedInt);
    }
    return format;
}

template <typename T> float peakOfSamples(const QByteArray &samples, double fullScale, double offset)
{
    const int count = samples.size() / int(sizeof(T));
    double peak = 0.0;
    for (int i = 0; i < count; ++i) {
        T value;
        std::memcpy(&value, samples.constData() + i * int(sizeof(T)), sizeof(T));
        peak = std::max(peak, std::fabs((double(value) - offset) / fullScale));
    }
    return float(peak);
}

} // namespace

CAudioIo::CAudioIo(QObject *parent) : QObject(parent), m_buffer(this), m_endTimer(this)
{
    m_endTimer.setSingleShot(true);
    connect(&m_endTimer, &QTimer::timeout, this, [this] { stopPlayback(); });
}

CAudioIo::~CAudioIo()
{
    stopPlayback();
    stopMeter();
}

float CAudioIo::peakOf(const QByteArray &samples, const QAudioFormat &format)
{
    float peak = 0.0f;
    if (format.sampleType() == QAudioFormat::Float && format.sampleSize() == 32) {
        peak = peakOfSamples<float>(samples, 1.0, 0.0);
    } else if (format.sampleType() == QAudioFormat::SignedInt && format.sampleSize() == 16) {
        peak = peakOfSamples<qint16>(samples, 32768.0, 0.0);
    } else if (format.sampleType() == QAudioFormat::SignedInt && format.sampleSize() == 32) {
        peak = peakOfSamples<qint32>(samples, 2147483648.0, 0.0);
    } else if (format.sampleType() == QAudioFormat::UnSignedInt && format.sampleSize() == 8) {
        peak = peakOfSamples<quint8>(samples, 128.0, 128.0);
    }
    // A broken float sample is no reason for a level outside 0..1.
    if (!(peak >= 0.0f)) {
        return 0.0f;
    }
    return std::min(peak, 1.0f);
}

int CAudioIo::play(const QAudioDeviceInfo &speaker, const CWavData &wav)
{
    stopPlayback();
    if (speaker.isNull()) {
        return KD_ERR_GENERIC;
    }
    const QAudioFormat format = formatOf(wav);
    if (!format.isValid() || !speaker.isFormatSupported(format)) {
        return KD_ERR_FILE;
    }
    m_samples = wav.samples;
    m_buffer.setData(m_samples);
    if (!m_buffer.open(QIODevice::ReadOnly)) {
        return KD_ERR_GENERIC;
    }
    m_output = std::make_unique<QAudioOutput>(speaker, format);
    connect(m_output.get(), &QAudioOutput::stateChanged, this, [this](QAudio::State state) {
        // Idle: everything written has been played.
        if (state == QAudio::IdleState ||
            (state == QAudio::StoppedState && m_output && m_output->error() != QAudio::NoError)) {
            QMetaObject::invokeMethod(
                this, [this] { stopPlayback(); }, Qt::QueuedConnection);
        }
    });
    m_output->start(&m_buffer);
    if (m_output->error() != QAudio::NoError || m_output->state() == QAudio::StoppedState) {
        stopPlayback();
        return KD_ERR_GENERIC;
    }
    m_bPlaying = true;
    // A stream that never reports its end still ends a second after the sound.
    const qint64 lengthMs = wav.byteRate ? qint64(wav.samples.size()) * 1000 / wav.byteRate : 0;
    m_endTimer.start(int(std::min<qint64>(lengthMs + 1000, 24 * 3600 * 1000)));
    return KD_OK;
}

void CAudioIo::stopPlayback()
{
    m_endTimer.stop();
    m_bPlaying = false;
    if (m_output) {
        m_output->disconnect(this);
        m_output->stop();
        m_output.reset();
    }
    m_buffer.close();
}

bool CAudioIo::startMeter(const QAudioDeviceInfo &microphone)
{
    stopMeter();
    if (microphone.isNull()) {
        return false;
    }
    QAudioFormat wanted;
    wanted.setSampleRate(48000);
    wanted.setChannelCount(1);
    wanted.setSampleSize(16);
    wanted.setCodec(QStringLiteral("audio/pcm"));
    wanted.setByteOrder(QAudioFormat::LittleEndian);
    wanted.setSampleType(QAudioFormat::SignedInt);
    m_inputFormat = microphone.isFormatSupported(wanted) ? wanted : microphone.nearestFormat(wanted);
    m_input = std::make_unique<QAudioInput>(microphone, m_inputFormat);
    m_inputDevice = m_input->start();
    if (!m_inputDevice || m_input->error() != QAudio::NoError) {
        stopMeter();
        return false;
    }
    connect(m_inputDevice, &QIODevice::readyRead, this, &CAudioIo::readLevel);
    return true;
}

void CAudioIo::stopMeter()
{
    if (m_input) {
        m_input->stop();
        m_input.reset();
    }
    m_inputDevice = nullptr;
    m_fLevel = 0.0f;
}

void CAudioIo::readLevel()
{
    if (!m_inputDevice) {
        return;
    }
    const float peak = peakOf(m_inputDevice->readAll(), m_inputFormat);
    m_fLevel = std::max(peak, m_fLevel.load() * kLevelDecay);
}

} // namespace sdk
} // namespace kd
