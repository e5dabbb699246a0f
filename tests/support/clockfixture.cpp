#include "support/child.h"
#include "support/clockfixture.h"

#include "clock/walltimer.h"
#include "support/child.h"

Form1 &ClockFixture::open()
{
    form = std::make_unique<Form1>(temp.store(), fake.platform());
    child<WallTimer>(form.get(), "Timer1")->setEnabled(false);
    return *form;
}

Form1 &ClockFixture::openAt(const QDateTime &when)
{
    fake.clock.set(when);
    return open();
}

void ClockFixture::tickAt(const QDateTime &when)
{
    fake.clock.set(when);
    form->Timer1_Timer();
}

QString ClockFixture::shown() const
{
    QStringList parts;
    for (const char *name : {"Label1", "Label2", "Label3", "Label7", "Label4", "Label5", "Label6"})
        parts << child<QLabel>(form.get(), name)->text();
    return parts.join(QLatin1Char(' '));
}

QColor textColour(const QLabel *label) { return label->palette().color(QPalette::WindowText); }
