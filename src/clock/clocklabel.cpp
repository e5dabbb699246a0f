#include "clock/clocklabel.h"

#include "widgets/designfont.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <utility>

ClockLabel::ClockLabel(const QString &caption, const QColor &colour, int designPixelSize, QWidget *parent)
    : QLabel(caption, parent), m_designPixelSize(designPixelSize)
{
    setTextFormat(Qt::PlainText);
    setTextColour(colour);
}

bool ClockLabel::setCaption(const QString &caption)
{
    if (text() == caption)
        return false;
    // QLabel repaints its whole box, and with it each neighbour the box overlaps (the
    // seconds' box reaches under 分 and 秒): only where this label's texts have stood.
    const bool narrow = !m_reach.isEmpty() && updatesEnabled();
    if (narrow)
        setAttribute(Qt::WA_UpdatesDisabled);
    setText(caption);
    if (narrow) {
        setAttribute(Qt::WA_UpdatesDisabled, false);
        update(m_reach);
    }
    return true;
}

ClockLabel::Layout &ClockLabel::layout()
{
    auto [at, added] = m_layouts.try_emplace(text());
    if (added) {
        at->second.text.setTextFormat(Qt::PlainText);
        at->second.text.setText(text());
    }
    return at->second;
}

qreal ClockLabel::textLeft(const Layout &layout) const
{
    const qreal width = layout.text.size().width();
    const Qt::Alignment horizontal = QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignRight)
        return this->width() - width;
    if (horizontal & Qt::AlignHCenter)
        return (this->width() - width) / 2;
    return 0;
}

// Worked out once for each caption, when a neighbour's change first reaches the box.
QRect ClockLabel::inkOf(Layout &layout) const
{
    if (!layout.ink) {
        const QFontMetrics metrics(font());
        layout.ink = metrics.boundingRect(text()).translated(0, metrics.ascent()).adjusted(-1, -1, 1, 1);
    }
    return *layout.ink;
}

void ClockLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_layouts.clear();
        m_reach = {};
    }
    QLabel::changeEvent(event);
}

void ClockLabel::resizeEvent(QResizeEvent *event)
{
    m_reach = {};
    QLabel::resizeEvent(event);
}

void ClockLabel::applyDesignFont()
{
    if (std::exchange(m_hasDesignFont, true))
        return;
    setFont(designFont(m_designPixelSize));
}

void ClockLabel::paintEvent(QPaintEvent *event)
{
    applyDesignFont();
    Layout &shown = layout();
    // A neighbour's change repaints the corner of this box it overlaps, often none of the text.
    if (shown.prepared && !event->rect().intersects(inkOf(shown).translated(qRound(textLeft(shown)), 0)))
        return;
    QPainter painter(this);
    painter.setFont(font());
    if (!std::exchange(shown.prepared, true))
        shown.text.prepare(painter.transform(), font());
    const QPointF at(textLeft(shown), 0);
    painter.setPen(m_colour);
    painter.drawStaticText(at, shown.text);
    // The glyphs stay inside their advance and line; a pixel more for the smoothing.
    const QRect drawn = QRectF(at, shown.text.size()).toAlignedRect().adjusted(-1, -1, 1, 1);
    if (!m_reach.contains(drawn)) {
        update(drawn); // the part beyond what this paint was given
        m_reach |= drawn;
    }
}

void ClockLabel::setTextColour(const QColor &colour)
{
    if (colour == m_colour)
        return;
    m_colour = colour;
    QPalette coloured = palette();
    coloured.setColor(QPalette::WindowText, colour);
    setPalette(coloured);
}
