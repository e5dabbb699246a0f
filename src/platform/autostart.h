#pragma once

#include <QString>

// Starting the clock at login. Refusals leave everything as it was and say why in error().
class Autostart
{
public:
    virtual ~Autostart() = default;
    // Whether this clock really starts at login.
    virtual bool isEnabled() const = 0;
    virtual bool setEnabled(bool enabled) = 0;
    virtual QString error() const = 0;
    // Where the entry is, for the user's eyes.
    virtual QString path() const = 0;
};
