#include "keeping/knowledge.h"
#include "support/hourlyrecord.h"

#include <QTest>

using namespace timerecord;

class TestKnowledge : public QObject
{
    Q_OBJECT
private slots:
    // A correction does not break the line: the free-running error goes on from where it was.
    // Refused and implausible marks are no points; an estimate counts only as a shift.
    void freeRunningErrorCarriesTheShifts()
    {
        const QDateTime t(QDate(2026, 12, 8), QTime(1, 0), Qt::UTC);
        const std::vector<Event> events{{t, Source::Hourly, 500, -500, Outcome::Set},
                                        {t.addSecs(3600), Source::Hourly, 10, 0, Outcome::BelowThreshold},
                                        {t.addSecs(4000), Source::Estimate, 30, -30, Outcome::Set},
                                        {t.addSecs(5000), Source::Hourly, 18'000, 0, Outcome::Implausible},
                                        {t.addSecs(6000), Source::Click, -2000, 0, Outcome::Refused},
                                        {t.addSecs(7200), Source::Click, -10, 10, Outcome::Set}};
        std::vector<double> errors;
        for (const drift::Point &point : knowledge::freeRunning(events))
            errors.push_back(point.errorMs);
        QCOMPARE(errors, (std::vector<double>{500, 510, 520}));
        QCOMPARE(knowledge::shiftsApplied(events), -520);
    }

    // Three days of hourly marks, corrected whenever 0.2 s off, then hours of silence: the
    // error expected now is the clock's true error, in both directions of the drift.
    void errorNowAfterCorrections_data()
    {
        QTest::addColumn<double>("secondsPerDay");
        QTest::addColumn<int>("silentHours");
        QTest::newRow("gains 1 s a day, 12 h silent") << 1.0 << 12;
        QTest::newRow("loses 1 s a day, 12 h silent") << -1.0 << 12;
        QTest::newRow("gains 4 s a day, 2 days silent") << 4.0 << 48;
        QTest::newRow("loses 3 s a day, 1 h silent") << -3.0 << 1;
    }
    void errorNowAfterCorrections()
    {
        QFETCH(double, secondsPerDay);
        QFETCH(int, silentHours);
        const QDateTime start(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
        const HourlyRecord record = hourlyRecord(secondsPerDay, start);
        const qint64 nowMs = start.addSecs((72 + silentHours) * 3600).toMSecsSinceEpoch();
        const auto known = knowledge::learn(record.events, nowMs, 20);
        const auto error = known.errorAt(nowMs);
        const qint64 truth = record.trueErrorAt(72 + silentHours);
        QVERIFY(error);
        QVERIFY2(std::abs(error->ms - double(truth)) < 20, qPrintable(QString::number(error->ms - double(truth))));
        QCOMPARE(known.recent.size(), std::size_t(20));
        QCOMPARE(known.recent.back(), record.events.back());
    }
};

QTEST_GUILESS_MAIN(TestKnowledge)
#include "tst_knowledge.moc"
