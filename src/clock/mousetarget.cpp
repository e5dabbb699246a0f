#include "clock/mousetarget.h"

#include <QAccessibleWidget>
#include <QMouseEvent>

namespace {

class AccessibleMouseTarget final : public QAccessibleWidget
{
public:
    explicit AccessibleMouseTarget(MouseTarget *target) : QAccessibleWidget(target, QAccessible::Button) {}

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && widget()->isEnabled())
            static_cast<MouseTarget *>(widget())->press();
    }
};

QAccessibleInterface *accessibleFor(const QString &className, QObject *object)
{
    if (className == QLatin1String("MouseTarget") && object && object->isWidgetType())
        return new AccessibleMouseTarget(static_cast<MouseTarget *>(object));
    return nullptr;
}

} // namespace

void installMouseTargetAccessibility()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}

MouseTarget::MouseTarget(Gesture pressedBy, QWidget *parent) : QLabel(parent), m_pressedBy(pressedBy) {}

void MouseTarget::press()
{
    if (m_pressedBy == Gesture::Click)
        Q_EMIT clicked();
    else
        Q_EMIT doubleClicked();
}

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

// Nothing to draw; the face beneath it repaints every second, and this lies over all of it.
void MouseTarget::paintEvent(QPaintEvent *) {}

void MouseTarget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    QLabel::changeEvent(event);
}
