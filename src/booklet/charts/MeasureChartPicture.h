#pragma once

#include <QImage>
#include <QSize>

namespace tav {

class Connection;

// The growth chart of an animal (measureKind 1 weight, 2 size) drawn in the
// given mode as the booklet page draws it, with its title, for the printed
// and HTML booklets. Throws DbError.
QImage renderMeasureChart(Connection& connection, int animalId,
                          int measureKind /*1 weight, 2 size*/, int mode, const QSize& size);

} // namespace tav
