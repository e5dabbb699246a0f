#include "platform/timedatedsetter.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QTimer>

namespace {
constexpr int kPropertyTimeoutMs = 5000; // a property needs no authorisation
const QString kService = QStringLiteral("org.freedesktop.timedate1");
const QString kObject = QStringLiteral("/org/freedesktop/timedate1");

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
}

QDBusConnection &TimedatedSetter::bus()
{
    if (!m_bus)
        m_bus = QDBusConnection::systemBus();
    return *m_bus;
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
    if (!bus().isConnected()) {
        QTimer::singleShot(0, this, [done] { done({}); });
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kObject, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("GetAll"));
    message << kService;
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(message, kPropertyTimeoutMs), this);
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
    if (!bus().isConnected()) {
        const Result result{Outcome::NoService, bus().lastError().message()};
        QTimer::singleShot(0, this, [done, result] { done(result); });
        return;
    }
    message.setInteractiveAuthorizationAllowed(prompt == Prompt::Allowed);
    auto *watcher = new QDBusPendingCallWatcher(bus().asyncCall(message, m_timeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<> reply = *finished;
        done(reply.isError() ? resultFor(reply.error()) : Result{});
    });
}
