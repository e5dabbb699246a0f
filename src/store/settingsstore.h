#pragma once

#include "store/settingskeys.h"

#include <QColor>
#include <QSettings>
#include <QString>
#include <array>
#include <bitset>
#include <optional>
#include <sys/stat.h>

// The per-user settings of the program: one INI file, every value plain text.
// Reads are served from memory; Refresh() picks up what other processes wrote, so a
// handler calls it once before its reads instead of touching the disk for every key.
// It costs one stat() while the file is unchanged, which matters ten times a second.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &filePath = defaultFilePath());

    // $XDG_CONFIG_HOME/ravelquint/ravelquint.conf, as Qt resolves it.
    static QString defaultFilePath();

    void Refresh();
    QString GetSetting(Key key, const QString &fallback = QString()) const;
    // Durable on return: the whole file has been replaced atomically and synced.
    void SaveSetting(Key key, const QString &value);

    // Typed reads for a stored text that may have been edited by hand. A bad switch
    // reads as its first-run default; a bad colour or position as nothing. Each bad
    // key is reported once per run on stderr.
    qint16 GetSwitch(Key key);
    std::optional<QColor> GetColour(Key key);
    std::optional<float> GetPosition(Key key);
    bool HoldsValidValue(Key key) const;

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
    void reportBadText(Key key, const QString &text, const char *outcome);
    template <typename T>
    std::optional<T> GetConverted(Key key, std::optional<T> (*convert)(const QString &));

    QSettings m_settings;
    QByteArray m_nativePath;
    FileVersion m_loadedVersion;
    std::array<std::optional<QString>, kKeys.size()> m_values;
    std::bitset<kKeys.size()> m_reported;
    bool m_reportedWriteFailure = false;
};
