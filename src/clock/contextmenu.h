#pragma once

#include "platform/platform.h"
#include "store/settingskeys.h"

#include <QMenu>

class SettingsStore;

// The clock's menu, opened by the right mouse button, the Menu key or Shift+F10: the way
// to what the mouse gestures do, for the keyboard too, and to the switches the settings
// dialog does not hold. It watches the window it serves; each check mark is read afresh
// as the menu opens.
class ContextMenu : public QMenu
{
    Q_OBJECT
public:
    // The time-signal entries are greyed whenever `adjustmentSpot` is disabled.
    ContextMenu(QWidget *window, const QWidget *adjustmentSpot, SettingsStore &store, Platform platform);
    // Saves a switch; a refusal is told over `window`, and the switch holds until the end.
    static void saveSwitch(SettingsStore &store, Key key, bool on, QWidget *window);

signals:
    void settingsRequested();
    void timeSignalRequested();
    void listenRequested();
    void onTopChanged(bool on);
    void hourlyChanged(bool on);
    void recordRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addEntry(const QString &caption, const char *name, bool checkable = false);
    void popupAt(const QPoint &globalPosition);
    void readStates();
    void switchOnTop(bool on);
    void switchAutostart(bool on);
    void switchHolidays(bool on);
    void switchHourly(bool on);
    void switchNetworkSync(bool on);
    void tell(const QString &text);
    static QString reasonFor(const Autostart::Refusal &refusal);

    QWidget *m_window;
    const QWidget *m_adjustmentSpot;
    SettingsStore &m_store;
    TimeSetter &m_timeSetter;
    Autostart &m_autostart;
    QAction *m_adjust, *m_listen, *m_hourly, *m_onTop, *m_autostartEntry, *m_holidays, *m_networkSync;
};
