#include "core/confighome.h"
#include "core/logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <pwd.h>
#include <unistd.h>

namespace {
QByteArray chosenFolder(const char *variable, const QByteArray &underHome)
{
    const QByteArray given = qgetenv(variable);
    if (given.startsWith('/'))
        return given;
    QByteArray home = qgetenv("HOME");
    if (home.isEmpty()) {
        const passwd *entry = ::getpwuid(::geteuid());
        home = entry && entry->pw_dir ? QByteArray(entry->pw_dir) : QByteArray();
    }
    if (!home.startsWith('/') || QDir::cleanPath(QFile::decodeName(home)) == QLatin1String("/"))
        return {};
    return home + underHome;
}

QString refused(const QString &why, bool tell)
{
    if (tell)
        qCWarning(lcCore).noquote()
        << QCoreApplication::translate("ConfigHome", "%1。設定はプログラムの終了までしか残りません").arg(why);
    return {};
}

QString userFolder(const char *variable, const QByteArray &underHome, bool tell)
{
    const QByteArray folder = chosenFolder(variable, underHome);
    if (folder.isEmpty())
        return refused(QCoreApplication::translate("ConfigHome", "設定を置くホームフォルダーがありません"), tell);
    // A name that does not survive decoding would lead to a sibling folder with another name.
    const QString name = QFile::decodeName(folder);
    if (QFile::encodeName(name) != folder)
        return refused(QCoreApplication::translate("ConfigHome", "フォルダー %1 の名前はこのロケールでは正しくありません")
                           .arg(QString::fromLatin1(folder.toPercentEncoding("/"))),
                       tell);
    return name;
}
} // namespace

QString configHome() { return userFolder("XDG_CONFIG_HOME", "/.config", true); }

// Said once, for the settings: the record has the same home.
QString stateHome() { return userFolder("XDG_STATE_HOME", "/.local/state", false); }
