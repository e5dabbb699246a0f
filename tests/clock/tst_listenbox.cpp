#include "clock/listenbox.h"
#include "clock/timesignalprompts.h"
#include "support/child.h"
#include "support/fakes.h"
#include "support/synthsignal.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

using namespace std::chrono_literals;
using Outcome = TimeSetter::Outcome;

namespace {
const QDateTime kMinute(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
}

class TestListenBox : public QObject
{
    Q_OBJECT
private slots:
    void outcome_data()
    {
        QTest::addColumn<QString>("audio");   // "signal", "silence" or "no server"
        QTest::addColumn<int>("answer");      // the time service's first answer
        QTest::addColumn<bool>("cancel");     // Esc before anything is heard
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("warning"); // a refusal told over the clock
        QTest::addColumn<QStringList>("secondsLeft"); // as the box opens, and then a second later
        const QStringList full{"残り 75 秒"};
        QTest::newRow("heard and set") << "signal" << int(Outcome::Done) << false << 1 << "時刻を合わせました" << ""
                                       << full;
        QTest::newRow("heard and refused") << "signal" << int(Outcome::NotAuthorised) << false << 1
                                           << "合わせられませんでした" << "AdjustmentFailure" << full;
        QTest::newRow("sync question") << "signal" << int(Outcome::AutomaticSync) << false << 2
                                       << "時刻を合わせました" << "" << full;
        QTest::newRow("cancelled") << "signal" << int(Outcome::Done) << true << 0 << "" << "" << QStringList{""};
        QTest::newRow("timed out, too quiet") << "silence" << int(Outcome::Done) << false << 0
                                              << "マイクがミュートになっていないか" << ""
                                              << QStringList{"残り 2 秒", "残り 1 秒"};
        QTest::newRow("no audio server") << "no server" << int(Outcome::Done) << false << 0
                                         << "録音できません: no server" << "" << QStringList{""};
    }
    void outcome()
    {
        QFETCH(QString, audio);
        QFETCH(int, answer);
        QFETCH(bool, cancel);
        QFETCH(int, requests);
        QFETCH(QString, says);
        QFETCH(QString, warning);
        QFETCH(QStringList, secondsLeft);
        FakePlatform fake;
        fake.timeSetter.sync = {true, true};
        fake.clock.set(kMinute.addSecs(10).toLocalTime());
        QWidget window;
        TimeSignal timeSignal(fake.clock, fake.timeSetter, &window);
        new TimeSignalPrompts(&timeSignal, &window);
        fake.audioCapture.refusal = audio == QLatin1String("no server") ? QStringLiteral("no server") : QString();
        auto *box = new ListenBox(fake.audioCapture, &timeSignal, &window, audio == QLatin1String("silence") ? 1500ms : 75s);
        auto *status = child<QLabel>(box, "ListenStatus");
        if (cancel)
            QTest::keyClick(box, Qt::Key_Escape);
        QCOMPARE(child<QLabel>(box, "SecondsLeft")->text(), secondsLeft.first());
        if (secondsLeft.size() > 1)
            QTRY_COMPARE(child<QLabel>(box, "SecondsLeft")->text(), secondsLeft.last());
        // The clock runs 0.43 s ahead: the mark arrives at 12:00:00.430 by it.
        synth::Signal signal{48000, 6, 4};
        const std::vector<float> samples = audio == QLatin1String("signal") ? synth::timeSignal(signal)
                                                                             : std::vector<float>(4800, 0.0f);
        if (audio != QLatin1String("no server"))
            fake.audioCapture.play(samples, 48000, double(kMinute.toMSecsSinceEpoch()) + 430 - 4000);
        if (requests > 0) {
            QCOMPARE(fake.timeSetter.requests.first(), -430ms);
            QVERIFY2(status->text().contains(QStringLiteral("時計は 0.43 秒進んでいました。")), qPrintable(status->text()));
            fake.timeSetter.answer({Outcome(answer), {}});
        }
        if (requests == 2) {
            auto *question = window.findChild<QMessageBox *>(QStringLiteral("SyncQuestion"));
            QVERIFY(question);
            question->defaultButton()->click();
            fake.timeSetter.answer();
        }
        QCOMPARE(fake.timeSetter.requests.size(), requests);
        QTRY_VERIFY2(status->text().contains(says), qPrintable(status->text()));
        QVERIFY(!fake.audioCapture.running);
        QCOMPARE(window.findChild<QMessageBox *>(QStringLiteral("AdjustmentFailure")) != nullptr, !warning.isEmpty());
    }

    void offsetInWords_data()
    {
        QTest::addColumn<double>("offsetMs");
        QTest::addColumn<QString>("text");
        QTest::newRow("ahead") << 430.0 << "時計は 0.43 秒進んでいました。";
        QTest::newRow("behind") << -25'000.0 << "時計は 25.00 秒遅れていました。";
        QTest::newRow("right") << 2.0 << "時計は合っていました。";
    }
    void offsetInWords()
    {
        QFETCH(double, offsetMs);
        QFETCH(QString, text);
        QCOMPARE(offsetText(offsetMs), text);
    }
};

QTEST_MAIN(TestListenBox)
#include "tst_listenbox.moc"
