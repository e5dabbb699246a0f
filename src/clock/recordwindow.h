#pragma once

#include "core/drift.h"
#include "keeping/clockkeeper.h"

#include <QWidget>
#include <optional>

class ClockSource;
class DriftPlot;
class QCheckBox;
class QLabel;
class QPushButton;
class QTableWidget;

// What the keeper learnt from the record: the free-running error over two weeks with its
// fitted line, the drift, the error expected now and how old the newest measurement is, the
// last measurement, the last 20 events, and a button that asks the keeper to correct the
// clock by the expected error. It shows only what the keeper publishes. Not modal.
class RecordWindow : public QWidget
{
    Q_OBJECT
public:
    RecordWindow(ClockKeeper &keeper, const ClockSource &clock, TimeSetter &setter, QWidget *clockWindow);
    void refresh();
    // The coasting switch: checked as stored, usable only while the clock listens every hour.
    void showCoastSwitch(bool checked, bool usable);

    // Also the face's tooltip's words.
    static QString driftText(const std::optional<drift::Estimate> &estimate);
    static QString measurementText(const timerecord::Event &event);
    static QString outcomeText(timerecord::Outcome outcome);
    static QString outcomeWord(timerecord::Outcome outcome); // a cell's short word for it
    static QString sourceText(timerecord::Source source);
    // 「いまの見積もり: +0.665 秒（±0.012 秒）」: the clock's error now, positive when fast.
    static QString expectedText(const knowledge::ClockError &error);
    // How long ago the newest measurement was.
    static QString ageText(qint64 ms);
    static QString coastText(ClockKeeper::Coast coast);
    // When the clock was last set and by what, and the error expected now.
    static QString lastSetText(const knowledge::Knowledge &known, qint64 nowMs);

signals:
    void coastSwitched(bool on);

private:
    void fillTable(const std::vector<timerecord::Event> &events);
    void showExpected(qint64 nowMs);
    void enableApply();

    ClockKeeper &m_keeper;
    const ClockSource &m_clock;
    TimeSetter &m_setter;
    DriftPlot *m_plot;
    QLabel *m_drift, *m_expected, *m_last, *m_status;
    QTableWidget *m_table;
    QPushButton *m_apply;
    QCheckBox *m_coast;
    QLabel *m_coastState;
    bool m_syncOn = false;
};
