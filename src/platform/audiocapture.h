#pragma once

#include <QString>
#include <functional>

// Sound from the default input, mono float samples in blocks, each with the steady clock's
// reading (ms, as ClockSource::steady) of its first sample, the capture's latency taken
// off: a step of the system clock meanwhile cannot bend the timeline. Sound recorded before
// the capture began, which some sources keep and deliver in a burst, is left out, and may
// leave a gap between blocks. Nothing heard is kept
// beyond the block, stored or sent anywhere. Every callback arrives on the GUI thread.
class AudioCapture
{
public:
    enum class Problem { NoServer, NoInputDevice, CannotRecord };
    struct Failure {
        Problem problem = Problem::CannotRecord;
        QString systemMessage; // the sound system's own words, where it gave any
    };
    using Samples = std::function<void(const float *samples, qsizetype count, double firstSampleMs)>;
    using Failed = std::function<void(const Failure &failure)>;

    virtual ~AudioCapture() = default;
    // Starts listening; `started` gets the sample rate. A failure ends the capture.
    virtual void start(std::function<void(int sampleRate)> started, Samples samples, Failed failed) = 0;
    virtual void stop() = 0;
};
