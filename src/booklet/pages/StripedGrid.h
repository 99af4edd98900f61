#pragma once

class QTableView;

namespace tav {

// The look of the booklet's data grids: rows alternating white and pale
// blue, a dark blue selection that stays visible without the focus, a grey
// title row, whole-row selection and no editing in place.
void styleStripedGrid(QTableView* grid);

// Gives each column the width its model asks for in its title's size hint
// (the design's width in characters), once the model is set.
void applyDesignWidths(QTableView* grid);

} // namespace tav
