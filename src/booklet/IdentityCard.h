#pragma once

#include <QObject>
#include <QStringList>

class QLabel;
class QLineEdit;
class QWidget;
class TMainForm;

namespace tav {

class DataModule1;
class DataSet;

// The "Général" and "Personnalisé" pages of the booklet: the fields bound
// to the current animal, their pick lists and remembered values, the choice
// of species and breed, and the captions of the custom fields.
class IdentityCard : public QObject
{
    Q_OBJECT
public:
    IdentityCard(TMainForm& form, QWidget* generalPage, QWidget* customPage);

    // One handler for every list and date button: it acts on the name of
    // the component that fired it.
    void Btn_Misc01Click(const QString& buttonName);
    void Ed_Misc01DblClick(const QString& fieldName);
    void Lab_Misc01DblClick(QLabel* label);
    void LoadCustomLabels();
    // Shows the species and breed titles of the current animal, except in a
    // field whose pick list is open.
    void refreshSpeciesBreed();

    bool speciesPicking() const { return m_speciesPicking; }
    bool breedPicking() const { return m_breedPicking; }
    const QStringList& speciesIds() const { return m_speciesIds; }
    const QStringList& breedIds() const { return m_breedIds; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildGeneralPage(QWidget* page);
    void buildCustomPage(QWidget* page);
    QLineEdit* boundEdit(QWidget* parent, const QString& name, const QString& column);
    void Ed_SpeciesChange();
    void Ed_BreedChange();
    void Ed_BloodChange();
    void openSpeciesList();
    void openBreedList();
    QLineEdit* edit(const QString& name) const;
    DataSet& animal() const;
    DataModule1& module() const;

    TMainForm& m_form;
    QWidget* m_generalPage;
    QWidget* m_customPage;
    QStringList m_speciesIds;
    QStringList m_breedIds;
    bool m_speciesPicking = false;
    bool m_breedPicking = false;
};

} // namespace tav
