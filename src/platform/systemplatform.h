#pragma once

#include "platform/clocksource.h"
#include "platform/colourpicker.h"
#include "platform/desktopautostart.h"
#include "platform/lazycapture.h"
#include "platform/platform.h"
#include "platform/timedatedsetter.h"

#include <QGuiApplication>

// The real facilities. main() owns them, after the application object, so they are gone
// before it is.
struct SystemPlatform {
    SystemClock clock;
    TimedatedSetter timeSetter;
    DialogColourPicker colourPicker;
    DesktopAutostart autostart;
    LazyCapture audioCapture;
    TimerFdAlarm alarm;

    // `configHome` is where the settings live too; `program` is what starts at login; the
    // capture's module is looked for in `moduleFolders`.
    SystemPlatform(const QString &configHome, const QByteArray &program, const QStringList &moduleFolders)
        : autostart(configHome, program), audioCapture(moduleFolders)
    {
    }
    Platform platform()
    {
        const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
        return {clock, timeSetter, colourPicker, autostart, audioCapture, alarm, x11};
    }
};
