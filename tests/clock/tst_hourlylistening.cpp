#include "clock/hourlylistening.h"
#include "support/fakes.h"
#include "support/synthsignal.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Outcome = timerecord::Outcome;

class TestHourlyListening : public QObject
{
    Q_OBJECT
private slots:
    // The input is open from 20 s before the hour to 25 s after it, never otherwise; a heard
    // signal is recorded, and set without a prompt only with sync off and 0.2 s or more off.
    void window_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<double>("aheadMs"); // NaN: nothing played
        QTest::addColumn<bool>("syncOn");
        QTest::addColumn<bool>("listens");
        QTest::addColumn<int>("outcome"); // -1: nothing recorded
        const double none = std::nan("");
        QTest::newRow("half past") << QTime(12, 30) << none << false << false << -1;
        QTest::newRow("21 s before the hour") << QTime(12, 59, 39) << none << false << false << -1;
        QTest::newRow("25 s after the hour") << QTime(13, 0, 25) << none << false << false << -1;
        QTest::newRow("20 s before, no signal") << QTime(12, 59, 40) << none << false << true << -1;
        QTest::newRow("24 s after") << QTime(13, 0, 24) << none << false << true << -1;
        QTest::newRow("0.43 s ahead, sync off") << QTime(12, 59, 40) << 430.0 << false << true << int(Outcome::Set);
        QTest::newRow("0.43 s behind") << QTime(12, 59, 40) << -430.0 << false << true << int(Outcome::Set);
        QTest::newRow("0.1 s ahead") << QTime(12, 59, 40) << 100.0 << false << true << int(Outcome::BelowThreshold);
        QTest::newRow("sync on") << QTime(12, 59, 40) << 430.0 << true << true << int(Outcome::SyncOn);
    }
    void window()
    {
        QFETCH(QTime, start); QFETCH(double, aheadMs); QFETCH(bool, syncOn); QFETCH(bool, listens); QFETCH(int, outcome);
        FakePlatform fake;
        fake.clock.set(QDate(2026, 12, 7), start);
        fake.timeSetter.sync = {true, syncOn, true};
        HourlyListening hourly(fake.audioCapture, fake.clock, fake.timeSetter);
        QSignalSpy measured(&hourly, &HourlyListening::measured);
        hourly.setEnabled(true);
        QCOMPARE(fake.audioCapture.running, listens);
        QCOMPARE(hourly.isListening(), listens);
        if (std::isnan(aheadMs)) {
            QVERIFY(measured.isEmpty());
            return;
        }

        constexpr int kRate = 48000;
        constexpr double kMarkAt = 4;
        const QDateTime hour(QDate(2026, 12, 7), QTime(13, 0));
        const double wallAhead = double(fake.clock.now().toMSecsSinceEpoch() - fake.clock.steady().count());
        const double firstMs = double(hour.toMSecsSinceEpoch()) + aheadMs - kMarkAt * 1000 - wallAhead;
        fake.audioCapture.play(synth::timeSignal({kRate, 6, kMarkAt}), kRate, firstMs);
        QTRY_VERIFY(!measured.isEmpty() || !fake.timeSetter.requests.isEmpty());
        if (measured.isEmpty())
            fake.timeSetter.answer();
        QCOMPARE(measured.size(), 1);
        const auto event = measured.first().first().value<timerecord::Event>();
        QCOMPARE(int(event.outcome), outcome);
        QVERIFY(std::abs(double(event.offsetMs) - aheadMs) < 2);
        QVERIFY(!fake.audioCapture.running);
        const bool sets = outcome == int(Outcome::Set);
        QCOMPARE(fake.timeSetter.requests.size(), sets ? 1 : 0);
        if (sets) {
            QCOMPARE(fake.timeSetter.prompts.first(), TimeSetter::Prompt::Never);
            QVERIFY(std::abs(double(fake.timeSetter.requests.first().count()) + aheadMs) < 2);
            QCOMPARE(event.shiftMs, fake.timeSetter.requests.first().count());
        }
    }
};

QTEST_GUILESS_MAIN(TestHourlyListening)
#include "tst_hourlylistening.moc"
