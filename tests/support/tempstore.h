#pragma once

#include "store/settingsstore.h"

#include <QTemporaryDir>
#include <memory>
#include <utility>
#include <vector>

// A settings file of its own in a temporary folder, with helpers to seed and inspect it
// the way another process or a hand edit would.
class TempStore
{
public:
    TempStore();

    QString path() const;
    SettingsStore &store();

    void seed(const std::vector<std::pair<Key, QString>> &entries);
    void seedDefaults();
    QString read(Key key) const;
    bool contains(Key key) const;
    QByteArray rawText() const;
    void writeRaw(const QByteArray &text);

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_store;
};
