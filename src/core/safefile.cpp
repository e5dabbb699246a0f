#include "core/safefile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <libgen.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safefile {

namespace {
constexpr int kLockPollMs = 10;

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

QString named(const QByteArray &path) { return QFile::decodeName(path); }

QByteArray folderOf(const QByteArray &path)
{
    QByteArray copy = path;
    return QByteArray(::dirname(copy.data()));
}

bool writeAll(int fd, const QByteArray &text)
{
    for (qsizetype done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
        if (n < 0 && errno != EINTR)
            return false;
        done += n > 0 ? n : 0;
    }
    return true;
}

// Read, not set and set back: saves run on a thread of their own, and a moment of umask 0
// would give any file another thread makes meanwhile the wrong permissions.
mode_t currentUmask()
{
    const std::optional<QByteArray> status = readRegular("/proc/self/status");
    const qsizetype at = status ? status->indexOf("\nUmask:\t") : -1;
    bool read = false;
    const uint mask = at < 0 ? 0 : status->mid(at + 8, 4).trimmed().toUInt(&read, 8);
    return read ? mode_t(mask) : mode_t(022);
}

// The file a save replaces: the path itself, or the user's own file that it links to.
std::optional<QByteArray> replaceableTarget(const QByteArray &path, mode_t *mode, QString *error)
{
    QByteArray target = path;
    struct stat link = {};
    if (::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (!::realpath(path.constData(), resolved)) {
            *error = QCoreApplication::translate("SafeFile", "%1 はどこにも通じないリンクです(%2)").arg(named(path), errorText(errno));
            return std::nullopt;
        }
        target = resolved;
    }
    struct stat info = {};
    if (::stat(target.constData(), &info) != 0)
        return target; // a new file
    if (!S_ISREG(info.st_mode)) {
        *error = QCoreApplication::translate("SafeFile", "%1 は通常のファイルではありません").arg(named(target));
        return std::nullopt;
    }
    if (info.st_uid != ::geteuid()) {
        *error = QCoreApplication::translate("SafeFile", "%1 は別のユーザーのものです").arg(named(target));
        return std::nullopt;
    }
    // A user freezes their settings this way; root too, who could otherwise write anyway.
    if (!(info.st_mode & S_IWUSR)) {
        *error = QCoreApplication::translate("SafeFile", "%1 は読み取り専用です").arg(named(target));
        return std::nullopt;
    }
    *mode = info.st_mode & 07777;
    return target;
}

// The system's folders (/, /home, /tmp) are root's; any other owner than the user is a stranger.
bool ownedHere(uid_t owner) { return owner == ::geteuid() || owner == 0; }

bool makeMissingFolders(const QByteArray &path, QString *error)
{
    struct stat info = {};
    if (::stat(path.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        *error = QStringLiteral("%1: %2").arg(named(path), errorText(ENOTDIR));
        return false;
    }
    const QByteArray parent = folderOf(path);
    if (parent != path && !makeMissingFolders(parent, error))
        return false;
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QCoreApplication::translate("SafeFile", "フォルダー %1 を作れません: %2").arg(named(path), errorText(errno));
        return false;
    }
    return true;
}

// A temporary's name carries the program's own marker, so no file a person keeps beside
// the target (a ".backup", a ".old") is ever taken for one.
constexpr char kTemporaryMarker[] = ".ravelquint-save-";

// A save killed between writing and renaming leaves its temporary behind: one older than a
// minute has no save waiting on it any more.
void removeStaleTemporaries(const QByteArray &target)
{
    constexpr int kStaleSeconds = 60;
    constexpr int kSuffixLength = 6; // mkostemp's XXXXXX
    const QByteArray folder = folderOf(target);
    const QByteArray prefix = target.mid(folder.size() + 1) + kTemporaryMarker;
    DIR *entries = ::opendir(folder.constData());
    if (!entries)
        return;
    const time_t now = ::time(nullptr);
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray name(entry->d_name);
        const QByteArray suffix = name.mid(prefix.size());
        const bool ours = name.startsWith(prefix) && suffix.size() == kSuffixLength
                          && std::all_of(suffix.begin(), suffix.end(), [](char c) { return std::isalnum(uchar(c)); });
        struct stat info = {};
        if (ours && ::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && now - info.st_mtime > kStaleSeconds)
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}
} // namespace

// The system's reasons the program meets, in its own language: the C library's words follow
// the C locale's, which may be neither the program's language nor its encoding.
const char *errorWords(int error)
{
    switch (error) {
    case EACCES: return QT_TRANSLATE_NOOP("SafeFile", "アクセスが許可されていません");
    case EPERM: return QT_TRANSLATE_NOOP("SafeFile", "操作が許可されていません");
    case ENOSPC: return QT_TRANSLATE_NOOP("SafeFile", "空き容量がありません");
    case EDQUOT: return QT_TRANSLATE_NOOP("SafeFile", "ディスク使用量の制限を超えています");
    case EROFS: return QT_TRANSLATE_NOOP("SafeFile", "読み取り専用のファイルシステムです");
    case ENOENT: return QT_TRANSLATE_NOOP("SafeFile", "そのようなファイルやフォルダーはありません");
    case ENOTDIR: return QT_TRANSLATE_NOOP("SafeFile", "フォルダーではありません");
    case EISDIR: return QT_TRANSLATE_NOOP("SafeFile", "フォルダーです");
    case EIO: return QT_TRANSLATE_NOOP("SafeFile", "入出力エラーです");
    case EBUSY: return QT_TRANSLATE_NOOP("SafeFile", "使用中です");
    case ELOOP: return QT_TRANSLATE_NOOP("SafeFile", "リンクをたどりきれません");
    case ENAMETOOLONG: return QT_TRANSLATE_NOOP("SafeFile", "名前が長すぎます");
    case EEXIST: return QT_TRANSLATE_NOOP("SafeFile", "すでにあります");
    case EAGAIN: return QT_TRANSLATE_NOOP("SafeFile", "いまは使えません");
    case EINVAL: return QT_TRANSLATE_NOOP("SafeFile", "引数が正しくありません");
    case EXDEV: return QT_TRANSLATE_NOOP("SafeFile", "別のファイルシステムにまたがります");
    default: return nullptr;
    }
}

QString errorText(int error)
{
    const char *name = ::strerrorname_np(error);
    const QString code = name ? QString::fromLatin1(name) : QString::number(error);
    const char *words = errorWords(error);
    return words ? QStringLiteral("%1 (%2)").arg(QCoreApplication::translate("SafeFile", words), code) : code;
}

std::optional<QByteArray> readRegular(const QByteArray &path, int *error)
{
    const Descriptor file{::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0 && error)
        *error = errno;
    struct stat info = {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    QByteArray text;
    char buffer[65536];
    for (ssize_t n; (n = ::read(file.fd, buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            text.append(buffer, n);
        else if (errno != EINTR)
            return std::nullopt;
    }
    return text;
}

bool makeFolders(const QByteArray &path, QString *error)
{
    // Checked before anything is made: a folder of another user on the way would take what
    // is written below it, however harmless the last part of the path looks.
    for (qsizetype slash = path.indexOf('/', 1); ; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        struct stat link = {};
        if (::lstat(part.constData(), &link) != 0)
            break; // made below
        struct stat info = {};
        const bool isLink = S_ISLNK(link.st_mode);
        if (isLink && ::stat(part.constData(), &info) == 0 && !ownedHere(info.st_uid)) {
            *error = QCoreApplication::translate("SafeFile", "%1 は別のユーザーのフォルダーへのリンクです")
                         .arg(named(part));
            return false;
        }
        if (!ownedHere(link.st_uid)) {
            *error = QCoreApplication::translate("SafeFile", "%1 は別のユーザーのものです").arg(named(part));
            return false;
        }
        if (slash < 0)
            break;
    }
    return makeMissingFolders(path, error);
}

Lock::Lock(const QByteArray &path, int waitMs, const std::atomic<bool> *abandon)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QCoreApplication::translate("SafeFile", "ロックファイル %1 を開けません: %2").arg(named(path), errorText(errno));
        return;
    }
    Descriptor opened{fd};
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = QCoreApplication::translate("SafeFile", "ロックファイル %1 は通常のファイルではありません").arg(named(path));
        return;
    }
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = QCoreApplication::translate("SafeFile", "%1 をロックできません: %2").arg(named(path), errorText(errno));
            return;
        }
        if (deadline.hasExpired() || (abandon && *abandon)) {
            m_error = QCoreApplication::translate("SafeFile", "別のプログラムがロック %1 を %2 ミリ秒を超えて持っています")
                          .arg(named(path))
                          .arg(waitMs);
            return;
        }
        QThread::msleep(kLockPollMs);
    }
    opened.fd = -1;
    m_fd = fd;
}

Lock::~Lock()
{
    if (m_fd >= 0)
        ::close(m_fd); // and with it the lock
}

Replacement::Replacement(const QByteArray &path, const QByteArray &text)
{
    mode_t mode = 0;
    const std::optional<QByteArray> target = replaceableTarget(path, &mode, &m_error);
    if (!target)
        return;
    removeStaleTemporaries(*target);
    QByteArray temporary = *target + kTemporaryMarker + "XXXXXX";
    const Descriptor file{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (file.fd < 0) {
        m_error = QCoreApplication::translate("SafeFile", "%1 に書き込めません: %2").arg(named(folderOf(*target)), errorText(errno));
        return;
    }
    if (!mode)
        mode = 0666 & ~currentUmask();
    struct stat written = {};
    if (::fchmod(file.fd, mode) != 0 || !writeAll(file.fd, text) || ::fdatasync(file.fd) != 0
        || ::fstat(file.fd, &written) != 0) {
        m_error = errorText(errno);
        ::unlink(temporary.constData());
        return;
    }
    m_target = *target;
    m_temporary = temporary;
    m_inode = written.st_ino;
}

Replacement::~Replacement()
{
    if (ready())
        ::unlink(m_temporary.constData());
}

bool Replacement::commit()
{
    if (::rename(m_temporary.constData(), m_target.constData()) != 0) {
        m_error = errorText(errno);
        return false;
    }
    m_temporary.clear();
    return true;
}

void syncFolderOf(const QByteArray &path)
{
    char resolved[PATH_MAX]; // through a link, the rename happened beside the file it leads to
    const QByteArray file = ::realpath(path.constData(), resolved) ? QByteArray(resolved) : path;
    const Descriptor folder{::open(folderOf(file).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (folder.fd >= 0)
        ::fsync(folder.fd);
}

} // namespace safefile
