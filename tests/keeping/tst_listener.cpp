#include "keeping/listener.h"
#include "support/fakes.h"
#include "support/synthsignal.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

using namespace std::chrono_literals;
using GiveUp = Listener::GiveUp;
using Problem = AudioCapture::Problem;

namespace {
const QDateTime kMinute(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
constexpr double kMarkAt = 4; // seconds into the sound

// What the radio plays: the signal, or something that must not pass for it.
std::vector<float> sound(const QString &audio, int rate)
{
    synth::Signal signal{rate, 6, kMarkAt};
    if (audio == QLatin1String("silence"))
        return std::vector<float>(std::size_t(rate / 10), 0.0f);
    if (audio == QLatin1String("loud"))
        return std::vector<float>(std::size_t(rate / 10), 0.5f);
    if (audio == QLatin1String("loud, then silence") || audio == QLatin1String("an infinite sample in silence")) {
        std::vector<float> samples(std::size_t(rate), 0.0f); // the loudest is not the last
        std::fill(samples.begin(), samples.begin() + (audio.startsWith(QLatin1String("loud")) ? rate / 2 : 0), 0.5f);
        samples[7] = audio.startsWith(QLatin1String("loud")) ? 0.5f : INFINITY;
        return samples;
    }
    std::vector<float> samples = synth::timeSignal(signal);
    if (audio == QLatin1String("NaN first")) {
        samples[0] = std::nanf("");
        samples[1] = INFINITY;
    }
    if (audio == QLatin1String("held 440")) { // one note across all three pips: no silence after any
        signal.pips = false;
        samples = synth::timeSignal(signal);
        for (auto n = std::size_t((kMarkAt - 3.05) * rate); n < std::size_t((kMarkAt - 0.85) * rate); ++n)
            samples[n] += float(0.3 * std::sin(2 * M_PI * 440 * double(n) / rate));
    }
    if (audio.startsWith(QLatin1String("off cadence")) || audio == QLatin1String("four pips")) {
        // all three pips a second early, or a fourth pip where the signal has none
        signal.mainTone = false, signal.markAt = kMarkAt - 1;
        const auto early = synth::timeSignal(signal);
        signal.pips = audio == QLatin1String("four pips"), signal.mainTone = true, signal.markAt = kMarkAt;
        samples = synth::timeSignal(signal);
        for (std::size_t n = 0; n < samples.size(); ++n)
            samples[n] += early[n];
    }
    return samples;
}
} // namespace

class TestListener : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data()
    {
        QTest::addColumn<QString>("audio");
        QTest::addColumn<int>("rate");
        QTest::addColumn<int>("refusal"); // a Problem, or -1
        QTest::addColumn<qint64>("stepAfterMarkMs");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("gaveUp"); // a GiveUp, or -1 when it heard the mark (or nothing, cancelled)
        QTest::addColumn<QString>("detail");
        const auto row = [](const char *name, const char *audio, int rate, int refusal, int gaveUp,
                            const char *detail = "", qint64 stepMs = 0, bool cancel = false) {
            QTest::newRow(name) << audio << rate << refusal << stepMs << cancel << gaveUp << detail;
        };
        for (const int rate : {48000, 44100, 8000, 384000})
            row(qPrintable(QStringLiteral("heard at %1 Hz").arg(rate)), "signal", rate, -1, -1);
        row("a NaN and an Inf before a clean signal", "NaN first", 48000, -1, -1);
        row("clock stepped 20 s after the mark", "signal", 48000, -1, -1, "", 20'000);
        row("pips a second early", "off cadence", 48000, -1, int(GiveUp::TimedOut));
        row("a held 440 Hz note before the tone", "held 440", 48000, -1, int(GiveUp::TimedOut));
        row("four pips, one a second early", "four pips", 48000, -1, int(GiveUp::TimedOut));
        row("quiet", "silence", 48000, -1, int(GiveUp::Quiet));
        row("an infinite sample in silence is no sound", "an infinite sample in silence", 48000, -1, int(GiveUp::Quiet));
        row("loud, then silence", "loud, then silence", 48000, -1, int(GiveUp::TimedOut));
        row("cannot record", "", 48000, int(Problem::CannotRecord), int(GiveUp::CannotRecord), "busy");
        row("loud, no signal", "loud", 48000, -1, int(GiveUp::TimedOut));
        row("a 50 Hz input", "signal", 50, -1, int(GiveUp::UnusableRate), "50");
        row("7999 Hz", "silence", 7999, -1, int(GiveUp::UnusableRate), "7999");
        row("no server", "", 48000, int(Problem::NoServer), int(GiveUp::NoServer), "Connection refused");
        row("no input device", "", 48000, int(Problem::NoInputDevice), int(GiveUp::NoInputDevice));
        row("cancelled", "signal", 48000, -1, -1, "", 0, true);
    }
    void outcome()
    {
        QFETCH(QString, audio); QFETCH(int, rate); QFETCH(int, refusal); QFETCH(qint64, stepAfterMarkMs);
        QFETCH(bool, cancel); QFETCH(int, gaveUp); QFETCH(QString, detail);
        FakePlatform fake;
        fake.clock.set(kMinute.addSecs(-30).toLocalTime());
        if (refusal >= 0)
            fake.audioCapture.refusal = AudioCapture::Failure{Problem(refusal), detail};
        constexpr auto kLimit = 300ms;
        Listener listener(fake.audioCapture, fake.clock, kLimit);
        QSignalSpy heard(&listener, &Listener::heard), gave(&listener, &Listener::gaveUp);
        QElapsedTimer elapsed;
        elapsed.start();
        listener.start();
        if (cancel)
            listener.cancel();

        // The clock runs 0.43 s ahead: the mark comes at 12:00:00.430 by it.
        const double wallAhead = double(fake.clock.now().toMSecsSinceEpoch() - fake.clock.steady().count());
        const double firstMs = double(kMinute.toMSecsSinceEpoch()) + 430 - kMarkAt * 1000 - wallAhead;
        const std::vector<float> samples = sound(audio, rate);
        const std::size_t split = std::min(samples.size(), std::size_t((kMarkAt + 0.5) * rate));
        fake.audioCapture.play({samples.begin(), samples.begin() + std::ptrdiff_t(split)}, rate, firstMs);
        fake.clock.set(fake.clock.now().addMSecs(stepAfterMarkMs));
        fake.audioCapture.play({samples.begin() + std::ptrdiff_t(split), samples.end()}, rate,
                               firstMs + double(split) * 1000 / rate);

        if (gaveUp < 0) {
            QCOMPARE(heard.size(), cancel ? 0 : 1);
            QCOMPARE(gave.size(), 0);
        } else {
            QTRY_COMPARE(gave.size(), 1);
            QCOMPARE(int(gave.first().first().value<Listener::Failure>().reason), gaveUp);
            QCOMPARE(gave.first().first().value<Listener::Failure>().detail, detail);
            if (gaveUp == int(GiveUp::TimedOut) || gaveUp == int(GiveUp::Quiet))
                QVERIFY(elapsed.elapsed() >= kLimit.count());
        }
        QVERIFY(!fake.audioCapture.running);
        QVERIFY(!listener.isListening());
        if (heard.isEmpty())
            return;
        const auto mark = heard.first().first().value<Listener::Mark>();
        QVERIFY2(std::abs(mark.offsetMs - 430) < 2, qPrintable(QString::number(mark.offsetMs)));
        QCOMPARE(mark.minute, kMinute);
        QVERIFY(std::abs(double(mark.steady.count()) - (firstMs + kMarkAt * 1000)) < 3);
    }
};

QTEST_GUILESS_MAIN(TestListener)
#include "tst_listener.moc"
