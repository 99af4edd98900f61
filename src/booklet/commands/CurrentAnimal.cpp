#include "booklet/commands/CurrentAnimal.h"

#include "booklet/AppContext.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "ui/MessageBox.h"

namespace tav {

int currentAnimalId(const AppContext& context)
{
    if (!context.module1)
        return -1;
    const DataSet& animal = context.module1->animal();
    if (!animal.isOpen() || animal.isEmpty())
        return -1;
    return animal.asInt(QStringLiteral("Id"));
}

bool postAnimalBeingTyped(QWidget* window, AppContext& context)
{
    if (!context.module1)
        return true;
    DataSet& animal = context.module1->animal();
    if (!animal.isEditing())
        return true;
    try {
        animal.post();
    } catch (const DbError& e) {
        showError(window, e.message());
        return false;
    }
    return true;
}

} // namespace tav
