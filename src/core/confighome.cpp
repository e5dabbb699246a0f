#include "core/confighome.h"
#include "core/logging.h"

#include <QCoreApplication>
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
    qCWarning(lcCore).noquote()
        << QCoreApplication::translate("ConfigHome", "%1。設定はプログラムの終了までしか残りません").arg(why);
    return {};
}
} // namespace

QString configHome()
{
    const QByteArray folder = chosenFolder();
    if (folder.isEmpty())
        return refused(QCoreApplication::translate("ConfigHome", "設定を置くホームフォルダーがありません"));
    // A name that does not survive decoding would lead to a sibling folder with another name.
    const QString name = QFile::decodeName(folder);
    if (QFile::encodeName(name) != folder)
        return refused(QCoreApplication::translate("ConfigHome", "フォルダー %1 の名前はこのロケールでは正しくありません")
                           .arg(QString::fromLatin1(folder.toPercentEncoding("/"))));
    return name;
}
