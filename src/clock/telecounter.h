#pragma once

#include <QTime>

struct TimeLeft {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

// Time left until the Telehodai band ends at 08:00:00, for a time inside the band.
// At 23:00:00 that is nine whole hours.
TimeLeft timeLeftUntilBandEnds(const QTime &now);
