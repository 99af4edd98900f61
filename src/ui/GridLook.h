#pragma once

#include <QSet>

class QTableView;

namespace tav {

// The look of the program's read-only grids: whole-row selection in dark
// blue that stays visible without the focus, a grey title row, no editing
// in place.
void styleListGrid(QTableView* grid);

// The same with rows alternating white and pale blue: the booklet's pages.
void styleStripedGrid(QTableView* grid);

// Gives each column the width its model asks for in its title's size hint
// (the design's width in characters), once the model is set.
void applyDesignWidths(QTableView* grid);

// Narrows the columns so that they fit the grid's width without a sideways
// scroll, when they can: first the long text columns (ElasticColumnRole),
// which elide, down to three characters; then the others down to the width
// of their rows' texts and of their whole title, so that a date or an
// amount is never cut and says what it is; only if that is still too wide
// do the titles of the other columns elide, an amount's last (the title
// shows whole in its tooltip). The fixed columns (the ones the user
// resized) keep their width. The user may still widen any column.
void fitColumnsToWidth(QTableView* grid, const QSet<int>& fixedColumns = {});

} // namespace tav
