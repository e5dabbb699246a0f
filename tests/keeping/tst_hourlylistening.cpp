#include "keeping/clockkeeper.h"
#include "keeping/hourlylistening.h"
#include "support/fakes.h"
#include "support/synthsignal.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Outcome = timerecord::Outcome;

namespace {
struct Hourly {
    FakePlatform fake;
    ClockKeeper keeper{fake.clock, fake.timeSetter};
    std::chrono::milliseconds limit{};
    HourlyListening hourly{[this](std::chrono::milliseconds limit) -> Ear * {
                               this->limit = limit;
                               return new Listener(fake.audioCapture, fake.clock, limit);
                           },
                           fake.clock, fake.alarm, keeper};
};
} // namespace

class TestHourlyListening : public QObject
{
    Q_OBJECT
private slots:
    // The input is open from 20 s before the hour to 25 s after it, never otherwise; a heard
    // signal marks the hour, and the keeper sets it without a prompt where it may.
    void window_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<qint64>("stepMs"); // a step of the clock once the window is open
        QTest::addColumn<double>("aheadMs"); // NaN: nothing played
        QTest::addColumn<bool>("syncOn");
        QTest::addColumn<bool>("listens");
        QTest::addColumn<int>("outcome"); // -1: nothing recorded
        QTest::addColumn<qint64>("shiftMs");
        const auto row = [](const char *name, QTime start, double aheadMs, bool listens, int outcome = -1,
                            qint64 shiftMs = 0, bool syncOn = false, qint64 stepMs = 0) {
            QTest::newRow(name) << start << stepMs << aheadMs << syncOn << listens << outcome << shiftMs;
        };
        const double none = std::nan("");
        const int set = int(Outcome::Set);
        row("half past", QTime(12, 30), none, false);
        row("21 s before the hour", QTime(12, 59, 39), none, false);
        row("25 s after the hour", QTime(13, 0, 25), none, false);
        row("20 s before, no signal", QTime(12, 59, 40), none, true);
        row("24 s after", QTime(13, 0, 24), none, true);
        row("0.43 s ahead, sync off", QTime(12, 59, 40), 430, true, set, -430);
        row("0.43 s behind", QTime(12, 59, 40), -430, true, set, 430);
        row("0.1 s ahead", QTime(12, 59, 40), 100, true, int(Outcome::BelowThreshold));
        row("sync on", QTime(12, 59, 40), 430, true, int(Outcome::SyncOn), 0, true);
        row("stepped 30 s on inside the window: to the hour", QTime(12, 59, 55), 430, true, set, -30'430, false, 30'000);
        row("stepped 31 s back inside the window", QTime(12, 59, 55), 430, true, set, 30'570, false, -31'000);
    }
    void window()
    {
        QFETCH(QTime, start); QFETCH(qint64, stepMs); QFETCH(double, aheadMs); QFETCH(bool, syncOn);
        QFETCH(bool, listens); QFETCH(int, outcome); QFETCH(qint64, shiftMs);
        Hourly h;
        FakePlatform &fake = h.fake;
        fake.clock.set(QDate(2026, 12, 7), start);
        fake.timeSetter.sync = {true, syncOn, true};
        h.hourly.setEnabled(true);
        QCOMPARE(fake.audioCapture.running, listens);
        QCOMPARE(h.hourly.isListening(), listens);
        QCOMPARE(h.limit, listens ? HourlyListening::leftOpen(fake.clock.now()) : 0ms); // to the window's end
        if (!listens) // woken when the next window opens
            QCOMPARE(fake.alarm.armedAt.time(), QTime(start.hour(), 59, 40));
        fake.clock.set(fake.clock.now().addMSecs(stepMs));
        if (std::isnan(aheadMs)) {
            h.keeper.waitForFits();
            QVERIFY(h.keeper.known().recent.empty());
            return;
        }

        constexpr int kRate = 48000;
        constexpr double kMarkAt = 4;
        const QDateTime hour(QDate(2026, 12, 7), QTime(13, 0));
        const double wallAhead = double(fake.clock.now().toMSecsSinceEpoch() - fake.clock.steady().count());
        const double firstMs = double(hour.toMSecsSinceEpoch()) + double(stepMs) + aheadMs - kMarkAt * 1000 - wallAhead;
        fake.audioCapture.play(synth::timeSignal({kRate, 6, kMarkAt}), kRate, firstMs);
        QVERIFY(!fake.audioCapture.running);
        if (!fake.timeSetter.requests.isEmpty())
            fake.timeSetter.answer();
        h.keeper.waitForFits();
        QCOMPARE(h.keeper.known().recent.size(), std::size_t(1));
        const timerecord::Event event = h.keeper.known().recent.back();
        QCOMPARE(int(event.outcome), outcome);
        QVERIFY2(std::abs(double(event.offsetMs + shiftMs)) < 2 || outcome != int(Outcome::Set),
                 qPrintable(QString::number(event.offsetMs)));
        QCOMPARE(fake.timeSetter.requests.size(), shiftMs ? 1 : 0);
        if (shiftMs) {
            QCOMPARE(fake.timeSetter.prompts.first(), TimeSetter::Prompt::Never);
            QVERIFY(std::abs(fake.timeSetter.requests.first().count() - shiftMs) < 2);
            QCOMPARE(event.shiftMs, fake.timeSetter.requests.first().count());
        }
        // Heard once: the rest of the window is sat out, and the next hour's is waited for.
        QVERIFY(!h.hourly.isListening());
        QCOMPARE(fake.alarm.armedAt.time(), QTime(13, 59, 40));
    }

    // After a step or a resume the window is worked out afresh; a window once given up is not
    // listened in again, whichever way the clock went.
    void stepsRearmTheWakeUp()
    {
        Hourly h;
        FakePlatform &fake = h.fake;
        fake.clock.set(QDate(2026, 12, 7), QTime(12, 30));
        h.hourly.setEnabled(true);
        QCOMPARE(fake.alarm.armedAt.time(), QTime(12, 59, 40));
        fake.audioCapture.refusal = AudioCapture::Failure{AudioCapture::Problem::CannotRecord, {}};
        fake.clock.set(QDate(2026, 12, 7), QTime(12, 59, 50)); // a resume just before the hour
        QSignalSpy opened(&h.hourly, &HourlyListening::listeningChanged);
        Q_EMIT fake.alarm.clockStepped();
        QCOMPARE(opened.size(), 2); // opened, and given up at once
        fake.clock.set(QDate(2026, 12, 7), QTime(12, 59, 45));
        Q_EMIT fake.alarm.clockStepped();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(fake.alarm.armedAt.time(), QTime(13, 59, 40));
    }
};

QTEST_GUILESS_MAIN(TestHourlyListening)
#include "tst_hourlylistening.moc"
