#include "keeping/listener.h"

#include "core/pipdetector.h"
#include "platform/clocksource.h"

#include <cmath>

namespace {
constexpr float kQuiet = 0.003f;   // about -50 dB of full scale: no radio reaches the microphone
constexpr double kRecentMs = 10'000; // longer than the detector looks back

Listener::GiveUp giveUpFor(AudioCapture::Problem problem)
{
    switch (problem) {
    case AudioCapture::Problem::NoServer: return Listener::GiveUp::NoServer;
    case AudioCapture::Problem::NoInputDevice: return Listener::GiveUp::NoInputDevice;
    case AudioCapture::Problem::CannotRecord: break;
    }
    return Listener::GiveUp::CannotRecord;
}
} // namespace

Listener::Listener(AudioCapture &capture, const ClockSource &clock, std::chrono::milliseconds limit, QObject *parent)
    : Ear(parent), m_capture(capture), m_clock(clock), m_limit(limit)
{
    m_timeUp.setSingleShot(true);
    m_timeUp.setTimerType(Qt::PreciseTimer);
    connect(&m_timeUp, &QTimer::timeout, this, &Listener::timeIsUp);
}

Listener::~Listener()
{
    if (m_listening)
        m_capture.stop();
}

void Listener::start()
{
    if (m_listening)
        return;
    m_listening = true;
    m_loudest = 0;
    m_detector.reset();
    m_recent.clear();
    m_deadline.setRemainingTime(m_limit, Qt::PreciseTimer);
    m_timeUp.start(m_limit);
    // A refusal may come at once, from inside start().
    m_capture.start([this](int rate) { started(rate); },
                    [this](const float *samples, qsizetype count, double ms) { received(samples, count, ms); },
                    [this](const AudioCapture::Failure &failure) { failed(failure); });
}

void Listener::cancel()
{
    if (m_listening)
        end();
}

std::chrono::milliseconds Listener::remaining() const
{
    return std::chrono::milliseconds(m_listening ? m_deadline.remainingTime() : 0);
}

void Listener::started(int sampleRate)
{
    if (!m_listening)
        return;
    if (!PipDetector::hearsAt(sampleRate)) {
        end();
        return Q_EMIT gaveUp({GiveUp::UnusableRate, QString::number(sampleRate)});
    }
    m_detector = std::make_unique<PipDetector>(sampleRate);
}

void Listener::received(const float *samples, qsizetype count, double firstSampleMs)
{
    if (!m_listening || !m_detector)
        return;
    m_recent.push_back({firstSampleMs, double(m_clock.now().toMSecsSinceEpoch() - m_clock.steady().count())});
    while (m_recent.size() > 1 && m_recent[1].firstSampleMs < firstSampleMs - kRecentMs)
        m_recent.pop_front();
    const std::optional<double> mark = m_detector->feed(samples, count, firstSampleMs);
    m_loudest = std::max(m_loudest, m_detector->level());
    Q_EMIT level(m_detector->level());
    if (!mark)
        return;
    end();
    Q_EMIT heard(markAt(*mark));
}

void Listener::failed(const AudioCapture::Failure &failure)
{
    if (!m_listening)
        return;
    end();
    Q_EMIT gaveUp({giveUpFor(failure.problem), failure.systemMessage});
}

// A timer may fire a little early; the limit is the steady clock's.
void Listener::timeIsUp()
{
    if (!m_listening)
        return;
    if (!m_deadline.hasExpired())
        return m_timeUp.start(std::max<qint64>(1, m_deadline.remainingTime()));
    end();
    Q_EMIT gaveUp({m_loudest < kQuiet ? GiveUp::Quiet : GiveUp::TimedOut, {}});
}

void Listener::end()
{
    m_listening = false;
    m_timeUp.stop();
    m_capture.stop();
}

// The system clock's reading at the mark is taken from the block the mark fell in, read as
// that block arrived: a step of the clock since then changes nothing.
Listener::Mark Listener::markAt(double steadyMs) const
{
    auto block = std::find_if(m_recent.rbegin(), m_recent.rend(),
                              [&](const Block &b) { return b.firstSampleMs <= steadyMs; });
    const double wallMs = steadyMs + (block != m_recent.rend() ? *block : m_recent.front()).wallAhead;
    const double offset = offsetFromMinute(wallMs);
    return {offset, QDateTime::fromMSecsSinceEpoch(std::llround(wallMs - offset)),
            std::chrono::milliseconds(std::llround(steadyMs))};
}
