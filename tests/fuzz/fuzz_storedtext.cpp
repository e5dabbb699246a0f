// Every conversion of a stored text: it must never crash, and whatever it accepts must
// survive the trip back to text and in again unchanged.
#include "store/storedtext.h"
#include "widgets/twips.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    if (const auto value = storedtext::toSwitch(text)) {
        if (storedtext::toSwitch(storedtext::fromSwitch(*value)) != value)
            std::abort();
    }
    if (const auto colour = storedtext::toColour(text)) {
        const auto again = storedtext::toColour(storedtext::fromColour(*colour));
        if (!again || *again != *colour || !colour->isValid())
            std::abort();
    }
    if (const auto twips = storedtext::toPosition(text)) {
        const auto again = storedtext::toPosition(storedtext::fromPosition(*twips));
        if (!again || *again != *twips)
            std::abort();
        const int pixels = pixelsFromTwips(*twips);
        if (std::abs(pixels) > std::abs(*twips) / kTwipsPerPixel + 1)
            std::abort();
    }
    return 0;
}
