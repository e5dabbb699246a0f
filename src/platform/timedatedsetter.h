#pragma once

#include "platform/timesetter.h"

#include <QDBusConnection>
#include <QObject>

class QDBusError;
class QDBusMessage;

// Sets the time through systemd-timedated, which asks the desktop's authorisation agent,
// so the program itself never needs the right to change the clock.
class TimedatedSetter final : public QObject, public TimeSetter
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 120'000; // room for a person at the password prompt

    explicit TimedatedSetter(const QDBusConnection &bus = QDBusConnection::systemBus(),
                             int timeoutMs = kDefaultTimeoutMs, QObject *parent = nullptr);
    void shiftClock(std::chrono::milliseconds shift, Callback done) override;
    void readNetworkSync(SyncCallback done) override;
    void setNetworkSync(bool on, Callback done) override;

    static Result resultFor(const QDBusError &error);

private:
    void call(QDBusMessage message, Callback done);

    QDBusConnection m_bus;
    int m_timeoutMs;
};
