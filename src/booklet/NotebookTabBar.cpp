#include "booklet/NotebookTabBar.h"

#include <QPainter>

namespace tav {

void NotebookTabBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i).adjusted(0, 0, -1, -1);
        QColor colour = tabData(i).value<QColor>();
        if (!colour.isValid())
            colour = palette().button().color();
        const bool current = i == currentIndex();
        p.fillRect(r, current ? colour.lighter(115) : colour);
        p.setPen(current ? QColor(30, 64, 121) : QColor(90, 90, 120));
        p.drawRect(r);
        QFont f = font();
        f.setBold(current);
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, tabText(i));
    }
}

} // namespace tav
