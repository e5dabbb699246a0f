#include "platform/desktopautostart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {
const QString kProgram = QStringLiteral("/usr/bin/ravelquint");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}
} // namespace

class TestDesktopAutostart : public QObject
{
    Q_OBJECT
private slots:
    // Checked against the Desktop Entry rules: reserved characters quoted, '"', '`', '$'
    // and '\' escaped inside the quotes, '%' doubled, and the string's own escapes on top.
    void execValue_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/ravelquint" << "/usr/bin/ravelquint";
        QTest::newRow("space") << "/opt/my clock/ravelquint" << "\"/opt/my clock/ravelquint\"";
        QTest::newRow("percent") << "/opt/100%/ravelquint" << "/opt/100%%/ravelquint";
        QTest::newRow("quote") << "/opt/a\"b/ravelquint" << "\"/opt/a\\\\\"b/ravelquint\"";
        QTest::newRow("backslash") << "/opt/a\\b/ravelquint" << "\"/opt/a\\\\\\\\b/ravelquint\"";
        QTest::newRow("single quote") << "/opt/it's/ravelquint" << "\"/opt/it's/ravelquint\"";
        QTest::newRow("dollar") << "/opt/$HOME/ravelquint" << "\"/opt/\\\\$HOME/ravelquint\"";
        QTest::newRow("non-ASCII") << "/opt/時計/ravelquint" << "/opt/時計/ravelquint";
        QTest::newRow("tab") << "/opt/a\tb/ravelquint" << "\"/opt/a\\tb/ravelquint\"";
        QTest::newRow("newline") << "/opt/a\nb/ravelquint" << "\"/opt/a\\nb/ravelquint\"";
    }
    void execValue()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(DesktopAutostart::execValue(program), exec);
        QCOMPARE(DesktopAutostart::programOf(exec), program);
        QVERIFY(!exec.contains(QLatin1Char('\n')) && !exec.contains(QLatin1Char('\t')));
    }

    // The user's own entry: the mark says whether it really starts this clock, switching on
    // enables it in place, switching off hides it; only the program's own entry is removed.
    void usersEntry_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QByteArray>("afterOn");  // empty: the program's own entry
        QTest::addColumn<QByteArray>("afterOff"); // empty: removed
        const QByteArray ours = DesktopAutostart::entryFor(kProgram);
        QTest::newRow("the program's own") << ours << true << QByteArray() << QByteArray();
        QTest::newRow("hidden by the user")
            << QByteArray("[Desktop Entry]\nHidden=true\nExec=/usr/bin/ravelquint\n# mine\n") << false
            << QByteArray("[Desktop Entry]\nHidden=false\nExec=/usr/bin/ravelquint\n# mine\n")
            << QByteArray("[Desktop Entry]\nHidden=true\nExec=/usr/bin/ravelquint\n# mine\n");
        QTest::newRow("disabled the GNOME way")
            << QByteArray("[Desktop Entry]\nExec=/usr/bin/ravelquint\nX-GNOME-Autostart-enabled=false\n") << false
            << QByteArray("[Desktop Entry]\nExec=/usr/bin/ravelquint\nX-GNOME-Autostart-enabled=true\n")
            << QByteArray("[Desktop Entry]\nHidden=true\nExec=/usr/bin/ravelquint\nX-GNOME-Autostart-enabled=false\n");
        QTest::newRow("another program") << QByteArray("[Desktop Entry]\nExec=/usr/bin/xclock -digital\n") << false
                                         << QByteArray("[Desktop Entry]\nExec=/usr/bin/ravelquint\n")
                                         << QByteArray("[Desktop Entry]\nHidden=true\nExec=/usr/bin/xclock -digital\n");
        QTest::newRow("this program, edited") << QByteArray("[Desktop Entry]\nName=Clock\nExec=/usr/bin/ravelquint\n")
                                              << true << QByteArray("[Desktop Entry]\nName=Clock\nExec=/usr/bin/ravelquint\n")
                                              << QByteArray("[Desktop Entry]\nHidden=true\nName=Clock\nExec=/usr/bin/ravelquint\n");
    }
    void usersEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, enabled);
        QFETCH(QByteArray, afterOn);
        QFETCH(QByteArray, afterOff);
        QTemporaryDir home;
        DesktopAutostart autostart(home.path(), QFile::encodeName(kProgram));
        writeAll(autostart.path(), entry);
        QCOMPARE(autostart.isEnabled(), enabled);
        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        QCOMPARE(readAll(autostart.path()), afterOn.isEmpty() ? entry : afterOn);
        writeAll(autostart.path(), entry);
        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!autostart.isEnabled());
        QCOMPARE(QFile::exists(autostart.path()), !afterOff.isEmpty());
        if (!afterOff.isEmpty())
            QCOMPARE(readAll(autostart.path()), afterOff);
    }

    // Refused with a reason, and nothing written anywhere.
    void refusals_data()
    {
        QTest::addColumn<QString>("place"); // what stands at the entry's path
        QTest::addColumn<QByteArray>("program"); // as /proc/self/exe gives it
        const QByteArray program = QFile::encodeName(kProgram);
        QTest::newRow("no home") << "no home" << program;
        QTest::newRow("dangling link") << "dangling link" << program;
        QTest::newRow("link to a device") << "device link" << program;
        QTest::newRow("a path that is not UTF-8") << "" << QByteArray("/opt/\xE8\xA8/ravelquint");
        QTest::newRow("a Latin-1 path") << "" << QByteArray("/opt/caf\xE9/ravelquint");
        QTest::newRow("no path at all, as Qt gives for those") << "" << QByteArray();
        QTest::newRow("folder linked to another user's, as root") << "foreign folder" << program;
    }
    void refusals()
    {
        QFETCH(QString, place);
        QFETCH(QByteArray, program);
        QVERIFY(DesktopAutostart::runningProgram().endsWith("/tst_desktopautostart")); // what the program passes
        QTemporaryDir home;
        DesktopAutostart autostart(place == QLatin1String("no home") ? QString() : home.path(), program);
        const QString target = home.filePath(QStringLiteral("target"));
        QDir().mkpath(home.filePath(QStringLiteral("autostart")));
        if (place == QLatin1String("dangling link"))
            QVERIFY(QFile::link(target, autostart.path()));
        if (place == QLatin1String("device link"))
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), autostart.path()));
        if (place == QLatin1String("foreign folder")) {
            if (::geteuid() != 0)
                QSKIP("needs root, to own a folder as another user");
            QVERIFY(QDir(home.filePath(QStringLiteral("autostart"))).removeRecursively() && QDir().mkdir(target));
            QVERIFY(::chown(QFile::encodeName(target).constData(), 65534, 65534) == 0);
            QVERIFY(QFile::link(target, home.filePath(QStringLiteral("autostart"))));
        }
        QVERIFY(!autostart.setEnabled(true));
        QVERIFY2(autostart.why().problem != Autostart::Problem::System || !autostart.why().systemMessage.isEmpty(),
                 "a reason");
        QVERIFY(!QFileInfo(target).isFile() && QDir(target).isEmpty());
        QCOMPARE(QDir(home.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{});
        if (place == QLatin1String("device link"))
            QVERIFY(QFileInfo(QStringLiteral("/dev/null")).exists() && !QFileInfo(QStringLiteral("/dev/null")).isFile());
    }
};

QTEST_GUILESS_MAIN(TestDesktopAutostart)
#include "tst_desktopautostart.moc"
