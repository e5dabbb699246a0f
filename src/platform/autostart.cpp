#include "platform/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace {
const QString kEntryName = QStringLiteral("ravelquint.desktop"); // the installed entry's name

QByteArray entryFor(const QString &program)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Ravelquint\n"
                             "GenericName=Desktop Clock\n"
                             "GenericName[ja]=デスクトップ時計\n"
                             "Comment=A small always-visible clock, started at login\n"
                             "Comment[ja]=ログイン時に起動する小さな常駐時計\n"
                             "Exec=")
           + Autostart::execValue(program).toUtf8()
           + QByteArrayLiteral("\nIcon=ravelquint\n"
                               "Terminal=false\n"
                               "StartupNotify=false\n");
}
} // namespace

Autostart::Autostart(const QString &configHome, const QString &program)
    : m_path(configHome + QStringLiteral("/autostart/") + kEntryName), m_program(program)
{
}

bool Autostart::isEnabled() const { return QFileInfo(m_path).isFile(); }

bool Autostart::setEnabled(bool enabled)
{
    if (!enabled) {
        QFile entry(m_path);
        if (!entry.exists() || entry.remove())
            return true;
        m_error = entry.errorString();
        return false;
    }
    if (!QDir().mkpath(QFileInfo(m_path).path())) {
        m_error = QStringLiteral("%1 を作成できません").arg(QFileInfo(m_path).path());
        return false;
    }
    QSaveFile entry(m_path);
    const QByteArray text = entryFor(m_program);
    if (entry.open(QIODevice::WriteOnly) && entry.write(text) == text.size() && entry.commit())
        return true;
    m_error = entry.errorString();
    return false;
}

// Quoted when it holds anything but plain path characters; '%' starts a field code.
QString Autostart::execValue(const QString &program)
{
    QString escaped = program;
    escaped.replace(QLatin1Char('%'), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (std::none_of(escaped.begin(), escaped.end(), [](QChar c) { return reserved.contains(c); }))
        return escaped;
    QString quoted;
    for (const QChar c : std::as_const(escaped)) {
        // A backslash for the quoting, each doubled again for the string: "\\\"" for '"'.
        if (c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\\\\\");
        else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QLatin1String("\\\\") + c;
        else
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
