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

std::optional<Line> fitLine(const std::vector<Point *> &points, qint64 originMs)
{
    double s = 0, sx = 0, sxx = 0, sy = 0, sxy = 0;
    for (const Point *point : points) {
        const double w = 1 / (sigmaMs(point->measure) * sigmaMs(point->measure));
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
        const double r = (point->errorMs - line.at(daysFrom(originMs, *point))) / sigmaMs(point->measure);
        line.chiSquare += r * r;
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
    const std::optional<Line> line = fitLine(used, nowMs);
    if (!line)
        return std::nullopt;
    // Points that scatter more than their stated errors widen the uncertainty to match.
    const auto degrees = double(used.size()) - 2;
    const double scale = degrees > 0 ? std::max(1.0, line->chiSquare / degrees) : 1.0;
    const auto [first, last] = std::minmax_element(used.begin(), used.end(),
                                                   [](const Point *a, const Point *b) { return a->utcMs < b->utcMs; });
    return Estimate{line->b / 1000,     std::sqrt(line->c11 * scale) / 1000, line->a,
                    std::sqrt(line->c00 * scale), int(used.size()), nowMs, line->c01 * scale, (*first)->utcMs,
                    (*last)->utcMs};
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
                                       + days * days * rateSigma * rateSigma));
}

} // namespace drift
