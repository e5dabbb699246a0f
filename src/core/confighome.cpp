#include "core/confighome.h"

#include <QDir>
#include <QFile>
#include <pwd.h>
#include <unistd.h>

QString configHome()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (QDir::isAbsolutePath(configHome))
        return configHome;
    QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty()) {
        const passwd *entry = ::getpwuid(::geteuid());
        home = entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
    }
    if (!QDir::isAbsolutePath(home) || QDir::cleanPath(home) == QLatin1String("/"))
        return {};
    return home + QStringLiteral("/.config");
}
