#pragma once

#include <Qt>

namespace tav {

// Header data of a grid's column, true for a long text (a name, a remark)
// that may be narrowed and elided so that the other columns fit the width.
inline constexpr int ElasticColumnRole = Qt::UserRole + 40;

// Header data of a grid's column, true for numbers (amounts, quantities):
// their title, which says which sum a column holds, is the last to elide.
inline constexpr int NumberColumnRole = Qt::UserRole + 41;

} // namespace tav
