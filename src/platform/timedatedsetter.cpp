#include "platform/timedatedsetter.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QPointer>
#include <QTimer>
#include <thread>
#include <utility>

namespace {
constexpr int kPropertyTimeoutMs = 5000; // a property needs no authorisation
const QString kService = QStringLiteral("org.freedesktop.timedate1");
const QString kObject = QStringLiteral("/org/freedesktop/timedate1");
const QString kConnectionName = QStringLiteral("ravelquint-system-bus");

const QStringList kAutomaticSync{QStringLiteral("org.freedesktop.timedate1.AutomaticTimeSyncEnabled")};
const QStringList kNotAuthorised{
    QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
    QStringLiteral("org.freedesktop.DBus.Error.AuthFailed"),
    QStringLiteral("org.freedesktop.PolicyKit1.Error.NotAuthorized"),
    QStringLiteral("org.freedesktop.PolicyKit1.Error.Cancelled"),
};
const QStringList kNoService{
    QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
    QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
    QStringLiteral("org.freedesktop.DBus.Error.NoServer"),
    QStringLiteral("org.freedesktop.DBus.Error.Disconnected"),
    QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
    QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
    QStringLiteral("org.freedesktop.DBus.Error.Spawn.ServiceNotFound"),
};
const QStringList kNoAnswer{
    QStringLiteral("org.freedesktop.DBus.Error.NoReply"),
    QStringLiteral("org.freedesktop.DBus.Error.Timeout"),
    QStringLiteral("org.freedesktop.DBus.Error.TimedOut"),
};
} // namespace

TimedatedSetter::TimedatedSetter(std::optional<QDBusConnection> bus, int timeoutMs, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_timeoutMs(timeoutMs)
{
    m_connectWait.setSingleShot(true);
    connect(&m_connectWait, &QTimer::timeout, this, [this] { flush(nullptr); });
}

// libdbus waits for the bus's greeting without a time-out: the wait happens on a thread of
// its own, and the calls meanwhile wait two seconds at most, the face ticking on.
void TimedatedSetter::withBus(BusUse use)
{
    if (m_bus)
        return use(&*m_bus);
    m_waiting.push_back(std::move(use));
    if (!m_connectWait.isActive())
        m_connectWait.start(kConnectWaitMs);
    if (std::exchange(m_connecting, true))
        return;
    std::thread([self = QPointer<TimedatedSetter>(this)] {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SystemBus, kConnectionName);
        if (auto *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [self, bus] {
                if (self)
                    self->connected(bus);
            }, Qt::QueuedConnection);
    }).detach();
}

void TimedatedSetter::connected(QDBusConnection bus)
{
    m_connecting = false;
    m_connectWait.stop();
    if (bus.isConnected()) {
        m_bus = bus;
        return flush(&*m_bus);
    }
    flush(&bus);
    QDBusConnection::disconnectFromBus(kConnectionName); // the next call tries afresh
}

void TimedatedSetter::flush(QDBusConnection *bus)
{
    for (const BusUse &use : std::exchange(m_waiting, {}))
        use(bus);
}

TimeSetter::Result TimedatedSetter::resultFor(const QDBusError &error)
{
    const QString name = error.name();
    Outcome outcome = Outcome::Failed;
    if (kAutomaticSync.contains(name))
        outcome = Outcome::AutomaticSync;
    else if (name == QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"))
        outcome = Outcome::NeedsAuthorisation;
    else if (kNotAuthorised.contains(name))
        outcome = Outcome::NotAuthorised;
    else if (kNoService.contains(name))
        outcome = Outcome::NoService;
    else if (kNoAnswer.contains(name))
        outcome = Outcome::NoAnswer;
    return {outcome, error.message().isEmpty() ? name : error.message()};
}

void TimedatedSetter::shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, kService, QStringLiteral("SetTime"));
    const qint64 microseconds = std::chrono::microseconds(shift).count();
    const bool relative = true;
    const bool interactive = prompt == Prompt::Allowed;
    message << microseconds << relative << interactive;
    call(message, std::move(done), prompt);
}

void TimedatedSetter::setNetworkSync(bool on, Callback done)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, kService, QStringLiteral("SetNTP"));
    const bool interactive = true;
    message << on << interactive;
    call(message, std::move(done));
}

void TimedatedSetter::readNetworkSync(SyncCallback done)
{
    withBus([this, done](QDBusConnection *bus) { readNetworkSyncOn(bus, done); });
}

void TimedatedSetter::readNetworkSyncOn(QDBusConnection *bus, SyncCallback done)
{
    if (!bus || !bus->isConnected()) {
        QTimer::singleShot(0, this, [done] { done({}); });
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("GetAll"));
    message << kService;
    auto *watcher = new QDBusPendingCallWatcher(bus->asyncCall(message, kPropertyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *finished;
        if (reply.isError())
            return done({});
        const QVariantMap properties = reply.value();
        done({properties.value(QStringLiteral("CanNTP")).toBool(), properties.value(QStringLiteral("NTP")).toBool(), true});
    });
}

void TimedatedSetter::call(QDBusMessage message, Callback done, Prompt prompt)
{
    withBus([this, message, done, prompt](QDBusConnection *bus) { callOn(bus, message, done, prompt); });
}

// Where the bus never answered, the time service is not answering; where it refused, it is
// not there.
void TimedatedSetter::callOn(QDBusConnection *bus, QDBusMessage message, Callback done, Prompt prompt)
{
    if (!bus || !bus->isConnected()) {
        const Result result = bus ? Result{Outcome::NoService, bus->lastError().message()}
                                  : Result{Outcome::NoAnswer, QStringLiteral("org.freedesktop.DBus.Error.Timeout")};
        QTimer::singleShot(0, this, [done, result] { done(result); });
        return;
    }
    message.setInteractiveAuthorizationAllowed(prompt == Prompt::Allowed);
    auto *watcher = new QDBusPendingCallWatcher(bus->asyncCall(message, m_timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<> reply = *finished;
        done(reply.isError() ? resultFor(reply.error()) : Result{});
    });
}
