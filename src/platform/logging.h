#pragma once

#include <QLoggingCategory>

// What the platform layer says on stderr: "ravelquint.platform".
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
