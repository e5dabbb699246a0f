#pragma once

#include <QString>

// The XDG autostart entry that starts the clock at login: a copy of the desktop entry
// whose Exec is the running program's absolute path.
class Autostart
{
public:
    // `configHome`: where $XDG_CONFIG_HOME (or ~/.config) is; `program`: what to start.
    Autostart(const QString &configHome, const QString &program);

    QString path() const { return m_path; }
    bool isEnabled() const;
    // Writes the entry atomically, or removes that one file. False when the system
    // refuses, with the reason in error(); nothing has changed then.
    bool setEnabled(bool enabled);
    QString error() const { return m_error; }

    // The Exec value for `program`, quoted as the desktop entry format asks.
    static QString execValue(const QString &program);

private:
    QString m_path;
    QString m_program;
    QString m_error;
};
