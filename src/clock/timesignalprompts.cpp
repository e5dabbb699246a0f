#include "clock/timesignalprompts.h"

#include "widgets/warning.h"

#include <QMessageBox>
#include <QPushButton>


QString TimeSignalPrompts::reasonFor(const TimeSetter::Result &result, const QString &heading, const QString &lateAnswer)
{
    switch (result.outcome) {
    case TimeSetter::Outcome::AutomaticSync:
        return heading + tr("このシステムはネットワーク時刻同期で時刻を自動的に合わせています。"
                            "時報で合わせるには、先に自動時刻同期をオフにしてください。");
    case TimeSetter::Outcome::NotAuthorised:
    case TimeSetter::Outcome::NeedsAuthorisation:
        return heading + tr("時刻を変更する権限が認められませんでした（認証が拒否されたか、取り消されました）。");
    case TimeSetter::Outcome::NoService:
        return heading + tr("時刻を設定するサービス（systemd-timedated）がシステムバス上に見つかりません。");
    case TimeSetter::Outcome::NoAnswer:
        return heading + tr("時刻を設定するサービスから時間内に応答がありませんでした。") + lateAnswer;
    case TimeSetter::Outcome::Failed:
    case TimeSetter::Outcome::Done:
        break;
    }
    return heading + tr("システムからのメッセージ: %1").arg(result.systemMessage);
}

TimeSignalPrompts::TimeSignalPrompts(ClockKeeper *keeper, QWidget *window)
    : QObject(window), m_keeper(keeper), m_window(window)
{
    connect(keeper, &ClockKeeper::syncQuestion, this, &TimeSignalPrompts::askToSwitchSyncOff);
    connect(keeper, &ClockKeeper::refused, this, &TimeSignalPrompts::tellRefusal);
}

void TimeSignalPrompts::askToSwitchSyncOff()
{
    auto *box = new QMessageBox(QMessageBox::Question, title(),
                                tr("このシステムはネットワーク時刻同期で時刻を自動的に合わせています。\n\n"
                                   "時報で合わせると、ネットワーク時刻同期はオフになります。"
                                   "あとでメニューの「ネットワーク時刻同期」から戻せます。"),
                                QMessageBox::NoButton, m_window);
    box->setObjectName(QStringLiteral("SyncQuestion"));
    QPushButton *accept = box->addButton(tr("自動同期をオフにして合わせる"), QMessageBox::AcceptRole);
    box->setDefaultButton(accept);
    box->setEscapeButton(box->addButton(tr("キャンセル"), QMessageBox::RejectRole));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, m_keeper,
            [this, box, accept] { m_keeper->answerSyncQuestion(box->clickedButton() == accept); });
    openBox(box, m_window);
}

// Unattended changes say nothing: the record tells of them.
void TimeSignalPrompts::tellRefusal(const ClockKeeper::Refusal &refusal)
{
    if (refusal.by == ClockKeeper::Gesture::Hourly || refusal.by == ClockKeeper::Gesture::Coast)
        return;
    if (refusal.why != ClockKeeper::Why::System)
        openWarning(m_window, title(), keeperRefusalText(refusal.why), "AdjustmentFailure");
    else if (refusal.whileSwitchingSyncOff)
        openWarning(m_window, title(), syncSwitchFailureText(refusal.result, false), "SyncSwitchFailure");
    else
        openWarning(m_window, title(),
                    adjustmentFailureText(refusal.result, refusal.target.time(), refusal.syncSwitchedOff),
                    "AdjustmentFailure");
}

QString TimeSignalPrompts::adjustmentFailureText(const TimeSetter::Result &result, const QTime &target,
                                                 bool syncSwitchedOff)
{
    const QString text = reasonFor(result,
                                   tr("システムの時刻を %1 に合わせられませんでした。").arg(target.toString(QStringLiteral("HH:mm:ss")))
                                       + QStringLiteral("\n\n"),
                                   tr("この後で認証されれば、時刻はそのときに合わせられます。"));
    if (!syncSwitchedOff)
        return text;
    return text + QStringLiteral("\n\n")
           + tr("ネットワーク時刻同期はオフになっています。メニューの「ネットワーク時刻同期」から戻せます。");
}

QString TimeSignalPrompts::keeperRefusalText(ClockKeeper::Why why)
{
    switch (why) {
    case ClockKeeper::Why::Busy: return tr("前の時刻合わせがまだ終わっていません。時刻は変わっていません。");
    case ClockKeeper::Why::AdjustmentOff: return tr("時報調整機能がオフなので、時刻は変わっていません。");
    case ClockKeeper::Why::NoEstimate: return tr("見積もりがまだないので、時刻は変わっていません。");
    case ClockKeeper::Why::EstimateTooLarge:
        return tr("見積もりが 60 秒を超えています。記録が壊れているおそれがあるので、時刻は変わっていません。");
    case ClockKeeper::Why::System: break;
    }
    return {};
}

// Switching sync has no time to set: a late authorisation switches it and does nothing more.
QString TimeSignalPrompts::syncSwitchFailureText(const TimeSetter::Result &result, bool on)
{
    const QString heading = on ? tr("ネットワーク時刻同期をオンにできませんでした。") : tr("ネットワーク時刻同期をオフにできませんでした。");
    return reasonFor(result, heading + QStringLiteral("\n\n"),
                     on ? tr("この後で認証されれば、ネットワーク時刻同期はそのときにオンになりますが、時刻は合わせられません。")
                        : tr("この後で認証されれば、ネットワーク時刻同期はそのときにオフになりますが、時刻は合わせられません。"));
}
