#include "clock/walltimer.h"
#include "platform/clocksource.h"
#include "support/fakes.h"

#include <QSignalSpy>
#include <QTest>

class TestWallTimer : public QObject
{
    Q_OBJECT
private slots:
    void aimsJustPastTheNextBoundary_data()
    {
        QTest::addColumn<int>("msec");
        QTest::addColumn<int>("delay");
        QTest::newRow("on a boundary: the next one") << 0 << 101;
        QTest::newRow("just after a tick") << 1 << 100;
        QTest::newRow("mid-interval") << 50 << 51;
        QTest::newRow("just before a boundary") << 99 << 2;
        QTest::newRow("just before the second") << 999 << 2;
        QTest::newRow("late in the second") << 940 << 61;
    }
    void aimsJustPastTheNextBoundary()
    {
        QFETCH(int, msec);
        QFETCH(int, delay);
        QCOMPARE(WallTimer::delayToNextTick(msec, 100), delay);
        // Wherever it starts, the tick lands within the lead after a boundary.
        QVERIFY((msec + delay) % 100 <= WallTimer::kLeadMs);
    }

    void ticksWhileEnabledOnly()
    {
        SystemClock clock;
        WallTimer timer(clock, 100);
        QSignalSpy ticks(&timer, &WallTimer::timeout);
        QTest::qWait(250);
        QCOMPARE(ticks.count(), 0);
        timer.setEnabled(true);
        QVERIFY(ticks.wait(1000));
        timer.setEnabled(false);
        const int seen = ticks.count();
        QTest::qWait(250);
        QCOMPARE(ticks.count(), seen);
    }

    // A handler that turns the timer off must not be ticked again.
    void disablingInsideTheHandlerStopsIt()
    {
        SystemClock clock;
        WallTimer timer(clock, 100);
        int ticks = 0;
        connect(&timer, &WallTimer::timeout, this, [&] {
            ++ticks;
            timer.setEnabled(false);
        });
        timer.setEnabled(true);
        QTRY_COMPARE(ticks, 1);
        QTest::qWait(300);
        QCOMPARE(ticks, 1);
    }
};

QTEST_MAIN(TestWallTimer)
#include "tst_walltimer.moc"
