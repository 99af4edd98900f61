#pragma once

#include "core/WeightBand.h"

namespace tav {

class Connection;

// The target weight band kept with each animal (ANIMAL.Target_Weight_Min
// and Target_Weight_Max, empty when open).
WeightBand readTargetWeight(Connection& connection, qint64 animalId);
// Throws DbError.
void writeTargetWeight(Connection& connection, qint64 animalId, const WeightBand& band);

} // namespace tav
