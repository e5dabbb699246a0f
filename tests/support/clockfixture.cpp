#include "support/clockfixture.h"

#include "clock/walltimer.h"

Form1 &ClockFixture::open()
{
    form = std::make_unique<Form1>(temp.store(), fake.platform());
    form->Timer1->setEnabled(false);
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
    for (const QLabel *label : {form->Label1, form->Label2, form->Label3, form->Label7, form->Label4, form->Label5,
                                form->Label6})
        parts << label->text();
    return parts.join(QLatin1Char(' '));
}

QColor textColour(const QLabel *label) { return label->palette().color(QPalette::WindowText); }
