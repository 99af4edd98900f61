#pragma once

#include "booklet/pages/CardPage.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TGeneralPage;
}

namespace tav {

class PhotoBox;

// The "Général" page: the animal's identity card. Its fields are bound to
// the current animal; species and breed are chosen from lists of titles
// and stored as keys.
class TGeneralPage : public CardPage
{
    Q_OBJECT
public:
    TGeneralPage(AppContext& context, int index, QWidget* parent);
    ~TGeneralPage() override;

    void Btn_Misc01Click(const QString& buttonName) override;
    void Ed_Misc01DblClick(const QString& fieldName) override;
    // Shows the species and breed titles of the current animal, except in a
    // field whose pick list is open.
    void refreshSpeciesBreed();
    // The weight fields' tooltip tells the animal's target weight band.
    void refreshTargetWeight();

    bool speciesPicking() const { return m_speciesPicking; }
    bool breedPicking() const { return m_breedPicking; }
    const QStringList& speciesIds() const { return m_speciesIds; }
    const QStringList& breedIds() const { return m_breedIds; }
    PhotoBox* photoBox() const { return m_photoBox; }
    void refreshFacts() override;
    // The animal's name is typed first.
    void beginNewAnimal() override;

private:
    static int fieldWidthFor(const QLineEdit* field, const QStringList& samples);
    void fitFieldsToTheirTexts();
    void openSpeciesList();
    void openBreedList();
    void Ed_SpeciesChange();
    void Ed_BreedChange();
    void Ed_BloodChange();

    std::unique_ptr<Ui::TGeneralPage> m_ui;
    QStringList m_speciesIds;
    QStringList m_breedIds;
    bool m_speciesPicking = false;
    bool m_breedPicking = false;
    PhotoBox* m_photoBox = nullptr;
};

} // namespace tav
