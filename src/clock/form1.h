#pragma once

#include "platform/platform.h"

#include <QDateTime>
#include <QWidget>
#include <optional>

class ClockLabel;
class MouseTarget;
class QAction;
class QMenu;
class QLabel;
class SettingsStore;
class WallTimer;

// The clock window: the date and time in seventeen labels, refreshed from the settings
// store and the clock ten times a second.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTimerIntervalMs = 100;

    Form1(SettingsStore &store, Platform platform, QWidget *parent = nullptr);

    void Timer1_Timer();
    void Form_Unload();
    void SavePlace();
    void Label16_DblClick();
    void Label17_Click();

    // The clock reads these two settings only at start-up; the settings dialog announces
    // their changes and the clock applies them here.
    void setAdjustmentEnabled(bool enabled);
    void setBackColour(const QColor &colour);

    bool isAdjusting() const { return m_adjusting; }

    ClockLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10,
        *Label11, *Label12, *Label13, *Label14, *Label15;
    MouseTarget *Label16, *Label17;
    WallTimer *Timer1;
    QMenu *ContextMenu;

protected:
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildLayout();
    void buildContextMenu();
    void showContextMenu(const QPoint &at);
    void Form_Load();
    void WriteMissingDefaults(bool firstRun);
    void RestorePosition();
    void ApplyBandTest();
    void Dispatch();
    void LoadState();
    void Sample(const QDateTime &reading);
    void ShowClock();
    void ShowTeleCounter();
    void ApplyColors();
    qint16 GetDisplayMode() const;
    void DrawCaptions();
    bool DrawTimeCaptions();
    void DescribeForAccessibility();
    QDateTime AdjustmentTarget(const QDateTime &reading) const;
    void FinishAdjustment(const TimeSetter::Result &result, const QTime &target);

    SettingsStore &m_store;
    Platform m_platform;
    QDateTime m_reading; // the handler's one reading of the clock
    QDateTime m_faceShows; // the reading whose time of day the face shows; null when it shows none

    std::optional<QColor> ColorB, ColorF, ColorS, ColorTel;
    qint16 Sp1 = 0, Sp2 = 0, Sp2i = 0, Tel = 0, TelS1 = 0, TelS2 = 0, CounterMode = 0;
    int NowYear = 0, NowMonth = 0, NowDay = 0, NowWeekday = 0, NowHour = 0, NowMinute = 0, NowSecond = 0;

    bool m_countdownShown = false; // the time captions hold the time left until 08:00
    bool m_unloaded = false;
    bool m_adjusting = false;
    QAction *AdjustAction = nullptr;
};

// What the user is told when the system clock could not be set.
QString adjustmentFailureText(const TimeSetter::Result &result, const QTime &target);
