#pragma once

#include <QByteArray>
#include <QElapsedTimer>

// Whether a file may have changed since last asked, told by the kernel as it happens: a
// clock that looks ten times a second need not walk the file's path each time. Where it
// cannot tell (no folder yet, the file a link to elsewhere, the folder gone, a queue that
// overflowed) it says "maybe"; so does it every few seconds, for file systems whose other
// writers the kernel does not see.
class FolderWatch
{
public:
    explicit FolderWatch(const QByteArray &filePath);
    ~FolderWatch();
    FolderWatch(const FolderWatch &) = delete;
    FolderWatch &operator=(const FolderWatch &) = delete;

    bool mayHaveChanged();

    static constexpr int kLookAnywayMs = 2000;

private:
    void arm();
    void noteLink();
    bool drained();

    QByteArray m_filePath;
    int m_fd = -1;
    int m_watch = -1;
    bool m_throughLink = false;
    QElapsedTimer m_lookedAnyway;
};
