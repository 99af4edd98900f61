#pragma once

#include "db/ReferenceUsage.h"

class QWidget;

namespace tav {

class DataModule1;

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

} // namespace tav
