#include "clock/driftplot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kMarkRadius = 2.5;
constexpr double kDenseMarkRadius = 1.2; // 72 a day over 14 days stay apart
constexpr double kMinimumHalfRangeMs = 250;
constexpr int kBandSteps = 24;

void drawMark(QPainter &painter, QPointF at, double radius, timerecord::Source source, bool setAside)
{
    painter.setBrush(setAside ? QBrush() : QBrush(painter.pen().color()));
    const QRectF box(at - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
    switch (source) {
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

QString secondsLabel(double ms, double stepMs)
{
    const int decimals = stepMs >= 1000 ? 0 : stepMs >= 100 ? 1 : 2;
    return ms == 0 ? QStringLiteral("0") : QString::asprintf("%+.*f", decimals, ms / 1000);
}
} // namespace

DriftPlot::DriftPlot(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DriftPlot"));
    setMinimumSize(360, 200);
    setAccessibleName(tr("時計のずれのグラフ"));
}

DriftPlot::Span DriftPlot::span(const std::vector<knowledge::Shown> &shown, qint64 nowMs)
{
    const qint64 earliest = shown.empty() ? nowMs : shown.front().utcMs;
    return {std::clamp(earliest, nowMs - drift::kWindowMs, nowMs - kDayMs), nowMs + kDayMs};
}

double DriftPlot::gridStepMs(double rangeMs)
{
    for (double step = 10;; step *= 10) {
        for (const double factor : {1.0, 2.0, 5.0}) {
            if (rangeMs / (step * factor) <= 6)
                return step * factor;
        }
    }
}

void DriftPlot::show(const knowledge::Knowledge &known, qint64 nowMs)
{
    m_known = known;
    m_nowMs = nowMs;
    const QString from = QDateTime::fromMSecsSinceEpoch(span(known.shown, nowMs).fromMs).toString(QStringLiteral("M/d"));
    setAccessibleDescription(tr("%1 から今までの測定 %2 回と、この先 1 日の見積もり").arg(from).arg(known.shown.size()));
    update();
}

void DriftPlot::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const QRectF area = QRectF(rect()).adjusted(metrics.horizontalAdvance(QStringLiteral("+00.00")) + 8,
                                                metrics.height() + 6, -8, -metrics.height() - 8);
    const Span x = span(m_known.shown, m_nowMs);
    const knowledge::Knowledge &k = m_known;

    // The range: every mark, every correction's ends, the day ahead's band, and zero.
    double low = -kMinimumHalfRangeMs, high = kMinimumHalfRangeMs;
    const auto include = [&](double ms) {
        if (std::isfinite(ms)) {
            low = std::min(low, ms);
            high = std::max(high, ms);
        }
    };
    for (const knowledge::Shown &mark : k.shown)
        include(mark.errorMs);
    for (const knowledge::Correction &c : k.corrections)
        include(c.fromMs), include(c.fromMs + c.shiftMs);
    std::vector<QPointF> ahead; // (ms, error), with its sigma in the second list
    std::vector<double> aheadSigma;
    for (int i = 0; k.estimate && i <= kBandSteps; ++i) {
        const qint64 at = m_nowMs + kDayMs * i / kBandSteps;
        const auto error = k.errorAt(at);
        ahead.emplace_back(double(at), error->ms);
        aheadSigma.push_back(error->sigmaMs);
        include(error->ms + error->sigmaMs), include(error->ms - error->sigmaMs);
    }
    const double pad = (high - low) * 0.08;
    low -= pad, high += pad;
    const auto px = [&](double ms) { return area.left() + area.width() * (ms - double(x.fromMs)) / double(x.toMs - x.fromMs); };
    const auto py = [&](double error) { return area.bottom() - area.height() * (error - low) / (high - low); };

    // The seconds' grid, its unit, and zero drawn stronger.
    const double step = gridStepMs(high - low);
    painter.setPen(QPen(palette().color(QPalette::Midlight), 1));
    for (double at = std::ceil(low / step) * step; at <= high; at += step) {
        painter.drawLine(QPointF(area.left(), py(at)), QPointF(area.right(), py(at)));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(0, py(at) - metrics.height() / 2.0, area.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, secondsLabel(at, step));
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1));
    }
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRectF(4, 0, width() - 8, metrics.height() + 2), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("（秒、進みが正）"));
    painter.setPen(QPen(palette().color(QPalette::Dark), 1.2));
    painter.drawLine(QPointF(area.left(), py(0)), QPointF(area.right(), py(0)));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area);

    // A tick and a date at each midnight, as many dates as fit.
    const double perDay = area.width() * double(kDayMs) / double(x.toMs - x.fromMs);
    const int every = std::max(1, int(std::ceil((metrics.horizontalAdvance(QStringLiteral("12/31")) + 10) / perDay)));
    QDate day = QDateTime::fromMSecsSinceEpoch(x.fromMs).date().addDays(1);
    for (int n = 0;; day = day.addDays(1), ++n) {
        const qint64 midnight = day.startOfDay().toMSecsSinceEpoch();
        if (midnight > x.toMs)
            break;
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(QPointF(px(double(midnight)), area.bottom()), QPointF(px(double(midnight)), area.bottom() + 4));
        if (n % every)
            continue;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(px(double(midnight)) - 40, area.bottom() + 4, 80, metrics.height()), Qt::AlignHCenter,
                         QStringLiteral("%1/%2").arg(day.month()).arg(day.day()));
    }
    // Now, at its hour.
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
    painter.drawLine(QPointF(px(double(m_nowMs)), area.top()), QPointF(px(double(m_nowMs)), area.bottom()));
    painter.drawText(QRectF(px(double(m_nowMs)) - 60, 0, 120, metrics.height() + 2), Qt::AlignRight,
                     tr("今 %1").arg(QDateTime::fromMSecsSinceEpoch(m_nowMs).toString(QStringLiteral("HH:mm"))));

    painter.setClipRect(area);
    const QColor fit = palette().color(QPalette::Highlight);
    // The day ahead: the error expected, and its ±σ band.
    if (!ahead.empty()) {
        QPolygonF band;
        for (std::size_t i = 0; i < ahead.size(); ++i)
            band << QPointF(px(ahead[i].x()), py(ahead[i].y() + aheadSigma[i]));
        for (std::size_t i = ahead.size(); i-- > 0;)
            band << QPointF(px(ahead[i].x()), py(ahead[i].y() - aheadSigma[i]));
        QColor fill = fit;
        fill.setAlpha(60);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(band);
    }
    // The fitted drift: what the line says the clock showed, from one correction to the next.
    if (k.estimate) {
        painter.setPen(QPen(fit, 1.5));
        painter.setBrush(Qt::NoBrush);
        std::vector<qint64> breaks{x.fromMs};
        for (const knowledge::Correction &c : k.corrections)
            breaks.push_back(c.utcMs);
        breaks.push_back(x.toMs);
        for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
            const double from = *k.fittedAt(breaks[i]), to = *k.fittedAt(breaks[i + 1] - 1);
            painter.drawLine(QPointF(px(double(breaks[i])), py(from)), QPointF(px(double(breaks[i + 1])), py(to)));
        }
    }
    // Corrections, as short strokes from the error before to the error after.
    painter.setPen(QPen(palette().color(QPalette::Link), 1.5));
    for (const knowledge::Correction &c : k.corrections) {
        const double from = std::isfinite(c.fromMs) ? c.fromMs : k.fittedAt(c.utcMs - 1).value_or(0);
        painter.drawLine(QPointF(px(double(c.utcMs)), py(from)), QPointF(px(double(c.utcMs)), py(from + c.shiftMs)));
    }
    // Each mark its own, however many: smaller where they crowd.
    const double apart = area.width() / std::max<double>(1, double(k.shown.size()));
    const double radius = std::clamp(apart / 2.5, kDenseMarkRadius, kMarkRadius);
    for (const knowledge::Shown &mark : k.shown) {
        painter.setPen(QPen(mark.setAside ? palette().color(QPalette::Mid) : palette().color(QPalette::Text), 1));
        drawMark(painter, QPointF(px(double(mark.utcMs)), py(mark.errorMs)), radius, mark.source, mark.setAside);
    }
}
