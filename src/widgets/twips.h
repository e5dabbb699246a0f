#pragma once

#include <QRect>
#include <cmath>

// The window designs are measured in twips: 1/1440 inch, 15 to a pixel at 96 dpi.
// Device-independent pixels keep that scale, so Qt's HiDPI scaling does the rest.
inline constexpr int kTwipsPerPixel = 15;

constexpr int pixelsFromTwips(int twips)
{
    return (twips >= 0 ? twips + kTwipsPerPixel / 2 : twips - kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline int pixelsFromTwips(float twips) { return int(std::lround(twips / kTwipsPerPixel)); }

constexpr int twipsFromPixels(int pixels) { return pixels * kTwipsPerPixel; }

struct TwipRect {
    int left, top, width, height;
};

constexpr QRect pixelRect(TwipRect r)
{
    return {pixelsFromTwips(r.left), pixelsFromTwips(r.top), pixelsFromTwips(r.width), pixelsFromTwips(r.height)};
}
