#include "store/timerecord.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace timerecord;

class TestTimeRecord : public QObject
{
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("readable");
        QTest::newRow("hourly, set") << QByteArray("2026-12-08T01:00:00.012Z\thourly\t430\t-430\tset") << true;
        QTest::newRow("click behind, sync on") << QByteArray("2026-12-08T01:00:00.000Z\tclick\t-2000\t0\tsync-on") << true;
        QTest::newRow("local time") << QByteArray("2026-12-08T10:00:00.000\thourly\t430\t0\tset") << false;
        QTest::newRow("unknown source") << QByteArray("2026-12-08T01:00:00.000Z\tntp\t430\t0\tset") << false;
        QTest::newRow("offset not a number") << QByteArray("2026-12-08T01:00:00.000Z\thourly\t4.3e2\t0\tset") << false;
        QTest::newRow("a field short") << QByteArray("2026-12-08T01:00:00.000Z\thourly\t430\tset") << false;
        QTest::newRow("unknown outcome") << QByteArray("2026-12-08T01:00:00.000Z\thourly\t430\t0\tmaybe") << false;
    }
    void lines()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, readable);
        const auto event = parseLine(line);
        QCOMPARE(event.has_value(), readable);
        if (!event)
            return;
        QCOMPARE(lineFor(*event), line + '\n');
        qputenv("TZ", "Asia/Tokyo"); // written in UTC whatever the zone the time comes in
        QCOMPARE(lineFor({event->utc.toLocalTime(), event->source, event->offsetMs, event->shiftMs, event->outcome}),
                 line + '\n');
    }

    void keepsTheLastLines()
    {
        QByteArray text;
        for (int i = 0; i < kKeptLines; ++i)
            text += QByteArray::number(i) + '\n';
        const QByteArray kept = appended(text.chopped(1), "new\n"); // an unended last line is ended first
        QCOMPARE(kept.count('\n'), kKeptLines);
        QVERIFY(kept.startsWith("1\n2\n") && kept.endsWith("19999\nnew\n"));
    }

    // A bad line stays in the file; a file made read-only is kept, and said so once.
    void appendsBesideWhatItCannotRead()
    {
        QTemporaryDir home;
        TimeRecord record(TimeRecord::pathIn(home.path()));
        const Event event{QDateTime(QDate(2026, 12, 8), QTime(1, 0), Qt::UTC), Source::Hourly, 430, -430, Outcome::Set};
        record.append(event);
        record.waitForAppends();
        QFile file(record.path());
        QVERIFY(file.open(QIODevice::Append) && file.write("garbage\n") > 0);
        file.close();
        record.append(event);
        record.waitForAppends();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("1 行を読めない")));
        const Parsed parsed = record.read();
        QCOMPARE(parsed.events, (std::vector<Event>{event, event}));
        QCOMPARE(parsed.unreadableLines, 1);
        const int held = ::open(QFile::encodeName(record.path() + ".lock").constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(held >= 0 && ::flock(held, LOCK_EX) == 0); // another clock's append under way
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("記録を書き足せません")));
        record.append(event);
        record.waitForAppends();
        ::close(held);
        QCOMPARE(record.read().events.size(), std::size_t(2));
        QVERIFY(::chmod(QFile::encodeName(record.path()).constData(), 0444) == 0);
        record.append(event); // told once, as the lock's was: a second line would fail the test
        record.waitForAppends();
        QCOMPARE(record.read().events.size(), std::size_t(2));
    }
};

QTEST_GUILESS_MAIN(TestTimeRecord)
#include "tst_timerecord.moc"
