// Two weeks of a computer left alone, kept by the real keeper and hourly listening: the
// clock's worst true error for each kind of fortnight, and what one takes to simulate.
#include "fortnight.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using fortnight::Radio;
using fortnight::Scenario;

namespace {
Scenario drifting(double secondsPerDay, Radio radio = Radio::EveryHour, Scenario s = {})
{
    s.secondsPerDay = secondsPerDay, s.radio = radio;
    return s;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::vector<std::pair<const char *, Scenario>> rows;
    for (const double drift : {1.0, -1.0, 2.0, -4.0, 4.0})
        rows.push_back({drift > 0 ? "gains, heard every hour" : "loses, heard every hour", drifting(drift)});
    rows.push_back({"gains, heard one hour in three", drifting(2, Radio::OneInThree)});
    rows.push_back({"loses, two days silent", drifting(-3, Radio::TwoDaysSilent)});
    rows.push_back({"gains, silent after three days", drifting(2, Radio::SilentAfterThreeDays)});
    Scenario s = drifting(2);
    s.falseMarkHour = 80, s.falseMarkMs = 7000;
    rows.push_back({"a false mark 7 s off, day 4", s});
    s = drifting(-2);
    s.lateHour = 80;
    rows.push_back({"a station 18 s late, day 4", s});
    s = drifting(2);
    s.stepHour = 100, s.stepMs = 30'000;
    rows.push_back({"stepped +30 s in a window, day 5", s});
    s = drifting(-1);
    s.stepHour = 2, s.stepMs = -31'000;
    rows.push_back({"stepped -31 s in a window, fresh record", s});
    s = drifting(3);
    s.resumeHour = 50;
    rows.push_back({"a resume 5 s before the hour", s});
    s = drifting(1);
    s.unattendedAllowed = false;
    rows.push_back({"the system wants authorisation", s});
    s = drifting(-2);
    s.adjustment = false;
    rows.push_back({"time-signal adjustment off", s});
    s = drifting(2);
    s.syncOn = true;
    rows.push_back({"network sync on", s});

    std::printf("simulated fortnight: 14 days, the radio's mark within ±2 ms, real keeper and hourly listening\n\n"
                "| fortnight | drift | worst true error | at the end | shifts | marks heard | simulated in |\n"
                "|---|---|---|---|---|---|---|\n");
    for (const auto &[name, scenario] : rows) {
        QElapsedTimer timer;
        timer.start();
        const fortnight::Report report = fortnight::run(scenario);
        std::printf("| %s | %+.0f s/day | %.3f s | %+.3f s | %d | %d | %lld ms |\n", name, scenario.secondsPerDay,
                    report.worstMs / 1000, report.errorMs.back() / 1000, report.shifts, report.heard,
                    qint64(timer.elapsed()));
    }
    std::printf("\ncoasting: three days heard every hour, then seven silent (10 days)\n\n"
                "| fortnight | coasting | worst true error, silent week | while coasting | worst miss while coasting | largest coast step | "
                "coasting stopped itself, at the end |\n|---|---|---|---|---|---|---|\n");
    const auto silentWeek = [](double drift, bool coast, double wander = 0) {
        Scenario c = drifting(drift, Radio::SilentAfterThreeDays);
        c.days = 10, c.coast = coast, c.wanderPerDay = wander;
        return c;
    };
    std::vector<std::pair<const char *, Scenario>> coasts{
        {"gains 2 s/day", silentWeek(2, false)},
        {"gains 2 s/day", silentWeek(2, true)},
        {"loses 4 s/day", silentWeek(-4, true)},
        {"gains 2 s/day, wandering 0.2 s/day a day", silentWeek(2, true, 0.2)},
        {"loses 1 s/day, wandering 0.2 s/day a day", silentWeek(-1, true, 0.2)}};
    Scenario c = silentWeek(2, true);
    c.falseMarkHour = 60, c.falseMarkMs = 1500;
    coasts.push_back({"gains 2 s/day, a false mark 1.5 s off", c});
    c = silentWeek(2, true);
    c.syncOn = true;
    coasts.push_back({"gains 2 s/day, network sync on", c});
    c = silentWeek(2, true);
    c.adjustment = false;
    coasts.push_back({"gains 2 s/day, time-signal adjustment off", c});
    for (const auto &[name, scenario] : coasts) {
        const fortnight::Report report = fortnight::run(scenario);
        double worst = 0;
        for (std::size_t hour = 72; hour < report.errorMs.size(); ++hour)
            worst = std::max(worst, std::abs(report.errorMs[hour]));
        std::printf("| %s | %s | %.3f s | %.3f s | %.1f σ | %.0f ms | %s |\n", name, scenario.coast ? "on" : "off",
                    worst / 1000, report.worstWhileCoastingMs / 1000, report.worstMissWhileCoasting,
                    report.largestCoastStepMs, report.coastStopped ? "yes" : "no");
    }
    std::printf("\nthe estimate's button after three days heard and 12 h of silence:\n\n| drift | true error after |\n"
                "|---|---|\n");
    for (const double drift : {1.0, -1.0, 4.0, -4.0}) {
        Scenario e = drifting(drift, Radio::SilentAfterThreeDays);
        e.days = 4;
        e.estimateHour = 84;
        std::printf("| %+.0f s/day | %+.1f ms |\n", drift, fortnight::run(e).afterEstimateMs);
    }
}
