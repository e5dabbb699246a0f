#pragma once

#include "clock/clocklabel.h"
#include "clock/form1.h"
#include "support/fakes.h"
#include "support/tempstore.h"

#include <QLabel>
#include <memory>

// A clock window on a store of its own and a fake platform, its timer held still so a
// test decides when it ticks.
struct ClockFixture {
    TempStore temp;
    FakePlatform fake;
    std::unique_ptr<Form1> form;

    Form1 &open();
    Form1 &openAt(const QDateTime &when);
    void tickAt(const QDateTime &when);

    // "2026 12 07 月 12 34 56", as the clock reads.
    QString shown() const;
};

QColor textColour(const QLabel *label);
