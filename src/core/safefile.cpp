#include "core/safefile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
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
            *error = QStringLiteral("%1 is a link to nothing (%2)").arg(named(path), errorText(errno));
            return std::nullopt;
        }
        target = resolved;
    }
    struct stat info = {};
    if (::stat(target.constData(), &info) != 0)
        return target; // a new file
    if (!S_ISREG(info.st_mode)) {
        *error = QStringLiteral("%1 is not a regular file").arg(named(target));
        return std::nullopt;
    }
    if (info.st_uid != ::geteuid()) {
        *error = QStringLiteral("%1 belongs to another user").arg(named(target));
        return std::nullopt;
    }
    // A user freezes their settings this way; root too, who could otherwise write anyway.
    if (!(info.st_mode & S_IWUSR)) {
        *error = QStringLiteral("%1 is read-only").arg(named(target));
        return std::nullopt;
    }
    *mode = info.st_mode & 07777;
    return target;
}
} // namespace

QString errorText(int error)
{
    const char *name = ::strerrorname_np(error);
    return QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(std::strerror(error)),
                                         name ? QString::fromLatin1(name) : QString::number(error));
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
    struct stat info = {};
    if (::stat(path.constData(), &info) == 0) {
        struct stat link = {};
        if (S_ISDIR(info.st_mode) && ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)
            && info.st_uid != ::geteuid()) {
            *error = QStringLiteral("%1 is a link to a folder of another user").arg(named(path));
            return false;
        }
        if (S_ISDIR(info.st_mode))
            return true;
        *error = QStringLiteral("%1: %2").arg(named(path), errorText(ENOTDIR));
        return false;
    }
    const QByteArray parent = folderOf(path);
    if (parent != path && !makeFolders(parent, error))
        return false;
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        *error = QStringLiteral("cannot make the folder %1: %2").arg(named(path), errorText(errno));
        return false;
    }
    return true;
}

Lock::Lock(const QByteArray &path, int waitMs)
{
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        m_error = QStringLiteral("cannot open the lock file %1: %2").arg(named(path), errorText(errno));
        return;
    }
    Descriptor opened{fd};
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        m_error = QStringLiteral("the lock file %1 is not a regular file").arg(named(path));
        return;
    }
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_error = QStringLiteral("cannot lock %1: %2").arg(named(path), errorText(errno));
            return;
        }
        if (deadline.hasExpired()) {
            m_error = QStringLiteral("another program has held the lock %1 for more than %2 ms")
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
    QByteArray temporary = *target + ".XXXXXX";
    const Descriptor file{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (file.fd < 0) {
        m_error = QStringLiteral("cannot write in %1: %2").arg(named(folderOf(*target)), errorText(errno));
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
