#include "widgets/designfont.h"

#include <QFontInfo>
#include <QStringList>
#include <QFontMetricsF>

namespace {
const QString kDesignFace = QStringLiteral("ＭＳ Ｐゴシック");
constexpr qreal kDesignDigitWidthEm = 0.5;
} // namespace

QFont designFont(int pixelSize)
{
    QFont font;
    font.setFamilies(QStringList{kDesignFace, QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(pixelSize);
    if (QFontInfo(font).family() == kDesignFace)
        return font;
    const qreal digitWidth = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    const qreal designWidth = kDesignDigitWidthEm * pixelSize;
    if (digitWidth > designWidth)
        font.setStretch(qRound(100 * designWidth / digitWidth));
    return font;
}
