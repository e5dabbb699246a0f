#include "clock/listenbox.h"
#include "clock/timesignalprompts.h"
#include "support/child.h"
#include "support/fakes.h"
#include "support/synthsignal.h"

#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
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
        QTest::addColumn<int>("syncAnswer");  // to the sync question: 1 switch off, 0 keep it, -1 none
        QTest::addColumn<bool>("cancel");     // Esc before anything is heard
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("lastSentence");
        QTest::addColumn<QString>("warning"); // a refusal told over the clock
        QTest::addColumn<QStringList>("secondsLeft"); // as the box opens, and then a second later
        const QStringList full{"残り 75 秒"};
        QTest::newRow("heard and set") << "signal" << int(Outcome::Done) << -1 << false << 1 << "時刻を合わせました。"
                                       << "" << full;
        QTest::newRow("heard and refused") << "signal" << int(Outcome::NotAuthorised) << -1 << false << 1
                                           << "時刻は変わっていません。" << "AdjustmentFailure" << full;
        QTest::newRow("sync switched off") << "signal" << int(Outcome::AutomaticSync) << 1 << false << 2
                                           << "時刻を合わせました。" << "" << full;
        QTest::newRow("sync kept on") << "signal" << int(Outcome::AutomaticSync) << 0 << false << 1
                                      << "時刻は変わっていません。" << "" << full;
        QTest::newRow("cancelled") << "signal" << int(Outcome::Done) << -1 << true << 0 << "" << "" << QStringList{""};
        QTest::newRow("timed out, too quiet") << "silence" << int(Outcome::Done) << -1 << false << 0
                                              << "時刻は変わっていません。" << "" << QStringList{"残り 2 秒", "残り 1 秒"};
        QTest::newRow("no audio server") << "no server" << int(Outcome::Done) << -1 << false << 0
                                         << "時刻は変わっていません。" << "" << QStringList{""};
    }
    void outcome()
    {
        QFETCH(QString, audio);
        QFETCH(int, answer);
        QFETCH(int, syncAnswer);
        QFETCH(bool, cancel);
        QFETCH(int, requests);
        QFETCH(QString, lastSentence);
        QFETCH(QString, warning);
        QFETCH(QStringList, secondsLeft);
        FakePlatform fake;
        fake.timeSetter.sync = {true, true};
        fake.clock.set(kMinute.addSecs(10).toLocalTime());
        QWidget window;
        ClockKeeper keeper(fake.clock, fake.timeSetter, &window);
        new TimeSignalPrompts(&keeper, &window);
        if (audio == QLatin1String("no server"))
            fake.audioCapture.refusal = AudioCapture::Failure{AudioCapture::Problem::NoServer, "Connection refused"};
        auto *listener = new Listener(fake.audioCapture, fake.clock, audio == QLatin1String("silence") ? 1500ms : 75s);
        auto *box = new ListenBox(listener, &keeper, &window);
        connect(listener, &Listener::heard, &keeper,
                [&](const Listener::Mark &mark) { keeper.correctTo(mark.minute, mark.steady); });
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
        const double wallAhead = double(fake.clock.now().toMSecsSinceEpoch() - fake.clock.steady().count());
        if (audio != QLatin1String("no server"))
            fake.audioCapture.play(samples, 48000, double(kMinute.toMSecsSinceEpoch()) + 430 - 4000 - wallAhead);
        if (requests > 0) {
            QCOMPARE(fake.timeSetter.requests.first(), -430ms);
            QVERIFY2(status->text().contains(QStringLiteral("時計は 0.43 秒進んでいました。")), qPrintable(status->text()));
            fake.timeSetter.answer({Outcome(answer), {}});
        }
        if (syncAnswer >= 0) {
            auto *question = window.findChild<QMessageBox *>(QStringLiteral("SyncQuestion"));
            QVERIFY(question);
            (syncAnswer == 1 ? question->defaultButton() : question->escapeButton())->click();
            if (syncAnswer == 1)
                fake.timeSetter.answer();
        }
        QCOMPARE(fake.timeSetter.requests.size(), requests);
        QTRY_VERIFY2(status->text().endsWith(lastSentence), qPrintable(status->text()));
        QVERIFY(!fake.audioCapture.running);
        QCOMPARE(window.findChild<QMessageBox *>(QStringLiteral("AdjustmentFailure")) != nullptr, !warning.isEmpty());
        if (cancel)
            return;
        // Every word shows: the label has the room its text asks for, and the bar is gone.
        QVERIFY(child<QProgressBar>(box, "InputLevel")->isHidden());
        box->adjustSize();
        QVERIFY(status->height() >= status->heightForWidth(status->width()));
        QVERIFY(box->rect().contains(status->geometry()));
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
        QCOMPARE(ListenBox::offsetText(offsetMs), text);
    }
};

QTEST_MAIN(TestListenBox)
#include "tst_listenbox.moc"
