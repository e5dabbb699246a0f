#include "support/tempstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempStore::TempStore() { m_store = std::make_unique<SettingsStore>(path()); }

QString TempStore::path() const { return m_dir.filePath(QStringLiteral("ravelquint/ravelquint.conf")); }

SettingsStore &TempStore::store() { return *m_store; }

// Written as another process would: through a store of its own.
void TempStore::seed(const std::vector<std::pair<Key, QString>> &entries)
{
    SettingsStore other(path());
    for (const auto &[key, value] : entries)
        other.SaveSetting(key, value);
    m_store->refresh();
}

void TempStore::seedDefaults()
{
    std::vector<std::pair<Key, QString>> entries;
    for (const KeyInfo &info : kKeys) {
        if (info.firstRunDefault)
            entries.emplace_back(info.key, QString::fromLatin1(info.firstRunDefault));
    }
    entries.emplace_back(Key::Start, QStringLiteral("1"));
    entries.emplace_back(Key::Top, QStringLiteral("1500"));
    entries.emplace_back(Key::Left, QStringLiteral("3000"));
    seed(entries);
}

QString TempStore::read(Key key) const { return settingsfile::parse(rawText())[std::size_t(key)].value_or(QString()); }

bool TempStore::contains(Key key) const { return settingsfile::parse(rawText())[std::size_t(key)].has_value(); }

// What the disk holds once the store's saves in flight have landed.
QByteArray TempStore::rawText() const
{
    m_store->waitForSaves();
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TempStore::writeRaw(const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path()).path());
    QFile file(path());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(text);
    file.close();
    m_store->refresh();
}
