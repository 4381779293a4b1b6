#pragma once

#include <atomic>
#include <memory>

#include <QAudioDeviceInfo>
#include <QAudioFormat>
#include <QBuffer>
#include <QObject>
#include <QTimer>

class QAudioInput;
class QAudioOutput;

namespace kd {
namespace sdk {

struct CWavData;

// Sound through the system's devices: a sound file played on a speaker and
// the level of a microphone. Lives on the engine's media thread; its
// operations are called there, its two readings from any thread.
class CAudioIo : public QObject
{
public:
    explicit CAudioIo(QObject *parent);
    ~CAudioIo() override;

    // KD_OK once the speaker plays; an error when it cannot be opened or
    // does not take the file's format.
    int play(const QAudioDeviceInfo &speaker, const CWavData &wav);
    void stopPlayback();
    // Measures the microphone until stopped; false when it cannot be opened.
    bool startMeter(const QAudioDeviceInfo &microphone);
    void stopMeter();

    bool isPlaying() const { return m_bPlaying.load(); }
    // The latest level, 0 to 1, falling back slowly after a peak.
    float level() const { return m_fLevel.load(); }

    // The loudest sample of a block, 0 to 1, for the sample formats a
    // microphone delivers (8-bit unsigned, 16- and 32-bit signed, 32-bit float).
    static float peakOf(const QByteArray &samples, const QAudioFormat &format);

private:
    void readLevel();

    std::unique_ptr<QAudioOutput> m_output;
    QByteArray m_samples;
    QBuffer m_buffer;
    QTimer m_endTimer;
    std::unique_ptr<QAudioInput> m_input;
    QIODevice *m_inputDevice = nullptr;
    QAudioFormat m_inputFormat;
    std::atomic<bool> m_bPlaying{false};
    std::atomic<float> m_fLevel{0.0f};
};

} // namespace sdk
} // namespace kd
