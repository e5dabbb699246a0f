#pragma once

#include <QDate>

// The five switches that decide how the clock is coloured, as stored (any 16-bit value).
struct DisplaySwitches {
    qint16 sp2 = 0;   // Sunday colouring on
    qint16 sp2i = 0;  // Sunday colour for all text (1) or the weekday only (0)
    qint16 tel = 0;   // Telehodai mode on
    qint16 telS1 = 1; // notice shown in the band
    qint16 telS2 = 0; // Telehodai colour for all text (1) or the notice only (0)
};

// The clock numbers weekdays 1 = Sunday … 7 = Saturday (QDate counts Monday = 1 …
// Sunday = 7, as Qt::DayOfWeek does).
inline constexpr int kClockSunday = 1;
inline int clockWeekday(const QDate &date) { return date.dayOfWeek() % 7 + 1; }

// 0 when a switch that matters holds something other than 0 or 1 (leave the display
// as it is); otherwise 1 … 8, the colouring to apply.
// `weekday` in the clock's numbering.
qint16 displayModeFor(const DisplaySwitches &switches, int weekday, int hour);

enum class Paint { Keep, Normal, Sunday, Telehodai };
enum class NoticeState { Keep, Hidden, Shown };

struct ModeColouring {
    NoticeState notice = NoticeState::Keep; // the notice is always in the Telehodai colour when shown
    Paint values = Paint::Keep;             // year … second
    Paint weekday = Paint::Keep;            // the weekday kanji
    Paint units = Paint::Keep;              // 年 月 日 曜日 時 分 秒
};

ModeColouring colouringForMode(qint16 mode);
