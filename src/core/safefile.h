#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <optional>
#include <sys/types.h>

// File operations that neither block nor write where they must not: every descriptor is
// opened non-blocking and checked with fstat to be a regular file, so no FIFO or device
// behind a path can hang the program, and nothing is written through a link to a file the
// user does not own, nor over a file its owner made read-only. Each failure says why, with the system's errno name.
namespace safefile {

// "Permission denied (EACCES)".
QString errorText(int error);

// The file's text, or nothing when the path holds no regular file. Where the file is
// there but cannot be opened, `error` receives the errno (ENOENT when it is not there).
std::optional<QByteArray> readRegular(const QByteArray &path, int *error = nullptr);

// Creates the folder and those above it, as `mkdir -p` does. A folder reached through a
// link to a folder of another user is refused, as a link to their file is.
bool makeFolders(const QByteArray &path, QString *error);

// An exclusive lock that dies with its process (or with this object), on a regular file
// beside the settings. It waits at most `waitMs` for another holder to let go.
class Lock
{
public:
    // Stops waiting, too, once `abandon` is set.
    Lock(const QByteArray &path, int waitMs, const std::atomic<bool> *abandon = nullptr);
    ~Lock();
    Lock(const Lock &) = delete;
    Lock &operator=(const Lock &) = delete;

    bool held() const { return m_fd >= 0; }
    QString error() const { return m_error; }

private:
    int m_fd = -1;
    QString m_error;
};

// A new text for a file, written and synced beside it, and put in its place by commit():
// an atomic replacement whose slow part (the sync) needs no lock. Through a link to the
// user's own file, that file is replaced and the link kept; a link to nothing, or to a
// file of another user, is refused. Dropped unless committed.
class Replacement
{
public:
    Replacement(const QByteArray &path, const QByteArray &text);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    bool ready() const { return !m_temporary.isEmpty(); }
    QString error() const { return m_error; }
    ino_t inode() const { return m_inode; }
    bool commit();

private:
    QByteArray m_target, m_temporary;
    ino_t m_inode = 0;
    QString m_error;
};

// Makes a rename in the file's folder (through a link, its target's) durable. Needs no
// lock: the rename has happened.
void syncFolderOf(const QByteArray &path);

} // namespace safefile
