#pragma once

#include "core/drift.h"
#include "platform/timesetter.h"
#include "store/timerecord.h"

#include <QWidget>
#include <optional>

class ClockSource;
class DriftPlot;
class QLabel;
class QPushButton;
class QTableWidget;

// The clock's record against the time signal: the free-running error over two weeks with
// its fitted line, the drift, the error expected now, the last measurement, the last 20
// events, and a button that corrects the clock by the expected error. Not modal.
class RecordWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kEventsShown = 20;

    RecordWindow(TimeRecord &record, const ClockSource &clock, TimeSetter &setter, QWidget *clockWindow);
    void refresh();

    // Also the face's tooltip's words.
    static QString driftText(const std::optional<drift::Estimate> &estimate);
    static QString measurementText(const timerecord::Event &event);
    static QString outcomeText(timerecord::Outcome outcome);
    static QString sourceText(timerecord::Source source);

signals:
    // The estimate was applied: a shift for the record.
    void corrected(const timerecord::Event &event);

private:
    void fillTable(const std::vector<timerecord::Event> &events);
    void applyEstimate();

    TimeRecord &m_record;
    const ClockSource &m_clock;
    TimeSetter &m_setter;
    DriftPlot *m_plot;
    QLabel *m_drift, *m_expected, *m_last, *m_status;
    QTableWidget *m_table;
    QPushButton *m_apply;
    std::optional<qint64> m_expectedMs; // the clock's error now, as the estimate has it
    bool m_syncOn = false;
};
