#include "store/settingsfile.h"

#include <QList>
#include <algorithm>

namespace settingsfile {

namespace {

struct Line {
    enum Kind { Blank, Section, Entry, Bare } kind = Blank; // blank lines and comments are Blank
    QString name;  // the section's, or the entry's key
    QString value; // an entry's, unquoted
};

QString unquoted(const QString &raw)
{
    if (raw.size() < 2 || !raw.startsWith(QLatin1Char('"')))
        return raw.section(QLatin1Char(';'), 0, 0).trimmed();
    QString value;
    for (qsizetype i = 1; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('"'))
            break;
        if (c == QLatin1Char('\\') && i + 1 < raw.size())
            value += raw.at(++i);
        else
            value += c;
    }
    return value;
}

bool isCommentOrNothing(const QString &rest)
{
    const QString text = rest.trimmed();
    return text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#'));
}

Line classify(const QByteArray &bytes)
{
    const QString text = QString::fromUtf8(bytes).trimmed();
    if (text.isEmpty() || text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#')))
        return {};
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    if (text.startsWith(QLatin1Char('[')) && close > 0 && isCommentOrNothing(text.mid(close + 1)))
        return {Line::Section, text.mid(1, close - 1).trimmed(), {}};
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {Line::Bare, text, {}}; // ignored, and kept as it stands
    return {Line::Entry, text.left(equals).trimmed(), unquoted(text.mid(equals + 1).trimmed())};
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// A line as it stands in the file: its text, and its own ending ("\n", "\r\n", or none at the end).
struct RawLine {
    QByteArray text, ending;
};

QList<RawLine> linesOf(const QByteArray &body)
{
    QList<RawLine> lines;
    for (qsizetype start = 0; start < body.size();) {
        const qsizetype newline = body.indexOf('\n', start);
        const qsizetype end = newline < 0 ? body.size() : newline;
        const bool crlf = newline > start && body.at(newline - 1) == '\r';
        const QByteArray ending = newline < 0 ? QByteArray() : QByteArray(crlf ? "\r\n" : "\n");
        lines.append({body.mid(start, end - start - (crlf ? 1 : 0)), ending});
        start = end + 1;
    }
    return lines;
}

QByteArray withoutMark(const QByteArray &text) { return text.startsWith(kByteOrderMark) ? text.mid(3) : text; }

bool isKey(const Line &line, const QString &section, const KeyInfo &info)
{
    return line.kind == Line::Entry && section == QLatin1String(info.section) && line.name == QLatin1String(info.name);
}

// Values are the program's own numbers; anything else is quoted so it reads back the same.
QByteArray encoded(const QString &value)
{
    const bool plain = !value.isEmpty() && value == value.trimmed() && !value.contains(QLatin1Char(';'))
                       && !value.startsWith(QLatin1Char('"'));
    if (plain || value.isEmpty())
        return value.toUtf8();
    QString quoted = value;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return '"' + quoted.toUtf8() + '"';
}

} // namespace

Values parse(const QByteArray &text)
{
    Values values;
    QString section;
    for (const RawLine &raw : linesOf(withoutMark(text))) {
        const Line line = classify(raw.text);
        if (line.kind == Line::Section)
            section = line.name;
        for (const KeyInfo &info : kKeys) {
            if (isKey(line, section, info))
                values[std::size_t(info.key)] = line.value;
        }
    }
    return values;
}

// Every line but the entry's own stays byte for byte: the mark, each line's ending, the
// lines the program does not understand. Repeats of the entry give way to the one new line.
QByteArray withEntry(const QByteArray &text, Key key, const QString &value)
{
    const KeyInfo &info = keyInfo(key);
    const QByteArray mark = text.startsWith(kByteOrderMark) ? QByteArray(kByteOrderMark) : QByteArray();
    QList<RawLine> lines = linesOf(text.mid(mark.size()));
    const auto withEnding = std::find_if(lines.cbegin(), lines.cend(), [](const RawLine &l) { return !l.ending.isEmpty(); });
    const QByteArray ending = withEnding == lines.cend() ? QByteArray("\n") : withEnding->ending;
    const RawLine entry{QByteArray(info.name) + '=' + encoded(value).replace('\n', ' ').replace('\r', ' '), ending};
    QString section;
    qsizetype insertAt = -1; // after the last entry of the key's section
    bool replaced = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = classify(lines[i].text);
        if (line.kind == Line::Section)
            section = line.name;
        if (isKey(line, section, info)) {
            if (replaced) {
                lines.remove(i--);
                continue;
            }
            lines[i].text = entry.text;
            replaced = true;
        }
        if (section == QLatin1String(info.section) && line.kind != Line::Blank)
            insertAt = i + 1;
    }
    if (!replaced) {
        if (insertAt < 0 && !lines.isEmpty() && !lines.last().text.trimmed().isEmpty())
            lines.append({QByteArray(), ending});
        if (insertAt < 0)
            lines.append({'[' + QByteArray(info.section) + ']', ending});
        lines.insert(insertAt < 0 ? lines.size() : insertAt, entry);
    }
    QByteArray joined = mark;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool gainedAFollower = lines[i].ending.isEmpty() && i + 1 < lines.size();
        joined += lines[i].text + (gainedAFollower ? ending : lines[i].ending);
    }
    return joined;
}

} // namespace settingsfile
