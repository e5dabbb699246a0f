#include "core/displaymode.h"
#include "core/nightband.h"

#include <QTest>

namespace {
constexpr int kMonday = 2;
constexpr int kBandHour = 2;     // 02:00, inside the band
constexpr int kDaytimeHour = 12; // outside it
} // namespace

class TestDisplayMode : public QObject
{
    Q_OBJECT
private slots:
    void wholeTable_data()
    {
        QTest::addColumn<DisplaySwitches>("switches");
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("mode");

        struct Row {
            DisplaySwitches s;
            int bandSunday, bandOther, outSunday, outOther;
        };
        // A value in a switch that is not read is set to 9: it must not matter.
        const Row rows[] = {
            {{0, 9, 0, 9, 9}, 1, 1, 1, 1}, {{0, 9, 1, 0, 9}, 8, 8, 1, 1}, {{0, 9, 1, 1, 0}, 4, 4, 1, 1},
            {{0, 9, 1, 1, 1}, 5, 5, 1, 1}, {{1, 0, 0, 9, 9}, 2, 1, 2, 1}, {{1, 0, 1, 0, 9}, 8, 8, 2, 1},
            {{1, 0, 1, 1, 0}, 6, 4, 2, 1}, {{1, 0, 1, 1, 1}, 5, 5, 2, 1}, {{1, 1, 0, 9, 9}, 3, 1, 3, 1},
            {{1, 1, 1, 0, 9}, 8, 8, 3, 1}, {{1, 1, 1, 1, 0}, 7, 4, 3, 1}, {{1, 1, 1, 1, 1}, 5, 5, 3, 1},
            // A switch that is read holding something else: nothing is decided.
            {{2, 0, 0, 1, 0}, 0, 0, 0, 0}, {{1, 5, 0, 1, 0}, 0, 0, 0, 0}, {{0, 0, 2, 1, 0}, 0, 0, 0, 0},
            {{1, 1, -1, 1, 1}, 0, 0, 0, 0}, {{0, 0, 1, 3, 0}, 0, 0, 0, 0}, {{1, 0, 1, 1, 4}, 0, 0, 0, 0},
        };
        for (const Row &r : rows) {
            const QByteArray name = QStringLiteral("sp2=%1 sp2i=%2 tel=%3 s1=%4 s2=%5")
                                        .arg(r.s.sp2).arg(r.s.sp2i).arg(r.s.tel).arg(r.s.telS1).arg(r.s.telS2)
                                        .toLatin1();
            QTest::newRow(name + ", band, Sunday") << r.s << kClockSunday << kBandHour << r.bandSunday;
            QTest::newRow(name + ", band, Monday") << r.s << kMonday << kBandHour << r.bandOther;
            QTest::newRow(name + ", day, Sunday") << r.s << kClockSunday << kDaytimeHour << r.outSunday;
            QTest::newRow(name + ", day, Monday") << r.s << kMonday << kDaytimeHour << r.outOther;
        }
    }
    void wholeTable()
    {
        QFETCH(DisplaySwitches, switches);
        QFETCH(int, weekday);
        QFETCH(int, hour);
        QFETCH(int, mode);
        QCOMPARE(int(displayModeFor(switches, weekday, hour)), mode);
    }

    void bandEdges_data()
    {
        QTest::addColumn<int>("hour");
        QTest::addColumn<bool>("inBand");
        QTest::newRow("07 is the band's last hour") << 7 << true;
        QTest::newRow("08 is outside") << 8 << false;
        QTest::newRow("22 is outside") << 22 << false;
        QTest::newRow("23 starts the band") << 23 << true;
        QTest::newRow("00 is inside") << 0 << true;
    }
    void bandEdges()
    {
        QFETCH(int, hour);
        QFETCH(bool, inBand);
        QCOMPARE(inTelehodaiBand(hour), inBand);
        const DisplaySwitches noticeOnly{0, 0, 1, 1, 0};
        QCOMPARE(int(displayModeFor(noticeOnly, kMonday, hour)), inBand ? 4 : 1);
    }

    // Saturday night into Sunday, with Sunday colour for the weekday and the notice only.
    void weekendNight_data()
    {
        QTest::addColumn<int>("weekday");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("mode");
        QTest::newRow("Saturday 23:30") << 7 << 23 << 4;
        QTest::newRow("Sunday 00:00") << kClockSunday << 0 << 6;
        QTest::newRow("Sunday 08:00") << kClockSunday << 8 << 2;
        QTest::newRow("Monday 00:00") << kMonday << 0 << 4;
    }
    void weekendNight()
    {
        QFETCH(int, weekday);
        QFETCH(int, hour);
        QFETCH(int, mode);
        QCOMPARE(int(displayModeFor({1, 0, 1, 1, 0}, weekday, hour)), mode);
    }
};

QTEST_GUILESS_MAIN(TestDisplayMode)
#include "tst_displaymode.moc"
