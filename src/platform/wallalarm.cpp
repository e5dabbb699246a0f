#include "platform/wallalarm.h"

#include "core/safefile.h"
#include "platform/logging.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

TimerFdAlarm::TimerFdAlarm(QObject *parent) : WallAlarm(parent)
{
    m_fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) {
        qCWarning(lcPlatform).noquote() << QCoreApplication::translate("WallAlarm", "時計の変化を見張れません(%1)")
                                                  .arg(safefile::errorText(errno));
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TimerFdAlarm::readable);
}

TimerFdAlarm::~TimerFdAlarm()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void TimerFdAlarm::arm(const QDateTime &at)
{
    m_at = at;
    if (m_fd < 0)
        return;
    const qint64 ms = std::max<qint64>(at.toMSecsSinceEpoch(), 1); // zero would disarm it
    itimerspec when{};
    when.it_value.tv_sec = time_t(ms / 1000);
    when.it_value.tv_nsec = long(ms % 1000) * 1'000'000;
    ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &when, nullptr);
}

void TimerFdAlarm::disarm()
{
    m_at = {};
    if (m_fd < 0)
        return;
    const itimerspec never{};
    ::timerfd_settime(m_fd, 0, &never, nullptr);
}

// A cancelled timer stays cancelled until it is set again: it is set again for the same time.
void TimerFdAlarm::readable()
{
    quint64 expirations = 0;
    if (::read(m_fd, &expirations, sizeof expirations) >= 0)
        return Q_EMIT rang();
    if (errno != ECANCELED)
        return;
    if (m_at.isValid())
        arm(m_at);
    Q_EMIT clockStepped();
}
