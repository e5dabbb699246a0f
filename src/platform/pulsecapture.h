#pragma once

#include "platform/audiocapture.h"

#include <QObject>
#include <memory>

// Capture through the PulseAudio client library, which PulseAudio and PipeWire desktops
// both serve: it reports the source's latency, so the timestamps can be exact. Its own
// thread reads; the blocks are handed to the GUI thread.
class PulseCapture final : public QObject, public AudioCapture
{
    Q_OBJECT
public:
    PulseCapture();
    ~PulseCapture() override;

    void start(std::function<void(int sampleRate)> started, Samples samples, Failed failed) override;
    void stop() override;

    struct Session;

private:
    std::unique_ptr<Session> m_session;
    int m_generation = 0;
};
