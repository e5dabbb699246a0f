#include "clock/windowplace.h"

#include <QWindow>

#include "store/settingsstore.h"
#include "store/storedtext.h"
#include "widgets/twips.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {
constexpr int kSettleMs = 1000;

bool overlapsAnyScreen(const QRect &frame)
{
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&](const QScreen *screen) { return screen->availableGeometry().intersects(frame); });
}

SettingsStore::Edits placeOf(const QWidget &window)
{
    return {{Key::Top, storedtext::fromPosition(float(twipsFromPixels(window.pos().y())))},
            {Key::Left, storedtext::fromPosition(float(twipsFromPixels(window.pos().x())))}};
}
} // namespace

WindowPlace::WindowPlace(QWidget &window, SettingsStore &store, bool placesWindows)
    : QObject(&window), m_window(window), m_store(store), m_placesWindows(placesWindows), m_settled(new QTimer(this))
{
    m_settled->setObjectName(QStringLiteral("SettledPlace"));
    m_settled->setSingleShot(true);
    m_settled->setInterval(kSettleMs);
    connect(m_settled, &QTimer::timeout, this, &WindowPlace::saveSettledPlace);
    if (m_placesWindows)
        window.installEventFilter(this);
}

void WindowPlace::restore()
{
    // A marker written off X, or by an older version, comes without a place: nothing to say.
    if (!m_placesWindows || (!m_store.holds(Key::Top) && !m_store.holds(Key::Left)))
        return;
    const auto top = m_store.position(Key::Top);
    const auto left = m_store.position(Key::Left);
    if (!top || !left)
        return;
    const QPoint position(pixelsFromTwips(*left), pixelsFromTwips(*top));
    // After a monitor is unplugged the stored place may be nowhere to be seen.
    if (overlapsAnyScreen(QRect(position, m_window.frameGeometry().size())))
        m_window.move(position);
}

void WindowPlace::save()
{
    m_settled->stop();
    if (m_placesWindows)
        snapToWholePixels();
    SettingsStore::Edits edits = m_placesWindows ? placeOf(m_window) : SettingsStore::Edits{};
    edits.emplace_back(Key::Start, QString::fromLatin1(kStartedMarker));
    m_store.saveLast(edits);
}

bool WindowPlace::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move && m_window.isVisible())
        m_settled->start();
    return QObject::eventFilter(watched, event);
}

// At a fractional scale a window can stand where no whole device-independent pixel leads
// (at 1.5, x = 100 lies between 66 and 67): it is put where the stored place leads, so
// the next start finds it exactly there, not a pixel off.
void WindowPlace::snapToWholePixels()
{
    if (QWindow *window = m_window.windowHandle())
        window->setFramePosition(window->framePosition());
}

// With the marker: a session that never closes the clock in order still finds its place.
void WindowPlace::saveSettledPlace()
{
    snapToWholePixels();
    SettingsStore::Edits place = placeOf(m_window);
    place.emplace_back(Key::Start, QString::fromLatin1(kStartedMarker));
    m_store.refresh();
    const bool stored = std::all_of(place.begin(), place.end(),
                                    [&](const auto &entry) { return m_store.GetSetting(entry.first) == entry.second; });
    if (!stored)
        m_store.saveInBackground(place);
}
