#pragma once

#include <QTabBar>

namespace tav {

// The tab strip under the booklet's pages: each tab in its own colour,
// carried as the tab's data.
class NotebookTabBar : public QTabBar
{
    Q_OBJECT
public:
    using QTabBar::QTabBar;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tav
