#pragma once

#include <QString>
#include <functional>

// Sound from the default input, mono float samples in blocks, each with the system clock's
// reading (ms since the epoch, UTC) of its first sample, the capture's latency taken off.
// Nothing heard is kept beyond the block, stored or sent anywhere. Both callbacks arrive
// on the GUI thread.
class AudioCapture
{
public:
    using Samples = std::function<void(const float *samples, qsizetype count, double firstSampleMs)>;
    using Failure = std::function<void(const QString &why)>;

    virtual ~AudioCapture() = default;
    // Starts listening; `started` gets the sample rate. A failure ends the capture.
    virtual void start(std::function<void(int sampleRate)> started, Samples samples, Failure failed) = 0;
    virtual void stop() = 0;
};
