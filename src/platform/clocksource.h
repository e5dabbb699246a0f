#pragma once

#include <QDateTime>

// Where the program learns the local date and time.
class ClockSource
{
public:
    virtual ~ClockSource() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public ClockSource
{
public:
    QDateTime now() const override;
};
