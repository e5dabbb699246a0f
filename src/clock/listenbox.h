#pragma once

#include "keeping/listener.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;
class ClockKeeper;

// Shows a listener at work over the clock, so the face ticks on: the input
// level and the seconds left while it listens, then what came of it, down to whether the
// time changed. Esc or キャンセル stops the listening at once and changes nothing. The box
// takes the listener as its child and starts it.
class ListenBox : public QDialog
{
    Q_OBJECT
public:
    ListenBox(Listener *listener, ClockKeeper *keeper, QWidget *window);

    // 「時計は 0.43 秒進んでいました。」 for a clock 430 ms ahead of the signal.
    static QString offsetText(double offsetMs);

protected:
    void done(int result) override;

private:
    void showLevel(float rms);
    void showSecondsLeft();
    void heard(const Listener::Mark &mark);
    void gaveUp(const Listener::Failure &failure);
    QString giveUpText(const Listener::Failure &failure) const;
    void ended(const QString &outcome);
    void finish(const QString &text);

    Listener *m_listener;
    QTimer m_countdown;
    QLabel *m_status, *m_secondsLeft;
    QProgressBar *m_level;
    QPushButton *m_cancel;
    QString m_offset;          // what was heard, while the time signal works on it
    bool m_correcting = false;
};
