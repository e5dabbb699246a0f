#include "platform/translations.h"

#include "platform/logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {
bool install(QCoreApplication &app, const QLocale &locale, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(locale, name, QStringLiteral("_"), folder)) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}
} // namespace

void installTranslations(QCoreApplication &app)
{
    const QLocale locale;
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const bool qtTexts = install(app, locale, QStringLiteral("qtbase"), qtFolder);
    if (locale.language() != QLocale::Japanese) {
        if (!install(app, locale, QStringLiteral("ravelquint"), QStringLiteral(":/i18n")))
            install(app, QLocale(QLocale::English), QStringLiteral("ravelquint"), QStringLiteral(":/i18n"));
        return;
    }
    if (!qtTexts)
        qCWarning(lcPlatform).noquote() << QCoreApplication::translate(
                                               "Translations", "Qt の日本語の訳（qtbase_ja.qm）が %1 にありません。"
                                                               "Qt のダイアログとボタンは英語のままです")
                                               .arg(qtFolder);
}
