#pragma once

#include <QLabel>

// An invisible label that only catches the mouse. While disabled it lets events through
// to whatever lies below it, as a disabled target should not swallow them.
class MouseTarget : public QLabel
{
    Q_OBJECT
public:
    explicit MouseTarget(QWidget *parent = nullptr);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    bool m_pressed = false;
};
