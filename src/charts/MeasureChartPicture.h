#pragma once

#include "core/MeasureKind.h"

#include <QImage>
#include <QSize>

namespace tav {

class Connection;

// The growth chart of an animal drawn in the given mode as the booklet page
// draws it, titled by its kind, for the printed and HTML booklets. Throws
// DbError.
QImage renderMeasureChart(Connection& connection, int animalId, MeasureKind kind, CurveMode mode,
                          const QSize& size);

} // namespace tav
