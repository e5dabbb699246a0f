#include "core/nightband.h"

#include <QTest>

class TestNightBand : public QObject
{
    Q_OBJECT
private slots:
    // What the face shows at the band's edges: 0 the time, 1 the counter, 2 left as it is.
    void faceMode_data()
    {
        QTest::addColumn<int>("tel");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("face");
        struct Row {
            qint16 tel, mode;
            const char *at07_08_22_23;
        };
        const Row rows[] = {{0, 0, "0000"}, {0, 1, "0000"}, {0, 2, "0000"}, {1, 0, "0000"},
                            {1, 1, "1001"}, {1, 2, "2222"}, {2, 0, "0000"}, {2, 1, "1111"}};
        const int hours[] = {7, 8, 22, 23};
        for (const Row &row : rows) {
            for (int i = 0; i < 4; ++i)
                QTest::addRow("tel=%d mode=%d %02d:00", row.tel, row.mode, hours[i])
                    << int(row.tel) << int(row.mode) << hours[i] << row.at07_08_22_23[i] - '0';
        }
    }
    void faceMode()
    {
        QFETCH(int, tel);
        QFETCH(int, mode);
        QFETCH(int, hour);
        QFETCH(int, face);
        QCOMPARE(int(faceModeFor(qint16(tel), qint16(mode), hour)), face);
    }

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

QTEST_GUILESS_MAIN(TestNightBand)
#include "tst_nightband.moc"
