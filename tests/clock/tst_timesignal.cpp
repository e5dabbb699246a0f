#include "clock/timesignal.h"
#include "support/fakes.h"

#include <QTest>

using namespace std::chrono_literals;
using Outcome = TimeSetter::Outcome;

// The steps of one adjustment over the fake time setter, and what comes of them.
class TestTimeSignal : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data()
    {
        QTest::addColumn<int>("firstAnswer");
        QTest::addColumn<bool>("syncService");
        QTest::addColumn<int>("answerToQuestion"); // -1 no question; 0 declined; 1 accepted
        QTest::addColumn<int>("switchAnswer");
        QTest::addColumn<qint64>("stepMeanwhileMs");
        QTest::addColumn<int>("secondAnswer");
        QTest::addColumn<QList<qint64>>("shiftsMs");
        QTest::addColumn<QString>("ends"); // "set", "declined", "refused", "refused switching" or "refused, sync off"
        const QList<qint64> once{-50'000};
        QTest::newRow("set") << int(Outcome::Done) << false << -1 << 0 << qint64(0) << 0 << once << "set";
        QTest::newRow("not authorised") << int(Outcome::NotAuthorised) << false << -1 << 0 << qint64(0) << 0 << once
                                        << "refused";
        QTest::newRow("sync on, no service to switch it") << int(Outcome::AutomaticSync) << false << -1 << 0
                                                          << qint64(0) << 0 << once << "refused";
        QTest::newRow("sync question declined") << int(Outcome::AutomaticSync) << true << 0 << 0 << qint64(0) << 0
                                                << once << "declined";
        QTest::newRow("sync off, then set") << int(Outcome::AutomaticSync) << true << 1 << int(Outcome::Done)
                                            << qint64(0) << int(Outcome::Done) << QList<qint64>{-50'000, -50'000}
                                            << "set";
        QTest::newRow("clock stepped 300 s while asking") << int(Outcome::AutomaticSync) << true << 1
                                                          << int(Outcome::Done) << qint64(300'000) << int(Outcome::Done)
                                                          << QList<qint64>{-50'000, -350'000} << "set";
        QTest::newRow("switching sync off refused") << int(Outcome::AutomaticSync) << true << 1
                                                    << int(Outcome::NotAuthorised) << qint64(0) << 0 << once
                                                    << "refused switching";
        QTest::newRow("sync off, then the time refused") << int(Outcome::AutomaticSync) << true << 1
                                                         << int(Outcome::Done) << qint64(0) << int(Outcome::Failed)
                                                         << QList<qint64>{-50'000, -50'000} << "refused, sync off";
        QTest::newRow("sync off, and still refused as synced: told, not asked again")
            << int(Outcome::AutomaticSync) << true << 1 << int(Outcome::Done) << qint64(0) << int(Outcome::AutomaticSync)
            << QList<qint64>{-50'000, -50'000} << "refused, sync off";
    }
    void outcome()
    {
        QFETCH(int, firstAnswer);
        QFETCH(bool, syncService);
        QFETCH(int, answerToQuestion);
        QFETCH(int, switchAnswer);
        QFETCH(qint64, stepMeanwhileMs);
        QFETCH(int, secondAnswer);
        QFETCH(QList<qint64>, shiftsMs);
        QFETCH(QString, ends);
        FakeClock clock(QDateTime(QDate(2026, 12, 7), QTime(12, 34, 50)));
        FakeTimeSetter setter;
        setter.sync = {syncService, true};
        setter.syncSwitchAnswer = {Outcome(switchAnswer), {}};
        TimeSignal signal(clock, setter);
        QString ended;
        int questions = 0;
        connect(&signal, &TimeSignal::adjusted, this, [&] { ended = QStringLiteral("set"); });
        connect(&signal, &TimeSignal::refused, this, [&](const TimeSignal::Refusal &refusal) {
            ended = refusal.whileSwitchingSyncOff ? QStringLiteral("refused switching")
                    : refusal.syncSwitchedOff     ? QStringLiteral("refused, sync off")
                                                  : QStringLiteral("refused");
        });
        connect(&signal, &TimeSignal::syncQuestion, this, [&] { ++questions; });
        connect(&signal, &TimeSignal::declined, this, [&] { ended = QStringLiteral("declined"); });

        signal.start({});
        setter.answer({Outcome(firstAnswer), {}});
        if (answerToQuestion >= 0) {
            clock.passSteadily(20s);
            clock.set(clock.now().addMSecs(stepMeanwhileMs));
            signal.answerSyncQuestion(answerToQuestion == 1);
        }
        if (setter.requests.size() == 2)
            setter.answer({Outcome(secondAnswer), {}});
        QList<qint64> sent;
        for (const auto shift : setter.requests)
            sent << shift.count();
        QCOMPARE(sent, shiftsMs);
        QCOMPARE(ended, ends);
        QCOMPARE(questions, answerToQuestion < 0 ? 0 : 1);
        QVERIFY(!signal.isPending());
    }

    // The listener's mark, a second ago on the steady clock, with the clock stepped 20 s since.
    void correctionTakesOutAStepSinceTheMark()
    {
        FakeClock clock;
        FakeTimeSetter setter;
        TimeSignal signal(clock, setter);
        const QDateTime shouldHaveRead = clock.now().addMSecs(-430);
        const auto markedAt = clock.steady();
        clock.passSteadily(1s);
        clock.set(clock.now().addSecs(20));
        signal.correctTo(shouldHaveRead, markedAt);
        QCOMPARE(setter.requests, QList<std::chrono::milliseconds>{-20'430ms});
    }
};

QTEST_MAIN(TestTimeSignal)
#include "tst_timesignal.moc"
