#pragma once

#include <QObject>
#include <QTimer>

class QWidget;
class SettingsStore;

// Where the clock stands on screen, kept in the store between runs. Only where the window
// system lets a program place its window and says where it is (X11) is the place restored
// or saved; elsewhere the stored place waits for a session that can use it.
class WindowPlace : public QObject
{
    Q_OBJECT
public:
    WindowPlace(QWidget &window, SettingsStore &store, bool placesWindows);

    // To its stored place, unless that is nowhere on the screens there are now.
    void restore();
    // The place and the start marker, in one save.
    void save();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void saveSettledPlace();
    void snapToWholePixels();

    QWidget &m_window;
    SettingsStore &m_store;
    const bool m_placesWindows;
    // A session that ends with the X server gives no chance to save at the end.
    QTimer *m_settled;
};
