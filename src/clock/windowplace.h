#pragma once

class QWidget;
class SettingsStore;

// Where the clock stands on screen, kept in the store between runs.

// Moves the window to its stored place, unless that is nowhere on the screens there are now.
void restorePlace(QWidget &window, SettingsStore &store);

// The marker last: a store with the marker always holds the place too. Where the window
// system places windows itself (Wayland), the place is neither restored nor saved.
void savePlace(const QWidget &window, SettingsStore &store);
