#pragma once

namespace tav {

// What the record rules need from the main window. The window implements it
// and registers itself with the data module once it exists; before that the
// rules that call it do nothing.
class MainWindowHooks
{
public:
    virtual ~MainWindowHooks() = default;

    virtual void refreshSpeciesBreed() = 0;
    virtual void updateControls() = 0;
    // The animal was written: the list shows it in its place.
    virtual void animalWritten(int animalId) = 0;
    virtual bool addingAnimal() const = 0;
    // Animal key of the selected row of the list, below 1 for a header.
    virtual int selectedAnimalKey() const = 0;
    virtual void setCurrentAnalysisId(int id) = 0;
    virtual void setConsultPinEnabled(bool enabled) = 0;
    virtual void setPharmacyPinEnabled(bool enabled) = 0;
};

} // namespace tav
