#include "clock/listenbox.h"

#include "keeping/clockkeeper.h"
#include "widgets/warning.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
constexpr int kFloorDb = -60;
constexpr int kTextWidthInEms = 26; // wide enough for a sentence a line, narrow enough to read

int levelPercent(float rms)
{
    const double db = rms > 0 ? 20 * std::log10(rms) : kFloorDb;
    return int(std::lround(std::clamp(100.0 * (db - kFloorDb) / -kFloorDb, 0.0, 100.0)));
}
} // namespace

ListenBox::ListenBox(Listener *listener, ClockKeeper *keeper, QWidget *window)
    : QDialog(window), m_listener(listener)
{
    setObjectName(QStringLiteral("ListenBox"));
    setWindowTitle(tr("時報を聞いて合わせる"));
    setAttribute(Qt::WA_DeleteOnClose);
    listener->setParent(this);
    m_status = new QLabel(tr("時報を聞いています。ラジオをマイクの近くに置いてください。"), this);
    m_status->setObjectName(QStringLiteral("ListenStatus"));
    m_status->setWordWrap(true);
    m_status->setMinimumWidth(kTextWidthInEms * fontMetrics().height());
    m_level = new QProgressBar(this);
    m_level->setObjectName(QStringLiteral("InputLevel"));
    m_level->setTextVisible(false);
    m_level->setAccessibleName(tr("入力レベル"));
    m_secondsLeft = new QLabel(this);
    m_secondsLeft->setObjectName(QStringLiteral("SecondsLeft"));
    m_cancel = new QPushButton(tr("キャンセル"), this);
    m_cancel->setObjectName(QStringLiteral("Cancel"));
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    // The box grows and shrinks with its words, so every outcome shows whole.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (QWidget *widget : {static_cast<QWidget *>(m_status), static_cast<QWidget *>(m_level),
                            static_cast<QWidget *>(m_secondsLeft), static_cast<QWidget *>(m_cancel)})
        layout->addWidget(widget);

    connect(listener, &Listener::level, this, &ListenBox::showLevel);
    connect(listener, &Listener::heard, this, &ListenBox::heard);
    connect(listener, &Listener::gaveUp, this, &ListenBox::gaveUp);
    // Only what became of this box's own mark; the refusal itself is told over the clock.
    const auto mine = [](ClockKeeper::Gesture by) { return by == ClockKeeper::Gesture::Listening; };
    connect(keeper, &ClockKeeper::adjusted, this, [this, mine](ClockKeeper::Gesture by) {
        if (mine(by))
            ended(tr("時刻を合わせました。"));
    });
    connect(keeper, &ClockKeeper::refused, this, [this, mine](const ClockKeeper::Refusal &refusal) {
        if (mine(refusal.by))
            ended(tr("時刻を合わせられませんでした。時刻は変わっていません。"));
    });
    connect(keeper, &ClockKeeper::declined, this, [this, mine](ClockKeeper::Gesture by) {
        if (mine(by))
            ended(tr("ネットワーク時刻同期をオフにしなかったので、時刻は変わっていません。"));
    });
    m_countdown.setInterval(1000);
    connect(&m_countdown, &QTimer::timeout, this, &ListenBox::showSecondsLeft);
    m_countdown.start();
    openBox(this, window);
    listener->start();
    showSecondsLeft();
}

void ListenBox::showLevel(float rms) { m_level->setValue(levelPercent(rms)); }

void ListenBox::showSecondsLeft()
{
    const auto left = std::chrono::ceil<std::chrono::seconds>(m_listener->remaining()).count();
    m_secondsLeft->setText(left > 0 ? tr("残り %1 秒").arg(left) : QString());
}

void ListenBox::heard(const Listener::Mark &mark)
{
    m_offset = offsetText(mark.offsetMs);
    m_correcting = true;
    finish(m_offset + QLatin1Char('\n') + tr("時刻を合わせています…"));
}

void ListenBox::gaveUp(const Listener::Failure &failure)
{
    finish(giveUpText(failure) + QStringLiteral("\n\n") + tr("時刻は変わっていません。"));
}

QString ListenBox::giveUpText(const Listener::Failure &failure) const
{
    using GiveUp = Listener::GiveUp;
    const QString seconds = QString::number(double(m_listener->limit().count()) / 1000);
    switch (failure.reason) {
    case GiveUp::TimedOut: return tr("%1 秒のあいだに時報を聞き取れませんでした。").arg(seconds);
    case GiveUp::Quiet:
        return tr("%1 秒のあいだに時報を聞き取れませんでした。").arg(seconds) + QStringLiteral("\n\n")
               + tr("入力の音がほとんどありませんでした。マイクがミュートになっていないか、"
                    "ラジオから遠すぎないか確かめてください。");
    case GiveUp::NoServer:
        return tr("音声サーバー（PulseAudio か PipeWire）に接続できません（%1）。").arg(failure.detail);
    case GiveUp::NoInputDevice: return tr("音声の入力装置がありません。");
    case GiveUp::CannotRecord: return tr("録音を始められません（%1）。").arg(failure.detail);
    case GiveUp::UnusableRate:
        return tr("入力装置のサンプリング周波数（%1 Hz）では時報を聞き取れません。").arg(failure.detail);
    }
    return {};
}

void ListenBox::ended(const QString &outcome)
{
    if (!m_correcting)
        return;
    m_correcting = false;
    m_status->setText(m_offset + QLatin1Char('\n') + outcome);
}

// Listening is over: the bar and the countdown go, and キャンセル becomes 閉じる.
void ListenBox::finish(const QString &text)
{
    m_countdown.stop();
    m_level->hide();
    m_secondsLeft->clear();
    m_secondsLeft->hide();
    m_status->setText(text);
    m_cancel->setText(tr("閉じる"));
}

void ListenBox::done(int result)
{
    m_listener->cancel();
    m_countdown.stop();
    m_secondsLeft->clear();
    QDialog::done(result);
}

QString ListenBox::offsetText(double offsetMs)
{
    const QString seconds = QString::number(std::abs(offsetMs) / 1000, 'f', 2);
    if (seconds == QLatin1String("0.00"))
        return tr("時計は合っていました。");
    return offsetMs > 0 ? tr("時計は %1 秒進んでいました。").arg(seconds) : tr("時計は %1 秒遅れていました。").arg(seconds);
}
