#include "clock/driftplot.h"

#include "store/timerecord.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kMargin = 40;
constexpr double kMarkRadius = 3.5;

void drawMark(QPainter &painter, QPointF at, int source, bool setAside)
{
    painter.setBrush(setAside ? QBrush() : QBrush(painter.pen().color()));
    const QRectF box(at - QPointF(kMarkRadius, kMarkRadius), QSizeF(2 * kMarkRadius, 2 * kMarkRadius));
    switch (timerecord::Source(source)) {
    case timerecord::Source::Hourly: painter.drawEllipse(box); break;
    case timerecord::Source::Listening: painter.drawRect(box); break;
    default: {
        QPainterPath triangle(QPointF(box.center().x(), box.top()));
        triangle.lineTo(box.bottomRight());
        triangle.lineTo(box.bottomLeft());
        triangle.closeSubpath();
        painter.drawPath(triangle);
    }
    }
}
} // namespace

DriftPlot::DriftPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DriftPlot"));
    setMinimumSize(320, 160);
    setAccessibleName(tr("時計の誤差のグラフ（過去14日）"));
}

void DriftPlot::show(const std::vector<drift::Point> &points, const std::optional<drift::Estimate> &estimate,
                     qint64 nowMs)
{
    m_points = points;
    m_estimate = estimate;
    m_nowMs = nowMs;
    update();
}

void DriftPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QRectF area = QRectF(rect()).adjusted(kMargin, 10, -10, -24);
    const qint64 fromMs = m_nowMs - drift::kWindowMs;
    std::vector<const drift::Point *> shown;
    for (const drift::Point &point : m_points) {
        if (point.utcMs > fromMs && point.utcMs <= m_nowMs)
            shown.push_back(&point);
    }
    double low = -1000, high = 1000; // at least ±1 s, so a quiet clock does not look wild
    for (const drift::Point *point : shown) {
        low = std::min(low, point->errorMs);
        high = std::max(high, point->errorMs);
    }
    const auto x = [&](qint64 ms) { return area.left() + area.width() * double(ms - fromMs) / double(drift::kWindowMs); };
    const auto y = [&](double error) { return area.bottom() - area.height() * (error - low) / (high - low); };

    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);
    painter.drawLine(QPointF(area.left(), y(0)), QPointF(area.right(), y(0)));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(0, area.top(), kMargin - 4, 16), Qt::AlignRight, QString::number(high / 1000, 'f', 1));
    painter.drawText(QRectF(0, area.bottom() - 16, kMargin - 4, 16), Qt::AlignRight, QString::number(low / 1000, 'f', 1));
    painter.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 18), Qt::AlignLeft, tr("14日前"));
    painter.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 18), Qt::AlignRight, tr("今"));
    painter.setClipRect(area);
    if (m_estimate) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        const double perMs = m_estimate->secondsPerDay * 1000 / 86'400'000;
        const auto fitted = [&](qint64 ms) { return m_estimate->errorNowMs + perMs * double(ms - m_nowMs); };
        painter.drawLine(QPointF(x(fromMs), y(fitted(fromMs))), QPointF(x(m_nowMs), y(fitted(m_nowMs))));
    }
    painter.setClipRect(area.adjusted(-kMarkRadius, -kMarkRadius, kMarkRadius, kMarkRadius));
    for (const drift::Point *point : shown) {
        painter.setPen(QPen(point->setAside ? palette().color(QPalette::Mid) : palette().color(QPalette::Text), 1.2));
        drawMark(painter, QPointF(x(point->utcMs), y(point->errorMs)), point->tag, point->setAside);
    }
}
