#include "store/timerecord.h"

#include "core/safefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QPointer>
#include <algorithm>
#include <array>
#include <cerrno>
#include <malloc.h>

Q_DECLARE_LOGGING_CATEGORY(lcStore)

namespace timerecord {

namespace {
constexpr std::array<const char *, 5> kSources{"hourly", "listening", "click", "estimate", "hand"};
constexpr std::array<const char *, 7> kOutcomes{"set",      "refused",     "needs-authorisation", "sync-on",
                                                "below-threshold", "implausible", "adjustment-off"};

template <typename Enum, std::size_t N>
std::optional<Enum> named(const std::array<const char *, N> &names, QByteArrayView word)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (word == names[i])
            return Enum(i);
    }
    return std::nullopt;
}

std::optional<qint64> whole(QByteArrayView text)
{
    bool ok = false;
    const qint64 value = text.toByteArray().toLongLong(&ok);
    return ok ? std::optional(value) : std::nullopt;
}
} // namespace

QByteArray lineFor(const Event &event)
{
    return event.utc.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\t' + kSources[std::size_t(event.source)] + '\t'
           + QByteArray::number(event.offsetMs) + '\t' + QByteArray::number(event.shiftMs) + '\t'
           + kOutcomes[std::size_t(event.outcome)] + '\n';
}

std::optional<Event> parseLine(QByteArrayView line)
{
    const QList<QByteArray> fields = line.toByteArray().trimmed().split('\t');
    if (fields.size() != 5)
        return std::nullopt;
    const QDateTime utc = QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs);
    const auto source = named<Source>(kSources, fields[1]);
    const auto offset = whole(fields[2]);
    const auto shift = whole(fields[3]);
    const auto outcome = named<Outcome>(kOutcomes, fields[4]);
    if (!utc.isValid() || utc.timeSpec() != Qt::UTC || !source || !offset || !shift || !outcome)
        return std::nullopt;
    return Event{utc, *source, *offset, *shift, *outcome};
}

Parsed parse(const QByteArray &text)
{
    Parsed parsed;
    for (const QByteArray &line : text.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (const auto event = parseLine(line))
            parsed.events.push_back(*event);
        else
            ++parsed.unreadableLines;
    }
    return parsed;
}

QByteArray appended(const QByteArray &text, const QByteArray &line)
{
    QByteArray whole = text;
    if (!whole.isEmpty() && !whole.endsWith('\n'))
        whole += '\n';
    whole += line;
    qsizetype lines = whole.count('\n');
    qsizetype from = 0;
    for (; lines > kKeptLines; --lines)
        from = whole.indexOf('\n', from) + 1;
    return whole.mid(from);
}

} // namespace timerecord

namespace {
constexpr int kLockWaitMs = 2000;

void tellOnce(std::atomic<bool> &told, const QString &text)
{
    if (!told.exchange(true))
        qCWarning(lcStore).noquote() << text;
}
} // namespace

TimeRecord::TimeRecord(const QString &path) : m_path(path) { m_writer.setMaxThreadCount(1); }

TimeRecord::~TimeRecord() { waitForAppends(); }

QString TimeRecord::pathIn(const QString &stateHome)
{
    return stateHome.isEmpty() ? QString() : stateHome + QStringLiteral("/ravelquint/record.tsv");
}

void TimeRecord::append(const timerecord::Event &event)
{
    if (m_path.isEmpty())
        return;
    m_writer.start([this, path = QFile::encodeName(m_path), line = timerecord::lineFor(event)] {
        QString why;
        const auto refuse = [&](const QString &reason) {
            tellOnce(m_toldRefusal, QCoreApplication::translate("TimeRecord", "%1 に記録を書き足せません(%2)")
                                        .arg(QFile::decodeName(path), reason));
        };
        if (!safefile::makeFolders(path.left(path.lastIndexOf('/')), &why))
            return refuse(why);
        const safefile::Lock lock(path + ".lock", kLockWaitMs);
        if (!lock.held())
            return refuse(lock.error());
        int error = ENOENT;
        const std::optional<QByteArray> text = safefile::readRegular(path, &error);
        if (!text && error != ENOENT)
            return refuse(safefile::errorText(error)); // a file it cannot read is not replaced
        safefile::Replacement replacement(path, timerecord::appended(text.value_or(QByteArray()), line));
        if (!replacement.ready() || !replacement.commit())
            return refuse(replacement.error());
        safefile::syncFolderOf(path);
    });
}

void TimeRecord::readLater(QObject *context, std::function<void(timerecord::Parsed)> done)
{
    m_writer.start([this, context = QPointer<QObject>(context), done = std::move(done)] {
        timerecord::Parsed parsed = read();
        ::malloc_trim(0); // the file's text and its split lines were this thread's: give them back
        // Through the application, which outlives whoever asked.
        if (QCoreApplication::instance())
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [context, done, parsed = std::move(parsed)]() mutable {
                    if (context)
                        done(std::move(parsed));
                },
                Qt::QueuedConnection);
    });
}

void TimeRecord::waitForAppends() { m_writer.waitForDone(); }

timerecord::Parsed TimeRecord::read() const
{
    const auto text = m_path.isEmpty() ? std::nullopt : safefile::readRegular(QFile::encodeName(m_path));
    timerecord::Parsed parsed = timerecord::parse(text.value_or(QByteArray()));
    if (parsed.unreadableLines > 0)
        tellOnce(m_toldUnreadable, QCoreApplication::translate("TimeRecord", "%1 の %2 行を読めないので飛ばします")
                                       .arg(m_path)
                                       .arg(parsed.unreadableLines));
    return parsed;
}
