#pragma once

#include <QStringList>

namespace tav {

class Connection;
class DataModuleReport;
struct TableFilter;

// The report module's data sets as the printed reports open them, every
// condition on the animal's key alone. Each throws DbError and leaves the
// data set it failed on closed.
namespace reportqueries {

// Closes the six data sets of the module.
void closeAll(DataModuleReport& module);
// The main data set with a statement of its own.
void openMain(DataModuleReport& module, const QStringList& sql);
// The same with the statement's WHERE line replaced by the filter.
void openMain(DataModuleReport& module, const QStringList& sql, const TableFilter& filter);
// Acts, purchases, vaccinations, weights and events of the animal.
void openBookletDetails(DataModuleReport& module, int animalId);
// The animal's acts and purchases that an insurer has still to pay back,
// and its vaccinations whose reminder is due.
void openReminderDetails(DataModuleReport& module, int animalId);

} // namespace reportqueries

} // namespace tav
