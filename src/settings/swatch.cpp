#include "settings/swatch.h"

Swatch::Swatch(const QColor &fill, QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setFill(fill);
}

QColor Swatch::fill() const { return palette().color(QPalette::Window); }

void Swatch::setFill(const QColor &fill)
{
    QPalette filled = palette();
    filled.setColor(QPalette::Window, fill);
    setPalette(filled);
}
