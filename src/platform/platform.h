#pragma once

#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/timedatedsetter.h"
#include "platform/timesetter.h"

// What the windows need from the operating system; tests hand in fakes.
struct Platform {
    ClockSource &clock;
    TimeSetter &timeSetter;
    ColourPicker &colourPicker;
};

// The real facilities. main() owns them, after the application object, so they are gone
// before it is.
struct SystemPlatform {
    SystemClock clock;
    TimedatedSetter timeSetter;
    DialogColourPicker colourPicker;

    Platform platform() { return {clock, timeSetter, colourPicker}; }
};
