#include "clock/mousetarget.h"
#include "clock/driftplot.h"
#include "clock/recordwindow.h"
#include "keeping/clockkeeper.h"
#include "clock/walltimer.h"
#include "platform/translations.h"
#include "settings/form2.h"
#include "support/child.h"
#include "support/clockfixture.h"
#include "support/hourlyrecord.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {
const QDate kMonday(2026, 12, 7);
const QPoint kOnTheDigits(100, 30);
const QPoint kInTheBottomStrip(100, 74);
const QPoint kOnTheAdjustmentSpot(179, 64); // over 秒
const QPoint kOnSecondsUnitLeftOfTheSpot(169, 64);

using Outcome = TimeSetter::Outcome;

struct GestureFixture : ClockFixture {
    Form1 &showAt(const QDateTime &when)
    {
        temp.seedDefaults();
        Form1 &clock = openAt(when);
        clock.show();
        [[maybe_unused]] const bool exposed = QTest::qWaitForWindowExposed(&clock);
        return clock;
    }

    // Double-clicks at `at`; while the dialog is open, `whileOpen` runs and then OK closes it.
    bool doubleClickOpensDialog(QPoint at, const std::function<void(Form2 &)> &whileOpen = {})
    {
        bool opened = false;
        QTimer::singleShot(0, form.get(), [&] {
            auto *dialog = qobject_cast<Form2 *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            opened = true;
            if (whileOpen)
                whileOpen(*dialog);
            child<QPushButton>(dialog, "Command1")->click();
        });
        QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        return opened;
    }

    void click(QPoint at) { QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, at); }

    // Closes the settings dialog with OK as soon as it shows, and notes that it did.
    void closeDialogWhenItOpens(bool *opened)
    {
        QTimer::singleShot(0, form.get(), [opened] {
            if (auto *dialog = qobject_cast<Form2 *>(QApplication::activeModalWidget())) {
                *opened = true;
                child<QPushButton>(dialog, "Command1")->click();
            }
        });
    }
};

enum class Way { RightClick, MenuKey, ShiftF10, ScreenReader };
} // namespace

class TestGestures : public QObject
{
    Q_OBJECT
private slots:
    void doubleClickOpensTheDialog_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("spotEnabled");
        QTest::addColumn<bool>("opens");
        QTest::newRow("on the digits") << kOnTheDigits << true << true;
        QTest::newRow("on empty background") << QPoint(215, 50) << true << true;
        QTest::newRow("in the bottom strip") << kInTheBottomStrip << true << false;
        QTest::newRow("on the enabled adjustment spot") << kOnTheAdjustmentSpot << true << false;
        QTest::newRow("on the disabled adjustment spot") << kOnTheAdjustmentSpot << false << true;
    }
    void doubleClickOpensTheDialog()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, spotEnabled);
        QFETCH(bool, opens);
        GestureFixture f;
        f.showAt(QDateTime(kMonday, QTime(12, 0)));
        f.form->setAdjustmentEnabled(spotEnabled);
        int tab = -1;
        QCOMPARE(f.doubleClickOpensDialog(at, [&](Form2 &dialog) { tab = child<QTabWidget>(&dialog, "SSTab1")->currentIndex(); }), opens);
        if (opens)
            QCOMPARE(tab, 1);
    }

    void dialogOpensOnTheVersionPageEveryTime()
    {
        GestureFixture f;
        f.showAt(QDateTime(kMonday, QTime(12, 0)));
        QVERIFY(f.doubleClickOpensDialog(kOnTheDigits, [](Form2 &dialog) { child<QTabWidget>(&dialog, "SSTab1")->setCurrentIndex(0); }));
        int tab = -1;
        QVERIFY(f.doubleClickOpensDialog(kOnTheDigits, [&](Form2 &dialog) { tab = child<QTabWidget>(&dialog, "SSTab1")->currentIndex(); }));
        QCOMPARE(tab, 1);
    }

    void clockKeepsTickingBehindTheDialog()
    {
        GestureFixture f;
        f.showAt(QDateTime(kMonday, QTime(12, 0)));
        child<WallTimer>(f.form.get(), "Timer1")->setEnabled(true);
        int readsWhileOpen = 0;
        QVERIFY(f.doubleClickOpensDialog(kOnTheDigits, [&](Form2 &) {
            const int before = f.fake.clock.reads();
            QTest::qWait(350);
            readsWhileOpen = f.fake.clock.reads() - before;
        }));
        QVERIFY2(readsWhileOpen >= 2, qPrintable(QString::number(readsWhileOpen)));
    }

    void switchingTheSpotOffInTheDialogStopsClicks()
    {
        GestureFixture f;
        f.showAt(QDateTime(kMonday, QTime(12, 0)));
        QVERIFY(f.doubleClickOpensDialog(kOnTheDigits, [](Form2 &dialog) { child<QCheckBox>(&dialog, "Check1")->click(); }));
        f.click(kOnTheAdjustmentSpot);
        QVERIFY(f.fake.timeSetter.requests.isEmpty());
    }

    // The target is the minute the face shows, on the date it shows it, asked for as a
    // shift from the clock reading at the click.
    void clickSetsTheShownMinute_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QDateTime>("faceDrawnAt");
        QTest::addColumn<QDateTime>("clickAt");
        QTest::addColumn<QDateTime>("target");
        const QDate sunday(2026, 12, 6);
        QTest::newRow("seconds are dropped") << "0" << QDateTime(kMonday, QTime(12, 34, 50))
                                             << QDateTime(kMonday, QTime(12, 34, 50, 300))
                                             << QDateTime(kMonday, QTime(12, 34));
        QTest::newRow("late in the day, same date") << "0" << QDateTime(kMonday, QTime(23, 59, 40))
                                                    << QDateTime(kMonday, QTime(23, 59, 40))
                                                    << QDateTime(kMonday, QTime(23, 59));
        QTest::newRow("click just after midnight, face still before it")
            << "0" << QDateTime(sunday, QTime(23, 59, 59, 900)) << QDateTime(kMonday, QTime(0, 0))
            << QDateTime(sunday, QTime(23, 59));
        // The countdown shows the time left: the clock is set to the minute of the reading.
        QTest::newRow("countdown shown") << "1" << QDateTime(kMonday, QTime(3, 15, 30))
                                         << QDateTime(kMonday, QTime(3, 15, 30, 500))
                                         << QDateTime(kMonday, QTime(3, 15));
        QTest::newRow("face left unrefreshed by an unknown mode") << "2" << QDateTime(kMonday, QTime(12, 34, 50))
                                                                  << QDateTime(kMonday, QTime(12, 36, 10))
                                                                  << QDateTime(kMonday, QTime(12, 36));
    }
    void clickSetsTheShownMinute()
    {
        QFETCH(QString, mode);
        QFETCH(QDateTime, faceDrawnAt);
        QFETCH(QDateTime, clickAt);
        QFETCH(QDateTime, target);
        GestureFixture f;
        f.temp.seed({{Key::Tel, QStringLiteral("1")}, {Key::Mode, QStringLiteral("0")}});
        Form1 &clock = f.showAt(faceDrawnAt); // the time of day first, then what the mode shows
        f.temp.seed({{Key::Tel, QStringLiteral("1")}, {Key::Mode, mode}});
        f.tickAt(faceDrawnAt);

        f.fake.clock.set(clickAt);
        f.click(kOnTheAdjustmentSpot);
        QCOMPARE(f.fake.timeSetter.requests, (QList<std::chrono::milliseconds>{
                                                 std::chrono::milliseconds(clickAt.msecsTo(target))}));

        f.fake.clock.set(target.addMSecs(20));
        f.fake.timeSetter.answer();
        QCOMPARE(child<QLabel>(&clock, "Label4")->text() + child<QLabel>(&clock, "Label5")->text() + child<QLabel>(&clock, "Label6")->text(),
                 target.toString(QStringLiteral("HHmmss")));
        QVERIFY2(clock.accessibleName().endsWith(target.toString(QStringLiteral("HH時mm分ss秒"))),
                 qPrintable(clock.accessibleName()));
    }

    // Authorisation can take minutes; the face must not stand still meanwhile, and a
    // second click must not ask again.
    void faceKeepsTickingWhileTheAnswerIsPending()
    {
        GestureFixture f;
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 50)));
        child<WallTimer>(&clock, "Timer1")->setEnabled(true);
        f.click(kOnTheAdjustmentSpot);
        f.fake.clock.set(QDateTime(kMonday, QTime(12, 34, 53)));
        QTRY_COMPARE(child<QLabel>(&clock, "Label6")->text(), QStringLiteral("53"));
        f.click(kOnTheAdjustmentSpot);
        QCOMPARE(f.fake.timeSetter.requests.size(), 1);
        f.fake.timeSetter.answer();
        QVERIFY(!clock.isAdjusting());
    }

    // The menu (by right-click, the Menu key or Shift+F10) and a screen reader's press
    // reach what the mouse gestures do, and only while they are allowed.
    void everyWayToTheGesturesDoesWhatTheMouseDoes_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("spotEnabled");
        QTest::addColumn<bool>("happens");
        QTest::newRow("right-click, settings") << int(Way::RightClick) << "OpenSettings" << true << true;
        QTest::newRow("Menu key, time signal") << int(Way::MenuKey) << "AdjustToTimeSignal" << true << true;
        QTest::newRow("Shift+F10, time signal switched off") << int(Way::ShiftF10) << "AdjustToTimeSignal" << false
                                                             << false;
        QTest::newRow("right-click, close") << int(Way::RightClick) << "Close" << true << true;
        QTest::newRow("screen reader, settings") << int(Way::ScreenReader) << "OpenSettings" << true << true;
        QTest::newRow("screen reader, time signal") << int(Way::ScreenReader) << "AdjustToTimeSignal" << true << true;
        QTest::newRow("screen reader, time signal switched off") << int(Way::ScreenReader) << "AdjustToTimeSignal"
                                                                 << false << false;
    }
    void everyWayToTheGesturesDoesWhatTheMouseDoes()
    {
        QFETCH(int, way);
        QFETCH(QString, entry);
        QFETCH(bool, spotEnabled);
        QFETCH(bool, happens);
        GestureFixture f;
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 50)));
        clock.setAdjustmentEnabled(spotEnabled);
        clock.activateWindow();
        clock.setFocus();

        const bool settings = entry == QLatin1String("OpenSettings");
        bool dialogOpened = false;
        if (Way(way) == Way::ScreenReader) {
            if (settings)
                f.closeDialogWhenItOpens(&dialogOpened);
            QWidget *target = settings ? static_cast<QWidget *>(child<MouseTarget>(&clock, "Label16")) : child<MouseTarget>(&clock, "Label17");
            QAccessibleInterface *button = QAccessible::queryAccessibleInterface(target);
            QCOMPARE(button->role(), QAccessible::Button);
            button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        } else {
            if (Way(way) == Way::RightClick)
                QTest::mouseClick(clock.windowHandle(), Qt::RightButton, {}, kOnTheDigits);
            else if (Way(way) == Way::MenuKey)
                QTest::keyClick(&clock, Qt::Key_Menu);
            else
                QTest::keyClick(&clock, Qt::Key_F10, Qt::ShiftModifier);
            QTRY_VERIFY(child<QMenu>(&clock, "ContextMenu")->isVisible());
            QAction *action = child<QMenu>(&clock, "ContextMenu")->findChild<QAction *>(entry);
            QVERIFY(action);
            QCOMPARE(action->isEnabled(), spotEnabled);
            if (settings)
                f.closeDialogWhenItOpens(&dialogOpened);
            if (action->isEnabled())
                action->trigger();
        }
        QCoreApplication::processEvents();

        if (settings)
            QCOMPARE(dialogOpened, happens);
        else if (entry == QLatin1String("Close"))
            QCOMPARE(!clock.isVisible() && f.temp.read(Key::Start) == QLatin1String("1"), happens);
        else
            QCOMPARE(f.fake.timeSetter.requests.size(), happens ? 1 : 0);
    }

    // The record on disk, the figure the record window shows and the shift its button sends,
    // both ways: three days of hourly marks, corrected at 0.2 s, then 12 h of silence.
    void recordWindowMovesTheClockBackByTheEstimate_data()
    {
        QTest::addColumn<double>("secondsPerDay");
        QTest::newRow("gains 1 s a day") << 1.0;
        QTest::newRow("loses 1 s a day") << -1.0;
    }
    void recordWindowMovesTheClockBackByTheEstimate()
    {
        QFETCH(double, secondsPerDay);
        using namespace timerecord;
        const QDateTime start(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
        const HourlyRecord heard = hourlyRecord(secondsPerDay, start);
        QByteArray lines;
        for (const Event &event : heard.events)
            lines += lineFor(event);
        QTemporaryDir state;
        TimeRecord record(TimeRecord::pathIn(state.path()));
        QVERIFY(QDir().mkpath(state.path() + "/ravelquint"));
        QFile file(record.path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(lines) == lines.size());
        file.close();
        ClockFixture f;
        Form1 &clock = f.openAt(start.addSecs(84 * 3600).toLocalTime());
        clock.keepRecord(&record);
        clock.show();
        QTRY_VERIFY(clock.keeper()->known().estimate);
        clock.setAdjustmentEnabled(true);
        child<QMenu>(&clock, "ContextMenu")->findChild<QAction *>("ClockRecord")->trigger();
        auto *window = clock.findChild<RecordWindow *>();
        QVERIFY(window);
        QVERIFY(child<QLabel>(window, "Expected")->text().contains(secondsPerDay > 0 ? "+0." : "-0."));
        QTRY_VERIFY(child<QPushButton>(window, "ApplyEstimate")->isEnabled());
        for (const bool syncOn : {true, false}) { // greyed while network sync keeps the time
            f.fake.timeSetter.sync.on = syncOn;
            window->refresh();
            QTRY_COMPARE(child<QPushButton>(window, "ApplyEstimate")->isEnabled(), !syncOn);
        }
        child<QPushButton>(window, "ApplyEstimate")->click();
        QCOMPARE(f.fake.timeSetter.requests.size(), 1);
        QVERIFY2(std::abs(f.fake.timeSetter.requests.first().count() + heard.trueErrorAt(84)) <= 20,
                 qPrintable(QString::number(f.fake.timeSetter.requests.first().count())));
        f.fake.timeSetter.answer();
        QTRY_COMPARE(clock.keeper()->known().recent.back().source, Source::Estimate);
        record.waitForAppends();
        QVERIFY(file.open(QIODevice::ReadOnly) && file.readAll().endsWith("\tset\n"));
        QCOMPARE(clock.toolTip(), QString()); // the record is the hourly listening's to tell
        child<QMenu>(&clock, "ContextMenu")->findChild<QAction *>("ListenEveryHour")->trigger();
        const QString lastSet = RecordWindow::lastSetText(clock.keeper()->known(), f.fake.clock.now().toMSecsSinceEpoch());
        QVERIFY2(!lastSet.isEmpty() && clock.toolTip().contains(lastSet), qPrintable(clock.toolTip()));
        QVERIFY(!child<QTableWidget>(window, "Events")->tabKeyNavigation()); // one stop for Tab
        window->activateWindow();
        QTRY_VERIFY(window->isActiveWindow());
        QTest::keyClick(window, Qt::Key_Escape);
        QTRY_VERIFY(!clock.findChild<RecordWindow *>());
    }

    // The plot's x-axis spans the marks shown: at least a day back, at most 14, and a day ahead.
    void plotSpansTheMarksShown()
    {
        constexpr qint64 kNow = 1'796'000'000'000, kHour = 3'600'000;
        const auto hoursBack = [&](std::vector<qint64> hoursAgo) {
            std::vector<knowledge::Shown> shown;
            for (const qint64 ago : hoursAgo)
                shown.push_back({kNow - ago * kHour, 0});
            const DriftPlot::Span span = DriftPlot::span(shown, kNow);
            return span.toMs == kNow + 24 * kHour ? (kNow - span.fromMs) / kHour : -1;
        };
        QCOMPARE(hoursBack({}), 24);
        QCOMPARE(hoursBack({3, 1}), 24);
        QCOMPARE(hoursBack({72, 1}), 72);
        QCOMPARE(hoursBack({21 * 24, 1}), 14 * 24);
    }

    // Each switch of the menu shows its state as the menu opens, and its letter switches it.
    void menuSwitchesShowAndChangeTheirState_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("letter");
        QTest::newRow("on top") << "StayOnTop" << int(Qt::Key_A);
        QTest::newRow("start at login") << "StartAtLogin" << int(Qt::Key_L);
        QTest::newRow("holidays as Sundays") << "HolidaysAsSundays" << int(Qt::Key_H);
        QTest::newRow("network time sync") << "NetworkTimeSync" << int(Qt::Key_N);
    }
    void menuSwitchesShowAndChangeTheirState()
    {
        QFETCH(QString, entry);
        QFETCH(int, letter);
        GestureFixture f;
        f.fake.timeSetter.sync = {true, false, true};
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 0)));
        const QMap<QString, std::function<bool()>> state{
            {"StayOnTop", [&] { return f.temp.read(Key::OnTop) == "1" && clock.windowHandle()->flags() & Qt::WindowStaysOnTopHint; }},
            {"StartAtLogin", [&] { return f.fake.autostart.enabled; }},
            {"HolidaysAsSundays", [&] { return f.temp.read(Key::Holiday) == "1"; }},
            {"NetworkTimeSync", [&] { return f.fake.timeSetter.sync.on; }}};
        auto *menu = child<QMenu>(&clock, "ContextMenu");
        for (const bool on : {true, false}) {
            QTest::keyClick(&clock, Qt::Key_Menu);
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(menu->findChild<QAction *>(entry)->isChecked(), !on);
            QTest::keyClick(menu, Qt::Key(letter));
            QTRY_COMPARE(state[entry](), on);
        }
        // What another program stored or made meanwhile shows as the menu opens.
        f.temp.seed({{Key::Holiday, QStringLiteral("1")}});
        f.fake.autostart.enabled = true;
        QTest::keyClick(&clock, Qt::Key_Menu);
        QVERIFY(menu->findChild<QAction *>("HolidaysAsSundays")->isChecked());
        QVERIFY(menu->findChild<QAction *>("StartAtLogin")->isChecked());
        QTest::keyClick(menu, Qt::Key_Escape);
        f.temp.seed({{Key::Holiday, QStringLiteral("0")}});
        f.fake.autostart.enabled = false;
        QVERIFY(menu->findChild<QAction *>("ListenToTimeSignal")->isEnabled());
        f.fake.timeSetter.sync = {}; // no time service
        QTest::keyClick(&clock, Qt::Key_Menu);
        QCOMPARE(menu->findChild<QAction *>("NetworkTimeSync")->isEnabled(), false);
        QCOMPARE(menu->findChild<QAction *>("ListenToTimeSignal")->isEnabled(), false);
        QTest::keyClick(menu, Qt::Key_Escape);
        f.fake.timeSetter.sync = {false, false, true}; // a time service, but no network time service
        QTest::keyClick(&clock, Qt::Key_Menu);
        QVERIFY(menu->findChild<QAction *>("ListenToTimeSignal")->isEnabled());
        QTest::keyClick(menu, Qt::Key_Escape);
        // A refused entry is told over the clock, and nothing is checked.
        f.fake.autostart.refusal = QStringLiteral("Read-only file system");
        QTest::keyClick(&clock, Qt::Key_Menu);
        QTest::keyClick(menu, Qt::Key_L);
        QTRY_VERIFY(clock.findChild<QMessageBox *>(QStringLiteral("MenuRefusal")));
        QVERIFY(!f.fake.autostart.enabled);
        // A refused save is told as the dialog tells it, and the switch holds in memory.
        QVERIFY(QFile::remove(f.temp.path() + ".lock") && QDir().mkpath(f.temp.path() + ".lock"));
        QTest::keyClick(&clock, Qt::Key_Menu);
        QTest::keyClick(menu, Qt::Key_H);
        QTRY_VERIFY(clock.findChild<QMessageBox *>(QStringLiteral("SaveRefused")));
        QVERIFY(clock.findChild<QMessageBox *>(QStringLiteral("SaveRefused"))->text().contains(u"変更した設定は"));
        QTest::keyClick(&clock, Qt::Key_Menu);
        QVERIFY(menu->findChild<QAction *>("HolidaysAsSundays")->isChecked());
    }

    // Network sync refuses every change of the time: ask, switch it off, send the same shift.
    void syncOnAsksBeforeSettingTheTime_data()
    {
        QTest::addColumn<bool>("syncService");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<int>("switchAnswer");
        QTest::addColumn<int>("requests");
        QTest::addColumn<QString>("says");
        QTest::newRow("accepted: sync off, the same shift again") << true << true << int(Outcome::Done) << 2 << "";
        QTest::newRow("declined: nothing changes") << true << false << int(Outcome::Done) << 1 << "";
        QTest::newRow("switching sync off refused") << true << true << int(Outcome::NotAuthorised) << 1
                                                    << "ネットワーク時刻同期をオフにできませんでした";
        QTest::newRow("no sync service: no question") << false << true << int(Outcome::Done) << 1 << "先に自動時刻同期をオフに";
    }
    void syncOnAsksBeforeSettingTheTime()
    {
        QFETCH(bool, syncService);
        QFETCH(bool, accept);
        QFETCH(int, switchAnswer);
        QFETCH(int, requests);
        QFETCH(QString, says);
        GestureFixture f;
        f.fake.timeSetter.sync = {syncService, true};
        f.fake.timeSetter.syncSwitchAnswer = {Outcome(switchAnswer), {}};
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 50)));
        f.click(kOnTheAdjustmentSpot);
        f.fake.timeSetter.answer({Outcome::AutomaticSync, {}});
        auto *question = clock.findChild<QMessageBox *>(QStringLiteral("SyncQuestion"));
        QCOMPARE(question != nullptr, syncService);
        if (question) {
            QCOMPARE(question->defaultButton()->text(), QStringLiteral("自動同期をオフにして合わせる"));
            f.click(kOnTheAdjustmentSpot); // pending: ignored
            (accept ? question->defaultButton() : question->escapeButton())->click();
        }
        QCOMPARE(f.fake.timeSetter.requests.size(), requests);
        QCOMPARE(f.fake.timeSetter.requests.last(), f.fake.timeSetter.requests.first());
        if (requests == 2)
            f.fake.timeSetter.answer();
        QCOMPARE(f.fake.timeSetter.syncSwitches, syncService && accept ? QList<bool>{false} : QList<bool>{});
        QVERIFY(!clock.isAdjusting());
        auto *box = clock.findChild<QMessageBox *>(switchAnswer == int(Outcome::Done) ? "AdjustmentFailure" : "SyncSwitchFailure");
        QCOMPARE(box != nullptr, !says.isEmpty());
        if (box)
            QVERIFY2(box->text().contains(says), qPrintable(box->text()));
    }

    void closingWhileAskingKeepsThePlaceAndChangesNothing()
    {
        GestureFixture f;
        f.fake.timeSetter.sync = {true, true};
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 50)));
        f.click(kOnTheAdjustmentSpot);
        f.fake.timeSetter.answer({Outcome::AutomaticSync, {}});
        QPointer<QMessageBox> question = clock.findChild<QMessageBox *>(QStringLiteral("SyncQuestion"));
        QVERIFY(question);
        clock.close();
        QTRY_VERIFY(!question || !question->isVisible());
        QCOMPARE(f.temp.read(Key::Start), QStringLiteral("1"));
        QVERIFY(!clock.isAdjusting());
        QVERIFY(f.fake.timeSetter.syncSwitches.isEmpty());
    }

    void clickBesideTheSpotDoesNothing()
    {
        GestureFixture f;
        f.showAt(QDateTime(kMonday, QTime(12, 0)));
        f.click(kOnSecondsUnitLeftOfTheSpot);
        f.click(kOnTheDigits);
        QVERIFY(f.fake.timeSetter.requests.isEmpty());
        f.form->setAdjustmentEnabled(false);
        f.click(kOnTheAdjustmentSpot);
        QVERIFY(f.fake.timeSetter.requests.isEmpty());
    }

    void refusalIsExplainedAndTheClockRunsOn_data()
    {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("says");
        QTest::newRow("automatic sync") << int(Outcome::AutomaticSync) << "自動時刻同期をオフに";
        QTest::newRow("not authorised") << int(Outcome::NotAuthorised) << "権限が認められませんでした";
        QTest::newRow("no service") << int(Outcome::NoService) << "systemd-timedated";
        QTest::newRow("no answer, which may still come") << int(Outcome::NoAnswer) << "認証されれば、時刻はそのときに合わせられます";
        QTest::newRow("other") << int(Outcome::Failed) << "システムからのメッセージ: Disk on fire";
    }
    void refusalIsExplainedAndTheClockRunsOn()
    {
        QFETCH(int, outcome);
        QFETCH(QString, says);
        GestureFixture f;
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 50)));
        f.click(kOnTheAdjustmentSpot);
        f.fake.timeSetter.answer({Outcome(outcome), QStringLiteral("Disk on fire")});
        QVERIFY(!clock.isAdjusting());
        auto *box = clock.findChild<QMessageBox *>(QStringLiteral("AdjustmentFailure"));
        QVERIFY(box);
        QVERIFY2(box->text().contains(QStringLiteral("12:34:00")), qPrintable(box->text()));
        QVERIFY2(box->text().contains(says), qPrintable(box->text()));
        QCOMPARE(child<QLabel>(&clock, "Label6")->text(), QStringLiteral("50"));
        box->close();
    }

    // Another locale reads the menu in English, with the same access keys, over the same face.
    void anotherLocaleReadsTheMenuInEnglish()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        installTranslations(*QCoreApplication::instance());
        GestureFixture f;
        Form1 &clock = f.showAt(QDateTime(kMonday, QTime(12, 34, 56)));
        auto *menu = clock.findChild<QMenu *>("ContextMenu");
        QCOMPARE(menu->findChild<QAction *>("ListenToTimeSignal")->text(), "Listen and Ad&just to the Time Signal");
        QCOMPARE(f.shown(), "2026 12 07 月 12 34 56");
        QCOMPARE(clock.windowTitle(), "Ravelquint");
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator *>());
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_MAIN(TestGestures)
#include "tst_gestures.moc"
