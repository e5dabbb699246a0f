#include "fortnight.h"

#include <QTest>

using fortnight::Radio;
using fortnight::Scenario;
Q_DECLARE_METATYPE(fortnight::Scenario)

namespace {
Scenario drifting(double secondsPerDay, Radio radio = Radio::EveryHour)
{
    Scenario s;
    s.secondsPerDay = secondsPerDay;
    s.radio = radio;
    return s;
}
} // namespace

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
        QTest::newRow("gains 2 s a day, heard every hour") << drifting(2) << 200 + 2000 / 24.0 + 5 << -1 << "s";
        QTest::newRow("loses 4 s a day, heard every hour") << drifting(-4) << 200 + 4000 / 24.0 + 5 << -1 << "s";
        QTest::newRow("gains 1 s a day, one hour in three") << drifting(1, Radio::OneInThree) << 200 + 3000 / 24.0 + 5
                                                            << -1 << "s";
        Scenario coasting = drifting(4);
        coasting.coast = true;
        QTest::newRow("gains 4 s a day, every hour, coasting between") << coasting << 200 + 4000 / 24.0 + 5 << -1 << "s";
        QTest::newRow("loses 3 s a day, two days silent") << drifting(-3, Radio::TwoDaysSilent) << 200 + 6000 + 130.0
                                                          << -1 << "s";
        Scenario falseMark = drifting(2);
        falseMark.falseMarkHour = 80, falseMark.falseMarkMs = 7000;
        QTest::newRow("a false mark 7 s off on day 4") << falseMark << 200 + 2 * 2000 / 24.0 + 5 << -1 << "i";
        Scenario late = drifting(-2);
        late.lateHour = 80;
        QTest::newRow("a station 18 s late on day 4") << late << 200 + 2 * 2000 / 24.0 + 5 << -1 << "i";
        Scenario step = drifting(2);
        step.stepHour = 100, step.stepMs = 30'000;
        QTest::newRow("stepped 30 s on in a window, day 5: an hour off, never a minute") << step << 30'500.0 << -1
                                                                                         << "i";
        Scenario freshStep = drifting(-1);
        freshStep.stepHour = 2, freshStep.stepMs = -31'000;
        QTest::newRow("stepped 31 s back on a fresh record: to the hour") << freshStep << 31'300.0 << -1 << "s";
        Scenario resume = drifting(3);
        resume.resumeHour = 50;
        QTest::newRow("a resume just before the hour") << resume << 200 + 3000 / 24.0 + 5 << -1 << "s";
        Scenario refused = drifting(1);
        refused.unattendedAllowed = false;
        QTest::newRow("the system wants authorisation") << refused << 14'000 + 50.0 << 0 << "n";
        Scenario off = drifting(-2);
        off.adjustment = false;
        QTest::newRow("time-signal adjustment off") << off << 28'000 + 200.0 << 0 << "a";
        Scenario sync = drifting(2);
        sync.syncOn = true;
        QTest::newRow("network sync on") << sync << 28'000 + 200.0 << 0 << "y";
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
    // the rules keep still.
    void coasts_data()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::addColumn<double>("silentWithinMs"); // 0: not asked
        QTest::addColumn<bool>("stopsItself");
        QTest::addColumn<bool>("steps");
        const auto silentWeek = [](double drift, double wander = 0) {
            Scenario c = drifting(drift, Radio::SilentAfterThreeDays);
            c.days = 10, c.coast = true, c.wanderPerDay = wander;
            return c;
        };
        QTest::newRow("gains 2 s a day") << silentWeek(2) << 100.0 << false << true;
        QTest::newRow("loses 4 s a day") << silentWeek(-4) << 100.0 << false << true;
        QTest::newRow("gains 2 s a day, wandering 0.2 s a day") << silentWeek(2, 0.2) << 0.0 << true << true;
        QTest::newRow("loses 1 s a day, wandering 0.2 s a day") << silentWeek(-1, 0.2) << 0.0 << true << true;
        Scenario falseMark = silentWeek(2);
        falseMark.falseMarkHour = 60, falseMark.falseMarkMs = 1500;
        QTest::newRow("a false mark 1.5 s off") << falseMark << 100.0 << false << true;
        Scenario sync = silentWeek(2);
        sync.syncOn = true;
        QTest::newRow("network sync on") << sync << 0.0 << false << false;
        sync.syncOffFromHour = 100;
        QTest::newRow("sync off on day 5, the estimate 2 s out: stops, no step") << sync << 0.0 << true << false;
        Scenario off = silentWeek(-2);
        off.adjustment = false;
        QTest::newRow("time-signal adjustment off") << off << 0.0 << false << false;
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
    }

    // Three days heard, then silence: the estimate's button brings the clock within 20 ms.
    void estimateAfterSilence_data()
    {
        QTest::addColumn<double>("secondsPerDay");
        QTest::newRow("gains 1 s a day") << 1.0;
        QTest::newRow("loses 4 s a day") << -4.0;
    }
    void estimateAfterSilence()
    {
        QFETCH(double, secondsPerDay);
        Scenario s = drifting(secondsPerDay, Radio::SilentAfterThreeDays);
        s.days = 4;
        s.estimateHour = 84;
        const fortnight::Report report = fortnight::run(s);
        QVERIFY2(std::abs(report.afterEstimateMs) <= 20, qPrintable(QString::number(report.afterEstimateMs)));
    }
};

QTEST_GUILESS_MAIN(TestFortnight)
#include "tst_fortnight.moc"
