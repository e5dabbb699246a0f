#include "core/folderwatch.h"

#include <cerrno>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr uint32_t kEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_MODIFY
                             | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kWatchEnded = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_Q_OVERFLOW;
} // namespace

FolderWatch::FolderWatch(const QByteArray &filePath)
    : m_filePath(filePath), m_fd(filePath.isEmpty() ? -1 : inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    m_lookedAnyway.start();
}

FolderWatch::~FolderWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool FolderWatch::mayHaveChanged()
{
    if (m_fd < 0 || m_lookedAnyway.hasExpired(kLookAnywayMs)) {
        m_lookedAnyway.start();
        return true;
    }
    if (m_watch < 0) {
        arm();
        return true; // what happened before the watch began is not known
    }
    return !drained() || m_throughLink;
}

// Watches the file's folder, where a save renames a new file over the old one.
void FolderWatch::arm()
{
    const qsizetype slash = m_filePath.lastIndexOf('/');
    m_watch = inotify_add_watch(m_fd, slash > 0 ? m_filePath.left(slash).constData() : "/", kEvents);
    noteLink();
}

// A link's target changes where the folder's watch does not see.
void FolderWatch::noteLink()
{
    struct stat info{};
    m_throughLink = ::lstat(m_filePath.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// True when nothing happened in the folder since the last call.
bool FolderWatch::drained()
{
    alignas(inotify_event) char buffer[4096];
    bool quiet = true;
    for (ssize_t got; (got = ::read(m_fd, buffer, sizeof buffer)) != 0;) {
        if (got < 0)
            return quiet && errno == EAGAIN;
        quiet = false;
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->mask & kWatchEnded)
                m_watch = -1; // armed again at the next look
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
        noteLink();
    }
    return false;
}
