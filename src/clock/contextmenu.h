#pragma once

#include <QMenu>

// The clock's menu, opened by the right mouse button, the Menu key or Shift+F10: the way
// to what the mouse gestures do, for the keyboard too. It watches the window it serves.
class ContextMenu : public QMenu
{
    Q_OBJECT
public:
    // The time-signal entry is greyed whenever `adjustmentSpot` is disabled.
    ContextMenu(QWidget *window, const QWidget *adjustmentSpot);

signals:
    void settingsRequested();
    void timeSignalRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addEntry(const QString &caption, const char *name);
    void popupAt(const QPoint &globalPosition);

    QWidget *m_window;
    const QWidget *m_adjustmentSpot;
    QAction *m_adjust;
};
