#pragma once

#include <QDateTime>
#include <QObject>

class QSocketNotifier;

// Rings when the system clock reaches a time, however it gets there: by running, through a
// suspend, or by a step. Every step of the clock (by hand, by network sync, by a resume) is
// told too, so whoever waits can work out its time afresh.
class WallAlarm : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void arm(const QDateTime &at) = 0;
    virtual void disarm() = 0;

signals:
    void rang();
    void clockStepped();
};

// A timerfd on the real-time clock, absolute and cancelled by every set of the clock: the
// kernel wakes it when the time comes, and tells of each step (a resume included).
class TimerFdAlarm final : public WallAlarm
{
    Q_OBJECT
public:
    explicit TimerFdAlarm(QObject *parent = nullptr);
    ~TimerFdAlarm() override;
    void arm(const QDateTime &at) override;
    void disarm() override;

private:
    void readable();

    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QDateTime m_at;
};
