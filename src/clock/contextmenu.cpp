#include "clock/contextmenu.h"

#include "clock/timesignalprompts.h"
#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "widgets/warning.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPointer>

namespace {
bool opensTheMenu(const QKeyEvent *key)
{
    return (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier)
           || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}
} // namespace

ContextMenu::ContextMenu(QWidget *window, const QWidget *adjustmentSpot, SettingsStore &store, Platform platform)
    : QMenu(window), m_window(window), m_adjustmentSpot(adjustmentSpot), m_store(store),
      m_timeSetter(platform.timeSetter), m_autostart(platform.autostart)
{
    setObjectName(QStringLiteral("ContextMenu"));
    connect(addEntry(tr("設定...(&S)"), "OpenSettings"), &QAction::triggered, this,
            &ContextMenu::settingsRequested);
    m_adjust = addEntry(tr("時報調整(&T)"), "AdjustToTimeSignal");
    connect(m_adjust, &QAction::triggered, this, &ContextMenu::timeSignalRequested);
    m_listen = addEntry(tr("時報を聞いて合わせる(&J)"), "ListenToTimeSignal");
    connect(m_listen, &QAction::triggered, this, &ContextMenu::listenRequested);
    m_hourly = addEntry(tr("毎正時に時報を聞く(&E)"), "ListenEveryHour", true);
    connect(m_hourly, &QAction::triggered, this, &ContextMenu::switchHourly);
    connect(addEntry(tr("時計の記録(&R)"), "ClockRecord"), &QAction::triggered, this, &ContextMenu::recordRequested);
    addSeparator();
    m_onTop = addEntry(tr("常に手前に表示(&A)"), "StayOnTop", true);
    connect(m_onTop, &QAction::triggered, this, &ContextMenu::switchOnTop);
    m_autostartEntry = addEntry(tr("ログイン時に起動(&L)"), "StartAtLogin", true);
    connect(m_autostartEntry, &QAction::triggered, this, &ContextMenu::switchAutostart);
    m_holidays = addEntry(tr("祝日を日曜日の色にする(&H)"), "HolidaysAsSundays", true);
    connect(m_holidays, &QAction::triggered, this, &ContextMenu::switchHolidays);
    m_networkSync = addEntry(tr("ネットワーク時刻同期(&N)"), "NetworkTimeSync", true);
    connect(m_networkSync, &QAction::triggered, this, &ContextMenu::switchNetworkSync);
    addSeparator();
    connect(addEntry(tr("閉じる(&C)"), "Close"), &QAction::triggered, window, &QWidget::close);

    window->setFocusPolicy(Qt::StrongFocus);
    window->installEventFilter(this);
}

QAction *ContextMenu::addEntry(const QString &caption, const char *name, bool checkable)
{
    QAction *action = addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

bool ContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::ContextMenu) {
        const auto *request = static_cast<QContextMenuEvent *>(event);
        popupAt(request->reason() == QContextMenuEvent::Mouse ? request->globalPos()
                                                               : m_window->mapToGlobal(m_window->rect().center()));
        return true;
    }
    if (event->type() == QEvent::KeyPress && opensTheMenu(static_cast<QKeyEvent *>(event))) {
        popupAt(m_window->mapToGlobal(m_window->rect().center()));
        return true;
    }
    return false;
}

void ContextMenu::popupAt(const QPoint &globalPosition)
{
    if (hasOpenBox(m_window))
        return;
    readStates();
    popup(globalPosition);
}

// Network sync and listening are greyed until the time service has answered, and stay so
// without one: 75 s of listening must not end in "no time service".
void ContextMenu::readStates()
{
    const bool adjustable = m_adjustmentSpot->isEnabled();
    m_adjust->setEnabled(adjustable);
    m_listen->setEnabled(false);
    m_store.refresh();
    m_onTop->setChecked(m_store.switchValue(Key::OnTop) == 1);
    m_holidays->setChecked(m_store.switchValue(Key::Holiday) == 1);
    m_hourly->setChecked(m_store.switchValue(Key::Hourly) == 1);
    m_autostartEntry->setChecked(m_autostart.isEnabled());
    m_networkSync->setEnabled(false);
    m_timeSetter.readNetworkSync([self = QPointer<ContextMenu>(this), adjustable](const TimeSetter::SyncState &sync) {
        if (!self)
            return;
        self->m_listen->setEnabled(adjustable && sync.serviceAnswers);
        self->m_networkSync->setEnabled(sync.available);
        self->m_networkSync->setChecked(sync.on);
    });
}

void ContextMenu::switchOnTop(bool on)
{
    saveSwitch(m_store, Key::OnTop, on, m_window);
    Q_EMIT onTopChanged(on);
}

void ContextMenu::switchHolidays(bool on) { saveSwitch(m_store, Key::Holiday, on, m_window); }

void ContextMenu::switchHourly(bool on)
{
    saveSwitch(m_store, Key::Hourly, on, m_window);
    Q_EMIT hourlyChanged(on);
}

// A refused save is told as the settings dialog tells it.
void ContextMenu::saveSwitch(SettingsStore &store, Key key, bool on, QWidget *window)
{
    if (!store.SaveSetting(key, storedtext::fromSwitch(on)))
        openWarning(window, saveRefusedTitle(), saveRefusedText(store.filePath(), store.saveError()), "SaveRefused");
}

void ContextMenu::switchAutostart(bool on)
{
    if (m_autostart.setEnabled(on))
        return;
    const QString heading = on ? tr("ログイン時の起動を設定できませんでした。") : tr("ログイン時の起動を解除できませんでした。");
    tell(heading + QStringLiteral("\n\n") + m_autostart.path() + QLatin1Char('\n') + tr("理由: %1").arg(reasonFor(m_autostart.why())));
}

void ContextMenu::switchNetworkSync(bool on)
{
    m_timeSetter.setNetworkSync(on, [self = QPointer<ContextMenu>(this), on](const TimeSetter::Result &result) {
        if (self && result.outcome != TimeSetter::Outcome::Done)
            self->tell(TimeSignalPrompts::syncSwitchFailureText(result, on));
    });
}

void ContextMenu::tell(const QString &text) { openWarning(m_window, QStringLiteral("Ravelquint"), text, "MenuRefusal"); }

QString ContextMenu::reasonFor(const Autostart::Refusal &refusal)
{
    switch (refusal.problem) {
    case Autostart::Problem::NoHome: return tr("ホームフォルダーがないため、書き込む場所がありません");
    case Autostart::Problem::ProgramNotUtf8: return tr("プログラムのパスが UTF-8 でないため、起動エントリーに書けません");
    case Autostart::Problem::UnreadableEntry: return tr("既存のエントリーを読めません");
    case Autostart::Problem::System: break;
    }
    return refusal.systemMessage;
}
