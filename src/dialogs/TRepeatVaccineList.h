#pragma once

#include "dialogs/TTableList.h"

namespace tav {
class DataModule2;
}

// The current animal's vaccinations whose stored reminder flag says due,
// in the order they were given. The flags are read as they stand: the
// command brings them up to date before.
class TRepeatVaccineList : public TTableList
{
    Q_OBJECT
public:
    // Throws DbError.
    TRepeatVaccineList(tav::DataModule2& module, qint64 animalId, QWidget* parent = nullptr);
};
