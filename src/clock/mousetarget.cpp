#include "clock/mousetarget.h"

#include <QMouseEvent>

MouseTarget::MouseTarget(QWidget *parent) : QLabel(parent) {}

void MouseTarget::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void MouseTarget::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Q_EMIT clicked();
}

void MouseTarget::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is not a click of its own.
    m_pressed = false;
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void MouseTarget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    QLabel::changeEvent(event);
}
