#pragma once

#include "clock/timesignal.h"

#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>
#include <chrono>
#include <memory>

class AudioCapture;
class PipDetector;
class QLabel;
class QProgressBar;
class QPushButton;

// Listens for the radio time signal over the clock, window-modal so the face ticks on: a
// live input level and the seconds left while it listens; when it hears the mark, it says
// how far the clock was off and moves it through the time signal's usual path. Esc stops
// listening at once and changes nothing.
class ListenBox : public QDialog
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kListenLimit{75'000};

    ListenBox(AudioCapture &capture, TimeSignal *timeSignal, QWidget *window,
              std::chrono::milliseconds limit = kListenLimit);
    ~ListenBox() override;

protected:
    void done(int result) override;

private:
    void started(int sampleRate);
    void heard(const float *samples, qsizetype count, double firstSampleMs);
    void failed(const QString &why);
    void showSecondsLeft();
    void stopListening(const QString &status);
    void correctedBy(const QString &offset, bool set);

    AudioCapture &m_capture;
    TimeSignal *m_timeSignal;
    std::unique_ptr<PipDetector> m_detector;
    QDeadlineTimer m_deadline;
    QTimer m_countdown;
    QLabel *m_status, *m_secondsLeft;
    QProgressBar *m_level;
    QPushButton *m_cancel;
    float m_loudest = 0;
    bool m_listening = true;
    bool m_correcting = false;
};

// 「時計は 0.43 秒進んでいました。」 for a clock 430 ms ahead of the signal.
QString offsetText(double offsetMs);
