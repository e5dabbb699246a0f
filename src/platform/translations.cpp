#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "ravelquint.platform")

void installQtTranslations(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), folder)) {
        QCoreApplication::installTranslator(translator);
        return;
    }
    delete translator;
    qCWarning(lcTranslations).noquote() << QStringLiteral("Qt's Japanese texts (qtbase_ja.qm) are not in %1;"
                                                          " Qt's own dialogs and buttons stay in English")
                                               .arg(folder);
}
