#include "clock/timesignalprompts.h"

#include "clock/timesignal.h"
#include "widgets/warning.h"

#include <QMessageBox>
#include <QPushButton>

namespace {
const QString kTitle = QStringLiteral("時報調整");
}

TimeSignalPrompts::TimeSignalPrompts(TimeSignal *timeSignal, QWidget *window)
    : QObject(window), m_timeSignal(timeSignal), m_window(window)
{
    connect(timeSignal, &TimeSignal::syncQuestion, this, &TimeSignalPrompts::askToSwitchSyncOff);
    connect(timeSignal, &TimeSignal::finished, this, &TimeSignalPrompts::tellFailure);
    connect(timeSignal, &TimeSignal::syncSwitchRefused, this, [this](const TimeSetter::Result &result) {
        openWarning(m_window, kTitle, syncSwitchFailureText(result, false), "AdjustmentFailure");
    });
}

void TimeSignalPrompts::askToSwitchSyncOff()
{
    auto *box = new QMessageBox(QMessageBox::Question, kTitle,
                                QStringLiteral("このシステムはネットワーク時刻同期で時刻を自動的に合わせています。\n\n"
                                               "時報で合わせると、ネットワーク時刻同期はオフになります。"
                                               "あとでメニューの「ネットワーク時刻同期」から戻せます。"),
                                QMessageBox::NoButton, m_window);
    box->setObjectName(QStringLiteral("SyncQuestion"));
    QPushButton *accept = box->addButton(QStringLiteral("自動同期をオフにして合わせる"), QMessageBox::AcceptRole);
    box->setDefaultButton(accept);
    box->setEscapeButton(box->addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, m_timeSignal,
            [this, box, accept] { m_timeSignal->answerSyncQuestion(box->clickedButton() == accept); });
    box->open();
}

void TimeSignalPrompts::tellFailure(const TimeSetter::Result &result, const QDateTime &target)
{
    if (result.outcome != TimeSetter::Outcome::Done)
        openWarning(m_window, kTitle, adjustmentFailureText(result, target.time()), "AdjustmentFailure");
}
