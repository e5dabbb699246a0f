#pragma once

#include "core/drift.h"

#include <QDateTime>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>
#include <optional>
#include <vector>

// What the clock measured against the radio's time signal, one line per event, kept in
// $XDG_STATE_HOME/ravelquint/record.tsv: UTC time, source, offset measured (clock minus
// signal, ms), shift applied (ms), outcome. Lines it cannot read stay in the file.
namespace timerecord {

// Estimate: a shift worked out from the drift, not measured; it counts only as a shift.
enum class Source { Hourly, Listening, Click, Estimate };
enum class Outcome { Set, Refused, NeedsAuthorisation, SyncOn, BelowThreshold };

struct Event {
    QDateTime utc;
    Source source = Source::Hourly;
    qint64 offsetMs = 0;
    qint64 shiftMs = 0;
    Outcome outcome = Outcome::Set;
    bool operator==(const Event &) const = default;
};

struct Parsed {
    std::vector<Event> events;
    int unreadableLines = 0;
};

inline constexpr int kKeptLines = 20'000;

QByteArray lineFor(const Event &event);
std::optional<Event> parseLine(QByteArrayView line);
Parsed parse(const QByteArray &text);
// `text` with `line` after it, its oldest lines dropped beyond the kept number.
QByteArray appended(const QByteArray &text, const QByteArray &line);
// Each event's free-running error: its offset less the shifts applied before it.
std::vector<drift::Point> freeRunning(const std::vector<Event> &events);
// The newest event that measured something (an estimate's shift measured nothing), or null.
const Event *lastMeasurement(const std::vector<Event> &events);
// What the free-running error is taken off by, to give the clock's error now.
qint64 shiftsApplied(const std::vector<Event> &events);

} // namespace timerecord

class TimeRecord
{
public:
    // An empty path keeps nothing.
    explicit TimeRecord(const QString &path);
    ~TimeRecord();
    TimeRecord(const TimeRecord &) = delete;
    TimeRecord &operator=(const TimeRecord &) = delete;

    static QString pathIn(const QString &stateHome);
    QString path() const { return m_path; }
    // Appended on a thread of its own, under the lock the settings use; a refusal is
    // told once on stderr, and the file is left as it was. `done` then runs on the
    // application's thread, written or not.
    void append(const timerecord::Event &event, std::function<void()> done = {});
    void waitForAppends();
    timerecord::Parsed read() const;

private:
    QString m_path;
    mutable std::atomic<bool> m_toldUnreadable = false;
    std::atomic<bool> m_toldRefusal = false;
    QThreadPool m_writer;
};
