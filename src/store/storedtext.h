#pragma once

#include <QColor>
#include <QString>
#include <optional>

// Conversions between stored texts and the values they encode. Each returns nothing
// when the text does not encode a value, so callers decide what a bad text means.
namespace storedtext {

std::optional<qint16> toSwitch(const QString &text);
QString fromSwitch(qint16 value);

// Colours are stored as the decimal text of 0x00BBGGRR (red in the low byte).
std::optional<QColor> toColour(const QString &text);
QString fromColour(const QColor &colour);

// Positions are stored in twips, as single-precision numbers.
std::optional<float> toPosition(const QString &text);
QString fromPosition(float twips);

} // namespace storedtext
