#include "clock/form1.h"
#include "platform/systemplatform.h"
#include "platform/quitsignals.h"
#include "platform/translations.h"
#include "store/settingsstore.h"

#include <QApplication>
#include <QPixmapCache>

namespace {
constexpr int kPixmapCacheKiB = 1024;
}

int main(int argc, char *argv[])
{
    // Before anything slow: a stop during start-up must still end the orderly way.
    QuitSignals::catchFromNowOn();
    // A Wayland client cannot place its own window, so X (XWayland) comes first; where
    // there is none, the clock still runs, unplaced.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    QApplication app(argc, argv);
    // The style caches the settings dialog's rendered controls; Qt's default of 10 MB
    // would grow the clock by a third over a few dozen openings, for nothing it needs.
    QPixmapCache::setCacheLimit(kPixmapCacheKiB);
    installQtTranslations(app);

    SystemPlatform platform;
    SettingsStore store;
    Form1 clock(store, platform.platform());

    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, &QApplication::closeAllWindows);

    clock.show();
    return app.exec();
}
