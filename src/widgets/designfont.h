#pragma once

#include <QFont>

// The face the windows were designed in, "ＭＳ Ｐゴシック", or a substitute. Substitutes
// draw wider digits than the design's half-em ones; they are narrowed to match, so the
// numbers keep to the boxes the layout gives them.
QFont designFont(int pixelSize);
