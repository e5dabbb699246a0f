#include "clock/form1.h"
#include "clock/mousetarget.h"
#include "clock/walltimer.h"
#include "core/holidays.h"
#include "support/child.h"
#include "support/clockfixture.h"

#include <QFile>
#include <QFontMetrics>
#include <QSaveFile>
#include <QSessionManager>
#include <QScreen>
#include <QTest>

namespace {
const QDate kSunday(2026, 12, 6);
const QDate kMonday(2026, 12, 7);
const QColor kNormal(1, 2, 3), kSundayColour(4, 5, 6), kTelehodai(7, 8, 9);
const QColor kDesignGreen(0, 255, 0);

QString colourText(const QColor &c) { return QString::number(c.red() | c.green() << 8 | c.blue() << 16); }

// The stored switches sp2, sp2i, tel, tel_s1, tel_s2 (and holiday, when given) and mode,
// and distinct colours.
void seedSwitches(TempStore &temp, const QString &switches, const QString &mode = QStringLiteral("0"))
{
    const QStringList v = switches.split(QLatin1Char(' '));
    temp.seedDefaults();
    temp.seed({{Key::Holiday, v.value(5, QStringLiteral("0"))}});
    temp.seed({{Key::Sp2, v[0]}, {Key::Sp2i, v[1]}, {Key::Tel, v[2]}, {Key::TelS1, v[3]}, {Key::TelS2, v[4]},
               {Key::Mode, mode}, {Key::ColorF, colourText(kNormal)}, {Key::ColorS, colourText(kSundayColour)},
               {Key::ColorTel, colourText(kTelehodai)}});
}
} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void firstRunWritesTheDefaultsAndNoMarker()
    {
        ClockFixture f;
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        Form1 &form = f.open();
        const std::pair<Key, const char *> expected[] = {
            {Key::Sp1, "1"},    {Key::Sp2, "0"},   {Key::Sp2i, "0"},      {Key::Tel, "0"},
            {Key::TelS1, "1"},  {Key::TelS2, "0"}, {Key::Mode, "0"},      {Key::ColorB, "0"},
            {Key::ColorF, "65280"}, {Key::ColorS, "255"}, {Key::ColorTel, "16744576"}};
        for (const auto &[key, value] : expected)
            QCOMPARE(f.temp.read(key), QLatin1String(value));
        QVERIFY(!f.temp.contains(Key::Start));
        QVERIFY(!f.temp.contains(Key::Top));
        QVERIFY(!form.testAttribute(Qt::WA_Moved));
    }

    // A marker written off X has no place with it: the next start on X says nothing of that.
    void markerWithoutAPlaceStartsQuietly()
    {
        ClockFixture f;
        f.temp.seedDefaults();
        f.temp.writeRaw(f.temp.rawText().replace("top=1500\n", "").replace("left=3000\n", ""));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QVERIFY(!f.open().testAttribute(Qt::WA_Moved));
    }

    // Only X11 says where a window is: elsewhere (offscreen, Wayland) the stored place is kept.
    void closingStoresThePositionAndTheMarker_data()
    {
        QTest::addColumn<bool>("placesWindows");
        QTest::addColumn<QByteArray>("info");
        QTest::newRow("X11") << true << QByteArray("[info]\ntop=600\nleft=1500\nstart=1\n");
        QTest::newRow("a window system that places windows") << false << QByteArray("[info]\ntop=15\nleft=15\nstart=1\n");
    }
    void closingStoresThePositionAndTheMarker()
    {
        QFETCH(bool, placesWindows);
        QFETCH(QByteArray, info);
        ClockFixture f;
        f.temp.seed({{Key::Top, QStringLiteral("15")}, {Key::Left, QStringLiteral("15")}});
        f.fake.placesWindows = placesWindows;
        Form1 &form = f.open();
        form.show();
        form.move(100, 40);
        QCOMPARE(child<QTimer>(&form, "SettledPlace")->isActive(), placesWindows); // no place saved where the system places
        f.temp.store().waitForSaves();
        const int writes = f.temp.store().writeCount();
        form.close();
        QCOMPARE(f.temp.store().writeCount(), writes + 1);
        // New entries join their section in the order they were written: the marker last.
        QVERIFY2(f.temp.rawText().contains(info), f.temp.rawText().constData());
    }

    // Only where the digits stood is repainted, not the boxes they overlap: what the screen
    // holds after each change is what a whole paint would draw.
    void changedDigitsLeaveNothingBehind()
    {
        ClockFixture f;
        Form1 &form = f.open();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        for (const QTime &time : {QTime(11, 11, 11), QTime(18, 48, 48), QTime(23, 0, 7), QTime(23, 11, 11), QTime()}) {
            if (time.isValid())
                f.tickAt(QDateTime(kMonday, time));
            else // wider than any before: its box grows
                child<ClockLabel>(&form, "Label6")->setCaption(QStringLiteral("8888"));
            QTRY_COMPARE(form.screen()->grabWindow(form.winId()).toImage(), form.grab().toImage());
        }
    }

    // A bare X session ends with its server, before any signal: a move must be on disk by then.
    void settledMoveIsSavedWhileTheClockRuns()
    {
        ClockFixture f;
        Form1 &form = f.open();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        f.temp.store().waitForSaves(); // the first run's defaults
        const int writes = f.temp.store().writeCount();
        for (const int x : {120, 110, 100})
            form.move(x, 40);
        QTRY_COMPARE(f.temp.read(Key::Left), QStringLiteral("1500"));
        QCOMPARE(f.temp.store().writeCount(), writes + 1); // once settled, not at every move
        QCOMPARE(f.temp.read(Key::Top), QStringLiteral("600"));
        QCOMPARE(f.temp.read(Key::Start), QStringLiteral("1")); // a place on disk is a place restored
    }

    // A session checkpoint, or a logout that is then cancelled, must not close the clock.
    void sessionCheckpointSavesThePlaceAndKeepsTheWindow()
    {
        ClockFixture f;
        Form1 &form = f.open();
        form.show();
        form.move(100, 40);
        alignas(QSessionManager) char manager[sizeof(QSessionManager)] = {};
        Q_EMIT qApp->commitDataRequest(*reinterpret_cast<QSessionManager *>(manager));
        QVERIFY(form.isVisible());
        QCOMPARE(f.temp.read(Key::Top), QStringLiteral("600"));
        QCOMPARE(f.temp.read(Key::Start), QStringLiteral("1"));
        form.move(200, 40);
        form.close(); // a checkpoint is no unload: closing still saves the place
        QCOMPARE(f.temp.read(Key::Left), QStringLiteral("3000"));
    }

    // The README's way to start afresh, done while the clock runs: two restarts later the
    // store is whole, with the choice made meanwhile and the defaults for the rest.
    void storeDeletedUnderARunningClockIsWholeAgain()
    {
        ClockFixture f;
        f.temp.seedDefaults();
        f.open();
        QVERIFY(QFile::remove(f.temp.path()));
        f.tickAt(QDateTime(kMonday, QTime(12, 0, 1)));
        f.temp.seed({{Key::Tel, QStringLiteral("1")}});
        f.form->close();
        f.form.reset();

        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); // the program's own extras come quietly
        for (const KeyInfo &info : kKeys) {
            if (info.firstRunDefault && info.key != Key::Tel && int(info.key) < int(kFirstExtra))
                QTest::ignoreMessage(QtWarningMsg, qPrintable(QStringLiteral("[%1] %2: 値がありません。「%3」を書きます")
                                                                  .arg(QLatin1String(info.section),
                                                                       QLatin1String(info.name),
                                                                       QLatin1String(info.firstRunDefault))));
        }
        f.temp.store().refresh();
        f.open();
        f.form->close();
        f.temp.store().refresh();
        f.open();
        for (const KeyInfo &info : kKeys)
            QVERIFY2(f.temp.contains(info.key), info.name);
        QCOMPARE(f.temp.read(Key::Tel), QStringLiteral("1"));
        QCOMPARE(f.temp.read(Key::ColorTel), QStringLiteral("16744576"));
    }

    void laterRunRestoresAPositionOnScreen_data()
    {
        QTest::addColumn<QString>("top");
        QTest::addColumn<QString>("left");
        QTest::addColumn<bool>("moved");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("on screen") << "1500" << "3000" << true << QPoint(200, 100);
        QTest::newRow("partly left of and above the screen") << "-300" << "-1500" << true << QPoint(-100, -20);
        QTest::newRow("fractional twips") << "1507.5" << "2992.4" << true << QPoint(199, 101);
        QTest::newRow("on a monitor no longer there") << "1500" << "150000" << false << QPoint();
        QTest::newRow("wholly above the screen") << "-3000" << "0" << false << QPoint();
    }
    void laterRunRestoresAPositionOnScreen()
    {
        QFETCH(QString, top);
        QFETCH(QString, left);
        QFETCH(bool, moved);
        QFETCH(QPoint, position);
        ClockFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::Top, top}, {Key::Left, left}});
        Form1 &form = f.open();
        QCOMPARE(form.testAttribute(Qt::WA_Moved), moved);
        if (moved)
            QCOMPARE(form.pos(), position);
    }

    // A later run leaves hand edits for the user to mend, and the window where the system put it.
    void laterRunLeavesUnreadableHandEditsAsTheyAre()
    {
        ClockFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::Top, QStringLiteral("middle")}, {Key::Tel, QStringLiteral("yes")}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\[info\\] top: 「middle」")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\[setup\\] tel: 「yes」")));
        QVERIFY(!f.open().testAttribute(Qt::WA_Moved));
        QCOMPARE(f.temp.read(Key::Tel), QStringLiteral("yes"));
    }

    // A first run that was killed before it closed must not undo what the user chose meanwhile.
    void repeatedFirstRunKeepsValidChoices()
    {
        ClockFixture f;
        f.temp.seed({{Key::Sp2, QStringLiteral("1")}, {Key::ColorF, QStringLiteral("255")},
                     {Key::Tel, QStringLiteral("yes")}, {Key::ColorS, QStringLiteral("-4")}});
        QTest::ignoreMessage(QtWarningMsg, "[setup] tel: 「yes」は正しい値ではありません。「0」を書きます");
        QTest::ignoreMessage(QtWarningMsg, "[color] color_s: 「-4」は正しい値ではありません。「255」を書きます");
        f.open();
        QCOMPARE(f.temp.read(Key::Sp2), QStringLiteral("1"));
        QCOMPARE(f.temp.read(Key::ColorF), QStringLiteral("255"));
        QCOMPARE(f.temp.read(Key::Tel), QStringLiteral("0"));
        QCOMPARE(f.temp.read(Key::ColorS), QStringLiteral("255"));
        QCOMPARE(f.temp.read(Key::TelS1), QStringLiteral("1"));
        QVERIFY(!f.temp.contains(Key::Start));
    }

    void captions_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("shown");
        QTest::newRow("year 2000, one-digit fields padded") << QDateTime(QDate(2000, 3, 5), QTime(0, 0, 0))
                                                            << "2000 03 05 日 00 00 00";
        QTest::newRow("Saturday night") << QDateTime(QDate(2026, 12, 12), QTime(23, 59, 59)) << "2026 12 12 土 23 59 59";
        QTest::newRow("Monday") << QDateTime(kMonday, QTime(12, 34, 56)) << "2026 12 07 月 12 34 56";
        QTest::newRow("Wednesday") << QDateTime(QDate(2026, 12, 9), QTime(9, 5, 1)) << "2026 12 09 水 09 05 01";
    }
    void captions()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, shown);
        ClockFixture f;
        f.openAt(when);
        QCOMPARE(f.shown(), shown);
        QCOMPARE(child<QLabel>(f.form.get(), "Label15")->text(), QStringLiteral("テレホーダイ終了まで"));
    }

    void colouring_data()
    {
        QTest::addColumn<QString>("switches"); // sp2 sp2i tel tel_s1 tel_s2
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QColor>("values");
        QTest::addColumn<QColor>("weekday");
        QTest::addColumn<QColor>("units");
        QTest::addColumn<bool>("noticeShown");
        const QDateTime mondayNoon(kMonday, QTime(12, 0)), sundayNoon(kSunday, QTime(12, 0));
        const QDateTime mondayNight(kMonday, QTime(23, 0)), sundayNight(kSunday, QTime(2, 0));
        QTest::newRow("plain") << "0 0 0 1 0" << mondayNoon << kNormal << kNormal << kNormal << false;
        QTest::newRow("Sunday, weekday only") << "1 0 0 1 0" << sundayNoon << kNormal << kSundayColour << kNormal << false;
        QTest::newRow("Sunday, all text") << "1 1 0 1 0" << sundayNoon << kSundayColour << kSundayColour
                                          << kSundayColour << false;
        QTest::newRow("Sunday colouring on a Monday") << "1 1 0 1 0" << mondayNoon << kNormal << kNormal << kNormal
                                                      << false;
        QTest::newRow("band, notice only") << "0 0 1 1 0" << mondayNight << kNormal << kNormal << kNormal << true;
        QTest::newRow("band, all text") << "0 0 1 1 1" << mondayNight << kTelehodai << kTelehodai << kTelehodai << true;
        QTest::newRow("band on Sunday, weekday in Sunday colour") << "1 0 1 1 0" << sundayNight << kNormal
                                                                  << kSundayColour << kNormal << true;
        QTest::newRow("band on Sunday, all in Sunday colour") << "1 1 1 1 0" << sundayNight << kSundayColour
                                                              << kSundayColour << kSundayColour << true;
        QTest::newRow("band, notice off, even on Sunday") << "1 0 1 0 0" << sundayNight << kTelehodai << kTelehodai
                                                          << kTelehodai << false;
        QTest::newRow("band with Telehodai off") << "1 1 0 1 1" << sundayNight << kSundayColour << kSundayColour
                                                 << kSundayColour << false;
        const QDateTime comingOfAgeDay(QDate(2027, 1, 11), QTime(12, 0)); // a Monday
        QTest::newRow("holiday as Sunday") << "1 0 0 1 0 1" << comingOfAgeDay << kNormal << kSundayColour << kNormal << false;
        QTest::newRow("holiday, holidays not asked for") << "1 0 0 1 0 0" << comingOfAgeDay << kNormal << kNormal << kNormal
                                                         << false;
        QTest::newRow("holiday, Sunday colouring off") << "0 0 0 1 0 1" << comingOfAgeDay << kNormal << kNormal << kNormal
                                                       << false;
    }
    void colouring()
    {
        QFETCH(QString, switches);
        QFETCH(QDateTime, when);
        QFETCH(QColor, values);
        QFETCH(QColor, weekday);
        QFETCH(QColor, units);
        QFETCH(bool, noticeShown);
        ClockFixture f;
        seedSwitches(f.temp, switches);
        Form1 &form = f.openAt(when);
        for (const char *name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"})
            QCOMPARE(textColour(child<QLabel>(&form, name)), values);
        QCOMPARE(textColour(child<QLabel>(&form, "Label7")), weekday);
        for (const char *name : {"Label8", "Label9", "Label10", "Label11", "Label12", "Label13", "Label14"})
            QCOMPARE(textColour(child<QLabel>(&form, name)), units);
        QCOMPARE(!child<QLabel>(&form, "Label15")->isHidden(), noticeShown);
        const bool holidayAsked = switches.split(QLatin1Char(' ')).value(5) == QLatin1String("1");
        QCOMPARE(form.toolTip(), holidayAsked ? QStringLiteral("成人の日") : QString());
        f.tickAt(when);
        f.temp.seed({{Key::Holiday, holidayAsked ? QStringLiteral("0") : QStringLiteral("1")}}); // switched meanwhile
        f.tickAt(when); // within the same second
        QCOMPARE(form.toolTip().isEmpty(), holidayAsked || japaneseHoliday(when.date()).isEmpty());
        if (noticeShown)
            QCOMPARE(textColour(child<QLabel>(&form, "Label15")), kTelehodai);
    }

    void noticeFollowsTheBandAcrossADay()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 0"));
        Form1 &form = f.openAt(QDateTime(kMonday, QTime(7, 59, 59)));
        QVERIFY(!child<QLabel>(&form, "Label15")->isHidden());
        f.tickAt(QDateTime(kMonday, QTime(8, 0, 0)));
        QVERIFY(child<QLabel>(&form, "Label15")->isHidden());
        QCOMPARE(textColour(child<QLabel>(&form, "Label15")), kTelehodai);
        QCOMPARE(textColour(child<QLabel>(&form, "Label4")), kNormal);
        f.tickAt(QDateTime(kMonday, QTime(22, 59, 59)));
        QVERIFY(child<QLabel>(&form, "Label15")->isHidden());
        f.tickAt(QDateTime(kMonday, QTime(23, 0, 0)));
        QVERIFY(!child<QLabel>(&form, "Label15")->isHidden());
    }

    // Drawn in a substitute face, the widest caption of each label still fits its box.
    void everyCaptionFitsItsBox_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("caption");
        QTest::newRow("year") << "Label1" << "2000";
        for (const char *label : {"Label2", "Label3", "Label4", "Label5", "Label6"})
            QTest::addRow("%s", label) << label << "08";
        QTest::newRow("notice") << "Label15" << "テレホーダイ終了まで";
        QTest::newRow("weekday unit") << "Label11" << "曜日";
    }
    void everyCaptionFitsItsBox()
    {
        QFETCH(QString, label);
        QFETCH(QString, caption);
        ClockFixture f;
        const QLabel *box = f.open().findChild<QLabel *>(label);
        f.form->show(); // the design font comes once the window is up
        QTRY_VERIFY(box->font().pixelSize() > 12);
        const int width = QFontMetrics(box->font()).horizontalAdvance(caption);
        QVERIFY2(width <= box->width(), qPrintable(QStringLiteral("%1 wide in %2").arg(width).arg(box->width())));
    }

    // A hand-edited switch that decides nothing leaves the last colouring on screen.
    void unknownSwitchValueKeepsThePreviousColouring()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 1"));
        Form1 &form = f.openAt(QDateTime(kMonday, QTime(23, 0)));
        f.temp.seed({{Key::Tel, QStringLiteral("2")}, {Key::ColorTel, QStringLiteral("0")}});
        f.tickAt(QDateTime(kMonday, QTime(23, 0, 1)));
        QCOMPARE(textColour(child<QLabel>(&form, "Label4")), kTelehodai);
        QVERIFY(!child<QLabel>(&form, "Label15")->isHidden());
        QCOMPARE(child<QLabel>(&form, "Label6")->text(), QStringLiteral("01"));
    }

    void unconvertibleColourReadsAsItsDefault()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 0 1 0"));
        f.temp.seed({{Key::ColorF, QStringLiteral("16777216")}, {Key::ColorB, QStringLiteral("navy")}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("color_b: 「navy」")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("color_f: 「16777216」")));
        Form1 &form = f.open();
        QCOMPARE(textColour(child<QLabel>(&form, "Label1")), kDesignGreen);
        QCOMPARE(form.palette().color(QPalette::Window), QColor(Qt::black));
        // One that goes bad while the clock runs, too: the Sunday colour's default is red.
        f.temp.seed({{Key::ColorF, QStringLiteral("255")}, {Key::ColorS, QStringLiteral("red")}, {Key::Sp2, QStringLiteral("1")}});
        f.tickAt(QDateTime(kSunday, QTime(12, 0)));
        QCOMPARE(textColour(child<QLabel>(&form, "Label7")), QColor(255, 0, 0));
    }

    void backgroundAndAdjustmentSpotFollowTheStore()
    {
        ClockFixture f;
        f.temp.seedDefaults();
        f.temp.seed({{Key::ColorB, QStringLiteral("16711680")}, {Key::Sp1, QStringLiteral("0")}});
        Form1 &form = f.open();
        QCOMPARE(form.palette().color(QPalette::Window), QColor(0, 0, 255));
        QVERIFY(!child<MouseTarget>(&form, "Label17")->isEnabled());
    }

    void counter_data()
    {
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("shown");
        QTest::newRow("22:59:59 shows the time") << QDateTime(kMonday, QTime(22, 59, 59)) << "2026 12 07 月 22 59 59";
        QTest::newRow("23:00:00 nine hours left") << QDateTime(kMonday, QTime(23, 0, 0)) << "2026 12 07 月 09 00 00";
        QTest::newRow("midnight keeps the real date") << QDateTime(kSunday, QTime(0, 0, 0)) << "2026 12 06 日 08 00 00";
        QTest::newRow("07:59:59 one second left") << QDateTime(kMonday, QTime(7, 59, 59)) << "2026 12 07 月 00 00 01";
        QTest::newRow("08:00:00 shows the time") << QDateTime(kMonday, QTime(8, 0, 0)) << "2026 12 07 月 08 00 00";
    }
    void counter()
    {
        QFETCH(QDateTime, when);
        QFETCH(QString, shown);
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 0"), QStringLiteral("1"));
        f.openAt(when.addSecs(-3600));
        f.tickAt(when);
        QCOMPARE(f.shown(), shown);
        QCOMPARE(f.temp.read(Key::Mode), QStringLiteral("1"));
    }

    void counterNeedsTelehodaiMode()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 0 1 0"), QStringLiteral("1"));
        f.openAt(QDateTime(kMonday, QTime(3, 15, 30)));
        QCOMPARE(f.shown(), QStringLiteral("2026 12 07 月 03 15 30"));
    }

    void unknownModeLeavesTheDisplayUnrefreshed()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 0"), QStringLiteral("2"));
        f.openAt(QDateTime(kMonday, QTime(3, 15, 30)));
        f.tickAt(QDateTime(kMonday, QTime(3, 15, 31)));
        QCOMPARE(f.shown(), QStringLiteral("2000 08 25 金 23 59 59"));
    }

    // Time passes while a refresh runs; everything shown must still come from one instant.
    void refreshNeverShowsATimeThatNeverWas_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("consistent");
        QTest::newRow("clock") << "0" << QStringList{"2026 12 06 日 23 59 59", "2026 12 07 月 00 00 00"};
        QTest::newRow("counter") << "1" << QStringList{"2026 12 06 日 08 00 01", "2026 12 07 月 08 00 00"};
    }
    void refreshNeverShowsATimeThatNeverWas()
    {
        QFETCH(QString, mode);
        QFETCH(QStringList, consistent);
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 0"), mode);
        f.fake.clock.advanceOnEachRead(1);
        f.openAt(QDateTime(kSunday, QTime(23, 59, 59, 999)));
        QVERIFY2(consistent.contains(f.shown()), qPrintable(f.shown()));
        f.tickAt(QDateTime(kSunday, QTime(23, 59, 59, 999)));
        QVERIFY2(consistent.contains(f.shown()), qPrintable(f.shown()));
    }

    void tickSeesAnotherProcessChange()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 0 1 0"));
        Form1 &form = f.openAt(QDateTime(kMonday, QTime(12, 0)));
        QSaveFile edit(f.temp.path());
        QVERIFY(edit.open(QIODevice::WriteOnly));
        edit.write(f.temp.rawText().replace("color_f=" + colourText(kNormal).toLatin1(), "color_f=255"));
        QVERIFY(edit.commit());
        f.tickAt(QDateTime(kMonday, QTime(12, 0, 1)));
        QCOMPARE(textColour(child<QLabel>(&form, "Label1")), QColor(255, 0, 0));
    }

    void badSwitchIsReportedOnceAndReadAsDefault()
    {
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 x 1 0"), QStringLiteral("1"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\[setup\\] tel: 「x」")));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        f.openAt(QDateTime(kMonday, QTime(3, 0)));
        for (int second = 1; second < 5; ++second)
            f.tickAt(QDateTime(kMonday, QTime(3, 0, second)));
        QCOMPARE(f.shown(), QStringLiteral("2026 12 07 月 03 00 04"));
    }

    void accessibleNameSaysWhatTheFaceShows_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QDateTime>("when");
        QTest::addColumn<QString>("name");
        QTest::newRow("time of day") << "0" << QDateTime(kMonday, QTime(12, 34, 56))
                                     << "2026年12月07日 月曜日 12時34分56秒";
        QTest::newRow("countdown") << "1" << QDateTime(kSunday, QTime(23, 30, 0))
                                   << "2026年12月06日 日曜日 テレホーダイ終了まで 08時間30分00秒";
    }
    void accessibleNameSaysWhatTheFaceShows()
    {
        QFETCH(QString, mode);
        QFETCH(QDateTime, when);
        QFETCH(QString, name);
        ClockFixture f;
        seedSwitches(f.temp, QStringLiteral("0 0 1 1 0"), mode);
        Form1 &form = f.openAt(when.addSecs(-1));
        f.tickAt(when);
        QCOMPARE(form.accessibleName(), name);
    }

    void timerIsRunningAfterLoad()
    {
        TempStore temp;
        FakePlatform fake;
        Form1 form(temp.store(), fake.platform());
        QVERIFY(child<WallTimer>(&form, "Timer1")->isEnabled());
        QCOMPARE(child<WallTimer>(&form, "Timer1")->interval(), 100);
        QCOMPARE(form.size(), QSize(225, 76));
        QCOMPARE(form.windowTitle(), QStringLiteral("Ravelquint"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
