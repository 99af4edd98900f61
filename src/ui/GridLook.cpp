#include "ui/GridLook.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace tav {

void styleListGrid(QTableView* grid)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    QPalette palette = grid->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(49, 106, 197));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    grid->setPalette(palette);
    QPalette header = grid->horizontalHeader()->palette();
    header.setColor(QPalette::Button, QColor(216, 216, 216));
    header.setColor(QPalette::Window, QColor(216, 216, 216));
    grid->horizontalHeader()->setPalette(header);
}

void styleStripedGrid(QTableView* grid)
{
    styleListGrid(grid);
    grid->setAlternatingRowColors(true);
    QPalette palette = grid->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::AlternateBase, QColor(232, 243, 255));
    }
    grid->setPalette(palette);
}

void applyDesignWidths(QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QSize hint = model->headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize();
        // A title is never cut: the column is at least as wide as it.
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        const int titleWidth =
            grid->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 16;
        if (hint.isValid())
            grid->setColumnWidth(column, std::max(hint.width(), titleWidth));
    }
}

} // namespace tav
