#pragma once

#include "store/settingskeys.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The settings file's text: INI sections of "key=value" lines, every value plain text.
namespace settingsfile {

using Values = std::array<std::optional<QString>, kKeys.size()>;

// The program's entries in the text; a later line of a key wins over an earlier one.
// Lines starting with ';' or '#' are comments, as is whatever follows a ';' in a value.
Values parse(const QByteArray &text);

// The text with one entry set, everything else (other keys, comments, order) kept as it was.
QByteArray withEntry(const QByteArray &text, Key key, const QString &value);

} // namespace settingsfile
