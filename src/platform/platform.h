#pragma once

#include "platform/audiocapture.h"
#include "platform/autostart.h"
#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/timesetter.h"

// What the windows need from the operating system; tests hand in fakes.
struct Platform {
    ClockSource &clock;
    TimeSetter &timeSetter;
    ColourPicker &colourPicker;
    Autostart &autostart;
    AudioCapture &audioCapture;
};
