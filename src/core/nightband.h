#pragma once

#include <QTime>
#include <QtGlobal>

// The Telehodai band, 23:00:00 to 07:59:59: only the hour decides.
inline constexpr int kBandStartHour = 23;
inline constexpr int kBandEndHour = 8;
constexpr bool inTelehodaiBand(int hour) { return hour >= kBandStartHour || hour < kBandEndHour; }

// What the face shows, from the stored `tel` and `mode` and the hour: 0 the time, 1 the
// time left until the band ends, anything else the face as it stands. The counter shows
// only in the band; with Telehodai mode off, always the time.
qint16 faceModeFor(qint16 tel, qint16 mode, int hour);

struct TimeLeft {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

// Time left until the band ends, for a time inside it. At its first second that is nine
// whole hours.
TimeLeft timeLeftUntilBandEnds(const QTime &now);
