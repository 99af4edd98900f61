#pragma once

#include "db/BreedStore.h"

namespace tav {

// The species window edits the species and breeds through the store.
using BreedCatalogue = BreedStore;

} // namespace tav
