#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "widgets/twips.h"

class QTabWidget;

// A page of a tab widget whose children are placed relative to the tab widget's own
// top-left corner, tab strip included, wherever the style puts the page itself.
class TabPage : public QWidget
{
    Q_OBJECT
public:
    explicit TabPage(QTabWidget *tabs);

    template <typename W>
    W *place(W *child, TwipRect box)
    {
        m_placed.push_back({child, box});
        relayout();
        return child;
    }

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void relayout();

    struct Placed {
        QPointer<QWidget> widget;
        TwipRect box;
    };
    QTabWidget *m_tabs;
    std::vector<Placed> m_placed;
};
