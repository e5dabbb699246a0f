#include "settings/tabpage.h"

#include <QTabWidget>

TabPage::TabPage(QTabWidget *tabs) : m_tabs(tabs) {}

void TabPage::showEvent(QShowEvent *event)
{
    relayout();
    QWidget::showEvent(event);
}

void TabPage::resizeEvent(QResizeEvent *event)
{
    relayout();
    QWidget::resizeEvent(event);
}

void TabPage::relayout()
{
    const QPoint origin = m_tabs->isAncestorOf(this) ? mapTo(m_tabs, QPoint()) : QPoint();
    for (const Placed &placed : m_placed) {
        if (placed.widget)
            placed.widget->setGeometry(pixelRect(placed.box).translated(-origin));
    }
}
