#pragma once

#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/platform.h"
#include "platform/timesetter.h"

#include <QList>
#include <vector>
#include <deque>

class FakeClock final : public ClockSource
{
public:
    explicit FakeClock(const QDateTime &start = QDateTime(QDate(2026, 12, 7), QTime(12, 34, 56)));
    QDateTime now() const override;
    void set(const QDateTime &when) { m_now = when; }
    void set(const QDate &date, const QTime &time) { m_now = QDateTime(date, time); }
    // Lets time pass between two readings, as it does on a real machine.
    void advanceOnEachRead(int milliseconds) { m_step = milliseconds; }
    int reads() const { return m_reads; }
    qint64 msecsSinceEpoch() const override { return m_now.toMSecsSinceEpoch(); }
    // Moves on only when a test says so: set() steps the wall clock alone.
    std::chrono::milliseconds steady() const override { return m_steady; }
    void passSteadily(std::chrono::milliseconds span) { m_steady += span; m_now = m_now.addMSecs(span.count()); }

private:
    mutable QDateTime m_now;
    mutable int m_reads = 0;
    int m_step = 0;
    std::chrono::milliseconds m_steady{0};
};

// Records each request; the test answers it when it likes, as the desktop would.
class FakeTimeSetter final : public TimeSetter
{
public:
    void shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt = Prompt::Allowed) override;
    void answer(const Result &result = {});
    // Network sync answers at once, from `sync`; switching it answers `syncSwitchAnswer`.
    void readNetworkSync(SyncCallback done) override { done(sync); }
    void setNetworkSync(bool on, Callback done) override;

    QList<std::chrono::milliseconds> requests;
    QList<Prompt> prompts;
    SyncState sync{false, false, true};
    Result syncSwitchAnswer;
    QList<bool> syncSwitches;

private:
    std::deque<Callback> m_pending;
};

// Answers each pick with the next scripted reply; nothing means the user cancelled.
class FakeColourPicker final : public ColourPicker
{
public:
    std::optional<QColor> pick(QWidget *parent, const QColor &initial) override;

    std::deque<std::optional<QColor>> replies;
    QList<QColor> initialColours;
};

// Switches at once, or refuses with `refusal` when it is set.
class FakeAutostart final : public Autostart
{
public:
    bool isEnabled() const override { return enabled; }
    bool setEnabled(bool on) override;
    Refusal why() const override { return {Problem::System, refusal}; }
    QString path() const override { return QStringLiteral("/fake/autostart/ravelquint.desktop"); }

    bool enabled = false;
    QString refusal;
};

// Hands the test's samples to the listener, or refuses with `refusal`.
class FakeAudioCapture final : public AudioCapture
{
public:
    void start(std::function<void(int)> started, Samples samples, Failed failed) override;
    void stop() override { running = false; }
    // As the server would deliver them: 20 ms blocks from `firstSampleMs` (steady) on. The
    // rate is told once, before the first block.
    void play(const std::vector<float> &samples, int rate, double firstSampleMs);

    bool running = false;
    std::optional<Failure> refusal;

private:
    std::function<void(int)> m_started;
    Samples m_samples;
};

// Rings when the test says the time has come; steps are told the same way.
class FakeAlarm final : public WallAlarm
{
    Q_OBJECT
public:
    void arm(const QDateTime &at) override { armedAt = at; }
    void disarm() override { armedAt = {}; }
    // Rings if `now` has reached the time armed for.
    bool ringIfDue(const QDateTime &now);

    QDateTime armedAt;
};

struct FakePlatform {
    FakeClock clock;
    FakeTimeSetter timeSetter;
    FakeColourPicker colourPicker;
    FakeAutostart autostart;
    FakeAudioCapture audioCapture;
    FakeAlarm alarm;
    bool placesWindows = true;

    Platform platform() { return {clock, timeSetter, colourPicker, autostart, audioCapture, alarm, placesWindows}; }
};
