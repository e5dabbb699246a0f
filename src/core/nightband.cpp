#include "core/nightband.h"

qint16 faceModeFor(qint16 tel, qint16 mode, int hour)
{
    if (tel == 0 || (tel == 1 && mode == 1 && !inTelehodaiBand(hour)))
        return 0;
    return mode;
}

TimeLeft timeLeftUntilBandEnds(const QTime &now)
{
    const int h = now.hour(), m = now.minute(), s = now.second();
    const int hoursBase = (kBandEndHour - h + 24) % 24 - 1; // whole hours left after the current one
    if (m == 0 && s == 0)
        return {hoursBase + 1, 0, 0};
    if (s == 0)
        return {hoursBase, 60 - m, 0};
    return {hoursBase, 59 - m, 60 - s};
}
