#pragma once

class QWidget;

namespace tav {

struct AppContext;

// The key of the current animal, or -1 when there is none.
int currentAnimalId(const AppContext& context);
// Writes what is being typed on the card, so that an output shows it; a
// failure is shown and false returned.
bool postAnimalBeingTyped(QWidget* window, AppContext& context);

} // namespace tav
