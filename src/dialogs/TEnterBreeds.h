#pragma once

// The species and breeds window (class TEnterSpeciesBreed).

#include <QDialog>
#include <QStringList>

#include <memory>

namespace Ui {
class TEnterSpeciesBreed;
}

namespace tav {
class DataModule1;
class BreedStore;
} // namespace tav

class QListWidget;
class QMenu;

// Maintains the species and, under the selected species, its breeds. Every
// add, rename and delete is stored at once; there is nothing to cancel.
class TEnterSpeciesBreed : public QDialog
{
    Q_OBJECT

public:
    // Stands for "no line to select" when loading the lists.
    static constexpr int NoId = -1;

    explicit TEnterSpeciesBreed(tav::DataModule1& module, QWidget* parent = nullptr);
    ~TEnterSpeciesBreed() override;

    // Whether anything was stored since the window opened.
    bool changed() const { return m_changed; }

    // Keys of the lines of each list, in the same order.
    const QStringList& speciesLineIds() const { return m_speciesLineIds; }
    const QStringList& breedLineIds() const { return m_breedLineIds; }
    int selectedSpeciesId() const;
    int selectedBreedId() const;

    QListWidget* speciesList() const;
    QListWidget* breedList() const;
    QMenu* speciesMenu() const { return m_speciesMenu; }
    QMenu* breedMenu() const { return m_breedMenu; }

    void loadSpecies(int selectId = NoId);
    void loadBreeds(int selectId = NoId);

    void addSpecies();
    void renameSpecies();
    void deleteSpecies();
    void addBreed();
    void renameBreed();
    void deleteBreed();

private:
    QMenu* buildMenu(const QString& name, QListWidget* list, void (TEnterSpeciesBreed::*add)(),
                     void (TEnterSpeciesBreed::*rename)(), void (TEnterSpeciesBreed::*remove)());
    // Runs one command, showing its failure; the lists are reloaded after a
    // failure so that they show what the database holds.
    template <typename Command> void run(Command command);

    std::unique_ptr<Ui::TEnterSpeciesBreed> m_ui;
    std::unique_ptr<tav::BreedStore> m_catalogue;
    QStringList m_speciesLineIds;
    QStringList m_breedLineIds;
    QMenu* m_speciesMenu = nullptr;
    QMenu* m_breedMenu = nullptr;
    bool m_changed = false;
};

namespace tav {

// Opens the species and breeds window modally. True when something was
// stored, so that the caller refreshes what shows the titles.
bool editSpeciesAndBreeds(QWidget* parent, DataModule1& module);

} // namespace tav
