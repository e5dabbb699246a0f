#include "clock/clocklabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

ClockLabel::ClockLabel(const QString &caption, const QColor &colour, QWidget *parent) : QLabel(caption, parent)
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

void ClockLabel::paintEvent(QPaintEvent *)
{
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
