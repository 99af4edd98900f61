#pragma once

namespace tav {

// Makes Qt's own windows (file, print and colour dialogs, standard buttons)
// speak French, whatever the user's locale: the program itself is French
// only, and a dialog in another language would look foreign in it. Loads
// Qt's French catalogue from the system's Qt translations folder once per
// application; false when the catalogue is not installed (Qt's windows then
// stay in English, nothing else changes).
bool installQtFrenchTranslation();

} // namespace tav
