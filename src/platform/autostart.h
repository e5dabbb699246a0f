#pragma once

#include <QString>

// Starting the clock at login. Refusals leave everything as it was and say why in why().
class Autostart
{
public:
    virtual ~Autostart() = default;
    // Whether this clock really starts at login.
    virtual bool isEnabled() const = 0;
    virtual bool setEnabled(bool enabled) = 0;

    enum class Problem { NoHome, ProgramNotUtf8, UnreadableEntry, System };
    struct Refusal {
        Problem problem = Problem::System;
        QString systemMessage; // for Problem::System
    };
    // Why the last change was refused.
    virtual Refusal why() const = 0;
    // Where the entry is, for the user's eyes.
    virtual QString path() const = 0;
};
