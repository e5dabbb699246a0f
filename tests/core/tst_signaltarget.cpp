#include "core/signaltarget.h"

#include <QTest>

using namespace std::chrono_literals;

class TestSignalTarget : public QObject
{
    Q_OBJECT
private slots:
    // The minute shown, in every zone and on every night of the year: never resolved from a
    // local date and time a second time, which a repeated or skipped hour would get wrong.
    void targetIsTheShownMinuteOnAbsoluteTime_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("faceShows"); // in UTC
        QTest::addColumn<qint64>("shiftMs");
        const QDate fallBack(2026, 11, 1), springForward(2026, 3, 8);
        QTest::newRow("New York, first 01:30:40") << QByteArray("America/New_York")
                                                  << QDateTime(fallBack, QTime(5, 30, 40), Qt::UTC) << qint64(-40'000);
        QTest::newRow("New York, second 01:30:40") << QByteArray("America/New_York")
                                                   << QDateTime(fallBack, QTime(6, 30, 40), Qt::UTC) << qint64(-40'000);
        QTest::newRow("New York, 01:59:50 before the skipped hour")
            << QByteArray("America/New_York") << QDateTime(springForward, QTime(6, 59, 50), Qt::UTC) << qint64(-50'000);
        QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << QDateTime(QDate(2026, 12, 7), QTime(3, 34, 50, 250), Qt::UTC)
                               << qint64(-50'250);
    }
    void targetIsTheShownMinuteOnAbsoluteTime()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, faceShows);
        QFETCH(qint64, shiftMs);
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", zone);
        const QDateTime local = faceShows.toLocalTime();
        QCOMPARE(local.msecsTo(adjustmentTarget(local, local)), shiftMs);
        QCOMPARE(local.msecsTo(adjustmentTarget({}, local)), shiftMs);
        qputenv("TZ", before);
    }

    // The shift sent after the question: the time since the click is kept, a step of the clock taken out.
    void shiftTowardsTheTarget_data()
    {
        QTest::addColumn<qint64>("sinceTargetMs");
        QTest::addColumn<qint64>("stepMs");
        QTest::addColumn<qint64>("shiftMs");
        QTest::newRow("at once") << qint64(0) << qint64(0) << qint64(-50'000);
        QTest::newRow("a minute on the question") << qint64(60'000) << qint64(0) << qint64(-50'000);
        QTest::newRow("stepped 300 s ahead meanwhile") << qint64(60'000) << qint64(300'000) << qint64(-350'000);
        QTest::newRow("stepped 300 s back meanwhile") << qint64(60'000) << qint64(-300'000) << qint64(250'000);
    }
    void shiftTowardsTheTarget()
    {
        QFETCH(qint64, sinceTargetMs);
        QFETCH(qint64, stepMs);
        QFETCH(qint64, shiftMs);
        const QDateTime target(QDate(2026, 12, 7), QTime(12, 34), Qt::UTC);
        const QDateTime now = target.addMSecs(50'000 + sinceTargetMs + stepMs);
        QCOMPARE(shiftTowards(target, std::chrono::milliseconds(sinceTargetMs), now).count(), shiftMs);
    }

    // The hour's signal pulls a clock up to half an hour off onto the hour, never a minute.
    void nearestHour_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QTime>("reads"); // each near noon
        QTest::newRow("0.43 s fast, stepped 30 s on") << QByteArray("Asia/Tokyo") << QTime(12, 0, 30, 430);
        QTest::newRow("0.43 s fast, stepped 31 s back") << QByteArray("Asia/Tokyo") << QTime(11, 59, 29, 430);
        QTest::newRow("29 min 59 s slow") << QByteArray("Asia/Tokyo") << QTime(11, 30, 1);
        QTest::newRow("India, half an hour off UTC") << QByteArray("Asia/Kolkata") << QTime(11, 59, 58);
    }
    void nearestHour()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QTime, reads);
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", zone);
        const QDate day(2026, 12, 7);
        QCOMPARE(::nearestHour(QDateTime(day, reads)), QDateTime(day, QTime(12, 0)));
        qputenv("TZ", before);
    }
};

QTEST_GUILESS_MAIN(TestSignalTarget)
#include "tst_signaltarget.moc"
