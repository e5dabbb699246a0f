#pragma once

#include <QDateTime>
#include <chrono>

// Where the program learns the local date and time.
class ClockSource
{
public:
    virtual ~ClockSource() = default;
    virtual QDateTime now() const = 0;
    // The milliseconds past the second, which a timer aims by; cheaper than now().
    virtual int msecOfSecond() const { return now().time().msec(); }
    // Time since the epoch, without the local time: cheaper than now() again.
    virtual qint64 msecsSinceEpoch() const { return now().toMSecsSinceEpoch(); }
    // A clock that no step of the system clock moves, for spans of time.
    virtual std::chrono::milliseconds steady() const = 0;
};

class SystemClock final : public ClockSource
{
public:
    QDateTime now() const override;
    int msecOfSecond() const override;
    qint64 msecsSinceEpoch() const override { return QDateTime::currentMSecsSinceEpoch(); }
    std::chrono::milliseconds steady() const override;
};
