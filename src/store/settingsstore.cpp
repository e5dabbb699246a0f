#include "store/settingsstore.h"

#include "core/confighome.h"
#include "core/safefile.h"
#include "store/storedtext.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcStore, "ravelquint.store")

namespace {
constexpr int kLockWaitMs = 2000; // another clock holds it only for a check and a rename
constexpr int kSaveAttempts = 5;

// The file's text (empty where there is none, or no regular file), or nothing where it is
// there but cannot be read, with the system's reason in `why`.
std::optional<QByteArray> readSettings(const QByteArray &path, bool exists, QString *why)
{
    int error = ENOENT;
    const auto text = exists ? safefile::readRegular(path, &error) : std::nullopt;
    if (text || error == ENOENT)
        return text.value_or(QByteArray());
    *why = safefile::errorText(error);
    return std::nullopt;
}

QString unreadable(const QString &why) { return QCoreApplication::translate("SettingsStore", "読めませんでした: %1").arg(why); }

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }
} // namespace

bool SettingsStore::FileVersion::operator==(const FileVersion &other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size
           && modified == other.modified && changed == other.changed;
}

struct SettingsStore::PendingSave {
    Edits edits;
    std::atomic<bool> finished = false;
    Outcome outcome; // the worker's, complete once `finished` is set
};

SettingsStore::SettingsStore(const QString &filePath) : m_path(filePath), m_nativePath(QFile::encodeName(filePath))
{
    m_writer.setMaxThreadCount(1);
    m_reportedSaveFailure = m_path.isEmpty(); // told where the folder was looked for
    reload();
}

SettingsStore::~SettingsStore() { waitForSaves(); }

QString SettingsStore::defaultFilePath() { return filePathIn(configHome()); }

QString SettingsStore::filePathIn(const QString &configHome)
{
    return configHome.isEmpty() ? QString() : configHome + QStringLiteral("/ravelquint/ravelquint.conf");
}

SettingsStore::FileVersion SettingsStore::versionOf(const QByteArray &path)
{
    struct stat info = {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

void SettingsStore::reload()
{
    m_loadedVersion = versionOf(m_nativePath);
    ++m_readCount;
    QString why;
    const auto text = readSettings(m_nativePath, m_loadedVersion.exists, &why);
    if (!text)
        refuseReading(why);
    setValues(settingsfile::parse(text.value_or(QByteArray())));
}

// Defaults written over a file the user cannot read would replace settings they still have.
void SettingsStore::refuseReading(const QString &why)
{
    if (!m_readRefusal.isEmpty())
        return;
    m_readRefusal = unreadable(why);
    m_reportedSaveFailure = true; // this says why
    qCWarning(lcStore).noquote() << QCoreApplication::translate("SettingsStore", "%1 の設定を読めません(%2)。既定値で動き、"
                                                                "ファイルは終了までそのままにします")
                                        .arg(m_path, why);
}

void SettingsStore::setValues(const settingsfile::Values &values)
{
    m_values = values;
    for (std::size_t i = 0; i < m_unsaved.size(); ++i) {
        if (m_unsaved[i])
            m_values[i] = m_unsaved[i];
    }
    m_switches = {};
    m_colours = {};
    ++m_generation;
}

void SettingsStore::refresh()
{
    takeFinishedSaves();
    retryRefusedSave();
    if (m_watch.mayHaveChanged() && !(versionOf(m_nativePath) == m_loadedVersion))
        reload();
}

// A refused save (a lock another program held, a full disk) is tried again every few
// seconds while its values wait: a place moved meanwhile reaches the disk once the lock is
// let go, not only at the next change, and survives a kill after that.
void SettingsStore::retryRefusedSave()
{
    constexpr qint64 kRetryMs = 2000;
    const bool waiting = std::any_of(m_unsaved.begin(), m_unsaved.end(), [](const auto &v) { return v.has_value(); });
    if (m_saveError.isEmpty() || !waiting || !m_pending.empty() || m_path.isEmpty() || !m_readRefusal.isEmpty()
        || (m_lastRetry.isValid() && !m_lastRetry.hasExpired(kRetryMs)))
        return;
    m_lastRetry.start();
    submit({});
}

QString SettingsStore::GetSetting(Key key, const QString &fallback) const
{
    return m_values[std::size_t(key)].value_or(fallback);
}

bool SettingsStore::SaveSetting(Key key, const QString &value) { return saveAll({{key, value}}); }

bool SettingsStore::saveAll(const Edits &edits)
{
    const std::shared_ptr<PendingSave> save = submit(edits);
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread() && QAbstractEventDispatcher::instance()) {
        while (!save->finished)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    } else {
        m_writer.waitForDone();
    }
    takeFinishedSaves();
    if (!save->outcome.saved)
        m_saveError = save->outcome.error; // this save's reason, whatever finished meanwhile
    return save->outcome.saved;
}

void SettingsStore::saveInBackground(const Edits &edits) { submit(edits); }

// A session manager gives a stopping program a few seconds: the saves still queued, or
// waiting on a lock, give way to this one, which carries their values and waits once.
bool SettingsStore::saveLast(const Edits &edits)
{
    m_stopping = true;
    m_writer.waitForDone();
    takeFinishedSaves();
    m_stopping = false;
    return saveAll(edits);
}

void SettingsStore::waitForSaves()
{
    m_writer.waitForDone();
    takeFinishedSaves();
}

std::shared_ptr<SettingsStore::PendingSave> SettingsStore::submit(const Edits &edits)
{
    auto save = std::make_shared<PendingSave>();
    save->edits = edits;
    for (const auto &[key, value] : edits)
        m_unsaved[std::size_t(key)] = value;
    // What an earlier save could not write goes with this one, so it lands with the next success.
    for (std::size_t i = 0; i < m_unsaved.size(); ++i) {
        const bool inEdits = std::any_of(edits.begin(), edits.end(), [i](const auto &e) { return std::size_t(e.first) == i; });
        if (m_unsaved[i] && !inEdits)
            save->edits.emplace_back(Key(i), *m_unsaved[i]);
    }
    setValues(m_values); // in memory at once, whatever the disk will say
    if (m_path.isEmpty() || !m_readRefusal.isEmpty()) {
        save->outcome.error = m_path.isEmpty() ? QCoreApplication::translate("SettingsStore", "設定フォルダーがありません") : m_readRefusal;
        save->finished = true;
    } else {
        QAbstractEventDispatcher *waiter = QAbstractEventDispatcher::instance();
        m_writer.start([save, path = m_nativePath, waiter, stopping = &m_stopping] {
            save->outcome = writeEdits(path, save->edits, stopping);
            save->finished = true;
            if (waiter)
                waiter->wakeUp();
        });
    }
    m_pending.push_back(save);
    return save;
}

void SettingsStore::takeFinishedSaves()
{
    while (!m_pending.empty() && m_pending.front()->finished) {
        const std::shared_ptr<PendingSave> save = m_pending.front();
        m_pending.pop_front();
        takeOutcome(*save);
    }
}

void SettingsStore::takeOutcome(const PendingSave &save)
{
    const Outcome &outcome = save.outcome;
    if (outcome.abandoned)
        return; // its values go with the last save
    if (!outcome.saved) {
        m_saveError = outcome.error;
        reportSaveFailure();
        return;
    }
    m_saveError.clear();
    ++m_writeCount;
    for (const auto &[key, value] : save.edits) {
        if (m_unsaved[std::size_t(key)] == value)
            m_unsaved[std::size_t(key)].reset();
    }
    // Our own write needs no reading back; a later change by anyone else still shows.
    if (outcome.version.exists && versionOf(m_nativePath) == outcome.version) {
        m_loadedVersion = outcome.version;
        setValues(settingsfile::parse(outcome.text));
    }
}

// Runs on the writer thread, on nothing but its arguments. The new text is written and
// synced without the lock, which a slow disk could otherwise hold for seconds; the lock
// covers the check that nobody wrote meanwhile, and the rename. Two clocks on one file
// therefore never write over each other, and a save that cannot take the lock is refused.
SettingsStore::Outcome SettingsStore::writeEdits(const QByteArray &path, const Edits &edits,
                                                 const std::atomic<bool> *stopping)
{
    Outcome outcome;
    if (*stopping) {
        outcome.abandoned = true;
        return outcome;
    }
    if (!safefile::makeFolders(path.left(path.lastIndexOf('/')), &outcome.error))
        return outcome;
    for (int attempt = 0; attempt < kSaveAttempts; ++attempt) {
        const FileVersion before = versionOf(path);
        QString why;
        std::optional<QByteArray> text = readSettings(path, before.exists, &why);
        if (!text) {
            outcome.error = unreadable(why);
            return outcome;
        }
        for (const auto &[key, value] : edits)
            *text = settingsfile::withEntry(*text, key, value);
        safefile::Replacement replacement(path, *text);
        if (!replacement.ready()) {
            outcome.error = replacement.error();
            return outcome;
        }
        const safefile::Lock lock(path + ".lock", kLockWaitMs, stopping);
        if (!lock.held()) {
            outcome.error = lock.error();
            outcome.abandoned = *stopping;
            return outcome;
        }
        if (!(versionOf(path) == before))
            continue; // written meanwhile: edit that text instead
        if (!replacement.commit()) {
            outcome.error = replacement.error();
            return outcome;
        }
        const FileVersion written = versionOf(path);
        safefile::syncFolderOf(path);
        return {true, false, {}, *text, written.inode == replacement.inode() ? written : FileVersion{}};
    }
    outcome.error = QCoreApplication::translate("SettingsStore", "%1 回試みて、そのたびにファイルが変わっていました").arg(kSaveAttempts);
    return outcome;
}

void SettingsStore::reportSaveFailure()
{
    if (m_reportedSaveFailure)
        return;
    m_reportedSaveFailure = true;
    qCWarning(lcStore).noquote() << QCoreApplication::translate("SettingsStore", "%1 に設定を保存できません(%2)。"
                                                                "変更は終了までしか残りません")
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
            reportBadText(key, QCoreApplication::translate("SettingsStore", "「%1」は 0 でも 1 でもありません").arg(text),
                          QCoreApplication::translate("SettingsStore", "そのまま読みます"));
        return *value;
    }
    const char *fallback = isMarker ? kStartDefault : info.firstRunDefault;
    reportBadText(key, problemWith(key), QCoreApplication::translate("SettingsStore", "「%1」を使います").arg(QLatin1String(fallback)));
    return *storedtext::toSwitch(QString::fromLatin1(fallback));
}

QColor SettingsStore::convertColour(Key key)
{
    if (const auto colour = storedtext::toColour(GetSetting(key)))
        return *colour;
    const QString fallback = QString::fromLatin1(keyInfo(key).firstRunDefault);
    reportBadText(key, problemWith(key), QCoreApplication::translate("SettingsStore", "「%1」を使います").arg(fallback));
    return *storedtext::toColour(fallback);
}

std::optional<float> SettingsStore::position(Key key)
{
    const auto position = storedtext::toPosition(GetSetting(key));
    if (!position)
        reportBadText(key, problemWith(key), QCoreApplication::translate("SettingsStore", "変えずにおきます"));
    return position;
}

QString SettingsStore::problemWith(Key key) const
{
    return holds(key) ? QCoreApplication::translate("SettingsStore", "「%1」は正しい値ではありません").arg(GetSetting(key))
                      : QCoreApplication::translate("SettingsStore", "値がありません");
}

void SettingsStore::reportBadText(Key key, const QString &problem, const QString &outcome)
{
    const auto index = static_cast<std::size_t>(key);
    if (m_reported.test(index))
        return;
    m_reported.set(index);
    const KeyInfo &info = keyInfo(key);
    qCWarning(lcStore).noquote() << QCoreApplication::translate("SettingsStore", "[%1] %2: %3。%4")
                                        .arg(QLatin1String(info.section), QLatin1String(info.name), problem, outcome);
}

// A store deleted under a running clock is whole again at the next start. A first run also
// mends what it cannot read, keeping whatever the user chose before a first run that never
// closed; later runs leave a hand edit for the user to mend. One save for them all: a
// first run must not wait for the lock once per key.
void SettingsStore::writeMissingDefaults(bool firstRun)
{
    if (!m_readRefusal.isEmpty())
        return;
    Edits defaults;
    for (const KeyInfo &info : kKeys) {
        if (!info.firstRunDefault)
            continue;
        const bool missing = !holds(info.key);
        const bool repair = firstRun && !missing && !holdsValidValue(info.key);
        const bool extra = int(info.key) >= int(kFirstExtra);
        if ((missing && !firstRun && !extra) || repair)
            qCWarning(lcStore).noquote() << QCoreApplication::translate("SettingsStore", "[%1] %2: %3。「%4」を書きます")
                                                .arg(QLatin1String(info.section), QLatin1String(info.name),
                                                     problemWith(info.key), QLatin1String(info.firstRunDefault));
        if (missing || repair)
            defaults.emplace_back(info.key, QString::fromLatin1(info.firstRunDefault));
    }
    if (!defaults.empty())
        saveInBackground(defaults);
}
