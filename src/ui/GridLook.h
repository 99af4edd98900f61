#pragma once

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
// of their rows' texts, their titles then eliding (the title shows whole
// in its tooltip). The user may still widen any column.
void fitColumnsToWidth(QTableView* grid);

} // namespace tav
