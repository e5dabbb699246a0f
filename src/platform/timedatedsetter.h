#pragma once

#include "platform/timesetter.h"

#include <QDBusConnection>
#include <QObject>
#include <optional>

class QDBusError;
class QDBusMessage;

// Sets the time through systemd-timedated, which asks the desktop's authorisation agent,
// so the program itself never needs the right to change the clock.
class TimedatedSetter final : public QObject, public TimeSetter
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 120'000; // room for a person at the password prompt

    // Without a bus, the system bus, reached at the first call: the clock's first paint
    // need not wait for it.
    explicit TimedatedSetter(std::optional<QDBusConnection> bus = std::nullopt, int timeoutMs = kDefaultTimeoutMs,
                             QObject *parent = nullptr);
    void shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt = Prompt::Allowed) override;
    void readNetworkSync(SyncCallback done) override;
    void setNetworkSync(bool on, Callback done) override;

    static Result resultFor(const QDBusError &error);

private:
    void call(QDBusMessage message, Callback done, Prompt prompt = Prompt::Allowed);
    QDBusConnection &bus();

    std::optional<QDBusConnection> m_bus;
    int m_timeoutMs;
};
