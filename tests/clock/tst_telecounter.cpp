#include "clock/telecounter.h"

#include <QTest>

class TestTeleCounter : public QObject
{
    Q_OBJECT
private slots:
    void timeLeft_data()
    {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<QString>("shown");
        QTest::newRow("band starts: nine whole hours") << QTime(23, 0, 0) << "09 00 00";
        QTest::newRow("whole minute before midnight") << QTime(23, 30, 0) << "08 30 00";
        QTest::newRow("seconds before midnight") << QTime(23, 30, 15) << "08 29 45";
        QTest::newRow("last second of the day") << QTime(23, 59, 59) << "08 00 01";
        QTest::newRow("midnight") << QTime(0, 0, 0) << "08 00 00";
        QTest::newRow("whole minute") << QTime(3, 15, 0) << "04 45 00";
        QTest::newRow("half a minute") << QTime(3, 15, 30) << "04 44 30";
        QTest::newRow("whole hour") << QTime(7, 0, 0) << "01 00 00";
        QTest::newRow("last second of the band") << QTime(7, 59, 59) << "00 00 01";
        QTest::newRow("one second into the band") << QTime(23, 0, 1) << "08 59 59";
    }
    void timeLeft()
    {
        QFETCH(QTime, now);
        QFETCH(QString, shown);
        const TimeLeft left = timeLeftUntilBandEnds(now);
        QCOMPARE(QStringLiteral("%1 %2 %3")
                     .arg(left.hours, 2, 10, QLatin1Char('0'))
                     .arg(left.minutes, 2, 10, QLatin1Char('0'))
                     .arg(left.seconds, 2, 10, QLatin1Char('0')),
                 shown);
    }

    // Every second of the band counts down by exactly one, and the count reaches 08:00:00.
    void countsDownWithoutGapsAcrossTheBand()
    {
        const auto secondsLeft = [](const QTime &t) {
            const TimeLeft left = timeLeftUntilBandEnds(t);
            return left.hours * 3600 + left.minutes * 60 + left.seconds;
        };
        QDateTime t(QDate(2026, 12, 6), QTime(23, 0, 0));
        const QDateTime end(QDate(2026, 12, 7), QTime(8, 0, 0));
        for (; t < end; t = t.addSecs(1))
            QCOMPARE(secondsLeft(t.time()), int(t.secsTo(end)));
    }
};

QTEST_GUILESS_MAIN(TestTeleCounter)
#include "tst_telecounter.moc"
