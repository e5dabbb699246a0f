#pragma once

#include "core/folderwatch.h"
#include "store/settingsfile.h"
#include "store/settingskeys.h"

#include <QColor>
#include <QElapsedTimer>
#include <QString>
#include <QThreadPool>
#include <array>
#include <atomic>
#include <bitset>
#include <deque>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <utility>
#include <vector>

// The per-user settings of the program: one INI file, every value plain text.
// Reads are served from memory; refresh() picks up what other processes wrote, so a
// handler calls it once before its reads instead of touching the disk for every key.
// It costs one stat() while the file is unchanged, which matters ten times a second.
class SettingsStore
{
public:
    using Edits = std::vector<std::pair<Key, QString>>;

    explicit SettingsStore(const QString &filePath = defaultFilePath());
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    // $XDG_CONFIG_HOME/ravelquint/ravelquint.conf, or under ~/.config; empty where there
    // is no configuration folder, and then the settings live in memory only.
    static QString defaultFilePath();
    static QString filePathIn(const QString &configHome);
    QString filePath() const { return m_path; }

    void refresh();
    QString GetSetting(Key key, const QString &fallback = QString()) const;
    // True when the entry reached the disk: the whole file was replaced atomically and
    // synced. Otherwise the value lives in memory until the program ends (over every
    // reload), the file is as it was, and saveError() says why. The lock wait, the write
    // and the sync run on a thread of their own; meanwhile this thread's timers and
    // paints go on, and only the user's input waits.
    bool SaveSetting(Key key, const QString &value);
    bool saveAll(const Edits &edits);
    // The same, for a caller that needs no answer: a refusal is told on stderr only.
    void saveInBackground(const Edits &edits);
    // The save a closing program makes: earlier saves stop waiting, and this one takes
    // along what they held, within one lock wait.
    bool saveLast(const Edits &edits);
    void waitForSaves();
    QString saveError() const { return m_saveError; }

    // Typed reads for a stored text that may have been edited by hand. A bad switch or
    // colour reads as its first-run default; a bad position as nothing. Each bad key is
    // reported once per run on stderr, and so is a switch that holds neither 0 nor 1.
    qint16 switchValue(Key key);
    QColor colour(Key key);
    std::optional<float> position(Key key);
    bool holdsValidValue(Key key) const;
    bool holds(Key key) const { return m_values[std::size_t(key)].has_value(); }

    // Every start fills in what is missing; a first run also mends what it cannot read.
    void writeMissingDefaults(bool firstRun);
    // How often the file has been read: once at start, then only when someone else changed it.
    int readCount() const { return m_readCount; }
    // How often a save has replaced the file: what belongs together goes in one.
    int writeCount() const { return m_writeCount; }
    // Changes whenever a value may have: a caller that asks often need not read them all again.
    quint64 generation() const { return m_generation; }

private:
    // What tells one version of the file from another; a rewrite replaces the inode.
    struct FileVersion {
        bool exists = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{}, changed{};
        bool operator==(const FileVersion &other) const;
    };
    struct Outcome {
        bool saved = false;
        bool abandoned = false; // given way to the last save
        QString error;
        QByteArray text;
        FileVersion version; // what the save left, where nobody has written since
    };
    struct PendingSave;
    static FileVersion versionOf(const QByteArray &path);
    static Outcome writeEdits(const QByteArray &path, const Edits &edits, const std::atomic<bool> *stopping);
    std::shared_ptr<PendingSave> submit(const Edits &edits);
    void takeFinishedSaves();
    void retryRefusedSave();
    void takeOutcome(const PendingSave &save);
    void reload();
    void refuseReading(const QString &why);
    void reportSaveFailure();
    qint16 convertSwitch(Key key);
    QColor convertColour(Key key);
    QString problemWith(Key key) const;
    void setValues(const settingsfile::Values &values);
    void reportBadText(Key key, const QString &problem, const QString &outcome);

    QString m_path;
    QByteArray m_nativePath;
    FileVersion m_loadedVersion;
    FolderWatch m_watch{m_nativePath};
    settingsfile::Values m_values;
    // Values not (yet) on the disk: they hold over every reload until saved.
    settingsfile::Values m_unsaved;
    // Typed reads, converted once per change of the text: the clock asks ten times a second.
    std::array<std::optional<qint16>, kKeys.size()> m_switches;
    std::array<std::optional<QColor>, kKeys.size()> m_colours;
    std::bitset<kKeys.size()> m_reported;
    QString m_saveError;
    QString m_readRefusal; // the file is there but could not be read: it is never written
    bool m_reportedSaveFailure = false;
    int m_readCount = 0;
    int m_writeCount = 0;
    quint64 m_generation = 0;
    std::deque<std::shared_ptr<PendingSave>> m_pending;
    std::atomic<bool> m_stopping = false;
    QElapsedTimer m_lastRetry;
    QThreadPool m_writer; // one thread: saves reach the disk in the order they were made
};
