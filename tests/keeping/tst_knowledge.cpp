#include "keeping/knowledge.h"

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
        std::vector<Event> events;
        qint64 applied = 0;
        const auto truth = [&](int hour) { return qRound64(secondsPerDay * 1000 * hour / 24) + applied; };
        for (int hour = 0; hour <= 72; ++hour) {
            const qint64 offset = truth(hour);
            const bool set = std::abs(offset) >= 200;
            events.push_back({start.addSecs(hour * 3600), Source::Hourly, offset, set ? -offset : 0,
                              set ? Outcome::Set : Outcome::BelowThreshold});
            applied += set ? -offset : 0;
        }
        const int nowHour = 72 + silentHours;
        const auto known = knowledge::learn(events, start.addSecs(nowHour * 3600).toMSecsSinceEpoch(), 20);
        const auto error = known.errorAt(start.addSecs(nowHour * 3600).toMSecsSinceEpoch());
        QVERIFY(error);
        QVERIFY2(std::abs(error->ms - double(truth(nowHour))) < 20,
                 qPrintable(QStringLiteral("%1 expected, %2 true").arg(error->ms).arg(truth(nowHour))));
        QCOMPARE(known.recent.size(), std::size_t(20));
        QCOMPARE(known.recent.back(), events.back());
    }
};

QTEST_GUILESS_MAIN(TestKnowledge)
#include "tst_knowledge.moc"
