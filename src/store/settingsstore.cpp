#include "store/settingsstore.h"

#include "store/storedtext.h"

#include <QFile>
#include <QtDebug>

namespace {
constexpr const char *kOrganisation = "ravelquint";
constexpr const char *kApplication = "ravelquint";

const std::array<QString, kKeys.size()> &settingPaths()
{
    static const auto paths = [] {
        std::array<QString, kKeys.size()> built;
        for (const KeyInfo &info : kKeys)
            built[std::size_t(info.key)] = QLatin1String(info.section) + QLatin1Char('/') + QLatin1String(info.name);
        return built;
    }();
    return paths;
}

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
} // namespace

bool SettingsStore::FileVersion::operator==(const FileVersion &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
           && modified == other.modified && changed == other.changed;
}

SettingsStore::SettingsStore(const QString &filePath)
    : m_settings(filePath, QSettings::NativeFormat), m_nativePath(QFile::encodeName(filePath))
{
    m_settings.setAtomicSyncRequired(true);
    reload();
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
    m_settings.sync();
    for (const KeyInfo &info : kKeys) {
        const QVariant value = m_settings.value(settingPaths()[std::size_t(info.key)]);
        m_values[std::size_t(info.key)] = value.isValid() ? std::optional(value.toString()) : std::nullopt;
    }
}

QString SettingsStore::defaultFilePath()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication).fileName();
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

void SettingsStore::SaveSetting(Key key, const QString &value)
{
    m_settings.setValue(settingPaths()[std::size_t(key)], value);
    reload(); // writes the file, and takes in whatever another process wrote meanwhile
    // QSettings' status stays set once an error occurred, so it cannot tell a failed write;
    // whether the file may be written can.
    if (!m_settings.isWritable() && !m_reportedWriteFailure) {
        m_reportedWriteFailure = true;
        qWarning().noquote() << "ravelquint: cannot write the settings file" << m_settings.fileName()
                             << "- changes last only until the program ends";
    }
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
    const bool isMarker = keyInfo(key).encoding == Encoding::Marker;
    const QString text = isMarker ? GetSetting(key, QLatin1String(kStartDefault)) : GetSetting(key);
    if (const auto value = storedtext::toSwitch(text))
        return *value;
    const char *fallback = isMarker ? kStartDefault : keyInfo(key).firstRunDefault;
    reportBadText(key, text, fallback);
    return *storedtext::toSwitch(QString::fromLatin1(fallback));
}

template <typename T>
std::optional<T> SettingsStore::GetConverted(Key key, std::optional<T> (*convert)(const QString &))
{
    const QString text = GetSetting(key);
    const std::optional<T> value = convert(text);
    if (!value)
        reportBadText(key, text, nullptr);
    return value;
}

std::optional<QColor> SettingsStore::GetColour(Key key) { return GetConverted(key, storedtext::toColour); }

std::optional<float> SettingsStore::GetPosition(Key key) { return GetConverted(key, storedtext::toPosition); }

void SettingsStore::reportBadText(Key key, const QString &text, const char *fallback)
{
    const auto index = static_cast<std::size_t>(key);
    if (m_reported.test(index))
        return;
    m_reported.set(index);
    const KeyInfo &info = keyInfo(key);
    const QString outcome = fallback ? QStringLiteral("using \"%1\"").arg(QLatin1String(fallback))
                                     : QStringLiteral("left unchanged");
    qWarning().noquote() << QStringLiteral("ravelquint: [%1] %2 holds \"%3\", which is not a valid value; %4")
                                .arg(QLatin1String(info.section), QLatin1String(info.name), text, outcome);
}
