#pragma once

#include <QLabel>
#include <QStaticText>
#include <optional>
#include <unordered_map>

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
    // Drawn from laid-out texts kept between paints, one for each caption shown: the
    // seconds come round every minute, and shaping a text anew is most of a paint's cost.
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Layout {
        QStaticText text;
        bool prepared = false;
        std::optional<QRect> ink; // the glyphs' pixels, from the text's origin
    };
    Layout &layout();
    qreal textLeft(const Layout &layout) const;
    QRect inkOf(Layout &layout) const;

    std::unordered_map<QString, Layout> m_layouts; // until the font changes
    QRect m_reach; // where its texts have been drawn since the font or size last changed
    int m_designPixelSize;
    bool m_hasDesignFont = false;
    QColor m_colour; // kept here: asking the palette costs more than the whole comparison
};
