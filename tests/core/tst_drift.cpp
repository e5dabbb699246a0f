#include "core/drift.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

using drift::Measure;

namespace {
constexpr qint64 kStartMs = 1'796'000'000'000; // December 2026
constexpr qint64 kHourMs = 3'600'000;
constexpr double kPpm = 12; // +1.0368 s a day

double truthAt(qint64 ms) { return kPpm * 1e-6 * double(ms - kStartMs); }

// A clock gaining 12 ppm, measured every `stepHours` for `hours`, with Gaussian noise,
// some measurements missing; optionally one false mark a second off in the middle.
std::vector<drift::Point> simulate(Measure measure, int hours, int stepHours, double noiseMs, int missingPercent,
                                   bool falseMark)
{
    QRandomGenerator random(42);
    std::vector<drift::Point> points;
    for (int h = 0; h <= hours; h += stepHours) {
        if (int(random.bounded(100)) < missingPercent && h > 0 && h < hours)
            continue;
        const qint64 at = kStartMs + h * kHourMs;
        const double u1 = 1 - random.generateDouble(), u2 = random.generateDouble();
        const double gauss = std::sqrt(-2 * std::log(u1)) * std::cos(2 * M_PI * u2);
        points.push_back({at, truthAt(at) + noiseMs * gauss, measure});
    }
    if (falseMark)
        points[points.size() / 2].errorMs += 1000;
    return points;
}
} // namespace

class TestDrift : public QObject
{
    Q_OBJECT
private slots:
    void estimate_data()
    {
        QTest::addColumn<int>("measure");
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("stepHours");
        QTest::addColumn<double>("noiseMs");
        QTest::addColumn<bool>("falseMark");
        QTest::addColumn<double>("driftWithin"); // s a day; 0: no estimate
        QTest::addColumn<double>("sixHoursOnWithin"); // ms; 0: within three of its own sigmas
        const int listening = int(Measure::Listening), click = int(Measure::Click);
        QTest::newRow("hourly, 3 days, 10 % missing") << listening << 72 << 1 << 5.0 << false << 0.01 << 10.0;
        QTest::newRow("hourly, 1 day") << listening << 24 << 1 << 5.0 << false << 0.02 << 15.0;
        QTest::newRow("every 6 h for 20 days: the last 14 used") << listening << 480 << 6 << 5.0 << false << 0.01 << 10.0;
        QTest::newRow("hourly, scattering ten times its stated error") << listening << 72 << 1 << 50.0 << false << 0.05
                                                                       << 0.0;
        QTest::newRow("a false mark set aside") << listening << 72 << 1 << 5.0 << true << 0.01 << 10.0;
        QTest::newRow("clicks alone, a day") << click << 24 << 3 << 200.0 << false << 1.0 << 0.0;
        QTest::newRow("two points 5 h apart") << listening << 5 << 5 << 5.0 << false << 0.0 << 0.0;
        QTest::newRow("two points 6 h apart") << listening << 6 << 6 << 0.0 << false << 0.001 << 1.0;
    }
    void estimate()
    {
        QFETCH(int, measure); QFETCH(int, hours); QFETCH(int, stepHours); QFETCH(double, noiseMs);
        QFETCH(bool, falseMark); QFETCH(double, driftWithin); QFETCH(double, sixHoursOnWithin);
        std::vector<drift::Point> points = simulate(Measure(measure), hours, stepHours, noiseMs, hours > 24 ? 10 : 0,
                                                    falseMark);
        const qint64 nowMs = points.back().utcMs + 6 * kHourMs;
        const auto estimate = drift::estimate(points, nowMs);
        QCOMPARE(estimate.has_value(), driftWithin > 0);
        if (!estimate)
            return;
        const double truth = kPpm * 1e-6 * 86'400;
        QVERIFY2(std::abs(estimate->secondsPerDay - truth) <= driftWithin, qPrintable(QString::number(estimate->secondsPerDay)));
        const double predictionError = std::abs(estimate->errorNowMs - truthAt(nowMs));
        const double allowed = sixHoursOnWithin > 0 ? sixHoursOnWithin : 3 * estimate->errorNowSigmaMs;
        QVERIFY2(predictionError <= allowed, qPrintable(QStringLiteral("%1 ms off, %2 allowed").arg(predictionError).arg(allowed)));
        QVERIFY(estimate->errorNowSigmaMs >= (measure == int(Measure::Click) ? 20 : 0)); // honest for clicks
        const auto aside = std::count_if(points.begin(), points.end(), [](const auto &p) { return p.setAside; });
        QCOMPARE(int(aside), falseMark ? 1 : 0);
        const auto inWindow = std::count_if(points.begin(), points.end(),
                                            [&](const auto &p) { return p.utcMs > nowMs - drift::kWindowMs; });
        QCOMPARE(estimate->used, int(inWindow) - int(aside));
    }

    // Marks that all disagree (a hand-edited or hostile record) leave no estimate, not a crash.
    void marksThatAllDisagreeGiveNoEstimate()
    {
        std::vector<drift::Point> points;
        for (int i = 0; i < 4; ++i)
            points.push_back({kStartMs + i * 6 * kHourMs, i % 2 ? 1000.0 : 0.0});
        QVERIFY(!drift::estimate(points, kStartMs + 20 * kHourMs));
    }
};

QTEST_GUILESS_MAIN(TestDrift)
#include "tst_drift.moc"
