#include "clock/appicon.h"

QIcon appIcon() { return QIcon(QStringLiteral(":/resources/ravelquint.png")); }
