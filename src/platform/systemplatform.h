#pragma once

#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/platform.h"
#include "platform/timedatedsetter.h"

// The real facilities. main() owns them, after the application object, so they are gone
// before it is.
struct SystemPlatform {
    SystemClock clock;
    TimedatedSetter timeSetter;
    DialogColourPicker colourPicker;

    Platform platform() { return {clock, timeSetter, colourPicker}; }
};
