#include "store/settingsstore.h"

#include "core/confighome.h"
#include "core/safefile.h"
#include "store/storedtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcStore, "ravelquint.store")

namespace {
constexpr int kLockWaitMs = 2000; // another clock holds it only for a check and a rename
constexpr int kSaveAttempts = 5;

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
} // namespace

bool SettingsStore::FileVersion::operator==(const FileVersion &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
           && modified == other.modified && changed == other.changed;
}

SettingsStore::SettingsStore(const QString &filePath) : m_path(filePath), m_nativePath(QFile::encodeName(filePath))
{
    if (m_path.isEmpty())
        qCWarning(lcStore).noquote() << QStringLiteral("no home folder to keep the settings in; "
                                                       "they last only until the program ends");
    reload();
}

QString SettingsStore::defaultFilePath() { return filePathIn(configHome()); }

QString SettingsStore::filePathIn(const QString &configHome)
{
    return configHome.isEmpty() ? QString() : configHome + QStringLiteral("/ravelquint/ravelquint.conf");
}

SettingsStore::FileVersion SettingsStore::currentVersion() const
{
    struct stat info = {};
    if (m_path.isEmpty() || ::stat(m_nativePath.constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

void SettingsStore::reload()
{
    m_loadedVersion = currentVersion();
    ++m_readCount;
    m_text = m_path.isEmpty() ? QByteArray() : safefile::readRegular(m_nativePath).value_or(QByteArray());
    setValues(settingsfile::parse(m_text));
}

void SettingsStore::setValues(const settingsfile::Values &values)
{
    m_values = values;
    m_switches = {};
    m_colours = {};
}

void SettingsStore::refresh()
{
    if (!(currentVersion() == m_loadedVersion))
        reload();
}

QString SettingsStore::GetSetting(Key key, const QString &fallback) const
{
    return m_values[std::size_t(key)].value_or(fallback);
}

// The new text is written and synced without the lock, which a slow disk could otherwise
// hold for seconds; the lock covers the check that nobody wrote meanwhile, and the rename.
// Two clocks on one file therefore never write over each other, and a save that cannot
// take the lock is refused like any other.
bool SettingsStore::SaveSetting(Key key, const QString &value)
{
    const bool saved = writeEntry(key, value);
    settingsfile::Values values = m_values;
    values[std::size_t(key)] = value; // in memory, whatever the disk said
    setValues(values);
    if (!saved) {
        reportSaveFailure();
        return false;
    }
    m_saveError.clear();
    safefile::syncFolderOf(m_nativePath);
    return true;
}

bool SettingsStore::writeEntry(Key key, const QString &value)
{
    if (m_path.isEmpty()) {
        m_saveError = QStringLiteral("there is no home folder");
        return false;
    }
    if (!safefile::makeFolders(QFile::encodeName(QFileInfo(m_path).path()), &m_saveError))
        return false;
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        refresh(); // keep whatever another process wrote
        const QByteArray text = settingsfile::withEntry(m_text, key, value);
        safefile::Replacement replacement(m_nativePath, text);
        if (!replacement.ready()) {
            m_saveError = replacement.error();
            return false;
        }
        const safefile::Lock lock(m_nativePath + ".lock", kLockWaitMs);
        if (!lock.held()) {
            m_saveError = lock.error();
            return false;
        }
        if (!(currentVersion() == m_loadedVersion))
            continue; // written meanwhile: edit that text instead
        if (!replacement.commit()) {
            m_saveError = replacement.error();
            return false;
        }
        // Our own write needs no reading back; a later change by anyone else still shows.
        m_text = text;
        const FileVersion written = currentVersion();
        if (written.inode == replacement.inode())
            m_loadedVersion = written;
        return true;
    }
    m_saveError = QStringLiteral("the file changed at every one of %1 attempts").arg(kSaveAttempts);
    return false;
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

bool SettingsStore::holdsValidValue(Key key) const
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

qint16 SettingsStore::switchValue(Key key)
{
    std::optional<qint16> &cached = m_switches[std::size_t(key)];
    if (!cached)
        cached = convertSwitch(key);
    return *cached;
}

QColor SettingsStore::colour(Key key)
{
    std::optional<QColor> &cached = m_colours[std::size_t(key)];
    if (!cached)
        cached = convertColour(key);
    return *cached;
}

qint16 SettingsStore::convertSwitch(Key key)
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

QColor SettingsStore::convertColour(Key key)
{
    if (const auto colour = storedtext::toColour(GetSetting(key)))
        return *colour;
    const QString fallback = QString::fromLatin1(keyInfo(key).firstRunDefault);
    reportBadText(key, problemWith(key), QStringLiteral("using \"%1\"").arg(fallback));
    return *storedtext::toColour(fallback);
}

std::optional<float> SettingsStore::position(Key key)
{
    const auto position = storedtext::toPosition(GetSetting(key));
    if (!position)
        reportBadText(key, problemWith(key), QStringLiteral("left unchanged"));
    return position;
}

QString SettingsStore::problemWith(Key key) const
{
    return holds(key) ? QStringLiteral("holds \"%1\", which is not a valid value").arg(GetSetting(key))
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
void SettingsStore::writeMissingDefaults(bool firstRun)
{
    for (const KeyInfo &info : kKeys) {
        if (!info.firstRunDefault)
            continue;
        const bool missing = !holds(info.key);
        const bool repair = firstRun && !missing && !holdsValidValue(info.key);
        if ((missing && !firstRun) || repair)
            qCWarning(lcStore).noquote() << QStringLiteral("[%1] %2 %3; writing \"%4\"")
                                                .arg(QLatin1String(info.section), QLatin1String(info.name),
                                                     problemWith(info.key), QLatin1String(info.firstRunDefault));
        if (missing || repair)
            SaveSetting(info.key, QString::fromLatin1(info.firstRunDefault));
    }
}
