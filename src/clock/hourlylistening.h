#pragma once

#include "clock/listener.h"
#include "platform/timesetter.h"
#include "store/timerecord.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <chrono>

class AudioCapture;
class ClockSource;

// Listens for the time signal from 20 s before each hour until 25 s after it (by the
// system clock), and never otherwise. A heard signal is recorded; with network sync off
// and the clock 0.2 s or more off, the clock is shifted without an authorisation prompt.
// An hour without a signal records and says nothing.
class HourlyListening : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::seconds kBefore{20};
    static constexpr std::chrono::seconds kAfter{25};
    static constexpr std::chrono::milliseconds kThreshold{200};

    HourlyListening(AudioCapture &capture, const ClockSource &clock, TimeSetter &setter, QObject *parent = nullptr);
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    bool isListening() const { return m_listener != nullptr; }
    // The user's own listening comes first: the input is given up, and no window that opens
    // within `span` is listened in.
    void standDown(std::chrono::milliseconds span);
    // How long after `now` the listening window opens (zero inside one), and, inside one,
    // how long it has left.
    static std::chrono::milliseconds untilOpening(const QDateTime &now);
    static std::chrono::milliseconds leftOpen(const QDateTime &now);

signals:
    void listeningChanged(bool listening);
    void measured(const timerecord::Event &event);

private:
    void schedule();
    void open();
    void heard(const Listener::Mark &mark);
    void correct(const Listener::Mark &mark, const QDateTime &heardAt);
    void close();
    void sitOutTheWindow();

    AudioCapture &m_capture;
    const ClockSource &m_clock;
    TimeSetter &m_setter;
    QTimer m_wake;
    Listener *m_listener = nullptr;
    bool m_enabled = false;
};
