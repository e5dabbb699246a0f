#pragma once

#include <QString>
#include <chrono>
#include <functional>

// Sets the system clock. The answer may take as long as the desktop's authorisation
// prompt stays open, so it arrives through a callback on the GUI thread.
class TimeSetter
{
public:
    // NeedsAuthorisation: asked without a prompt, and the system wants one.
    enum class Outcome { Done, AutomaticSync, NotAuthorised, NeedsAuthorisation, NoService, NoAnswer, Failed };
    enum class Prompt { Allowed, Never };
    struct Result {
        Outcome outcome = Outcome::Done;
        QString systemMessage; // the system's own words when it refused
    };
    using Callback = std::function<void(const Result &)>;
    // Network time synchronisation, which refuses every change of the time while it is on.
    struct SyncState {
        bool available = false; // a sync service is installed and the time service answers
        bool on = false;
        bool serviceAnswers = false; // the time service answered at all: the clock can be set
    };
    using SyncCallback = std::function<void(const SyncState &)>;

    virtual ~TimeSetter() = default;
    // Moves the clock by `shift` from wherever it is when the change is made: the
    // result stays right however long the authorisation prompt was open.
    virtual void shiftClock(std::chrono::milliseconds shift, Callback done, Prompt prompt = Prompt::Allowed) = 0;
    virtual void readNetworkSync(SyncCallback done) = 0;
    // Asks for authorisation as a change of the time does.
    virtual void setNetworkSync(bool on, Callback done) = 0;
};
