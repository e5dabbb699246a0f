#include "clock/windowplace.h"

#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "widgets/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
bool overlapsAnyScreen(const QRect &frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().intersects(frame); });
}

// A Wayland compositor places windows itself and tells the client nothing of where.
bool windowSystemPlacesWindows() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }
} // namespace

void restorePlace(QWidget &window, SettingsStore &store)
{
    if (windowSystemPlacesWindows())
        return;
    const auto top = store.position(Key::Top);
    const auto left = store.position(Key::Left);
    if (!top || !left)
        return;
    const QPoint position(pixelsFromTwips(*left), pixelsFromTwips(*top));
    // After a monitor is unplugged the stored place may be nowhere to be seen.
    if (overlapsAnyScreen(QRect(position, window.frameGeometry().size())))
        window.move(position);
}

void savePlace(const QWidget &window, SettingsStore &store)
{
    // Where the window system places windows, the stored place stays for a session that can use it.
    if (!windowSystemPlacesWindows()) {
        store.SaveSetting(Key::Top, storedtext::fromPosition(float(twipsFromPixels(window.pos().y()))));
        store.SaveSetting(Key::Left, storedtext::fromPosition(float(twipsFromPixels(window.pos().x()))));
    }
    store.SaveSetting(Key::Start, QString::fromLatin1(kStartedMarker));
}
