#include "clock/form1.h"
#include "platform/platform.h"
#include "platform/quitsignals.h"
#include "store/settingsstore.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // A Wayland client cannot place its own window; through XWayland the clock can.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);

    SettingsStore store;
    Form1 clock(store, Platform::system());

    // Told to stop, or the session ending: close the orderly way so the position is kept.
    QuitSignals quitSignals;
    QObject::connect(&quitSignals, &QuitSignals::received, &app, &QApplication::closeAllWindows);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app, &QApplication::closeAllWindows);

    clock.show();
    return app.exec();
}
