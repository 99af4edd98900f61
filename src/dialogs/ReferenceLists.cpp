#include "dialogs/ReferenceLists.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "dialogs/TReferenceEntry.h"
#include "dialogs/TReferenceList.h"
#include "ui/MessageBox.h"

#include <memory>

namespace tav {

namespace {

const ReferenceListDefinition kDefinitions[] = {
    {ReferenceKind::Doctor, "Lst_Doctor", "  Liste des praticiens", "  Saisie d'un praticien",
     "Ed_Name", "Désirez-vous supprimer ce médecin?"},
    {ReferenceKind::Pharmacy, "Lst_Pharmacy", "  Liste des pharmacies", "  Saisie d'une pharmacie",
     "Ed_Name", "Désirez-vous supprimer cette pharmacie ?"},
    {ReferenceKind::Drug, "Lst_Drug", "  Liste des médicaments", "  Saisie d'un médicament",
     "Ed_Title", "Désirez-vous supprimer ce médicament ?"},
    {ReferenceKind::Vaccine, "Lst_Vaccine", "  Liste des vaccins", "  Saisie d'un vaccin",
     "Ed_Title", "Désirez-vous supprimer ce vaccin ?"},
    {ReferenceKind::Illness, "Lst_Illness", "  Liste des pathologies", "  Saisie d'une pathologie",
     "Ed_Title", "Désirez-vous supprimer cette maladie ?"},
};

std::unique_ptr<TReferenceList> makeList(ReferenceKind kind, DataModule1& module, QWidget* parent)
{
    switch (kind) {
    case ReferenceKind::Doctor:
        return std::make_unique<TDoctorList>(module, parent);
    case ReferenceKind::Pharmacy:
        return std::make_unique<TPharmacyList>(module, parent);
    case ReferenceKind::Drug:
        return std::make_unique<TDrugList>(module, parent);
    case ReferenceKind::Vaccine:
        return std::make_unique<TVaccineList>(module, parent);
    case ReferenceKind::Illness:
        return std::make_unique<TIllnessList>(module, parent);
    }
    return nullptr;
}

} // namespace

const ReferenceListDefinition& referenceListDefinition(ReferenceKind kind)
{
    for (const ReferenceListDefinition& d : kDefinitions)
        if (d.kind == kind)
            return d;
    return kDefinitions[0];
}

bool editReferenceList(QWidget* parent, DataModule1& module, ReferenceKind kind)
{
    std::unique_ptr<TReferenceList> window;
    try {
        window = makeList(kind, module, parent);
        window->open();
    } catch (const DbError& e) {
        showError(parent, e.message());
        return false;
    }
    window->exec();
    return window->changed();
}

std::unique_ptr<QDialog> makeReferenceEntry(ReferenceKind kind, DataSet& dataSet,
                                            DataModule1& module, QWidget* parent)
{
    switch (kind) {
    case ReferenceKind::Doctor:
        return std::make_unique<TEnterDoctor>(dataSet, module.dataSet(QStringLiteral("ComboItems")),
                                              parent);
    case ReferenceKind::Pharmacy:
        return std::make_unique<TEnterPharmacy>(dataSet, parent);
    case ReferenceKind::Drug:
        return std::make_unique<TEnterDrug>(dataSet, parent);
    case ReferenceKind::Vaccine:
        return std::make_unique<TEnterVaccine>(dataSet, parent);
    case ReferenceKind::Illness:
        return std::make_unique<TEnterIllness>(dataSet, parent);
    }
    return nullptr;
}

std::optional<qint64> addReferenceRow(QWidget* parent, DataModule1& module, ReferenceKind kind)
{
    DataSet& dataSet = module.dataSet(QString::fromLatin1(referenceListDefinition(kind).dataSet));
    // The list window may have it open; it is left as it was found.
    const bool wasOpen = dataSet.isOpen();
    std::optional<qint64> added;
    try {
        if (!wasOpen)
            dataSet.open();
        dataSet.append();
        const std::unique_ptr<QDialog> entry = makeReferenceEntry(kind, dataSet, module, parent);
        // The edit window stores the row on OK and cancels it otherwise.
        if (entry->exec() == QDialog::Accepted)
            added = dataSet.value(QStringLiteral("Id")).toLongLong();
    } catch (const DbError& e) {
        showError(parent, e.message());
    }
    if (dataSet.isEditing())
        dataSet.cancel();
    if (!wasOpen)
        dataSet.close();
    return added;
}

QString addReferenceLine(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Doctor:
        return QString::fromUtf8("Aucun praticien : en ajouter un ...");
    case ReferenceKind::Pharmacy:
        return QString::fromUtf8("Aucune pharmacie : en ajouter une ...");
    case ReferenceKind::Drug:
        return QString::fromUtf8("Aucun médicament : en ajouter un ...");
    case ReferenceKind::Vaccine:
        return QString::fromUtf8("Aucun vaccin : en ajouter un ...");
    case ReferenceKind::Illness:
        return QString::fromUtf8("Aucune pathologie : en ajouter une ...");
    }
    return QString();
}

} // namespace tav
