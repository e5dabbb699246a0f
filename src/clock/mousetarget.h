#pragma once

#include <QLabel>

// An invisible label that only catches the mouse. While disabled it lets events through
// to whatever lies below it, as a disabled target should not swallow them. Assistive
// technology sees it as a button whose press does what the mouse gesture does.
class MouseTarget : public QLabel
{
    Q_OBJECT
public:
    enum class Gesture { Click, DoubleClick };

    explicit MouseTarget(Gesture pressedBy, QWidget *parent = nullptr);

    // What a screen reader's press action does.
    void press();

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Gesture m_pressedBy;
    bool m_pressed = false;
};

// Lets QAccessible find the press action of every MouseTarget.
void installMouseTargetAccessibility();
