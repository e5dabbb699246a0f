#pragma once

#include "keeping/knowledge.h"

#include <QWidget>

// What the clock showed against the time signal: each measurement as a small mark (● hourly,
// ■ listening, ▲ click; hollow when set aside), each correction as a short vertical stroke,
// the fitted drift through them, and the error expected over the next day with its ±σ band.
// Dates at each midnight, the hour of now marked, seconds on a grid with zero drawn. Drawn in
// device-independent pixels with antialiasing, so it is as sharp at 2× as at 1×.
class DriftPlot : public QWidget
{
    Q_OBJECT
public:
    struct Span {
        qint64 fromMs = 0, toMs = 0;
        bool operator==(const Span &) const = default;
    };
    static constexpr qint64 kDayMs = 86'400'000;

    explicit DriftPlot(QWidget *parent = nullptr);
    void show(const knowledge::Knowledge &known, qint64 nowMs);
    QSize sizeHint() const override { return {520, 240}; }

    // The x-axis: from the earliest mark shown, at least a day and at most 14 days back, to a
    // day ahead of now.
    static Span span(const std::vector<knowledge::Shown> &shown, qint64 nowMs);
    // A step for the seconds' grid that puts a few lines over `rangeMs`.
    static double gridStepMs(double rangeMs);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    knowledge::Knowledge m_known;
    qint64 m_nowMs = 0;
};
