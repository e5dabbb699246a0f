#include "core/confighome.h"

#include <QDir>
#include <QDebug>
#include <QFile>
#include <pwd.h>
#include <unistd.h>

namespace {
// A name that does not survive decoding would lead to a sibling folder with another name.
QString decoded(const QByteArray &path)
{
    const QString name = QFile::decodeName(path);
    if (QFile::encodeName(name) == path)
        return name;
    qWarning().noquote() << QStringLiteral("the folder %1 has a name that is not valid in this locale; "
                                           "nothing is written there")
                                .arg(QString::fromLatin1(path.toPercentEncoding("/")));
    return {};
}
} // namespace

QString configHome()
{
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (configHome.startsWith('/'))
        return decoded(configHome);
    QByteArray home = qgetenv("HOME");
    if (home.isEmpty()) {
        const passwd *entry = ::getpwuid(::geteuid());
        home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray();
    }
    const QString name = decoded(home);
    if (!QDir::isAbsolutePath(name) || QDir::cleanPath(name) == QLatin1String("/"))
        return {};
    return name + QStringLiteral("/.config");
}
