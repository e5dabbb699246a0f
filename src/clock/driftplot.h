#pragma once

#include "core/drift.h"

#include <QWidget>
#include <optional>
#include <vector>

// The clock's free-running error over the last 14 days: each point marked by how it was
// measured (set-aside points hollow), and the fitted line. Drawn in device-independent
// pixels with antialiasing, so it is as sharp at 2× as at 1×.
class DriftPlot : public QWidget
{
    Q_OBJECT
public:
    explicit DriftPlot(QWidget *parent = nullptr);
    void show(const std::vector<drift::Point> &points, const std::optional<drift::Estimate> &estimate, qint64 nowMs);
    QSize sizeHint() const override { return {480, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<drift::Point> m_points;
    std::optional<drift::Estimate> m_estimate;
    qint64 m_nowMs = 0;
};
