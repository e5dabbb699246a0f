#pragma once

#include <QLabel>
#include <QStaticText>

// A label of the clock face. The face is refreshed ten times a second; these setters
// return at once when nothing changes, so nothing is repainted for nothing.
class ClockLabel : public QLabel
{
    Q_OBJECT
public:
    ClockLabel(const QString &caption, const QColor &colour, int designPixelSize, QWidget *parent);

    // Resolving the design font starts the font database: the window maps first, and the
    // font comes before the first paint (or at it, at the latest).
    void applyDesignFont();

    // True when the caption changed.
    bool setCaption(const QString &caption);
    void setTextColour(const QColor &colour);

protected:
    // Drawn from a laid-out text kept between paints: a label repaints whenever a
    // neighbour it overlaps does, and shaping its text anew each time is most of the cost.
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QStaticText m_laidOut;
    bool m_relayout = true;
    int m_designPixelSize;
    bool m_hasDesignFont = false;
    QColor m_colour; // kept here: asking the palette costs more than the whole comparison
};
