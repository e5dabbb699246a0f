// How long a 100 ms timer stands still while a save waits: on a lock another program holds
// for good (the save is refused after 2 s), and on a disk whose sync takes 3 s. Beside it,
// the same waits made on the timer's own thread, as saves were once made.
#include "core/safefile.h"
#include "store/settingsstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/syscall.h>
#include <unistd.h>

static bool g_slowDisk = false;
extern "C" int fdatasync(int fd)
{
    if (g_slowDisk)
        QThread::sleep(3);
    return int(::syscall(SYS_fdatasync, fd));
}

namespace {
// The longest gap between ticks while `work` runs, and how long it ran.
std::pair<qint64, qint64> longestGap(const std::function<void()> &work)
{
    qint64 longest = 0, took = 0;
    QElapsedTimer sinceTick, running;
    QTimer tick;
    tick.setInterval(100);
    QObject::connect(&tick, &QTimer::timeout, [&] { longest = std::max(longest, sinceTick.restart()); });
    QTimer::singleShot(350, [&] {
        running.start();
        work();
        took = running.elapsed();
        QTimer::singleShot(350, qApp, &QCoreApplication::quit);
    });
    sinceTick.start();
    tick.start();
    QCoreApplication::exec();
    return {longest, took};
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ravelquint/ravelquint.conf"));
    SettingsStore store(path);
    store.SaveSetting(Key::Tel, QStringLiteral("0"));
    const int held = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(), O_RDWR | O_CLOEXEC);

    std::printf("100 ms timer beside a save      longest gap   save took\n");
    ::flock(held, LOCK_EX);
    auto [gap, took] = longestGap([&] { store.SaveSetting(Key::Mode, QStringLiteral("1")); });
    std::printf("lock held, store's save         %6lld ms    %6lld ms\n", gap, took);
    std::tie(gap, took) = longestGap([&] { safefile::Lock(QFile::encodeName(path) + ".lock", 2000); });
    std::printf("lock held, on the timer's thread %4lld ms    %6lld ms\n", gap, took);
    ::flock(held, LOCK_UN);

    g_slowDisk = true;
    std::tie(gap, took) = longestGap([&] { store.SaveSetting(Key::Mode, QStringLiteral("1")); });
    std::printf("3 s sync, store's save          %6lld ms    %6lld ms\n", gap, took);
    std::tie(gap, took) = longestGap([&] { ::fdatasync(held); });
    std::printf("3 s sync, on the timer's thread %6lld ms    %6lld ms\n", gap, took);
    return 0;
}
