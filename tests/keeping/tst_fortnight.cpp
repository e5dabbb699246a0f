#include "fortnight.h"

#include <QTest>

using fortnight::Radio;
using fortnight::Scenario;
Q_DECLARE_METATYPE(fortnight::Scenario)

// Two weeks of a computer left alone, kept by the real keeper and hourly listening: what a
// person relies on is the clock's true error, hour by hour.
class TestFortnight : public QObject
{
    Q_OBJECT
private slots:
    void keeps_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<double>("worstMs");       // the true error never exceeds this
        QTest::addColumn<int>("shifts");           // -1: any
        QTest::addColumn<QString>("outcomeSeen");  // a record outcome that must appear (see fortnight.cpp)
        const double hourOf2 = 200 + 2000 / 24.0 + 5, hourOf4 = 200 + 4000 / 24.0 + 5, twoHoursOf2 = hourOf2 + 2000 / 24.0;
        QTest::newRow("gains 2 s a day, heard every hour") << Scenario{.secondsPerDay = 2} << hourOf2 << -1 << "s";
        QTest::newRow("loses 4 s a day, heard every hour") << Scenario{.secondsPerDay = -4} << hourOf4 << -1 << "s";
        QTest::newRow("gains 1 s a day, one hour in three")
            << Scenario{.secondsPerDay = 1, .radio = Radio::OneInThree} << 200 + 3000 / 24.0 + 5 << -1 << "s";
        QTest::newRow("gains 4 s a day, every hour, coasting between")
            << Scenario{.secondsPerDay = 4, .coast = true} << hourOf4 << -1 << "s";
        QTest::newRow("loses 3 s a day, two days silent")
            << Scenario{.secondsPerDay = -3, .radio = Radio::TwoDaysSilent} << 200 + 6000 + 130.0 << -1 << "s";
        QTest::newRow("a false mark 7 s off on day 4")
            << Scenario{.secondsPerDay = 2, .falseMarkHour = 80, .falseMarkMs = 7000} << twoHoursOf2 << -1 << "i";
        QTest::newRow("a station 18 s late on day 4") << Scenario{.secondsPerDay = -2, .lateHour = 80} << twoHoursOf2
                                                      << -1 << "i";
        QTest::newRow("stepped 30 s on in a window, day 5: an hour off, never a minute")
            << Scenario{.secondsPerDay = 2, .stepHour = 100, .stepMs = 30'000} << 30'500.0 << -1 << "i";
        QTest::newRow("stepped 31 s back on a fresh record: to the hour")
            << Scenario{.secondsPerDay = -1, .stepHour = 2, .stepMs = -31'000} << 31'300.0 << -1 << "s";
        QTest::newRow("a resume just before the hour") << Scenario{.secondsPerDay = 3, .resumeHour = 50}
                                                       << 200 + 3000 / 24.0 + 5 << -1 << "s";
        QTest::newRow("the system wants authorisation") << Scenario{.secondsPerDay = 1, .unattendedAllowed = false}
                                                        << 14'000 + 50.0 << 0 << "n";
        QTest::newRow("time-signal adjustment off") << Scenario{.secondsPerDay = -2, .adjustment = false}
                                                    << 28'000 + 200.0 << 0 << "a";
        QTest::newRow("network sync on") << Scenario{.secondsPerDay = 2, .syncOn = true} << 28'000 + 200.0 << 0 << "y";
    }
    void keeps()
    {
        QFETCH(Scenario, scenario);
        QFETCH(double, worstMs);
        QFETCH(int, shifts);
        QFETCH(QString, outcomeSeen);
        const fortnight::Report report = fortnight::run(scenario);
        QCOMPARE(report.errorMs.size(), std::size_t(14 * 24));
        QVERIFY2(report.worstMs <= worstMs, qPrintable(QStringLiteral("%1 ms").arg(report.worstMs)));
        QVERIFY2(std::abs(report.errorMs.back()) <= std::max(worstMs, 300.0) || shifts == 0,
                 qPrintable(QString::number(report.errorMs.back())));
        if (shifts >= 0)
            QCOMPARE(report.shifts, shifts);
        QVERIFY2(report.outcomes.contains(outcomeSeen), qPrintable(report.outcomes));
        QVERIFY2(report.outcomes.count(QLatin1Char('i')) <= 1, qPrintable(report.outcomes)); // a doubt, once confirmed, is the clock's
    }

    // Three days heard, then a silent week: coasting on the drift holds the clock, never by a
    // step over the cap, stops itself where the estimate turns unsure, and never moves a clock
    // the rules keep still; without it, the estimate's button after 12 h brings it within 20 ms.
    void coasts_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<double>("silentWithinMs"); // 0: not asked
        QTest::addColumn<bool>("stopsItself");
        QTest::addColumn<bool>("steps");
        const auto silentWeek = [](double drift, Scenario s = {}) {
            s.secondsPerDay = drift, s.days = 10, s.radio = Radio::SilentAfterThreeDays, s.coast = true;
            return s;
        };
        QTest::newRow("gains 2 s a day") << silentWeek(2) << 100.0 << false << true;
        QTest::newRow("loses 4 s a day") << silentWeek(-4) << 100.0 << false << true;
        QTest::newRow("gains 2 s a day, wandering 0.2 s a day") << silentWeek(2, {.wanderPerDay = 0.2}) << 0.0 << true
                                                                << true;
        QTest::newRow("loses 1 s a day, wandering 0.2 s a day") << silentWeek(-1, {.wanderPerDay = 0.2}) << 0.0 << true
                                                                << true;
        QTest::newRow("a false mark 1.5 s off") << silentWeek(2, {.falseMarkHour = 60, .falseMarkMs = 1500}) << 100.0
                                                << false << true;
        QTest::newRow("network sync on") << silentWeek(2, {.syncOn = true}) << 0.0 << false << false;
        QTest::newRow("sync off on day 5, the estimate 2 s out: stops, no step")
            << silentWeek(2, {.syncOn = true, .syncOffFromHour = 100}) << 0.0 << true << false;
        QTest::newRow("time-signal adjustment off") << silentWeek(-2, {.adjustment = false}) << 0.0 << false << false;
        for (const double drift : {1.0, -4.0})
            QTest::addRow("estimate pressed after 12 h, %+g s a day", drift)
                << Scenario{.secondsPerDay = drift, .days = 4, .radio = Radio::SilentAfterThreeDays, .estimateHour = 84}
                << 0.0 << false << false;
    }
    void coasts()
    {
        QFETCH(Scenario, scenario); QFETCH(double, silentWithinMs); QFETCH(bool, stopsItself); QFETCH(bool, steps);
        const fortnight::Report report = fortnight::run(scenario);
        double silentWorst = 0;
        for (std::size_t hour = 72; hour < report.errorMs.size(); ++hour)
            silentWorst = std::max(silentWorst, std::abs(report.errorMs[hour]));
        if (silentWithinMs > 0)
            QVERIFY2(silentWorst <= silentWithinMs, qPrintable(QString::number(silentWorst)));
        QVERIFY(report.largestCoastStepMs <= 1000);
        QCOMPARE(report.largestCoastStepMs > 0, steps);
        QCOMPARE(report.coastStopped, stopsItself);
        QVERIFY2(report.worstWhileCoastingMs <= 300, qPrintable(QString::number(report.worstWhileCoastingMs)));
        QVERIFY2(report.worstMissWhileCoasting <= 3, qPrintable(QString::number(report.worstMissWhileCoasting)));
        if (scenario.estimateHour >= 0)
            QVERIFY2(std::abs(report.afterEstimateMs) <= 20, qPrintable(QString::number(report.afterEstimateMs)));
    }
};

QTEST_GUILESS_MAIN(TestFortnight)
#include "tst_fortnight.moc"
