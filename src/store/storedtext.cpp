#include "store/storedtext.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace storedtext {

namespace {
constexpr qint64 kLargestColour = 0xFFFFFF;
}

std::optional<qint16> toSwitch(const QString &text)
{
    bool ok = false;
    const qint16 value = text.toShort(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

QString fromSwitch(qint16 value) { return QString::number(value); }

std::optional<QColor> toColour(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > kLargestColour)
        return std::nullopt;
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

QString fromColour(const QColor &colour)
{
    const qint64 value = colour.red() | (colour.green() << 8) | (colour.blue() << 16);
    return QString::number(value);
}

std::optional<float> toPosition(const QString &text)
{
    bool ok = false;
    const float value = text.toFloat(&ok);
    // A position must also survive the trip to whole pixels.
    constexpr float kLimit = float(std::numeric_limits<int>::max() / 2);
    if (!ok || !std::isfinite(value) || std::fabs(value) > kLimit)
        return std::nullopt;
    return value;
}

// Plain digits, as the design writes them: "300000", never "3e+05".
QString fromPosition(float twips) { return QString::number(twips, 'f', QLocale::FloatingPointShortest); }

} // namespace storedtext
