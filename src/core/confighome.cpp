#include "core/confighome.h"
#include "core/logging.h"

#include <QDir>
#include <QFile>
#include <pwd.h>
#include <unistd.h>

namespace {
QByteArray chosenFolder()
{
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (configHome.startsWith('/'))
        return configHome;
    QByteArray home = qgetenv("HOME");
    if (home.isEmpty()) {
        const passwd *entry = ::getpwuid(::geteuid());
        home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray();
    }
    if (!home.startsWith('/') || QDir::cleanPath(QFile::decodeName(home)) == QLatin1String("/"))
        return {};
    return home + "/.config";
}

QString refused(const QString &why)
{
    qCWarning(lcCore).noquote() << why + QStringLiteral("; the settings last only until the program ends");
    return {};
}
} // namespace

QString configHome()
{
    const QByteArray folder = chosenFolder();
    if (folder.isEmpty())
        return refused(QStringLiteral("no home folder to keep the settings in"));
    // A name that does not survive decoding would lead to a sibling folder with another name.
    const QString name = QFile::decodeName(folder);
    if (QFile::encodeName(name) != folder)
        return refused(QStringLiteral("the folder %1 has a name that is not valid in this locale")
                           .arg(QString::fromLatin1(folder.toPercentEncoding("/"))));
    return name;
}
