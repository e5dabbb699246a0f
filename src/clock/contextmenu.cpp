#include "clock/contextmenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

namespace {
bool opensTheMenu(const QKeyEvent *key)
{
    return (key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier)
           || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}
} // namespace

ContextMenu::ContextMenu(QWidget *window, const QWidget *adjustmentSpot)
    : QMenu(window), m_window(window), m_adjustmentSpot(adjustmentSpot)
{
    setObjectName(QStringLiteral("ContextMenu"));
    connect(addEntry(QStringLiteral("設定..."), "OpenSettings"), &QAction::triggered, this,
            &ContextMenu::settingsRequested);
    m_adjust = addEntry(QStringLiteral("時報調整"), "AdjustToTimeSignal");
    connect(m_adjust, &QAction::triggered, this, &ContextMenu::timeSignalRequested);
    addSeparator();
    connect(addEntry(QStringLiteral("閉じる"), "Close"), &QAction::triggered, window, &QWidget::close);

    window->setFocusPolicy(Qt::StrongFocus);
    window->installEventFilter(this);
}

QAction *ContextMenu::addEntry(const QString &caption, const char *name)
{
    QAction *action = addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

bool ContextMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::ContextMenu) {
        const auto *request = static_cast<QContextMenuEvent *>(event);
        popupAt(request->reason() == QContextMenuEvent::Mouse ? request->globalPos()
                                                               : m_window->mapToGlobal(m_window->rect().center()));
        return true;
    }
    if (event->type() == QEvent::KeyPress && opensTheMenu(static_cast<QKeyEvent *>(event))) {
        popupAt(m_window->mapToGlobal(m_window->rect().center()));
        return true;
    }
    return false;
}

void ContextMenu::popupAt(const QPoint &globalPosition)
{
    m_adjust->setEnabled(m_adjustmentSpot->isEnabled());
    popup(globalPosition);
}
