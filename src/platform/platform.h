#pragma once

#include "platform/audiocapture.h"
#include "platform/autostart.h"
#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/timesetter.h"
#include "platform/wallalarm.h"

// What the windows need from the operating system; tests hand in fakes.
struct Platform {
    ClockSource &clock;
    TimeSetter &timeSetter;
    ColourPicker &colourPicker;
    Autostart &autostart;
    AudioCapture &audioCapture;
    WallAlarm &alarm;
    // The window system lets a program place its window and says where it is (X11).
    bool placesWindows;
};
