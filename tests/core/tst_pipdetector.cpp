#include "core/pipdetector.h"
#include "core/sampletimeline.h"
#include "support/synthsignal.h"

#include <QTest>
#include <cmath>

namespace {
// 2026-12-07 12:00:00 UTC: the minute each signal marks.
constexpr double kMinuteMs = 1'796'644'800'000.0;

// Fed in blocks as the capture delivers them; the mark's offset from the minute, if any.
std::optional<double> listen(const std::vector<float> &samples, int rate, double markAt, double clockAheadMs)
{
    PipDetector detector(rate);
    const double startMs = kMinuteMs + clockAheadMs - markAt * 1000;
    constexpr qsizetype kBlock = 1024;
    for (qsizetype at = 0; at < qsizetype(samples.size()); at += kBlock) {
        const qsizetype count = std::min(kBlock, qsizetype(samples.size()) - at);
        if (const auto mark = detector.feed(samples.data() + at, count, startMs + double(at) * 1000 / rate))
            return offsetFromMinute(*mark);
    }
    return std::nullopt;
}
} // namespace

class TestPipDetector : public QObject
{
    Q_OBJECT
private slots:
    // Each condition the radio and the room bring, and what must never count as a signal.
    void detects_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<bool>("heard");
        QTest::addColumn<double>("toleranceMs");
        QTest::newRow("clean, 48 kHz") << 48000 << "clean" << true << 2.0;
        QTest::newRow("clean, 44.1 kHz") << 44100 << "clean" << true << 2.0;
        QTest::newRow("radio, noise at 10 dB") << 48000 << "noise 10" << true << 10.0;
        QTest::newRow("radio, noise at 0 dB, 44.1 kHz") << 44100 << "noise 0" << true << 10.0;
        QTest::newRow("radio, hum") << 48000 << "hum" << true << 10.0;
        QTest::newRow("radio, speech up to the first pip") << 48000 << "speech" << true << 10.0;
        QTest::newRow("the first pip masked") << 48000 << "masked" << true << 2.0;
        QTest::newRow("880 Hz without pips") << 48000 << "no pips" << false << 0.0;
        QTest::newRow("pips at 0.8 s") << 48000 << "0.8 s" << false << 0.0;
        QTest::newRow("two pips masked") << 48000 << "one pip" << false << 0.0;
        QTest::newRow("pips without the main tone") << 48000 << "no main" << false << 0.0;
        QTest::newRow("speech alone") << 48000 << "speech alone" << false << 0.0;
        QTest::newRow("music") << 44100 << "music" << false << 0.0;
    }
    void detects()
    {
        QFETCH(int, rate);
        QFETCH(QString, condition);
        QFETCH(bool, heard);
        QFETCH(double, toleranceMs);
        std::mt19937 random(7);
        synth::Signal tone{rate, 8, 4.537};
        tone.maskedPip = condition == QLatin1String("masked") ? 0 : -1;
        tone.pips = condition != QLatin1String("no pips") && condition != QLatin1String("speech alone");
        tone.mainTone = condition != QLatin1String("no main") && condition != QLatin1String("speech alone");
        tone.pipSpacing = condition == QLatin1String("0.8 s") ? 0.8 : 1;
        std::vector<float> samples = condition == QLatin1String("music") ? synth::music(rate, 120, random)
                                                                         : synth::timeSignal(tone);
        if (condition == QLatin1String("one pip")) {
            tone.maskedPip = 1;
            tone.pips = false;
            samples = synth::timeSignal(tone);
            synth::Signal lonePip = tone;
            lonePip.pips = true, lonePip.mainTone = false, lonePip.maskedPip = -1;
            const auto pips = synth::timeSignal(lonePip);
            for (std::size_t n = std::size_t(3.4 * rate); n < samples.size(); ++n)
                samples[n] += pips[n]; // the last pip alone
        }
        if (condition != QLatin1String("clean") && condition != QLatin1String("masked"))
            synth::bandPass(samples, rate);
        if (condition.startsWith(QLatin1String("noise")))
            synth::addNoise(samples, rate, tone.amplitude, condition.mid(6).toDouble(), random);
        if (condition == QLatin1String("hum"))
            synth::addHum(samples, rate, tone.amplitude);
        if (condition.startsWith(QLatin1String("speech")))
            synth::addSpeech(samples, rate, 0, condition == QLatin1String("speech") ? tone.markAt - 3 : 8,
                             tone.amplitude, random);

        for (const double aheadMs : {430.0, -25'000.0}) {
            const auto offset = listen(samples, rate, tone.markAt, aheadMs);
            QCOMPARE(offset.has_value(), heard);
            if (offset)
                QVERIFY2(std::abs(*offset - aheadMs) <= toleranceMs, qPrintable(QString::number(*offset - aheadMs)));
        }
    }

    void offsetIsFromTheNearestMinute_data()
    {
        QTest::addColumn<double>("markMs");
        QTest::addColumn<double>("offsetMs");
        QTest::newRow("0.43 s ahead") << kMinuteMs + 430 << 430.0;
        QTest::newRow("0.43 s behind") << kMinuteMs - 430 << -430.0;
        QTest::newRow("29 s ahead") << kMinuteMs + 29'000 << 29'000.0;
        QTest::newRow("29 s behind") << kMinuteMs - 29'000 << -29'000.0;
    }
    void offsetIsFromTheNearestMinute()
    {
        QFETCH(double, markMs);
        QFETCH(double, offsetMs);
        QCOMPARE(offsetFromMinute(markMs), offsetMs);
    }

    // A minute of 20 ms blocks, each read late by `lateMs` when its number is a multiple of
    // three, on a sound card `ppm` slow, after `burstMs` the source kept before anyone
    // listened and delivered at once: what comes out is timed to within a millisecond, and
    // only sound recorded while someone listened comes out, all of it.
    void timelineTimesByThePlaceInTheStream_data()
    {
        QTest::addColumn<double>("lateMs");
        QTest::addColumn<double>("ppm");
        QTest::addColumn<double>("burstMs");
        QTest::newRow("read on time") << 0.0 << 0.0 << 0.0;
        QTest::newRow("a busy reader") << 45.0 << 0.0 << 0.0;
        QTest::newRow("a sound card 100 ppm slow") << 2.0 << 100.0 << 0.0;
        QTest::newRow("3 s the source kept") << 2.0 << 0.0 << 3000.0;
    }
    void timelineTimesByThePlaceInTheStream()
    {
        QFETCH(double, lateMs);
        QFETCH(double, ppm);
        QFETCH(double, burstMs);
        const int rate = 48000, count = 960;
        const double listenedFrom = 1e6, perBlock = 20 * (1 + ppm * 1e-6);
        SampleTimeline timeline(rate);
        int out = 0, blocks = int((burstMs + 60'000) / 20);
        for (int k = 0; k < blocks; ++k) {
            const double truth = listenedFrom - burstMs + k * perBlock;
            const double latencyMs = 10 + k % 7; // as the server tells it
            const double readAt = std::max(truth, listenedFrom + k * 0.01) + latencyMs + (k % 3 == 0 ? lateMs : 0);
            timeline.add(std::vector<float>(count, float(truth)), readAt, latencyMs);
            for (const SampleTimeline::Block &block : timeline.take()) {
                const double recorded = double(block.samples.front());
                QVERIFY2(std::abs(block.firstSampleMs - recorded) < 1, qPrintable(QString::number(recorded)));
                QVERIFY(recorded >= listenedFrom - SampleTimeline::kLateMs - 20);
                out += recorded >= listenedFrom;
            }
        }
        QCOMPARE(out, int(60'000 / 20) - int(SampleTimeline::kHoldMs / 20));
    }
};

QTEST_GUILESS_MAIN(TestPipDetector)
#include "tst_pipdetector.moc"
