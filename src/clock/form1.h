#pragma once

#include "platform/platform.h"

#include <QColor>
#include <QDateTime>
#include <QPointer>
#include <QWidget>

class ClockKeeper;
class ClockLabel;
class ContextMenu;
class HourlyListening;
class RecordWindow;
class MouseTarget;
class SettingsStore;
class TimeRecord;
class WindowPlace;
class WallTimer;

// The clock window: the date and time in seventeen labels, refreshed from the settings
// store and the clock ten times a second.
//
//   Label1–3    year, month, day         Label7      weekday kanji
//   Label4–6    hour, minute, second     Label8–14   units 年 月 日 曜日 時 分 秒
//   Label15     the Telehodai notice     Label16     double-click target: the settings
//   Label17     click target over 秒: set the clock to the shown minute
//   Timer1      the refresh, every 100 ms on the wall clock
class Form1 : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTimerIntervalMs = 100;

    Form1(SettingsStore &store, Platform platform, QWidget *parent = nullptr);

    void Timer1_Timer();

    // The clock reads these three settings only at start-up; the settings dialog and the
    // menu announce their changes and the clock applies them here.
    void setAdjustmentEnabled(bool enabled);
    void setBackColour(const QColor &colour);
    void setStaysOnTop(bool on);

    bool isAdjusting() const;
    // Where measurements against the time signal are kept; without one, nowhere.
    void keepRecord(TimeRecord *record);
    ClockKeeper *keeper() const { return m_keeper; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildLayout();
    void Form_Load();
    void Form_Unload();
    void savePlace();
    void Label16_DblClick();
    void Label17_Click();
    void listenToTimeSignal();
    void applyBandTest();
    void dispatch();
    void LoadState();
    void sample(const QDateTime &reading);
    void ShowClock();
    void ShowTeleCounter();
    void ApplyColors();
    qint16 GetDisplayMode() const;
    void DrawCaptions();
    bool drawTimeCaptions();
    void describeForAccessibility();
    void showAdjustment();
    void startAfterFirstShow();
    void switchHourly(bool on);
    void switchCoast(bool on);
    void applyCoast();
    void openRecord();
    QString faceTip() const;
    void updateTip();

    SettingsStore &m_store;
    Platform m_platform;
    QDateTime m_reading;   // the handler's one reading of the clock
    qint64 m_tickedSecond = -1;
    quint64 m_tickedGeneration = 0;
    QDateTime m_faceShows; // the reading whose time of day the face shows; null when it shows none

    QColor ColorB, ColorF, ColorS, ColorTel;
    qint16 Sp1 = 0, Sp2 = 0, Sp2i = 0, Tel = 0, TelS1 = 0, TelS2 = 0, CounterMode = 0, Holiday = 0;
    int NowYear = 0, NowMonth = 0, NowDay = 0, NowWeekday = 0, NowHour = 0, NowMinute = 0, NowSecond = 0;

    QDate m_holidayDate; // the date m_holidayName was worked out for
    QString m_holidayName;
    QString m_tipHoliday; // the holiday the tooltip names
    bool m_tipStale = true;
    int m_tipMinute = -1;
    QString m_accessibleDateShown, m_accessibleDate, m_accessibleTime, m_accessibleCountdown;
    bool m_countdownShown = false; // the time captions hold the time left until 08:00
    bool m_unloaded = false;
    bool m_shownOnce = false;

    ClockLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10,
        *Label11, *Label12, *Label13, *Label14, *Label15;
    MouseTarget *Label16, *Label17;
    WallTimer *Timer1;
    ContextMenu *m_menu;
    ClockKeeper *m_keeper;
    WindowPlace *m_place;
    HourlyListening *m_hourly;
    QPointer<RecordWindow> m_recordWindow;
};
