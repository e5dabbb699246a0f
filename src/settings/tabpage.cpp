#include "settings/tabpage.h"

#include <QTabWidget>

// The design's pages are the button face, as its labels are: no lighter band behind them.
TabPage::TabPage(QTabWidget *tabs) : m_tabs(tabs)
{
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    setAutoFillBackground(true);
}

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
