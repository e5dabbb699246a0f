#include "clock/clocklabel.h"

ClockLabel::ClockLabel(const QString &caption, const QColor &colour, QWidget *parent) : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
    setTextColour(colour);
}

bool ClockLabel::setCaption(const QString &caption)
{
    if (text() == caption)
        return false;
    setText(caption);
    return true;
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
