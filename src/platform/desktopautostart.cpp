#include "platform/desktopautostart.h"

#include "core/safefile.h"

#include <QDir>
#include <climits>
#include <unistd.h>
#include <QStringDecoder>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <algorithm>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kEntryName = QStringLiteral("ravelquint.desktop"); // the installed entry's name
const QByteArray kGroup = QByteArrayLiteral("[Desktop Entry]");

// The entry's lines; each key is looked up and set in its [Desktop Entry] group.
class EntryText
{
public:
    explicit EntryText(const QByteArray &text) : m_lines(text.split('\n')) {}

    std::optional<QByteArray> value(const QByteArray &key) const
    {
        const qsizetype at = find(key);
        if (at < 0)
            return std::nullopt;
        return m_lines[at].mid(m_lines[at].indexOf('=') + 1).trimmed();
    }
    void set(const QByteArray &key, const QByteArray &value)
    {
        const QByteArray line = key + '=' + value;
        if (const qsizetype at = find(key); at >= 0)
            m_lines[at] = line;
        else if (const qsizetype group = m_lines.indexOf(kGroup); group >= 0)
            m_lines.insert(group + 1, line);
        else
            m_lines = QList<QByteArray>{kGroup, line} + m_lines;
    }
    QByteArray text() const { return m_lines.join('\n'); }

private:
    qsizetype find(const QByteArray &key) const
    {
        bool inGroup = false;
        for (qsizetype i = 0; i < m_lines.size(); ++i) {
            const QByteArray line = m_lines[i].trimmed();
            if (line.startsWith('['))
                inGroup = line == kGroup;
            else if (inGroup && line.startsWith(key) && line.mid(key.size()).trimmed().startsWith('='))
                return i;
        }
        return -1;
    }

    QList<QByteArray> m_lines;
};

bool exists(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

// A path that is not UTF-8 has no Exec line: a desktop entry is UTF-8 text.
QString utf8Program(const QByteArray &program)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(program);
    return utf8.hasError() || !QDir::isAbsolutePath(decoded) ? QString() : decoded;
}
} // namespace

DesktopAutostart::DesktopAutostart(const QString &configHome, const QByteArray &program)
    : m_path(QDir::isAbsolutePath(configHome) ? configHome + QStringLiteral("/autostart/") + kEntryName : QString()),
      m_program(utf8Program(program))
{
}

QByteArray DesktopAutostart::runningProgram()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && length < ssize_t(sizeof path) ? QByteArray(path, length) : QByteArray();
}

QByteArray DesktopAutostart::entryFor(const QString &program)
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Ravelquint\n"
                             "GenericName=Desktop Clock\n"
                             "GenericName[ja]=デスクトップ時計\n"
                             "Comment=A small always-visible clock, started at login\n"
                             "Comment[ja]=ログイン時に起動する小さな常駐時計\n"
                             "Exec=")
           + execValue(program).toUtf8()
           + QByteArrayLiteral("\nIcon=ravelquint\n"
                               "Terminal=false\n"
                               "StartupNotify=false\n");
}

bool DesktopAutostart::isEnabled() const
{
    const auto text = m_path.isEmpty() ? std::nullopt : safefile::readRegular(QFile::encodeName(m_path));
    if (!text)
        return false;
    const EntryText entry(*text);
    return entry.value("Hidden") != "true" && entry.value("X-GNOME-Autostart-enabled") != "false"
           && programOf(QString::fromUtf8(entry.value("Exec").value_or(QByteArray()))) == m_program;
}

bool DesktopAutostart::setEnabled(bool enabled)
{
    if (m_path.isEmpty())
        return refuse(Problem::NoHome);
    return enabled ? enable() : disable();
}

bool DesktopAutostart::enable()
{
    if (m_program.isEmpty())
        return refuse(Problem::ProgramNotUtf8);
    const auto text = safefile::readRegular(QFile::encodeName(m_path));
    if (!text && exists(m_path) && QFileInfo(m_path).isFile())
        return refuse(Problem::UnreadableEntry);
    if (!text)
        return write(entryFor(m_program));
    EntryText entry(*text);
    if (entry.value("Hidden"))
        entry.set("Hidden", "false");
    if (entry.value("X-GNOME-Autostart-enabled"))
        entry.set("X-GNOME-Autostart-enabled", "true");
    if (programOf(QString::fromUtf8(entry.value("Exec").value_or(QByteArray()))) != m_program)
        entry.set("Exec", execValue(m_program).toUtf8());
    return entry.text() == *text || write(entry.text());
}

bool DesktopAutostart::disable()
{
    const QByteArray path = QFile::encodeName(m_path);
    const auto text = safefile::readRegular(path);
    if (!text)
        return true; // nothing that could start the clock
    if (*text == entryFor(m_program)) {
        if (::unlink(path.constData()) != 0)
            return refuse(Problem::System, safefile::errorText(errno));
        safefile::syncFolderOf(path);
        return true;
    }
    EntryText entry(*text);
    entry.set("Hidden", "true");
    return write(entry.text());
}

bool DesktopAutostart::write(const QByteArray &text)
{
    const QByteArray path = QFile::encodeName(m_path);
    QString why;
    if (!safefile::makeFolders(QFile::encodeName(QFileInfo(m_path).path()), &why))
        return refuse(Problem::System, why);
    safefile::Replacement replacement(path, text);
    if (!replacement.ready() || !replacement.commit())
        return refuse(Problem::System, replacement.error());
    safefile::syncFolderOf(path);
    return true;
}

bool DesktopAutostart::refuse(Problem problem, const QString &systemMessage)
{
    m_refusal = {problem, systemMessage};
    return false;
}

// Quoted when it holds anything but plain path characters; '%' starts a field code. Inside
// the quotes '"', '`', '$' and '\' take a backslash, and the value as a whole is a string
// whose backslashes are doubled and whose tab, newline and return are escaped.
QString DesktopAutostart::execValue(const QString &program)
{
    QString escaped = program;
    escaped.replace(QLatin1Char('%'), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\r\"'\\><~|&;$*?#()`");
    if (std::none_of(escaped.begin(), escaped.end(), [](QChar c) { return reserved.contains(c); }))
        return escaped;
    QString quoted;
    for (const QChar c : std::as_const(escaped)) {
        if (c == QLatin1Char('\\'))
            quoted += QLatin1String("\\\\\\\\");
        else if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$'))
            quoted += QLatin1String("\\\\") + c;
        else if (c == QLatin1Char('\t'))
            quoted += QLatin1String("\\t");
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            quoted += QLatin1String("\\r");
        else
            quoted += c;
    }
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString DesktopAutostart::programOf(const QString &execValue)
{
    QString value; // the string's escapes undone
    for (qsizetype i = 0; i < execValue.size(); ++i) {
        const QChar c = execValue[i];
        if (c != QLatin1Char('\\') || i + 1 == execValue.size()) {
            value += c;
            continue;
        }
        const QChar next = execValue[++i];
        value += next == QLatin1Char('s') ? QChar(' ')
                 : next == QLatin1Char('t') ? QChar('\t')
                 : next == QLatin1Char('n') ? QChar('\n')
                 : next == QLatin1Char('r') ? QChar('\r') : next;
    }
    QString program;
    if (value.startsWith(QLatin1Char('"'))) {
        for (qsizetype i = 1; i < value.size() && value[i] != QLatin1Char('"'); ++i)
            program += value[i] == QLatin1Char('\\') && i + 1 < value.size() ? value[++i] : value[i];
    } else {
        program = value.section(QLatin1Char(' '), 0, 0);
    }
    return program.replace(QLatin1String("%%"), QLatin1String("%"));
}
