#include "keeping/clockkeeper.h"
#include "support/fakes.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;
using Outcome = TimeSetter::Outcome;

// The steps of one change over the fake time setter, what comes of them, and what the record gains.
class TestClockKeeper : public QObject
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
        ClockKeeper signal(clock, setter);
        QString ended;
        int questions = 0;
        connect(&signal, &ClockKeeper::adjusted, this, [&] { ended = QStringLiteral("set"); });
        connect(&signal, &ClockKeeper::refused, this, [&](const ClockKeeper::Refusal &refusal) {
            ended = refusal.whileSwitchingSyncOff ? QStringLiteral("refused switching")
                    : refusal.syncSwitchedOff     ? QStringLiteral("refused, sync off")
                                                  : QStringLiteral("refused");
        });
        connect(&signal, &ClockKeeper::syncQuestion, this, [&] { ++questions; });
        connect(&signal, &ClockKeeper::declined, this, [&] { ended = QStringLiteral("declined"); });

        signal.click({});
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
        ClockKeeper signal(clock, setter);
        const QDateTime shouldHaveRead = clock.now().addMSecs(-430);
        const auto markedAt = clock.steady();
        clock.passSteadily(1s);
        clock.set(clock.now().addSecs(20));
        signal.correctTo(shouldHaveRead, markedAt);
        QCOMPARE(setter.requests, QList<std::chrono::milliseconds>{-20'430ms});
    }

    // Who may change the clock, and what each change leaves in the record.
    void gates_data()
    {
        QTest::addColumn<int>("gesture");
        QTest::addColumn<qint64>("offsetMs"); // clock minus signal, as the gesture finds it
        QTest::addColumn<bool>("adjustment"); // the time-signal adjustment switch
        QTest::addColumn<bool>("hourlyOn");
        QTest::addColumn<bool>("busy"); // a change already waits for its answer
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("recorded"); // "source outcome shift", or empty
        const auto row = [](const char *name, ClockKeeper::Gesture by, qint64 offsetMs, const char *recorded,
                            bool adjustment = true, bool hourlyOn = true, bool busy = false, int answer = 0) {
            QTest::newRow(name) << int(by) << offsetMs << adjustment << hourlyOn << busy << answer << QString(recorded);
        };
        using G = ClockKeeper::Gesture;
        const int refused = int(Outcome::NotAuthorised);
        row("click, every extra off: no file", G::Click, 2'000, "", true, false);
        row("click, hourly on", G::Click, 2'000, "click set -2000");
        row("click 40 s off: a shift, not a measure", G::Click, 40'000, "hand set -40000");
        row("refused click measures nothing", G::Click, 2'000, "", true, true, false, refused);
        row("click while another waits", G::Click, 2'000, "", true, true, true);
        row("listening, adjustment off", G::Listening, 430, "", false, false);
        row("listening refused", G::Listening, 430, "listening refused 0", true, false, false, refused);
        row("hourly", G::Hourly, 430, "hourly set -430");
        row("hourly, adjustment off: measured only", G::Hourly, 430, "hourly adjustment-off 0", false);
        row("hourly while a person's change waits", G::Hourly, 430, "hourly refused 0", true, true, true);
        row("hourly, 61 s with no estimate", G::Hourly, 61'000, "hourly implausible 0");
        row("hourly, 59 s with no estimate", G::Hourly, 59'000, "hourly set -59000");
        row("hourly, 0.1 s", G::Hourly, 100, "hourly below-threshold 0");
    }
    void gates()
    {
        QFETCH(int, gesture); QFETCH(qint64, offsetMs); QFETCH(bool, adjustment); QFETCH(bool, hourlyOn);
        QFETCH(bool, busy); QFETCH(int, answer); QFETCH(QString, recorded);
        const QDateTime shouldRead(QDate(2026, 12, 7), QTime(12, 35));
        FakeClock clock(shouldRead.addMSecs(offsetMs));
        FakeTimeSetter setter;
        ClockKeeper keeper(clock, setter);
        keeper.setAdjustmentEnabled(adjustment || busy);
        keeper.setRecordsClicks(hourlyOn);
        if (busy)
            keeper.click({});
        keeper.setAdjustmentEnabled(adjustment);
        const int before = int(setter.requests.size());
        QSignalSpy refusals(&keeper, &ClockKeeper::refused);
        if (gesture == int(ClockKeeper::Gesture::Click))
            keeper.click(shouldRead.addMSecs(500)); // the face shows the minute it should
        else if (gesture == int(ClockKeeper::Gesture::Listening))
            keeper.correctTo(shouldRead, clock.steady());
        else
            keeper.correctUnattended(shouldRead, clock.steady());
        const bool sent = setter.requests.size() > before;
        if (sent) {
            QCOMPARE(setter.requests.last().count(), -offsetMs);
            QCOMPARE(setter.prompts.last() == TimeSetter::Prompt::Never, gesture == int(ClockKeeper::Gesture::Hourly));
            setter.answer({Outcome(answer), {}});
        }
        if (busy || !adjustment)
            QVERIFY(!sent);
        if (gesture != int(ClockKeeper::Gesture::Hourly) && (busy || !adjustment))
            QCOMPARE(refusals.size(), 1);
        keeper.waitForFits();
        const auto &recent = keeper.known().recent;
        QString line;
        if (!recent.empty()) {
            QCOMPARE(recent.back().offsetMs, offsetMs);
            const QList<QByteArray> fields = timerecord::lineFor(recent.back()).trimmed().split('\t');
            line = QString::fromLatin1(fields[1] + ' ' + fields[4] + ' ' + fields[3]);
        }
        QCOMPARE(line, recorded);
    }
};

QTEST_MAIN(TestClockKeeper)
#include "tst_clockkeeper.moc"
