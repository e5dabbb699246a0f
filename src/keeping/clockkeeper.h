#pragma once

#include "keeping/knowledge.h"
#include "platform/timesetter.h"
#include "store/timerecord.h"

#include <QDateTime>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <chrono>

class ClockSource;

// The one door through which the program changes the system clock. Every gesture asks it:
// a click on 秒, the listening box, the hourly listening and the estimate. It changes the
// clock only while the time-signal adjustment is on, one change at a time, and writes the
// record line of each change and measurement. It reads and fits the record on a thread of
// its own and publishes what it learnt; windows only show that.
//
// A person's change waits as long as the authorisation prompt stays open, and where network
// time sync refuses it, it asks (syncQuestion) whether to switch sync off, then sends the
// shift worked out afresh. An unattended change never prompts, and is made only where the
// record finds it plausible.
class ClockKeeper : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kUnattendedThreshold{200};
    // Beyond this a change from the drift, or unattended without one, means a broken record.
    static constexpr std::chrono::milliseconds kLargestBlindShift{60'000};
    // An unattended mark this far from what the record predicts (or five of its sigmas) is
    // a false mark or a late station, until a later hour agrees with it.
    static constexpr std::chrono::milliseconds kImplausibleFloor{2000};
    static constexpr double kImplausibleSigmas = 5;
    static constexpr std::chrono::milliseconds kAgreement{200};
    // A click that moves the clock more than this aimed at no pip: a shift, not a measure.
    static constexpr std::chrono::milliseconds kClickMeasures{5000};
    static constexpr int kEventsShown = 20;
    // Coasting: between heard signals the clock is moved by the expected error once it
    // reaches a step, looked at this often, while the estimate spans a day and is this
    // sure; a larger step than the cap means the estimate is wrong.
    static constexpr std::chrono::minutes kCoastEvery{5};
    static constexpr std::chrono::milliseconds kCoastStep{50};
    static constexpr std::chrono::milliseconds kCoastCap{1000};
    static constexpr std::chrono::hours kCoastSpan{24};
    static constexpr double kCoastSigmaMs = 20;

    enum class Gesture { Click, Listening, Hourly, Estimate, Coast };
    // Off: not asked; Waiting: asked, but the estimate or the system does not allow it now;
    // Coasting: it moves the clock; Stopped: the estimate wanted more than the cap, until a
    // signal is heard again.
    enum class Coast { Off, Waiting, Coasting, Stopped };
    enum class Why { System, Busy, AdjustmentOff, NoEstimate, EstimateTooLarge };
    struct Refusal {
        Gesture by = Gesture::Click;
        Why why = Why::System;
        TimeSetter::Result result;
        QDateTime target;
        bool whileSwitchingSyncOff = false; // refused switching sync off, not setting the time
        bool syncSwitchedOff = false;       // sync went off on the user's word before the refusal
    };

    ClockKeeper(const ClockSource &clock, TimeSetter &setter, QObject *parent = nullptr);

    // Where the events go; read at load(). Without one, they last until the program ends.
    void keepRecord(TimeRecord *record) { m_record = record; }
    void load();
    void setAdjustmentEnabled(bool on) { m_adjustmentEnabled = on; }
    bool adjustmentEnabled() const { return m_adjustmentEnabled; }
    // Clicks are recorded only while the clock listens every hour.
    void setRecordsClicks(bool on) { m_recordsClicks = on; }
    void setCoasting(bool on);
    Coast coast() const { return m_coast; }
    // Moves the clock by the expected error where coasting may; at start and every 5 minutes.
    void considerCoasting();

    // To the minute the face shows (the reading it was drawn from; null: the clock's).
    void click(const QDateTime &faceShows);
    // The clock should have read `target` at `steadyAt` on the steady clock.
    void correctTo(const QDateTime &target, std::chrono::milliseconds steadyAt);
    void correctUnattended(const QDateTime &target, std::chrono::milliseconds steadyAt);
    void applyEstimate();
    // Why the estimate cannot be applied at `nowMs`, if it cannot.
    std::optional<Why> estimateRefusal(qint64 nowMs) const;
    // How far from the clock the last unattended mark was heard, where the record doubted it
    // within the last hour and a half: the next window listens around it, so that a second
    // mark can confirm it. Zero otherwise.
    std::chrono::milliseconds doubtedOffset(const QDateTime &now) const;
    void answerSyncQuestion(bool switchSyncOff);
    bool isPending() const { return m_pending; }
    // The shift the last change made.
    std::chrono::milliseconds lastShift() const { return m_lastShift; }

    const knowledge::Knowledge &known() const { return m_known; }
    // The fits asked for so far are published before this returns.
    void waitForFits();

signals:
    void syncQuestion();
    void adjusted(ClockKeeper::Gesture by, const QDateTime &target);
    void refused(const ClockKeeper::Refusal &refusal);
    // The user kept network sync on: the time was left as it was.
    void declined(ClockKeeper::Gesture by);
    void published();
    void coastChanged(ClockKeeper::Coast coast);

private:
    struct Request {
        Gesture by = Gesture::Click;
        QDateTime target;                 // what the clock should have read at…
        std::chrono::milliseconds steadyAt{}; // …this moment of the steady clock
        QDateTime reading;                // when it was asked
        qint64 offsetMs = 0;              // clock minus signal, as asked
    };

    void begin(const Request &request);
    void send(const QDateTime &now);
    void answered(const TimeSetter::Result &result, std::chrono::milliseconds shift);
    void refuse(Gesture by, Why why, const TimeSetter::Result &result = {}, bool whileSwitchingSyncOff = false);
    void judgeUnattended(const Request &request, const TimeSetter::SyncState &sync);
    // What the record expected the offset to be, where `offsetMs` is to be believed.
    std::optional<double> plausibleAgainst(qint64 offsetMs, const QDateTime &now) const;
    void finish(timerecord::Outcome outcome, std::chrono::milliseconds shift);
    void record(const timerecord::Event &event);
    void refit();
    void coastIs(Coast coast);
    void coastOn(const TimeSetter::SyncState &sync);
    std::optional<knowledge::ClockError> coastingError(const QDateTime &now) const;

    const ClockSource &m_clock;
    TimeSetter &m_setter;
    TimeRecord *m_record = nullptr;
    std::vector<timerecord::Event> m_events;
    std::vector<timerecord::Event> m_sinceLoad; // recorded while the file was being read
    int m_fitsInFlight = 0;
    knowledge::Knowledge m_known;
    Request m_request;
    std::chrono::milliseconds m_lastShift{};
    bool m_pending = false;
    bool m_askedAboutSync = false;
    bool m_adjustmentEnabled = true;
    bool m_recordsClicks = false;
    bool m_loading = false;
    Coast m_coast = Coast::Off;
    QTimer m_coastTimer;
    QThreadPool m_fitter;
};
