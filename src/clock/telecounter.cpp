#include "clock/telecounter.h"

TimeLeft timeLeftUntilBandEnds(const QTime &now)
{
    const int h = now.hour(), m = now.minute(), s = now.second();
    const int hoursBase = h == 23 ? 8 : 7 - h; // whole hours left after the current one
    if (m == 0 && s == 0)
        return {hoursBase + 1, 0, 0};
    if (s == 0)
        return {hoursBase, 60 - m, 0};
    return {hoursBase, 59 - m, 60 - s};
}
