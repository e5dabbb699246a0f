#include "support/fakes.h"

#include <utility>

FakeClock::FakeClock(const QDateTime &start) : m_now(start) {}

QDateTime FakeClock::now() const
{
    const QDateTime reading = m_now;
    if (m_step)
        m_now = m_now.addMSecs(m_step);
    ++m_reads;
    return reading;
}

void FakeTimeSetter::shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt)
{
    prompts.append(prompt);
    requests.append(shift);
    m_pending.push_back(std::move(done));
}

void FakeTimeSetter::answer(const Result &result)
{
    Q_ASSERT(!m_pending.empty());
    Callback done = std::move(m_pending.front());
    m_pending.pop_front();
    done(result);
}

void FakeTimeSetter::setNetworkSync(bool on, Callback done)
{
    syncSwitches.append(on);
    if (syncSwitchAnswer.outcome == Outcome::Done)
        sync.on = on;
    done(syncSwitchAnswer);
}

std::optional<QColor> FakeColourPicker::pick(QWidget *, const QColor &initial)
{
    initialColours.append(initial);
    if (replies.empty())
        return std::nullopt;
    auto reply = replies.front();
    replies.pop_front();
    return reply;
}

bool FakeAutostart::setEnabled(bool on)
{
    if (refusal.isEmpty())
        enabled = on;
    return refusal.isEmpty();
}

void FakeAudioCapture::start(std::function<void(int)> started, Samples samples, Failed failed)
{
    if (refusal)
        return failed(*refusal);
    running = true;
    m_started = std::move(started);
    m_samples = std::move(samples);
}

void FakeAudioCapture::play(const std::vector<float> &samples, int rate, double firstSampleMs)
{
    if (m_started)
        std::exchange(m_started, nullptr)(rate);
    const qsizetype block = rate / 50;
    for (qsizetype at = 0; running && at < qsizetype(samples.size()); at += block)
        m_samples(samples.data() + at, std::min(block, qsizetype(samples.size()) - at),
                  firstSampleMs + double(at) * 1000 / rate);
}

bool FakeAlarm::ringIfDue(const QDateTime &now)
{
    if (!armedAt.isValid() || now < armedAt)
        return false;
    armedAt = {};
    Q_EMIT rang();
    return true;
}
