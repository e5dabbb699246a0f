#pragma once

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

// Estimate: a shift worked out from the drift; Hand: a change by hand (a click that moved
// the clock by more than a person's aim at a pip, or a step by another hand that two hours'
// marks confirmed). Neither measured anything: they count only as shifts.
enum class Source { Hourly, Listening, Click, Estimate, Hand };
// Implausible: heard too far from what the record predicts to be set unattended;
// AdjustmentOff: measured while the time-signal adjustment was switched off.
enum class Outcome { Set, Refused, NeedsAuthorisation, SyncOn, BelowThreshold, Implausible, AdjustmentOff };

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
    // Appended on a thread of its own, under a lock beside the file; a refusal is told
    // once on stderr, and the file is left as it was.
    void append(const timerecord::Event &event);
    // Read on the same thread, after every append asked for before: `done` then runs on
    // `context`'s thread.
    void readLater(QObject *context, std::function<void(timerecord::Parsed)> done);
    void waitForAppends();
    timerecord::Parsed read() const;

private:
    QString m_path;
    mutable std::atomic<bool> m_toldUnreadable = false;
    std::atomic<bool> m_toldRefusal = false;
    QThreadPool m_writer;
};
