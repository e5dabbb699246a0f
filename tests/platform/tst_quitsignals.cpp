#include "platform/quitsignals.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>

// Each stop signal becomes an orderly Qt signal instead of ending the process, also when
// it arrives before anything is there to report it.
class TestQuitSignals : public QObject
{
    Q_OBJECT
private slots:
    void stopSignalIsReportedNotFatal_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("beforeTheReporterExists");
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGINT") << SIGINT << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGTERM during start-up") << SIGTERM << true;
    }
    void stopSignalIsReportedNotFatal()
    {
        QFETCH(int, number);
        QFETCH(bool, beforeTheReporterExists);
        QuitSignals::catchFromNowOn();
        if (beforeTheReporterExists)
            ::raise(number);
        QuitSignals reporter;
        QSignalSpy received(&reporter, &QuitSignals::received);
        if (!beforeTheReporterExists)
            ::raise(number);
        QTRY_COMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toInt(), number);
    }

    void defaultHandlersReturnWithTheReporter()
    {
        { QuitSignals reporter; }
        for (const int number : {SIGTERM, SIGINT, SIGHUP}) {
            struct sigaction now = {};
            ::sigaction(number, nullptr, &now);
            QVERIFY(now.sa_handler == SIG_DFL);
        }
    }
};

QTEST_GUILESS_MAIN(TestQuitSignals)
#include "tst_quitsignals.moc"
