#include "clock/clocklabel.h"

#include "widgets/designfont.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <utility>

ClockLabel::ClockLabel(const QString &caption, const QColor &colour, int designPixelSize, QWidget *parent)
    : QLabel(caption, parent), m_designPixelSize(designPixelSize)
{
    setTextFormat(Qt::PlainText);
    setTextColour(colour);
    m_laidOut.setTextFormat(Qt::PlainText);
    m_laidOut.setText(caption);
}

bool ClockLabel::setCaption(const QString &caption)
{
    if (text() == caption)
        return false;
    setText(caption);
    m_laidOut.setText(caption);
    m_relayout = true;
    return true;
}

void ClockLabel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_relayout = true;
    QLabel::changeEvent(event);
}

void ClockLabel::applyDesignFont()
{
    if (std::exchange(m_hasDesignFont, true))
        return;
    setFont(designFont(m_designPixelSize));
}

void ClockLabel::paintEvent(QPaintEvent *)
{
    applyDesignFont();
    QPainter painter(this);
    painter.setFont(font());
    if (m_relayout) {
        m_laidOut.prepare(painter.transform(), font());
        m_relayout = false;
    }
    painter.setPen(m_colour);
    const qreal width = m_laidOut.size().width();
    const Qt::Alignment horizontal = QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignHorizontal_Mask;
    qreal x = 0;
    if (horizontal & Qt::AlignRight)
        x = this->width() - width;
    else if (horizontal & Qt::AlignHCenter)
        x = (this->width() - width) / 2;
    painter.drawStaticText(QPointF(x, 0), m_laidOut);
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
