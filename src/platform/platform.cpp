#include "platform/platform.h"

#include "platform/timedatedsetter.h"

Platform Platform::system()
{
    static SystemClock clock;
    static TimedatedSetter timeSetter;
    static DialogColourPicker colourPicker;
    return {clock, timeSetter, colourPicker};
}
