#include "clock/timesignal.h"

#include "platform/clocksource.h"

#include <QPointer>

TimeSignal::TimeSignal(const ClockSource &clock, TimeSetter &setter, QObject *parent)
    : QObject(parent), m_clock(clock), m_setter(setter)
{
    setObjectName(QStringLiteral("TimeSignal"));
}

// Asked as a shift from this reading, so the clock ends right however long the prompt stays open.
void TimeSignal::start(const QDateTime &faceShows)
{
    if (m_pending)
        return;
    m_pending = true;
    m_askedAboutSync = false;
    const QDateTime reading = m_clock.now();
    m_target = adjustmentTarget(faceShows, reading);
    m_shift = std::chrono::milliseconds(reading.msecsTo(m_target));
    send();
}

// An answer that comes after the clock has closed goes nowhere.
void TimeSignal::send()
{
    m_setter.shiftClock(m_shift, [self = QPointer<TimeSignal>(this)](const TimeSetter::Result &result) {
        if (self)
            self->answered(result);
    });
}

void TimeSignal::answered(const TimeSetter::Result &result)
{
    if (result.outcome != TimeSetter::Outcome::AutomaticSync || m_askedAboutSync)
        return finish(result);
    // Only where a sync service can be switched off is there anything to ask.
    m_setter.readNetworkSync([self = QPointer<TimeSignal>(this), result](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        if (sync.available)
            Q_EMIT self->syncQuestion();
        else
            self->finish(result);
    });
}

void TimeSignal::answerSyncQuestion(bool switchSyncOff)
{
    if (!m_pending)
        return;
    if (!switchSyncOff) {
        m_pending = false; // nothing changed, nothing to tell
        return;
    }
    m_askedAboutSync = true;
    m_setter.setNetworkSync(false, [self = QPointer<TimeSignal>(this)](const TimeSetter::Result &result) {
        if (!self)
            return;
        if (result.outcome == TimeSetter::Outcome::Done)
            return self->send();
        self->m_pending = false;
        Q_EMIT self->syncSwitchRefused(result);
    });
}

void TimeSignal::finish(const TimeSetter::Result &result)
{
    m_pending = false;
    Q_EMIT finished(result, m_target);
}

QDateTime adjustmentTarget(const QDateTime &faceShows, const QDateTime &reading)
{
    const QDateTime shown = faceShows.isValid() ? faceShows : reading;
    const QTime time = shown.time();
    return shown.addMSecs(-(time.second() * 1000 + time.msec()));
}

namespace {
QString reasonFor(const TimeSetter::Result &result, const QString &heading)
{
    switch (result.outcome) {
    case TimeSetter::Outcome::AutomaticSync:
        return heading + QStringLiteral("このシステムはネットワーク時刻同期で時刻を自動的に合わせています。"
                                        "時報で合わせるには、先に自動時刻同期をオフにしてください。");
    case TimeSetter::Outcome::NotAuthorised:
        return heading + QStringLiteral("時刻を変更する権限が認められませんでした（認証が拒否されたか、取り消されました）。");
    case TimeSetter::Outcome::NoService:
        return heading + QStringLiteral("時刻を設定するサービス（systemd-timedated）がシステムバス上に見つかりません。");
    case TimeSetter::Outcome::NoAnswer:
        return heading + QStringLiteral("時刻を設定するサービスから時間内に応答がありませんでした。"
                                        "この後で認証されれば、時刻はそのときに合わせられます。");
    case TimeSetter::Outcome::Failed:
    case TimeSetter::Outcome::Done:
        break;
    }
    return heading + QStringLiteral("システムからのメッセージ: %1").arg(result.systemMessage);
}
} // namespace

QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target)
{
    return reasonFor(result, QStringLiteral("システムの時刻を %1 に合わせられませんでした。\n\n")
                                 .arg(target.toString(QStringLiteral("HH:mm:ss"))));
}

QString syncSwitchFailureText(const TimeSetter::Result &result, bool on)
{
    return reasonFor(result, on ? QStringLiteral("ネットワーク時刻同期をオンにできませんでした。\n\n")
                                : QStringLiteral("ネットワーク時刻同期をオフにできませんでした。\n\n"));
}
