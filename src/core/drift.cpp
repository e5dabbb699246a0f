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

// How far a point lies from the line through the others, in its allowed distance.
double strayness(const std::vector<Point *> &points, std::size_t index, qint64 originMs)
{
    std::vector<Point *> others = points;
    others.erase(others.begin() + qsizetype(index));
    const std::optional<Line> line = spansEnough(others) ? fitLine(others, originMs) : std::nullopt;
    if (!line)
        return 0;
    const Point &point = *points[index];
    const double allowed = std::max(kOutlierFloorMs, kOutlierSigmas * sigmaMs(point.measure));
    return std::abs(point.errorMs - line->at(daysFrom(originMs, point))) / allowed;
}

// The worst stray first, one at a time: one false mark must not make good points look bad.
void setAsideStrays(std::vector<Point *> &used, qint64 originMs)
{
    while (used.size() >= 3) {
        std::size_t worst = used.size();
        double worstStrayness = 1;
        for (std::size_t i = 0; i < used.size(); ++i) {
            const double s = strayness(used, i, originMs);
            if (s > worstStrayness) {
                worstStrayness = s;
                worst = i;
            }
        }
        if (worst == used.size())
            return;
        used[worst]->setAside = true;
        used.erase(used.begin() + qsizetype(worst));
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
    return Estimate{line->b / 1000, std::sqrt(line->c11 * scale) / 1000, line->a, std::sqrt(line->c00 * scale),
                    int(used.size())};
}

} // namespace drift
