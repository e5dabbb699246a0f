#pragma once

#include <QtGlobal>
#include <optional>
#include <vector>

// The clock's rate against the radio's time signal, learnt from what it measured: each
// point is the clock's free-running error (what it would be off had nothing ever set it),
// and a straight line through them, weighted by how good each measure is, gives the drift
// and the error to expect now.
namespace drift {

enum class Measure { Listening, Click };

struct Point {
    qint64 utcMs = 0;
    double errorMs = 0; // clock minus signal, without the shifts applied before it
    Measure measure = Measure::Listening;
    bool setAside = false; // answered by estimate()
    int tag = 0;           // the caller's own, kept as it is
};

struct Estimate {
    double secondsPerDay = 0;        // positive: the clock gains
    double secondsPerDaySigma = 0;   // one standard deviation
    double errorNowMs = 0;           // free-running error predicted at `nowMs`
    double errorNowSigmaMs = 0;
    int used = 0;
    qint64 nowMs = 0;
    double covariance = 0; // of errorNowMs and the rate in ms a day
    qint64 firstMs = 0, lastMs = 0; // the span of the points used
    // How far the rate wanders from one day to the next, in ms a day (each day, either way):
    // past the last point the error to expect grows by it, as a clock's rate does.
    double wanderMsPerDay = 0;

    // The free-running error the line predicts at `ms`, and its standard deviation.
    double errorAtMs(qint64 ms) const;
    double sigmaAtMs(qint64 ms) const;
};

inline constexpr qint64 kWindowMs = 14 * 86'400'000LL;
inline constexpr qint64 kMinimumSpanMs = 6 * 3'600'000LL;
// How good a measure is: the detector's timing, or a person's reaction to a pip.
inline constexpr double kListeningSigmaMs = 5;
inline constexpr double kClickSigmaMs = 200;
// A point farther than this from the line through the others is set aside: it is a false
// mark or a clock set by some other hand, not drift.
inline constexpr double kOutlierFloorMs = 500;
inline constexpr double kOutlierSigmas = 5;

double sigmaMs(Measure measure);

// Fits the points of the last 14 days before `nowMs`; marks those it sets aside. Nothing
// where fewer than two usable points lie six hours apart.
std::optional<Estimate> estimate(std::vector<Point> &points, qint64 nowMs);

} // namespace drift
