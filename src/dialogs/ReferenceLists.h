#pragma once

#include "db/ReferenceUsage.h"

#include <QtGlobal>

#include <memory>
#include <optional>

class QDialog;
class QWidget;

namespace tav {

class DataModule1;
class DataSet;

// What sets one reference table's pair of windows apart from the others.
struct ReferenceListDefinition
{
    ReferenceKind kind;
    const char* dataSet;        // shared query of the main data module
    const char* listTitle;      // title of the list window
    const char* entryTitle;     // title of the edit window
    const char* requiredEdit;   // the field that must not be empty for OK
    const char* deleteQuestion; // asked before a row is deleted
};

const ReferenceListDefinition& referenceListDefinition(ReferenceKind kind);

// Opens the list window of a reference table modally (TDoctorList,
// TPharmacyList, TDrugList, TVaccineList, TIllnessList). True when a row was
// stored or deleted, so that the caller refreshes what shows the titles. A
// failure to open the table is shown and gives false.
bool editReferenceList(QWidget* parent, DataModule1& module, ReferenceKind kind);

// The edit window of a reference table on the current row of its query.
std::unique_ptr<QDialog> makeReferenceEntry(ReferenceKind kind, DataSet& dataSet,
                                            DataModule1& module, QWidget* parent);

// Adds one row to a reference table through its edit window, from a window
// that needs the row now (an act whose practitioner is not yet listed).
// The new row's key once stored; nothing when the user cancelled or the
// table could not be opened (the reason was shown).
std::optional<qint64> addReferenceRow(QWidget* parent, DataModule1& module, ReferenceKind kind);

// What a pick list of that table offers when the table is still empty.
QString addReferenceLine(ReferenceKind kind);

} // namespace tav
