#pragma once

#include "platform/audiocapture.h"

#include <QLibrary>
#include <QStringList>
#include <memory>

// The capture, loaded from its module the first time the clock listens: the sound server's
// client libraries are a dozen, and a start that waits for none of them maps sooner.
class LazyCapture final : public AudioCapture
{
public:
    // The module is looked for in each folder in turn.
    explicit LazyCapture(QStringList folders);
    ~LazyCapture() override;

    void start(std::function<void(int sampleRate)> started, Samples samples, Failed failed) override;
    void stop() override;

private:
    bool load();

    QStringList m_folders;
    QString m_loadError;
    std::unique_ptr<AudioCapture> m_capture;
};
