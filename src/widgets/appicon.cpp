#include "widgets/appicon.h"

QIcon appIcon()
{
    // The 32-pixel drawing is the icon; the larger ones keep it sharp on HiDPI screens.
    QIcon icon(QStringLiteral(":/resources/ravelquint.png"));
    for (const int size : {48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/resources/icons/ravelquint-%1.png").arg(size), QSize(size, size));
    return icon;
}
