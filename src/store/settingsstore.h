#pragma once

#include "store/settingsfile.h"
#include "store/settingskeys.h"

#include <QColor>
#include <QString>
#include <array>
#include <bitset>
#include <optional>
#include <sys/stat.h>

// The per-user settings of the program: one INI file, every value plain text.
// Reads are served from memory; refresh() picks up what other processes wrote, so a
// handler calls it once before its reads instead of touching the disk for every key.
// It costs one stat() while the file is unchanged, which matters ten times a second.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &filePath = defaultFilePath());

    // $XDG_CONFIG_HOME/ravelquint/ravelquint.conf, or under ~/.config; empty where there
    // is no home folder, and then the settings live in memory only.
    static QString defaultFilePath();
    static QString filePathIn(const QString &configHome);
    QString filePath() const { return m_path; }

    void refresh();
    QString GetSetting(Key key, const QString &fallback = QString()) const;
    // True when the entry reached the disk: the whole file was replaced atomically and
    // synced. Otherwise the value lives in memory until the program ends, the file is as
    // it was, and saveError() says why.
    bool SaveSetting(Key key, const QString &value);
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
    FileVersion currentVersion() const;
    void reload();
    bool writeEntry(Key key, const QString &value);
    void reportSaveFailure();
    qint16 convertSwitch(Key key);
    QColor convertColour(Key key);
    QString problemWith(Key key) const;
    void setValues(const settingsfile::Values &values);
    void reportBadText(Key key, const QString &problem, const QString &outcome);

    QString m_path;
    QByteArray m_nativePath;
    FileVersion m_loadedVersion;
    QByteArray m_text; // the file as last read or written; a save edits it
    settingsfile::Values m_values;
    // Typed reads, converted once per change of the text: the clock asks ten times a second.
    std::array<std::optional<qint16>, kKeys.size()> m_switches;
    std::array<std::optional<QColor>, kKeys.size()> m_colours;
    std::bitset<kKeys.size()> m_reported;
    QString m_saveError;
    bool m_reportedSaveFailure = false;
    int m_readCount = 0;
};
