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
    const QDateTime reading = m_clock.now();
    const QDateTime target = adjustmentTarget(faceShows, reading);
    QPointer<TimeSignal> self(this);
    m_setter.shiftClock(std::chrono::milliseconds(reading.msecsTo(target)), [self, target](const auto &result) {
        if (!self)
            return;
        self->m_pending = false;
        Q_EMIT self->finished(result, target);
    });
}

QDateTime adjustmentTarget(const QDateTime &faceShows, const QDateTime &reading)
{
    const QDateTime shown = faceShows.isValid() ? faceShows : reading;
    const QTime time = shown.time();
    return shown.addMSecs(-(time.second() * 1000 + time.msec()));
}

QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target)
{
    const QString heading = QStringLiteral("システムの時刻を %1 に合わせられませんでした。\n\n")
                                .arg(target.toString(QStringLiteral("HH:mm:ss")));
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
