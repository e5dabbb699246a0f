#pragma once

#include "platform/audiocapture.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>
#include <memory>

class ClockSource;
class PipDetector;

// What listens for the radio time signal, for at most a given time, and tells what it
// hears: the input level as it goes, then either the mark or why it gave up. It changes
// nothing itself; whoever hears the mark decides what to do with it.
class Ear : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    enum class GiveUp { TimedOut, Quiet, NoServer, NoInputDevice, CannotRecord, UnusableRate };
    struct Failure {
        GiveUp reason = GiveUp::TimedOut;
        QString detail; // the sound system's words, or the rate it offered
    };
    // The mark, held on the steady clock: a step of the system clock after it (by network
    // sync, or by hand) is taken out when the shift is worked out.
    struct Mark {
        double offsetMs;                  // how far the clock ran ahead of the signal
        QDateTime minute;                 // what the clock should have read at the mark…
        std::chrono::milliseconds steady; // …this moment of the steady clock
    };

    virtual void start() = 0;
    // Stops at once and tells nothing more.
    virtual void cancel() = 0;

signals:
    void level(float rms);
    void heard(const Ear::Mark &mark);
    void gaveUp(const Ear::Failure &failure);
};

// The ear on the default input: the capture, the detector and the deadline.
class Listener : public Ear
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kDefaultLimit{75'000};

    Listener(AudioCapture &capture, const ClockSource &clock,
             std::chrono::milliseconds limit = kDefaultLimit, QObject *parent = nullptr);
    ~Listener() override;

    void start() override;
    void cancel() override;
    bool isListening() const { return m_listening; }
    std::chrono::milliseconds limit() const { return m_limit; }
    std::chrono::milliseconds remaining() const;

private:
    void started(int sampleRate);
    void received(const float *samples, qsizetype count, double firstSampleMs);
    void failed(const AudioCapture::Failure &failure);
    void timeIsUp();
    void end();
    Mark markAt(double steadyMs) const;

    struct Block {
        double firstSampleMs;
        double wallAhead; // the system clock's reading minus the steady clock's, as it arrived
    };

    AudioCapture &m_capture;
    const ClockSource &m_clock;
    const std::chrono::milliseconds m_limit;
    std::unique_ptr<PipDetector> m_detector;
    std::deque<Block> m_recent;
    QDeadlineTimer m_deadline;
    QTimer m_timeUp;
    float m_loudest = 0;
    bool m_listening = false;
};
