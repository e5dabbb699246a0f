#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so the program
// can end the orderly way (and keep the window position) when it is told to stop.
class QuitSignals : public QObject
{
    Q_OBJECT
public:
    // Catches the signals from now on; they are held until a QuitSignals exists to
    // report them. Callable before the application object exists.
    static void catchFromNowOn();

    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;

signals:
    void received(int signalNumber);

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};
