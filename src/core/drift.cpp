#include "core/drift.h"

#include <algorithm>
#include <cmath>

namespace drift {

namespace {
constexpr double kDayMs = 86'400'000;

// A weighted straight line error = a + b·days, days counted from the fit's origin.
struct Line {
    double a = 0, b = 0;
    double c00 = 0, c01 = 0, c11 = 0; // the coefficients' covariance, from the stated errors alone
    double chiSquare = 0;
    double at(double days) const { return a + b * days; }
};

double daysFrom(qint64 originMs, const Point &point) { return double(point.utcMs - originMs) / kDayMs; }

// A wandering rate makes an older point say less of now: what the rate's walk since then
// could have moved the clock by is added to its own error.
struct Wander {
    double msPerDay = 0;
    qint64 lastMs = 0;
};

// What a rate that wanders by `msPerDay` each day can move the clock by in `days`: the day's
// step it may already have taken, then its walk.
double wanderVariance(double msPerDay, double days)
{
    days = std::max(0.0, days);
    return msPerDay * msPerDay * (days * days + days * days * days / 3);
}

double varianceOf(const Point &point, const Wander &wander)
{
    return sigmaMs(point.measure) * sigmaMs(point.measure)
           + wanderVariance(wander.msPerDay, double(wander.lastMs - point.utcMs) / 86'400'000);
}

std::optional<Line> fitLine(const std::vector<Point *> &points, qint64 originMs, const Wander &wander = {})
{
    double s = 0, sx = 0, sxx = 0, sy = 0, sxy = 0;
    for (const Point *point : points) {
        const double w = 1 / varianceOf(*point, wander);
        const double x = daysFrom(originMs, *point);
        s += w;
        sx += w * x;
        sxx += w * x * x;
        sy += w * point->errorMs;
        sxy += w * x * point->errorMs;
    }
    const double d = s * sxx - sx * sx;
    if (!(d > 0))
        return std::nullopt;
    Line line{(sxx * sy - sx * sxy) / d, (s * sxy - sx * sy) / d, sxx / d, -sx / d, s / d, 0};
    for (const Point *point : points) {
        const double r = point->errorMs - line.at(daysFrom(originMs, *point));
        line.chiSquare += r * r / varianceOf(*point, wander);
    }
    return line;
}

bool spansEnough(const std::vector<Point *> &points)
{
    if (points.size() < 2)
        return false;
    const auto [first, last] = std::minmax_element(points.begin(), points.end(),
                                                   [](const Point *a, const Point *b) { return a->utcMs < b->utcMs; });
    return (*last)->utcMs - (*first)->utcMs >= kMinimumSpanMs;
}

// How far each point lies from the line through the others, in its allowed distance: the
// residual from the line through all, over 1 - its leverage, with no fit left out. A point
// whose absence leaves the rest too short a span is never a stray.
std::vector<double> strayness(const std::vector<Point *> &points, const Line &line, qint64 originMs)
{
    std::vector<qint64> times;
    for (const Point *point : points)
        times.push_back(point->utcMs);
    std::vector<qint64> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> result(points.size(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const qint64 first = times[i] == sorted.front() ? sorted[1] : sorted.front();
        const qint64 last = times[i] == sorted.back() ? sorted[sorted.size() - 2] : sorted.back();
        const Point &point = *points[i];
        const double x = daysFrom(originMs, point);
        const double sigma = sigmaMs(point.measure);
        const double leverage = (line.c00 + 2 * x * line.c01 + x * x * line.c11) / (sigma * sigma);
        if (last - first < kMinimumSpanMs || leverage > 1 - 1e-9)
            continue;
        const double allowed = std::max(kOutlierFloorMs, kOutlierSigmas * sigma);
        result[i] = std::abs(point.errorMs - line.at(x)) / (1 - leverage) / allowed;
    }
    return result;
}

// The worst strays first: each pass sets aside the worst and any at least half as stray, so
// one false mark cannot make good points look bad, and passes stay few (the halving bounds
// them by the worst's size, not by the number of strays).
void setAsideStrays(std::vector<Point *> &used, qint64 originMs)
{
    constexpr int kMaxPasses = 64;
    for (int pass = 0; pass < kMaxPasses && used.size() >= 3; ++pass) {
        const std::optional<Line> line = fitLine(used, originMs);
        if (!line)
            return;
        const std::vector<double> stray = strayness(used, *line, originMs);
        const double worst = *std::max_element(stray.begin(), stray.end());
        if (worst <= 1)
            return;
        std::vector<Point *> kept;
        for (std::size_t i = 0; i < used.size(); ++i) {
            if (stray[i] > std::max(1.0, worst / 2))
                used[i]->setAside = true;
            else
                kept.push_back(used[i]);
        }
        used = std::move(kept);
    }
}
// The rate's wander from day to day: each whole day's own rate against the next day's, less
// what their stated errors alone would make them differ by. A steady clock's comes out near
// nothing; one whose rate moves from day to day shows it.
double rateWander(std::vector<Point *> points, qint64 originMs)
{
    std::sort(points.begin(), points.end(), [](const Point *a, const Point *b) { return a->utcMs < b->utcMs; });
    constexpr qint64 kDay = 86'400'000, kHalfDay = kDay / 2;
    std::vector<std::pair<double, double>> rates; // ms a day, and its variance
    for (auto from = points.begin(); from != points.end();) {
        const qint64 dayEnds = (*from)->utcMs + kDay;
        const auto to = std::find_if(from, points.end(), [dayEnds](const Point *p) { return p->utcMs >= dayEnds; });
        const std::vector<Point *> day(from, to);
        if (day.size() >= 3 && day.back()->utcMs - day.front()->utcMs >= kHalfDay) {
            if (const std::optional<Line> line = fitLine(day, originMs)) {
                const double scale = std::max(1.0, line->chiSquare / double(day.size() - 2));
                rates.emplace_back(line->b, line->c11 * scale);
            }
        }
        from = to;
    }
    if (rates.size() < 2)
        return 0;
    double excess = 0;
    for (std::size_t i = 0; i + 1 < rates.size(); ++i) {
        const double d = rates[i + 1].first - rates[i].first;
        excess += d * d - rates[i].second - rates[i + 1].second;
    }
    return std::sqrt(std::max(0.0, excess / double(rates.size() - 1)));
}
} // namespace

double sigmaMs(Measure measure) { return measure == Measure::Click ? kClickSigmaMs : kListeningSigmaMs; }

std::optional<Estimate> estimate(std::vector<Point> &points, qint64 nowMs)
{
    std::vector<Point *> used;
    for (Point &point : points) {
        point.setAside = false;
        if (point.utcMs > nowMs - kWindowMs && point.utcMs <= nowMs && std::isfinite(point.errorMs))
            used.push_back(&point);
    }
    if (!spansEnough(used))
        return std::nullopt;
    setAsideStrays(used, nowMs);
    if (!spansEnough(used)) // every point stray from the others: nothing here to trust
        return std::nullopt;
    const auto [first, last] = std::minmax_element(used.begin(), used.end(),
                                                   [](const Point *a, const Point *b) { return a->utcMs < b->utcMs; });
    const Wander wander{rateWander(used, nowMs), (*last)->utcMs};
    const std::optional<Line> line = fitLine(used, nowMs, wander);
    if (!line)
        return std::nullopt;
    // Points that scatter more than their stated errors widen the uncertainty to match.
    const auto degrees = double(used.size()) - 2;
    const double scale = degrees > 0 ? std::max(1.0, line->chiSquare / degrees) : 1.0;
    return Estimate{line->b / 1000,     std::sqrt(line->c11 * scale) / 1000, line->a,
                    std::sqrt(line->c00 * scale), int(used.size()), nowMs, line->c01 * scale, (*first)->utcMs,
                    (*last)->utcMs, wander.msPerDay};
}

double Estimate::errorAtMs(qint64 ms) const
{
    return errorNowMs + secondsPerDay * 1000 * double(ms - nowMs) / kDayMs;
}

double Estimate::sigmaAtMs(qint64 ms) const
{
    const double days = double(ms - nowMs) / kDayMs;
    const double rateSigma = secondsPerDaySigma * 1000;
    return std::sqrt(std::max(0.0, errorNowSigmaMs * errorNowSigmaMs + 2 * days * covariance
                                       + days * days * rateSigma * rateSigma)
                     + wanderVariance(wanderMsPerDay, double(ms - lastMs) / kDayMs));
}

} // namespace drift
