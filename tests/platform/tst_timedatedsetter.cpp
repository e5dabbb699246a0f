#include "platform/timedatedsetter.h"

#include <QDBusConnectionInterface>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Outcome = TimeSetter::Outcome;
const QString kBusName = QStringLiteral("org.freedesktop.timedate1");
// A click at 12:34:50.250 asks for 12:34:00.
constexpr std::chrono::milliseconds kShift(-50'250);
} // namespace

// The real setter against a stand-in timedated on a private bus: nothing here can reach
// the machine's own clock.
class TestTimedatedSetter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_daemon.start(QStringLiteral(RAVELQUINT_DBUS_DAEMON),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--address=unix:path=%1/bus").arg(m_dir.path())});
        QVERIFY2(m_daemon.waitForStarted(), "dbus-daemon is needed for this test");
        QVERIFY(m_daemon.waitForReadyRead(5000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(m_address, QStringLiteral("private")));
        QVERIFY(m_bus->isConnected());
    }

    void cleanupTestCase()
    {
        m_bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("private"));
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }

    void cleanup()
    {
        m_mock.terminate();
        m_mock.waitForFinished();
        QTRY_VERIFY(!m_bus->interface()->isServiceRegistered(kBusName));
    }

    void answers_data()
    {
        QTest::addColumn<QString>("parameters");
        QTest::addColumn<int>("timeoutMs");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("accepted") << "{}" << 5000 << int(Outcome::Done) << "";
        QTest::newRow("automatic sync on") << R"({"NTP": true})" << 5000 << int(Outcome::AutomaticSync) << "";
        QTest::newRow("access denied")
            << R"({"Refuse": "org.freedesktop.DBus.Error.AccessDenied", "Message": "Access denied"})" << 5000
            << int(Outcome::NotAuthorised) << "Access denied";
        QTest::newRow("polkit refused") << R"({"Refuse": "org.freedesktop.PolicyKit1.Error.NotAuthorized"})" << 5000
                                        << int(Outcome::NotAuthorised) << "";
        QTest::newRow("asked without a prompt, which the system wants")
            << R"({"Refuse": "org.freedesktop.DBus.Error.InteractiveAuthorizationRequired"})" << 5000
            << int(Outcome::NeedsAuthorisation) << "";
        QTest::newRow("some other failure")
            << R"({"Refuse": "org.freedesktop.DBus.Error.IOError", "Message": "RTC is broken"})" << 5000
            << int(Outcome::Failed) << "RTC is broken";
        QTest::newRow("no answer in time") << R"({"Delay": 3})" << 400 << int(Outcome::NoAnswer) << "";
    }
    void answers()
    {
        QFETCH(QString, parameters);
        QFETCH(int, timeoutMs);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        startMock(parameters);
        if (QTest::currentTestFailed())
            return;
        TimedatedSetter setter(*m_bus, timeoutMs);
        const bool prompt = outcome != int(Outcome::NeedsAuthorisation); // unattended, it never prompts
        const auto result = setAndWait(setter, prompt ? TimeSetter::Prompt::Allowed : TimeSetter::Prompt::Never);
        QVERIFY(result.has_value());
        QCOMPARE(int(result->outcome), outcome);
        if (!message.isEmpty())
            QCOMPARE(result->systemMessage, message);
        if (outcome != int(Outcome::NoAnswer))
            QVERIFY2(callLog().contains(QStringLiteral("SetTime -50250000 True %1").arg(prompt ? "True" : "False")),
                     qPrintable(callLog()));
    }

    // CanNTP false: no sync service to switch off, so no question; no service: the time cannot be set.
    void networkSyncAsTheServiceTellsIt_data()
    {
        QTest::addColumn<QString>("parameters"); // empty: no time service on the bus
        QTest::addColumn<QString>("read");       // sync service, sync on, the service answered
        QTest::newRow("sync off") << "{}" << "1 0 1";
        QTest::newRow("sync on") << R"({"NTP": true})" << "1 1 1";
        QTest::newRow("no sync service, though NTP reads on") << R"({"CanNTP": false, "NTP": true})" << "0 1 1";
        QTest::newRow("no time service") << "" << "0 0 0";
    }
    void networkSyncAsTheServiceTellsIt()
    {
        QFETCH(QString, parameters);
        QFETCH(QString, read);
        if (!parameters.isEmpty())
            startMock(parameters);
        TimedatedSetter setter(*m_bus, 5000);
        QString state;
        setter.readNetworkSync([&](const TimeSetter::SyncState &s) {
            state = QStringLiteral("%1 %2 %3").arg(int(s.available)).arg(int(s.on)).arg(int(s.serviceAnswers));
        });
        QTRY_COMPARE_WITH_TIMEOUT(state, read, 10000);
    }

    void noServiceOnTheBus()
    {
        TimedatedSetter setter(*m_bus, 5000);
        const auto result = setAndWait(setter);
        QVERIFY(result.has_value());
        QCOMPARE(result->outcome, Outcome::NoService);
    }

    void noBusAtAll()
    {
        const QDBusConnection nowhere = QDBusConnection::connectToBus(
            QStringLiteral("unix:path=%1/nothing-here").arg(m_dir.path()), QStringLiteral("nowhere"));
        TimedatedSetter setter(nowhere, 5000);
        const auto result = setAndWait(setter);
        QVERIFY(result.has_value());
        QCOMPARE(result->outcome, Outcome::NoService);
    }

    // A system bus that takes the connection and never answers: the calls come back "not
    // answering" after the bounded wait, and the caller's thread is never held.
    void muteSystemBus()
    {
        QLocalServer mute;
        QVERIFY(mute.listen(m_dir.filePath(QStringLiteral("mute"))));
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + QFile::encodeName(mute.fullServerName()));
        TimedatedSetter setter;
        const auto result = setAndWait(setter); // a caller held on the bus would never see it
        QVERIFY(result && result->outcome == Outcome::NoAnswer);
        QVERIFY(setter.isConnecting());
        mute.close(); // the waiting thread is let go
    }

private:
    void startMock(const QString &parameters)
    {
        QFile::remove(logPath());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        m_mock.setProcessEnvironment(env);
        m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_mock.start(QStringLiteral(RAVELQUINT_PYTHON),
                     {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                      QStringLiteral("--template"), QStringLiteral(RAVELQUINT_MOCK_TIMEDATED),
                      QStringLiteral("--parameters"), parameters, QStringLiteral("--logfile"), logPath()});
        QVERIFY(m_mock.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(m_bus->interface()->isServiceRegistered(kBusName), 10000);
    }

    std::optional<TimeSetter::Result> setAndWait(TimedatedSetter &setter,
                                                 TimeSetter::Prompt prompt = TimeSetter::Prompt::Allowed)
    {
        std::optional<TimeSetter::Result> result;
        setter.shiftClock(kShift, [&](const TimeSetter::Result &r) { result = r; }, prompt);
        [[maybe_unused]] const bool answered = QTest::qWaitFor([&] { return result.has_value(); }, 10000);
        return result;
    }

    QString logPath() const { return m_dir.filePath(QStringLiteral("calls.log")); }
    QString callLog() const
    {
        QFile log(logPath());
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QTemporaryDir m_dir;
    QProcess m_daemon;
    QProcess m_mock;
    QString m_address;
    std::unique_ptr<QDBusConnection> m_bus;
};

int main(int argc, char *argv[])
{
    qputenv("TZ", "Asia/Tokyo");
    QCoreApplication app(argc, argv);
    TestTimedatedSetter test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_timedatedsetter.moc"
