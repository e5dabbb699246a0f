#include "store/settingsfile.h"

#include <QList>

namespace settingsfile {

namespace {

struct Line {
    enum Kind { Blank, Section, Entry, Garbage } kind = Blank; // blank lines and comments are Blank
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
        return {Line::Garbage, text, {}}; // a torn write's remains, say
    return {Line::Entry, text.left(equals).trimmed(), unquoted(text.mid(equals + 1).trimmed())};
}

QList<QByteArray> linesOf(const QByteArray &text)
{
    QByteArray body = text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text;
    if (body.endsWith('\n'))
        body.chop(1);
    QList<QByteArray> lines = body.isEmpty() ? QList<QByteArray>{} : body.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

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
    for (const QByteArray &bytes : linesOf(text)) {
        const Line line = classify(bytes);
        if (line.kind == Line::Section)
            section = line.name;
        for (const KeyInfo &info : kKeys) {
            if (isKey(line, section, info))
                values[std::size_t(info.key)] = line.value;
        }
    }
    return values;
}

// A torn copy of this entry (its key cut short, in its section) is a remain of an old
// interrupted write; every other line the program does not understand is the user's.
bool isTornCopy(const Line &line, const QString &section, const KeyInfo &info)
{
    return line.kind == Line::Garbage && section == QLatin1String(info.section)
           && QLatin1String(info.name).startsWith(line.name);
}

// Repeats of the key and torn copies of it are dropped: the file heals as it is saved.
QByteArray withEntry(const QByteArray &text, Key key, const QString &value)
{
    const KeyInfo &info = keyInfo(key);
    QByteArray entry = QByteArray(info.name) + '=' + encoded(value).replace('\n', ' ').replace('\r', ' ');
    QList<QByteArray> lines;
    QString section;
    qsizetype insertAt = -1; // after the last entry of the key's section
    bool replaced = false;
    for (const QByteArray &bytes : linesOf(text)) {
        const Line line = classify(bytes);
        if (line.kind == Line::Section)
            section = line.name;
        const bool ours = isKey(line, section, info);
        if (isTornCopy(line, section, info) || (ours && replaced))
            continue;
        lines.append(ours ? entry : bytes);
        replaced = replaced || ours;
        if (section == QLatin1String(info.section) && line.kind != Line::Blank)
            insertAt = lines.size();
    }
    if (!replaced && insertAt >= 0) {
        lines.insert(insertAt, entry);
    } else if (!replaced) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QByteArray());
        lines.append('[' + QByteArray(info.section) + ']');
        lines.append(entry);
    }
    return lines.join('\n') + '\n';
}

} // namespace settingsfile
