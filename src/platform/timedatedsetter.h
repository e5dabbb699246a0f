#pragma once

#include "platform/timesetter.h"

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

class QDBusError;
class QDBusMessage;

// Sets the time through systemd-timedated, which asks the desktop's authorisation agent,
// so the program itself never needs the right to change the clock.
class TimedatedSetter final : public QObject, public TimeSetter
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 120'000; // room for a person at the password prompt
    // How long a call waits for the system bus to be reached before the service is told as
    // not answering.
    static constexpr int kConnectWaitMs = 2000;

    // Without a bus, the system bus, reached at the first call on a thread of its own: the
    // clock's first paint need not wait for it, and a bus that never answers stops nothing
    // but that thread.
    explicit TimedatedSetter(std::optional<QDBusConnection> bus = std::nullopt, int timeoutMs = kDefaultTimeoutMs,
                             QObject *parent = nullptr);
    void shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt = Prompt::Allowed) override;
    void readNetworkSync(SyncCallback done) override;
    void setNetworkSync(bool on, Callback done) override;

    static Result resultFor(const QDBusError &error);
    // The system bus is still being reached: a thread may wait on it for good, so the
    // program should not wait for Qt's teardown of the bus on its way out.
    bool isConnecting() const { return m_connecting; }

private:
    using BusUse = std::function<void(QDBusConnection *bus)>; // null: the bus did not answer in time
    void call(QDBusMessage message, Callback done, Prompt prompt = Prompt::Allowed);
    void callOn(QDBusConnection *bus, QDBusMessage message, Callback done, Prompt prompt);
    void readNetworkSyncOn(QDBusConnection *bus, SyncCallback done);
    void withBus(BusUse use);
    void connected(QDBusConnection bus);
    void flush(QDBusConnection *bus);

    std::optional<QDBusConnection> m_bus;
    int m_timeoutMs;
    std::vector<BusUse> m_waiting;
    QTimer m_connectWait;
    bool m_connecting = false;
};
