#include "core/holidays.h"

#include <QFile>
#include <QSet>
#include <QTest>

// The rules against the dates the Cabinet Office announced (and, past 2027, the same
// rules as another implementation computes them), and one row for each kind of rule.
class TestHolidays : public QObject
{
    Q_OBJECT
private slots:
    void everyDayOf1990To2050IsAsAnnounced()
    {
        QFile list(QStringLiteral(RAVELQUINT_HOLIDAY_LIST));
        QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
        QSet<QDate> announced;
        while (!list.atEnd()) {
            const QByteArray line = list.readLine();
            if (!line.startsWith('#'))
                announced.insert(QDate::fromString(QString::fromUtf8(line.left(10)), Qt::ISODate));
        }
        QCOMPARE(announced.size(), 1058);
        int compared = 0;
        QStringList disagreements;
        for (QDate day(1990, 1, 1); day.year() <= 2050; day = day.addDays(1), ++compared) {
            if (japaneseHoliday(day).isEmpty() == announced.contains(day))
                disagreements << day.toString(Qt::ISODate) + QLatin1Char(' ') + japaneseHoliday(day);
        }
        qInfo("%d days compared, %lld disagreements", compared, qlonglong(disagreements.size()));
        QVERIFY2(disagreements.isEmpty(), qPrintable(disagreements.join(QLatin1String(", "))));
    }

    void eachKindOfRule_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("between two holidays") << QDate(2026, 9, 22) << "国民の休日";
        QTest::newRow("after an equinox on a Sunday") << QDate(2027, 3, 22) << "振替休日";
        QTest::newRow("2019 accession") << QDate(2019, 5, 1) << "天皇の即位の日";
        QTest::newRow("2019, between the accession and 昭和の日") << QDate(2019, 4, 30) << "国民の休日";
        QTest::newRow("2020 games") << QDate(2020, 7, 24) << "スポーツの日";
        QTest::newRow("next day that is no holiday, from 2007") << QDate(2008, 5, 6) << "振替休日";
        QTest::newRow("成人の日 on the 15th until 1999") << QDate(1999, 1, 15) << "成人の日";
        QTest::newRow("second Monday from 2000") << QDate(2000, 1, 10) << "成人の日";
        QTest::newRow("second Monday of 1999 is none") << QDate(1999, 1, 11) << "";
        QTest::newRow("ordinary Monday") << QDate(2026, 12, 7) << "";
        QTest::newRow("spring equinox 2051") << QDate(2051, 3, 21) << "春分の日";
        QTest::newRow("autumn equinox 2099") << QDate(2099, 9, 23) << "秋分の日";
        QTest::newRow("no equinox guessed past 2099") << QDate(2100, 3, 19) << "";
        QTest::newRow("a holiday of its own after a Sunday holiday") << QDate(2008, 5, 5) << "こどもの日";
        QTest::newRow("Monday 4 May after a Sunday 3 May, 1992") << QDate(1992, 5, 4) << "振替休日";
        QTest::newRow("Monday 4 May after a Sunday 3 May, 1998") << QDate(1998, 5, 4) << "振替休日";
        QTest::newRow("29 April before 昭和の日") << QDate(2006, 4, 29) << "みどりの日";
        QTest::newRow("元日 on a Sunday in 2062") << QDate(2062, 1, 2) << "振替休日";
    }
    void eachKindOfRule()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QCOMPARE(japaneseHoliday(date), name);
    }
};

QTEST_GUILESS_MAIN(TestHolidays)
#include "tst_holidays.moc"
