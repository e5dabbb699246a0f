#pragma once

#include <QLoggingCategory>

// What the core says on stderr; QT_LOGGING_RULES="ravelquint.core.warning=false" silences it.
Q_DECLARE_LOGGING_CATEGORY(lcCore)
