#pragma once

#include <QLabel>

// A label of the clock face. The face is refreshed ten times a second; these setters
// return at once when nothing changes, so nothing is repainted for nothing.
class ClockLabel : public QLabel
{
public:
    ClockLabel(const QString &caption, const QColor &colour, QWidget *parent);

    // True when the caption changed.
    bool setCaption(const QString &caption);
    void setTextColour(const QColor &colour);

private:
    QColor m_colour; // kept here: asking the palette costs more than the whole comparison
};
