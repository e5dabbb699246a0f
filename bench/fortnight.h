#pragma once

#include <QString>
#include <vector>

// A computer left running for days: its clock drifts, a radio gives the time signal in some
// hours, and the real keeper and hourly listening keep it. Simulated time, no sound: the
// ear hears the mark the radio gives, as the detector would. Fourteen days take well under
// a second.
namespace fortnight {

enum class Radio { EveryHour, OneInThree, SilentAfterThreeDays, TwoDaysSilent };

struct Scenario {
    double secondsPerDay = 2;  // how fast the clock runs off on its own
    double jitterMs = 2;       // of each mark
    int days = 14;
    Radio radio = Radio::EveryHour;
    int falseMarkHour = -1; // in this hour the mark is this far off
    double falseMarkMs = 0;
    int lateHour = -1;      // in this hour the station is heard 18 s late
    int stepHour = -1;      // in this hour's window the clock is stepped by stepMs
    double stepMs = 0;
    int resumeHour = -1;    // the computer sleeps from half an hour before this hour until 5 s before
    int estimateHour = -1;  // half an hour after this hour, a person presses 「見積もりで合わせる」
    bool unattendedAllowed = true;
    bool adjustment = true; // the time-signal adjustment switch
    bool syncOn = false;
    int syncOffFromHour = -1;  // with syncOn, network sync goes off at this hour
    bool coast = false;        // 「見積もりで自動的に合わせる」
    double wanderPerDay = 0;   // the drift changes by this much (s a day) each midnight, either way
};

struct Report {
    std::vector<double> errorMs; // the clock's true error just before each hour (clock minus true)
    double worstMs = 0;          // the largest of those, and of every moment after a change
    double afterEstimateMs = 0;  // the true error just after the estimate was applied
    int shifts = 0;              // changes the time service made
    int heard = 0;               // marks the ear gave
    QString outcomes;            // each record line's outcome, one letter each (see run())
    std::vector<double> expectedMs; // the keeper's expected error just before each hour (NaN: none)
    std::vector<double> sigmaMs;    // and its stated uncertainty
    double largestCoastStepMs = 0;
    bool coastStopped = false;   // coasting stopped itself (and said so) after it had moved the clock
    double worstWhileCoastingMs = 0;  // the true error at any silent hour while coasting
    double worstMissWhileCoasting = 0; // the largest |true − expected| / stated sigma then
};

Report run(const Scenario &scenario);

} // namespace fortnight
