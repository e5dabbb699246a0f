#include "clock/form1.h"
#include "core/confighome.h"
#include "platform/quitsignals.h"
#include "platform/systemplatform.h"
#include "platform/translations.h"
#include "store/settingsstore.h"
#include "store/timerecord.h"

#include <QApplication>
#include <QPixmapCache>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr int kPixmapCacheKiB = 1024;
constexpr char kNoDisplay[] = "ravelquint: no display to show the clock on (neither DISPLAY nor WAYLAND_DISPLAY "
                              "leads to one)\n";

QStringList g_startMessages; // what Qt said while connecting, told only if it then fails

// Qt ends with abort() and a core dump when no window system answers; a clock without a
// display is no crash, so it says so in one line, then Qt's own reason, and exits 1.
void endQuietlyOnFatal(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg) {
        g_startMessages.append(message);
        return;
    }
    g_startMessages.append(message.section(QLatin1Char('\n'), 0, 0));
    QByteArray text(kNoDisplay);
    for (const QString &line : std::as_const(g_startMessages))
        text += "ravelquint: " + line.toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text.constData(), size_t(text.size()));
    ::_exit(1);
}
} // namespace

int main(int argc, char *argv[])
{
    // Started with 0, 1 or 2 closed, the first socket would take its number and a warning
    // written to "stderr" would go into the X connection.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", O_RDWR); // takes the lowest free number: this one
    }
    // Before anything slow: a stop during start-up must still end the orderly way.
    QuitSignals::catchFromNowOn();
    // A closed stderr must not end the clock at its next warning.
    std::signal(SIGPIPE, SIG_IGN);
    // A Wayland client cannot place its own window, so X (XWayland) comes first; where
    // there is none, the clock still runs, unplaced.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fputs(kNoDisplay, stderr);
            return 1;
        }
        // Only what is there is tried: a failed try at either adds its own lines to stderr.
        const bool x = !qEnvironmentVariableIsEmpty("DISPLAY");
        const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        qputenv("QT_QPA_PLATFORM", x && wayland ? "xcb;wayland" : x ? "xcb" : "wayland");
    }
    const QtMessageHandler standard = qInstallMessageHandler(endQuietlyOnFatal);
    QApplication app(argc, argv);
    qInstallMessageHandler(standard);
    g_startMessages.clear();
    // The style caches the settings dialog's rendered controls; Qt's default of 10 MB
    // would grow the clock by a third over a few dozen openings, for nothing it needs.
    QPixmapCache::setCacheLimit(kPixmapCacheKiB);
    installTranslations(app);

    const QString config = configHome();
    SystemPlatform platform(config, DesktopAutostart::runningProgram(),
                            {QCoreApplication::applicationDirPath(),
                             QCoreApplication::applicationDirPath() + QStringLiteral("/../" RAVELQUINT_MODULE_DIR)});
    SettingsStore store(SettingsStore::filePathIn(config));
    TimeRecord record(TimeRecord::pathIn(stateHome()));
    Form1 clock(store, platform.platform());
    clock.keepRecord(&record);

    QuitSignals quitSignals;
    // Closing saves the place and answers open questions; the quit follows at once rather
    // than waiting for Qt to see the last window go.
    QObject::connect(&quitSignals, &QuitSignals::received, &app, [] {
        QApplication::closeAllWindows();
        QCoreApplication::quit();
    });

    clock.show();
    const int code = app.exec();
    // Qt's Wayland client can deadlock stopping its event thread as the application object
    // goes (the main thread waits for a thread waiting on it): about one stop in forty
    // never ended. So can Qt's D-Bus thread, still waiting on a system bus that never
    // answered. All the clock keeps is on disk by now, so it leaves without that teardown.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || platform.timeSetter.isConnecting()) {
        store.waitForSaves();
        record.waitForAppends();
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
