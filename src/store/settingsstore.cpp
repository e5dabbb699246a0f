#include "store/settingsstore.h"

#include "store/storedtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcStore, "ravelquint.store")

namespace {
constexpr int kLockWaitMs = 2000; // another clock writing the same file finishes long before

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
} // namespace

bool SettingsStore::FileVersion::operator==(const FileVersion &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
           && modified == other.modified && changed == other.changed;
}

SettingsStore::SettingsStore(const QString &filePath) : m_path(filePath), m_nativePath(QFile::encodeName(filePath))
{
    reload();
}

QString SettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/ravelquint/ravelquint.conf");
}

SettingsStore::FileVersion SettingsStore::currentVersion() const
{
    struct stat info = {};
    if (::stat(m_nativePath.constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

void SettingsStore::reload()
{
    m_loadedVersion = currentVersion();
    ++m_readCount;
    QFile file(m_path);
    // Never read a device or a pipe behind the settings path: it may not end.
    const bool readable = QFileInfo(m_path).isFile() && file.open(QIODevice::ReadOnly);
    m_text = readable ? file.readAll() : QByteArray();
    m_values = settingsfile::parse(m_text);
}

void SettingsStore::Refresh()
{
    if (!(currentVersion() == m_loadedVersion))
        reload();
}

QString SettingsStore::GetSetting(Key key, const QString &fallback) const
{
    return m_values[std::size_t(key)].value_or(fallback);
}

bool SettingsStore::SaveSetting(Key key, const QString &value)
{
    QDir().mkpath(QFileInfo(m_path).path()); // a refusal shows below, with its reason
    QLockFile lock(m_path + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(kLockWaitMs); // a folder that refuses the lock refuses the file too
    Refresh(); // keep whatever another process wrote meanwhile
    m_values[std::size_t(key)] = value;

    const QByteArray text = settingsfile::withEntry(m_text, key, value);
    ino_t writtenInode = 0;
    const bool saved = write(text, &writtenInode);
    if (locked)
        lock.unlock();
    if (!saved) {
        reportSaveFailure();
        return false;
    }
    // Our own write needs no reading back; a later change by anyone else still shows.
    m_text = text;
    const FileVersion written = currentVersion();
    if (written.inode == writtenInode)
        m_loadedVersion = written;
    return true;
}

bool SettingsStore::write(const QByteArray &text, ino_t *writtenInode)
{
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile()) {
        m_saveError = QStringLiteral("%1 is not a regular file").arg(info.canonicalFilePath());
        return false;
    }
    // Through a link, the file it points at is replaced and the link kept.
    QSaveFile file(info.exists() ? info.canonicalFilePath() : m_path);
    file.setDirectWriteFallback(false);
    // Unbuffered, and synced here: QSaveFile's own commit ignores a failed sync, and a
    // buffered write that fails only at close would be renamed over the good file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(text) != text.size()) {
        m_saveError = file.errorString();
        return false;
    }
    if (::fdatasync(file.handle()) != 0) {
        m_saveError = QString::fromLocal8Bit(std::strerror(errno));
        file.cancelWriting();
        return false;
    }
    struct stat written = {};
    if (::fstat(file.handle(), &written) == 0)
        *writtenInode = written.st_ino;
    if (!file.commit()) {
        m_saveError = file.errorString();
        return false;
    }
    m_saveError.clear();
    return true;
}

void SettingsStore::reportSaveFailure()
{
    if (m_reportedSaveFailure)
        return;
    m_reportedSaveFailure = true;
    qCWarning(lcStore).noquote() << QStringLiteral("cannot save the settings to %1 (%2); "
                                                   "changes last only until the program ends")
                                        .arg(m_path, m_saveError);
}

bool SettingsStore::HoldsValidValue(Key key) const
{
    const QString text = GetSetting(key);
    switch (keyInfo(key).encoding) {
    case Encoding::Marker:
    case Encoding::Switch: return storedtext::toSwitch(text).has_value();
    case Encoding::Colour: return storedtext::toColour(text).has_value();
    case Encoding::Position: return storedtext::toPosition(text).has_value();
    }
    return false;
}

qint16 SettingsStore::GetSwitch(Key key)
{
    const KeyInfo &info = keyInfo(key);
    const bool isMarker = info.encoding == Encoding::Marker;
    const QString text = isMarker ? GetSetting(key, QLatin1String(kStartDefault)) : GetSetting(key);
    if (const auto value = storedtext::toSwitch(text)) {
        if (!isMarker && *value != 0 && *value != 1)
            reportBadText(key, QStringLiteral("holds \"%1\", which is neither 0 nor 1").arg(text),
                          QStringLiteral("read as it is"));
        return *value;
    }
    const char *fallback = isMarker ? kStartDefault : info.firstRunDefault;
    reportBadText(key, problemWith(key), QStringLiteral("using \"%1\"").arg(QLatin1String(fallback)));
    return *storedtext::toSwitch(QString::fromLatin1(fallback));
}

QColor SettingsStore::GetColour(Key key)
{
    if (const auto colour = storedtext::toColour(GetSetting(key)))
        return *colour;
    const QString fallback = QString::fromLatin1(keyInfo(key).firstRunDefault);
    reportBadText(key, problemWith(key), QStringLiteral("using \"%1\"").arg(fallback));
    return *storedtext::toColour(fallback);
}

std::optional<float> SettingsStore::GetPosition(Key key)
{
    const auto position = storedtext::toPosition(GetSetting(key));
    if (!position)
        reportBadText(key, problemWith(key), QStringLiteral("left unchanged"));
    return position;
}

QString SettingsStore::problemWith(Key key) const
{
    return Holds(key) ? QStringLiteral("holds \"%1\", which is not a valid value").arg(GetSetting(key))
                      : QStringLiteral("is missing");
}

void SettingsStore::reportBadText(Key key, const QString &problem, const QString &outcome)
{
    const auto index = static_cast<std::size_t>(key);
    if (m_reported.test(index))
        return;
    m_reported.set(index);
    const KeyInfo &info = keyInfo(key);
    qCWarning(lcStore).noquote() << QStringLiteral("[%1] %2 %3; %4")
                                        .arg(QLatin1String(info.section), QLatin1String(info.name), problem, outcome);
}

// A store deleted under a running clock is whole again at the next start. A first run also
// mends what it cannot read, keeping whatever the user chose before a first run that never
// closed; later runs leave a hand edit for the user to mend.
void SettingsStore::WriteMissingDefaults(bool firstRun)
{
    for (const KeyInfo &info : kKeys) {
        if (!info.firstRunDefault)
            continue;
        const bool missing = !Holds(info.key);
        const bool repair = firstRun && !missing && !HoldsValidValue(info.key);
        if ((missing && !firstRun) || repair)
            qCWarning(lcStore).noquote() << QStringLiteral("[%1] %2 %3; writing \"%4\"")
                                                .arg(QLatin1String(info.section), QLatin1String(info.name),
                                                     problemWith(info.key), QLatin1String(info.firstRunDefault));
        if (missing || repair)
            SaveSetting(info.key, QString::fromLatin1(info.firstRunDefault));
    }
}
