#include "core/displaymode.h"

#include "core/nightband.h"

namespace {
constexpr bool isSwitch(qint16 value) { return value == 0 || value == 1; }
} // namespace

qint16 displayModeFor(const DisplaySwitches &s, int weekday, int hour)
{
    if (!isSwitch(s.sp2) || (s.sp2 == 1 && !isSwitch(s.sp2i)))
        return 0;
    const bool sunday = s.sp2 == 1 && weekday == kClockSunday;
    const qint16 outsideBand = sunday ? (s.sp2i == 0 ? 2 : 3) : 1;
    const qint16 noticeOnlyInBand = sunday ? (s.sp2i == 0 ? 6 : 7) : 4;

    if (s.tel == 0)
        return outsideBand;
    if (s.tel != 1 || !isSwitch(s.telS1) || (s.telS1 == 1 && !isSwitch(s.telS2)))
        return 0;
    if (!inTelehodaiBand(hour))
        return outsideBand;
    if (s.telS1 == 0)
        return 8;
    return s.telS2 == 0 ? noticeOnlyInBand : 5;
}

ModeColouring colouringForMode(qint16 mode)
{
    using enum Paint;
    constexpr NoticeState Hidden = NoticeState::Hidden, Shown = NoticeState::Shown;
    switch (mode) {
    case 1: return {Hidden, Normal, Normal, Normal};
    case 2: return {Hidden, Normal, Sunday, Normal};
    case 3: return {Hidden, Sunday, Sunday, Sunday};
    case 4: return {Shown, Normal, Normal, Normal};
    case 5: return {Shown, Telehodai, Telehodai, Telehodai};
    case 6: return {Shown, Normal, Sunday, Normal};
    case 7: return {Shown, Sunday, Sunday, Sunday};
    case 8: return {Hidden, Telehodai, Telehodai, Telehodai};
    default: return {};
    }
}
