#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "support/tempstore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTest>
#include <functional>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// The store's syncs and renames land here: a disk that fails them can be staged in this binary.
static bool g_failSync = false, g_failRename = false;
extern "C" int rename(const char *from, const char *to)
{
    return g_failRename ? (errno = EBUSY, -1) : int(::syscall(SYS_rename, from, to));
}
static std::function<void()> g_duringSync;
extern "C" int fdatasync(int fd)
{
    if (g_failSync)
        return errno = EIO, -1;
    if (g_duringSync)
        std::exchange(g_duringSync, {})();
    return int(::syscall(SYS_fdatasync, fd));
}

// Runs once, at the store's next try for its lock.
static std::function<void()> g_atLockTry;
extern "C" int flock(int fd, int operation)
{
    if (g_atLockTry)
        std::exchange(g_atLockTry, {})();
    return int(::syscall(SYS_flock, fd, operation));
}

namespace {
enum class Refusal {
    FolderIsAFile, ReadOnlyFolder, ReadOnlyConfigHome, FullDisk, Device, FailedSync, FailedRename, LockHeld, FifoAtLock,
    LinkToAnotherUsersFile, DanglingLink, ReadOnlyFile, UnreadableFile, UnreadableOnceLoaded, LinkAtLock,
    LinkToAnotherUsersFolder, AnotherUsersConfigHome
};
enum class Rewrite { Atomic, InPlace, AtLinkTarget, FolderMadeAnew };
int g_heldLock = -1; // another clock's lock, held while a row runs
constexpr uid_t kNobody = 65534;

QByteArray contents(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs `save` in a child process as an ordinary user (root passes every permission
// check) and returns what it answered; a null text where privileges cannot be dropped.
QString asOrdinaryUser(const std::function<QString()> &save)
{
    if (::geteuid() != 0)
        return {};
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(1);
        const QByteArray answer = save().toUtf8();
        [[maybe_unused]] const ssize_t written = ::write(channel[1], answer.constData(), size_t(answer.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray answer;
    char buffer[256];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, n);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? QString::fromUtf8(answer) : QString();
}

// A settings path whose next save the system will refuse, holding "tel=0" where it can;
// a null text, with the reason in `skip`, where this machine cannot stage the refusal.
QString prepare(Refusal refusal, QTemporaryDir &dir, const char **skip)
{
    const QString folder = dir.filePath(QStringLiteral("ravelquint"));
    const QString path = folder + QStringLiteral("/ravelquint.conf");
    QDir().mkpath(folder);
    SettingsStore(path).SaveSetting(Key::Tel, QStringLiteral("0"));
    switch (refusal) {
    case Refusal::FolderIsAFile: {
        QDir(folder).removeRecursively();
        QFile blocker(folder);
        [[maybe_unused]] const bool made = blocker.open(QIODevice::WriteOnly);
        break;
    }
    case Refusal::ReadOnlyFolder: {
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ::chmod(QFile::encodeName(path).constData(), 0666); // the file itself may be written, and is theirs
        [[maybe_unused]] const int theirs = ::chown(QFile::encodeName(path).constData(), kNobody, kNobody);
        ::chmod(QFile::encodeName(folder).constData(), 0555);
        break;
    }
    case Refusal::FullDisk: {
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=16k") != 0)
            return *skip = "needs the right to mount a small tmpfs (root)", QString();
        SettingsStore(path).SaveSetting(Key::Tel, QStringLiteral("0"));
        QFile filler(folder + QStringLiteral("/filler"));
        [[maybe_unused]] const bool opened = filler.open(QIODevice::WriteOnly);
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        break;
    }
    case Refusal::Device: {
        const QString device = dir.filePath(QStringLiteral("full"));
        if (::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
            return *skip = "needs the right to make a device node (root)", QString();
        QFile::remove(path);
        QFile::link(device, path);
        break;
    }
    case Refusal::ReadOnlyConfigHome:
        QDir(folder).removeRecursively();
        ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
        break;
    case Refusal::LockHeld:
        g_heldLock = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(), O_RDWR | O_CLOEXEC);
        ::flock(g_heldLock, LOCK_EX);
        break;
    case Refusal::ReadOnlyFile:
    case Refusal::UnreadableFile:
    case Refusal::UnreadableOnceLoaded:
        ::chmod(QFile::encodeName(path).constData(), refusal == Refusal::ReadOnlyFile ? 0444 : 0200);
        if (refusal != Refusal::ReadOnlyFile) { // root reads anything: the save runs as its owner
            ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
            [[maybe_unused]] const int theirs = ::chown(QFile::encodeName(folder).constData(), kNobody, kNobody)
                                                + ::chown(QFile::encodeName(path).constData(), kNobody, kNobody)
                                                + ::chown(QFile::encodeName(path + ".lock").constData(), kNobody, kNobody);
        }
        break;
    case Refusal::LinkAtLock:
        QFile::remove(path + QStringLiteral(".lock"));
        QFile::link(dir.filePath(QStringLiteral("elsewhere")), path + QStringLiteral(".lock"));
        break;
    case Refusal::LinkToAnotherUsersFolder: {
        if (::geteuid() != 0)
            return *skip = "needs root, to own a folder as another user", QString();
        QDir(folder).removeRecursively();
        const QString theirs = dir.filePath(QStringLiteral("theirs"));
        QDir().mkpath(theirs);
        [[maybe_unused]] const int owned = ::chown(QFile::encodeName(theirs).constData(), kNobody, kNobody);
        QFile::link(theirs, folder);
        break;
    }
    case Refusal::AnotherUsersConfigHome: { // the folder is ours, the one above it is not
        if (::geteuid() != 0)
            return *skip = "needs root, to own a folder as another user", QString();
        [[maybe_unused]] const int theirs = ::chown(QFile::encodeName(dir.path()).constData(), kNobody, kNobody);
        break;
    }
    case Refusal::FifoAtLock:
        QFile::remove(path + QStringLiteral(".lock"));
        ::mkfifo(QFile::encodeName(path + QStringLiteral(".lock")).constData(), 0600);
        break;
    case Refusal::LinkToAnotherUsersFile:
    case Refusal::DanglingLink: {
        if (::geteuid() != 0)
            return *skip = "needs root, to own a file as another user", QString();
        const QString target = dir.filePath(QStringLiteral("theirs.conf"));
        if (refusal == Refusal::LinkToAnotherUsersFile) {
            SettingsStore(target).SaveSetting(Key::Tel, QStringLiteral("0"));
            [[maybe_unused]] const int owned = ::chown(QFile::encodeName(target).constData(), kNobody, kNobody);
        }
        QFile::remove(path);
        QFile::link(target, path);
        break;
    }
    case Refusal::FailedSync:
        g_failSync = true;
        break;
    case Refusal::FailedRename:
        g_failRename = true;
        break;
    }
    return path;
}

// File times tick in steps of a few milliseconds; a rewrite in the same step as the
// write before it could not be told from it by any reader.
void waitUntilTheFileClockMovesPast(const QString &path)
{
    struct stat file = {}, probe = {};
    ::stat(QFile::encodeName(path).constData(), &file);
    const QString probePath = path + QStringLiteral(".probe");
    [[maybe_unused]] const bool moved = QTest::qWaitFor([&] {
        QFile touch(probePath);
        [[maybe_unused]] const bool opened = touch.open(QIODevice::WriteOnly);
        touch.write("x");
        touch.close();
        ::stat(QFile::encodeName(probePath).constData(), &probe);
        return probe.st_mtim.tv_sec != file.st_mtim.tv_sec || probe.st_mtim.tv_nsec != file.st_mtim.tv_nsec;
    });
    QFile::remove(probePath);
}

struct Unmount {
    QString folder;
    ~Unmount() { ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH); }
};
} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        g_failSync = g_failRename = false;
        g_atLockTry = {};
        if (g_heldLock >= 0)
            ::close(std::exchange(g_heldLock, -1));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    }

    void livesUnderTheUsersConfigFolder()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
        QCOMPARE(SettingsStore::defaultFilePath(), home.filePath(QStringLiteral("ravelquint/ravelquint.conf")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()) + "/\xC0\xDF\xC4\xEA"); // 「設定」 in EUC-JP
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("%C0%DF%C4%EA の名前はこのロケールでは正しくありません")));
        QCOMPARE(SettingsStore::defaultFilePath(), QString()); // never a sibling with another name
        qputenv("XDG_CONFIG_HOME", "relative/config"); // ignored, as a relative one must be
        qputenv("HOME", QFile::encodeName(home.path()));
        QCOMPARE(SettingsStore::defaultFilePath(), home.filePath(QStringLiteral(".config/ravelquint/ravelquint.conf")));
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("HOME"); // never "/": the passwd entry says where home is
        const QString passwdHome = QFile::decodeName(::getpwuid(::geteuid())->pw_dir);
        QCOMPARE(SettingsStore::defaultFilePath(), passwdHome + QStringLiteral("/.config/ravelquint/ravelquint.conf"));
    }

    void writesPlainTextThatIsOnDiskAtOnce()
    {
        TempStore temp;
        const mode_t umask = ::umask(027);
        temp.store().SaveSetting(Key::ColorTel, QStringLiteral("16744576"));
        ::umask(umask);
        QCOMPARE(QFileInfo(temp.path()).permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup);
        temp.store().SaveSetting(Key::Left, QStringLiteral("-1500"));
        const QByteArray text = temp.rawText();
        QVERIFY2(text.contains("[color]\ncolor_tel=16744576\n"), text.constData());
        QVERIFY2(text.contains("[info]\nleft=-1500\n"), text.constData());
        QVERIFY(!text.contains("@Variant"));
    }

    // A save the system refuses leaves the file as it was, keeps the value in memory and
    // says why, once; nothing is ever written over a device.
    void refusedSaveKeepsTheFileAndSaysWhy_data()
    {
        QTest::addColumn<int>("refusal");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder is a plain file") << int(Refusal::FolderIsAFile) << "フォルダーではありません";
        QTest::newRow("folder without write permission, ordinary user") << int(Refusal::ReadOnlyFolder)
                                                                        << "アクセスが許可されていません";
        QTest::newRow("config home without write permission, ordinary user") << int(Refusal::ReadOnlyConfigHome)
                                                                             << "アクセスが許可されていません (EACCES)";
        QTest::newRow("full file system") << int(Refusal::FullDisk) << "空き容量がありません";
        QTest::newRow("link to a device") << int(Refusal::Device) << "は通常のファイルではありません";
        QTest::newRow("disk fails the sync") << int(Refusal::FailedSync) << "入出力エラーです (EIO)";
        QTest::newRow("the rename refused") << int(Refusal::FailedRename) << "(EBUSY)";
        QTest::newRow("lock held by another clock") << int(Refusal::LockHeld) << "を超えて持っています";
        QTest::newRow("FIFO at the lock") << int(Refusal::FifoAtLock) << "は通常のファイルではありません";
        QTest::newRow("link to another user's file, as root") << int(Refusal::LinkToAnotherUsersFile)
                                                              << "は別のユーザーのものです";
        QTest::newRow("link to nothing, as root") << int(Refusal::DanglingLink) << "はどこにも通じないリンクです";
        QTest::newRow("file made read-only") << int(Refusal::ReadOnlyFile) << "は読み取り専用です";
        QTest::newRow("file its owner cannot read, ordinary user") << int(Refusal::UnreadableFile) << "読めませんでした";
        QTest::newRow("file unreadable once loaded, ordinary user") << int(Refusal::UnreadableOnceLoaded) << "読めませんでした";
        QTest::newRow("link at the lock") << int(Refusal::LinkAtLock) << "を開けません";
        QTest::newRow("link to another user's folder, as root") << int(Refusal::LinkToAnotherUsersFolder)
                                                                << "別のユーザーのフォルダーへのリンク";
        QTest::newRow("config folder of another user, as root") << int(Refusal::AnotherUsersConfigHome)
                                                                << "は別のユーザーのものです";
    }
    void refusedSaveKeepsTheFileAndSaysWhy()
    {
        QFETCH(int, refusal);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const char *skip = nullptr;
        const QString path = prepare(Refusal(refusal), dir, &skip);
        const Unmount unmount{Refusal(refusal) == Refusal::FullDisk ? QFileInfo(path).path() : QString()};
        if (skip)
            QSKIP(skip);
        const QByteArray before = contents(path);
        const Refusal r = Refusal(refusal);
        if (r == Refusal::ReadOnlyFolder || r == Refusal::ReadOnlyConfigHome || r == Refusal::UnreadableFile
            || r == Refusal::UnreadableOnceLoaded) {
            const QString answer = asOrdinaryUser([&] {
                const QByteArray file = QFile::encodeName(path);
                if (r == Refusal::UnreadableOnceLoaded) // the writer reads it afresh, and must not take it for empty
                    ::chmod(file.constData(), 0600);
                SettingsStore store(path);
                if (r == Refusal::UnreadableOnceLoaded)
                    ::chmod(file.constData(), 0200);
                if (r == Refusal::UnreadableFile) { // readable again, but too late: defaults must not replace it
                    ::chmod(file.constData(), 0600);
                    store.refresh();
                }
                return store.SaveSetting(Key::Tel, QStringLiteral("1")) ? QStringLiteral("saved") : store.saveError();
            });
            if (answer.isNull())
                QSKIP("needs root, to run the save as an ordinary user");
            QVERIFY2(answer.contains(reason), qPrintable(answer));
        } else {
            SettingsStore store(path);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("%1 に設定を保存できません\\(.*%2.*\\)。"
                                                                                 "変更は終了までしか残りません")
                                                                      .arg(QRegularExpression::escape(path), QRegularExpression::escape(reason))));
            QVERIFY(!store.SaveSetting(Key::Tel, QStringLiteral("1")));
            QVERIFY(!store.SaveSetting(Key::Mode, QStringLiteral("1"))); // reported once: a second line would fail
            QCOMPARE(store.switchValue(Key::Tel), qint16(1));
            if (r == Refusal::LockHeld) { // let go: what waited reaches the disk with no further change
                QCOMPARE(contents(path), before);
                ::flock(g_heldLock, LOCK_UN);
                QTRY_VERIFY_WITH_TIMEOUT((store.refresh(), contents(path).contains("mode=1")), 10000);
                return;
            }
        }
        QCOMPARE(contents(path), before);
        if (r == Refusal::Device)
            QVERIFY(QFileInfo(QFileInfo(path).canonicalFilePath()).exists() && !QFileInfo(path).isFile());
        QVERIFY(!QFileInfo::exists(dir.filePath(r == Refusal::LinkAtLock ? "elsewhere" : "theirs/ravelquint.conf.lock")));
    }

    void linkToARegularFileUpdatesItsTarget()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("elsewhere.conf"));
        const QString link = dir.filePath(QStringLiteral("ravelquint.conf"));
        QVERIFY(SettingsStore(target).SaveSetting(Key::Tel, QStringLiteral("0")));
        QVERIFY(QFile::link(target, link));
        QVERIFY(SettingsStore(link).SaveSetting(Key::Tel, QStringLiteral("1")));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(contents(target).contains("tel=1\n"));
    }

    // What a hand-edited file reads as, and what a save of tel makes of it: its one entry
    // changes and every other line is kept byte for byte; repeats of the entry are dropped.
    void saveChangesOneEntryAndKeepsTheRest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("read");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("comment and unknown key kept") << QByteArray("; mine\n[setup]\nsize=big\ntel = 0\n") << "0" << "1"
                                                      << QByteArray("; mine\n[setup]\nsize=big\ntel=1\n");
        QTest::newRow("joins its section") << QByteArray("[setup]\nmode=0\n\n[color]\ncolor_b=0\n") << QString() << "1"
                                           << QByteArray("[setup]\nmode=0\ntel=1\n\n[color]\ncolor_b=0\n");
        QTest::newRow("section added") << QByteArray("[color]\ncolor_b=0") << QString() << "1"
                                       << QByteArray("[color]\ncolor_b=0\n\n[setup]\ntel=1\n");
        QTest::newRow("repeats collapse, the later one read") << QByteArray("[setup]\ntel=0\nmode=0\ntel=2\n") << "2" << "1"
                                                              << QByteArray("[setup]\ntel=1\nmode=0\n");
        QTest::newRow("comment after the value") << QByteArray("[setup]\ntel=1 ; night\n") << "1" << "0"
                                                 << QByteArray("[setup]\ntel=0\n");
        QTest::newRow("the key in another section") << QByteArray("[color]\ntel=1\n") << QString() << "0"
                                                    << QByteArray("[color]\ntel=1\n\n[setup]\ntel=0\n");
        QTest::newRow("bare lines kept, even a cut-short key") << QByteArray("[setup]\ntel=1\nte\nnote\n[col") << "1"
                                              << "0" << QByteArray("[setup]\ntel=0\nte\nnote\n[col");
        QTest::newRow("CRLF kept, new entry takes it") << QByteArray("[setup]\r\nte\r\nmode=0\n") << QString() << "1"
                                                      << QByteArray("[setup]\r\nte\r\nmode=0\ntel=1\r\n");
        QTest::newRow("the entry keeps its own line's ending") << QByteArray("[setup]\r\ntel=0\n; end") << "0" << "1"
                                                              << QByteArray("[setup]\r\ntel=1\n; end");
        QTest::newRow("an unended last line, CRLF file") << QByteArray("[setup]\r\nmode=0") << QString() << "1"
                                                         << QByteArray("[setup]\r\nmode=0\r\ntel=1\r\n");
        QTest::newRow("header with a comment") << QByteArray("[info] ; place\ntop=15\n[setup] # mine\ntel=1\n") << "1" << "0"
                                               << QByteArray("[info] ; place\ntop=15\n[setup] # mine\ntel=0\n");
        QTest::newRow("odd text quoted, read back the same") << QByteArray("\xEF\xBB\xBF[setup]\r\ntel=0\r\n") << "0"
                                                             << " a;\"b\\" << QByteArray("\xEF\xBB\xBF[setup]\r\ntel=\" a;\\\"b\\\\\"\r\n");
    }
    void saveChangesOneEntryAndKeepsTheRest()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, read);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        TempStore temp;
        temp.writeRaw(before);
        QCOMPARE(temp.store().GetSetting(Key::Tel), read);
        QVERIFY(temp.store().SaveSetting(Key::Tel, value));
        QCOMPARE(temp.rawText(), after);
        QCOMPARE(temp.read(Key::Tel), value);
    }

    void missingEntryReadsAsTheGivenDefault()
    {
        TempStore temp;
        QCOMPARE(temp.store().GetSetting(Key::Start, QStringLiteral("0")), QStringLiteral("0"));
        QCOMPARE(temp.store().GetSetting(Key::Top), QString());
    }

    // Rewrites by another process, also those that keep the size (and, in place, the inode),
    // those at a link's target, and those in a folder removed and made again.
    void seesAnotherProcessWriteAfterRefresh_data()
    {
        QTest::addColumn<QByteArray>("rewrite");
        QTest::addColumn<int>("how");
        QTest::newRow("atomic, larger") << QByteArray("[setup]\ntel=1\nmode=1\n") << int(Rewrite::Atomic);
        QTest::newRow("atomic, same size") << QByteArray("[setup]\ntel=1\nmode=0\n") << int(Rewrite::Atomic);
        QTest::newRow("in place, same size") << QByteArray("[setup]\ntel=1\nmode=0\n") << int(Rewrite::InPlace);
        QTest::newRow("at a link's target") << QByteArray("[setup]\ntel=1\nmode=1\n") << int(Rewrite::AtLinkTarget);
        QTest::newRow("folder made anew") << QByteArray("[setup]\ntel=1\nmode=1\n") << int(Rewrite::FolderMadeAnew);
    }
    void seesAnotherProcessWriteAfterRefresh()
    {
        QFETCH(QByteArray, rewrite);
        QFETCH(int, how);
        TempStore temp;
        const QString target = QFileInfo(temp.path()).dir().filePath(how == int(Rewrite::AtLinkTarget) ? "../elsewhere" : "");
        temp.writeRaw("[setup]\ntel=0\nmode=0\n");
        if (how == int(Rewrite::AtLinkTarget))
            QVERIFY(QFile::rename(temp.path(), target) && QFile::link(target, temp.path()));
        temp.store().refresh();
        QCOMPARE(temp.store().switchValue(Key::Tel), qint16(0));
        if (how == int(Rewrite::InPlace)) {
            waitUntilTheFileClockMovesPast(temp.path());
            temp.writeRaw(rewrite);
        } else if (how == int(Rewrite::FolderMadeAnew)) {
            QVERIFY(QFileInfo(temp.path()).dir().removeRecursively());
            temp.store().refresh();
            temp.writeRaw(rewrite);
        } else {
            QSaveFile edit(how == int(Rewrite::AtLinkTarget) ? target : temp.path());
            QVERIFY(edit.open(QIODevice::WriteOnly));
            edit.write(rewrite);
            QVERIFY(edit.commit());
        }
        temp.store().refresh();
        QCOMPARE(temp.store().switchValue(Key::Tel), qint16(1));
        QCOMPARE(temp.store().GetSetting(Key::Mode), QString::fromLatin1(rewrite.mid(rewrite.lastIndexOf('=') + 1, 1)));
    }

    // Ten refreshes a second must not read back what the store itself just wrote.
    void ownWriteIsNotReadBack()
    {
        TempStore temp;
        temp.store().SaveSetting(Key::Tel, QStringLiteral("1"));
        const int reads = temp.store().readCount();
        temp.store().SaveSetting(Key::Mode, QStringLiteral("1"));
        temp.store().refresh();
        QCOMPARE(temp.store().readCount(), reads);
        QCOMPARE(temp.read(Key::Mode), QStringLiteral("1"));
    }

    void writeKeepsWhatAnotherProcessWroteMeanwhile()
    {
        TempStore temp;
        temp.seed({{Key::Sp2, QStringLiteral("0")}});
        QSaveFile edit(temp.path());
        QVERIFY(edit.open(QIODevice::WriteOnly));
        edit.write("[setup]\nsp2=1\ntel=1\n");
        QVERIFY(edit.commit());
        temp.store().SaveSetting(Key::Mode, QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Tel), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Sp2), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Mode), QStringLiteral("1"));
    }

    // The sync runs unlocked; what another clock saved meanwhile must survive the rename.
    void anotherClocksSaveDuringTheSyncIsKept()
    {
        TempStore temp;
        temp.seed({{Key::Tel, QStringLiteral("0")}});
        g_duringSync = [&] { SettingsStore(temp.path()).SaveSetting(Key::Tel, QStringLiteral("1")); };
        QVERIFY(temp.store().SaveSetting(Key::Mode, QStringLiteral("1")));
        QCOMPARE(temp.read(Key::Tel), QStringLiteral("1"));
        QCOMPARE(temp.read(Key::Mode), QStringLiteral("1"));
    }

    // Another clock's save runs before ours or after it, never alongside it.
    void saveWaitsForTheLockAndChecksUnderIt_data()
    {
        QTest::addColumn<bool>("anotherWritesMeanwhile");
        QTest::newRow("lock let go after the first try") << false;
        QTest::newRow("another clock writes as the lock is taken") << true;
    }
    void saveWaitsForTheLockAndChecksUnderIt()
    {
        QFETCH(bool, anotherWritesMeanwhile);
        TempStore temp;
        temp.seed({{Key::Tel, QStringLiteral("0")}});
        const QString path = temp.path();
        if (anotherWritesMeanwhile) {
            g_atLockTry = [path] { SettingsStore(path).SaveSetting(Key::Tel, QStringLiteral("1")); };
        } else {
            g_heldLock = ::open(QFile::encodeName(path + QStringLiteral(".lock")).constData(), O_RDWR | O_CLOEXEC);
            ::flock(g_heldLock, LOCK_EX);
            g_atLockTry = [] { g_atLockTry = [] { ::close(std::exchange(g_heldLock, -1)); }; };
        }
        QVERIFY(temp.store().SaveSetting(Key::Mode, QStringLiteral("1")));
        QCOMPARE(temp.read(Key::Tel), QLatin1String(anotherWritesMeanwhile ? "1" : "0"));
        QCOMPARE(temp.read(Key::Mode), QStringLiteral("1"));
    }

    // Until it is saved, a refused value is what the program uses, whatever the file says.
    void refusedValueOutlivesReloads()
    {
        TempStore temp;
        g_failSync = true;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("設定を保存できません")));
        QVERIFY(!temp.store().SaveSetting(Key::Tel, QStringLiteral("1")));
        temp.writeRaw("[setup]\ntel=0\nmode=1\n"); // another program's edit, read back at once
        QCOMPARE(temp.store().GetSetting(Key::Mode), QStringLiteral("1"));
        QCOMPARE(temp.store().GetSetting(Key::Tel), QStringLiteral("1"));
        g_failSync = false;
        QVERIFY(temp.store().SaveSetting(Key::Sp2, QStringLiteral("1")));
        QCOMPARE(temp.read(Key::Tel), QStringLiteral("1")); // landed with the next save that succeeded
    }

    // A save killed before its rename leaves a temporary; the next save takes away what is
    // stale and of its own pattern only.
    void staleTemporariesGoAtTheNextSave()
    {
        TempStore temp;
        temp.seed({{Key::Tel, QStringLiteral("0")}});
        const QString stale = temp.path() + QStringLiteral(".ravelquint-save-aB3xYz");
        const QString fresh = temp.path() + QStringLiteral(".ravelquint-save-Qw8rTy");
        const QString other = temp.path() + QStringLiteral(".old"), backup = temp.path() + QStringLiteral(".backup");
        for (const QString &name : {stale, fresh, other, backup}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            if (name != fresh)
                QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
        }
        QVERIFY(temp.store().SaveSetting(Key::Tel, QStringLiteral("1")));
        QVERIFY(!QFile::exists(stale) && QFile::exists(fresh) && QFile::exists(other) && QFile::exists(backup));
    }

    // A session manager kills a program that takes long to stop: the saves queued behind a
    // held lock give way to the last one, which waits for the lock once.
    void lastSaveWaitsOnceAndCarriesTheQueue()
    {
        TempStore temp;
        temp.seed({{Key::Tel, QStringLiteral("0")}});
        g_heldLock = ::open(QFile::encodeName(temp.path() + QStringLiteral(".lock")).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ::flock(g_heldLock, LOCK_EX);
        for (int i = 0; i < 8; ++i)
            temp.store().saveInBackground({{Key::Left, QString::number(i)}});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("設定を保存できません")));
        QElapsedTimer stopping;
        stopping.start();
        QVERIFY(!temp.store().saveLast({{Key::Top, QStringLiteral("5")}}));
        QVERIFY2(stopping.elapsed() < 4000, "one lock wait of 2 s, not one for each queued save");
        ::close(std::exchange(g_heldLock, -1));
        QVERIFY(temp.store().SaveSetting(Key::Tel, QStringLiteral("1")));
        QCOMPARE(temp.read(Key::Left), QStringLiteral("7"));
        QCOMPARE(temp.read(Key::Top), QStringLiteral("5"));
    }

    void badValueReadsAsItsDefaultAndIsReportedOnce_data()
    {
        QTest::addColumn<Key>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("word in sp1") << Key::Sp1 << "on" << 1;
        QTest::newRow("too large for tel") << Key::Tel << "70000" << 0;
        QTest::newRow("empty tel_s1") << Key::TelS1 << "" << 1;
        QTest::newRow("garbled marker") << Key::Start << "1x" << 0;
        QTest::newRow("tel out of range, read as it is") << Key::Tel << "7" << 7;
        QTest::newRow("background by name") << Key::ColorB << "navy" << 0;
        QTest::newRow("negative text colour") << Key::ColorF << "-5" << 65280;
        QTest::newRow("Sunday colour past white") << Key::ColorS << "16777216" << 255;
        QTest::newRow("empty Telehodai colour") << Key::ColorTel << "" << 16744576;
    }
    void badValueReadsAsItsDefaultAndIsReportedOnce()
    {
        QFETCH(Key, key);
        QFETCH(QString, text);
        QFETCH(int, value);
        TempStore temp;
        temp.seed({{key, text}});
        const QString name = QLatin1String(keyInfo(key).name);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("\\[%1\\] %2: 「%3」")
                                                                  .arg(QLatin1String(keyInfo(key).section), name,
                                                                       QRegularExpression::escape(text))));
        const auto read = [&] {
            SettingsStore &store = temp.store();
            return keyInfo(key).encoding == Encoding::Colour ? storedtext::fromColour(store.colour(key)).toInt()
                                                             : int(store.switchValue(key));
        };
        QCOMPARE(read(), value);
        QCOMPARE(read(), value); // reported once: a second line would fail
    }

    void missingMarkerIsAFirstRunNotAFault() { TempStore temp; QCOMPARE(temp.store().switchValue(Key::Start), qint16(0)); }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
