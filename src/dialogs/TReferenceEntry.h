#pragma once

// The edit window shared by the reference tables, and its five members.

#include "db/ReferenceUsage.h"

#include <QDialog>

#include <initializer_list>
#include <utility>

namespace tav {
class DataSet;
struct ReferenceListDefinition;
} // namespace tav

class QPushButton;

// Edits the current row of a reference table's query, which the list
// window has put into insert or edit state: OK stores it (a refusal of the
// database is shown and the window stays open with what was typed),
// Annuler, Escape or the close button cancel it. No row is ever left
// pending.
class TReferenceEntry : public QDialog
{
    Q_OBJECT

public:
    QPushButton* okButton() const { return m_ok; }

    void Btn_OkClick();
    void reject() override;

protected:
    TReferenceEntry(tav::ReferenceKind kind, tav::DataSet& dataSet, QWidget* parent);
    // Binds each named field of the window to its column, then applies the
    // window's rules; run by each member once its form is set up.
    void bindFields(std::initializer_list<std::pair<const char*, const char*>> fields);
    // Sets up the title-and-description form under a member's class name.
    void setUpTitledForm(const char* className);

    tav::DataSet& dataSet() const { return m_dataSet; }

private:
    void applyOkRule();

    const tav::ReferenceListDefinition& m_definition;
    tav::DataSet& m_dataSet;
    QPushButton* m_ok = nullptr;
};

class TEnterDoctor : public TReferenceEntry
{
    Q_OBJECT
public:
    TEnterDoctor(tav::DataSet& dataSet, tav::DataSet& comboItems, QWidget* parent = nullptr);

    void Btn_SpecialiteClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    tav::DataSet& m_comboItems;
};

class TEnterPharmacy : public TReferenceEntry
{
    Q_OBJECT
public:
    TEnterPharmacy(tav::DataSet& dataSet, QWidget* parent = nullptr);
};

// Medicines, vaccines and pathologies: a title and a description.
class TEnterDrug : public TReferenceEntry
{
    Q_OBJECT
public:
    TEnterDrug(tav::DataSet& dataSet, QWidget* parent = nullptr);
};

class TEnterVaccine : public TReferenceEntry
{
    Q_OBJECT
public:
    TEnterVaccine(tav::DataSet& dataSet, QWidget* parent = nullptr);
};

class TEnterIllness : public TReferenceEntry
{
    Q_OBJECT
public:
    TEnterIllness(tav::DataSet& dataSet, QWidget* parent = nullptr);
};
