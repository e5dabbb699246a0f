#pragma once

#include <QColor>
#include <QFrame>

// A filled rectangle showing one of the clock's colours.
class Swatch : public QFrame
{
    Q_OBJECT
public:
    explicit Swatch(const QColor &fill, QWidget *parent = nullptr);
    QColor fill() const;
    void setFill(const QColor &fill);
};
