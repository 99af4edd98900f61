#include "ui/GridLook.h"

#include "core/ItemRoles.h"
#include "ui/TwoLineHeader.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace tav {

namespace {

constexpr int kFittedRows = 100;

} // namespace

void styleListGrid(QTableView* grid)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setHighlightSections(false);
    // A column is fitted to the texts of the rows on screen and of a
    // hundred more around them: measuring a thousand rows of every column
    // took most of the time of showing a page of thousands of acts.
    grid->horizontalHeader()->setResizeContentsPrecision(kFittedRows);
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

namespace {

// What a column's title needs to show whole in the header.
int titleWidth(const QTableView* grid, int column)
{
    if (const auto* twoLines = qobject_cast<const TwoLineHeader*>(grid->horizontalHeader()))
        return twoLines->titleWidth(column);
    const QString title = grid->model()->headerData(column, Qt::Horizontal).toString();
    return grid->horizontalHeader()->fontMetrics().horizontalAdvance(title) + 16;
}

} // namespace

void applyDesignWidths(QTableView* grid)
{
    const QAbstractItemModel* model = grid->model();
    if (!model)
        return;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QSize hint = model->headerData(column, Qt::Horizontal, Qt::SizeHintRole).toSize();
        // A title is never cut: the column is at least as wide as it.
        if (hint.isValid())
            grid->setColumnWidth(column, std::max(hint.width(), titleWidth(grid, column)));
    }
}

namespace {

// Takes `excess` pixels from the given columns, each in proportion to what
// it can give above its floor; returns what is still to take.
int shrink(QTableView* grid, const QList<std::pair<int, int>>& columnsAndFloors, int excess)
{
    int room = 0;
    for (const auto& [column, floor] : columnsAndFloors)
        room += std::max(0, grid->columnWidth(column) - floor);
    if (room <= 0 || excess <= 0)
        return excess;
    const int taken = std::min(excess, room);
    int left = taken;
    for (int i = 0; i < columnsAndFloors.size(); ++i) {
        const auto& [column, floor] = columnsAndFloors.at(i);
        const int give = std::max(0, grid->columnWidth(column) - floor);
        // The last column takes the rounding, so that the sum is exact.
        const int cut = i + 1 == columnsAndFloors.size()
                            ? std::min(give, left)
                            : std::min(give, int(qint64(taken) * give / room));
        grid->setColumnWidth(column, grid->columnWidth(column) - cut);
        left -= cut;
    }
    return excess - (taken - left);
}

} // namespace

void fitColumnsToWidth(QTableView* grid, const QSet<int>& fixedColumns)
{
    const QAbstractItemModel* model = grid->model();
    const int available = grid->viewport()->width();
    if (!model || available <= 0)
        return;
    int total = 0;
    QList<std::pair<int, int>> elastic;
    // The others first down to their contents and whole titles, then, when
    // that is still too wide, the titles of dates and other texts elide,
    // and last those of numbers.
    QList<std::pair<int, int>> titled;
    QList<std::pair<int, int>> texts;
    QList<std::pair<int, int>> numbers;
    const int character = grid->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    // The header keeps no column narrower than this, whatever is asked.
    const int narrowest = grid->horizontalHeader()->minimumSectionSize();
    for (int column = 0; column < model->columnCount(); ++column) {
        if (grid->isColumnHidden(column))
            continue;
        total += grid->columnWidth(column);
        if (fixedColumns.contains(column))
            continue;
        if (model->headerData(column, Qt::Horizontal, ElasticColumnRole).toBool()) {
            // A few characters stay, enough to tell one line from another.
            elastic.append({column, std::max(3 * character, narrowest)});
            continue;
        }
        // A date or an amount itself always stays whole.
        const QAbstractItemView* view = grid; // where the measure is public
        const int contents = std::max({view->sizeHintForColumn(column), 4 * character, narrowest});
        titled.append({column, std::max(contents, titleWidth(grid, column))});
        // An amount's title names the sum ("Non remboursé"): it is the last
        // to give way.
        const bool number = model->headerData(column, Qt::Horizontal, NumberColumnRole).toBool();
        (number ? numbers : texts).append({column, contents});
    }
    int excess = shrink(grid, elastic, total - available);
    excess = shrink(grid, titled, excess);
    excess = shrink(grid, texts, excess);
    shrink(grid, numbers, excess);
}

} // namespace tav
