#pragma once

#include "platform/autostart.h"

#include <QByteArray>

// The XDG autostart entry <config home>/autostart/ravelquint.desktop, whose Exec is the
// program's absolute path. It is written by the same safe-file code as the settings. An
// entry the user edited is theirs: switching on enables it in place, switching off hides
// it (Hidden=true); only the entry exactly as this program writes it is removed.
class DesktopAutostart final : public Autostart
{
public:
    // `configHome` empty (no home): every change is refused and nothing is written.
    // `program` is the path as the system gives it: bytes, which an entry can hold only
    // when they are UTF-8.
    DesktopAutostart(const QString &configHome, const QByteArray &program);

    // The running program's path, as the kernel has it.
    static QByteArray runningProgram();

    bool isEnabled() const override;
    bool setEnabled(bool enabled) override;
    Refusal why() const override { return m_refusal; }
    QString path() const override { return m_path; }

    // The Exec value for `program`, quoted and escaped as the Desktop Entry rules ask.
    static QString execValue(const QString &program);
    // The program an Exec value starts, as a launcher reads it.
    static QString programOf(const QString &execValue);
    // The entry as this program writes it.
    static QByteArray entryFor(const QString &program);

private:
    bool enable();
    bool disable();
    bool write(const QByteArray &text);
    bool refuse(Problem problem, const QString &systemMessage = {});

    QString m_path;
    QString m_program; // empty where the bytes are not UTF-8
    Refusal m_refusal;
};
