#pragma once

// The list window shared by the reference tables (practitioners,
// pharmacies, medicines, vaccines, pathologies), and its five members.

#include "db/ReferenceUsage.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TReferenceList;
}

namespace tav {
class DataModule1;
class DataSet;
class DataSetModel;
struct ReferenceListDefinition;
} // namespace tav

class QTableView;
class TReferenceEntry;

// Shows a whole reference table in a grid, sorted by its name or title,
// and adds, changes and deletes its rows through the table's edit window.
// The table's shared query stays open while the window lives.
class TReferenceList : public QDialog
{
    Q_OBJECT

public:
    ~TReferenceList() override;

    // Opens the table's query. Throws DbError.
    void open();
    // Whether a row was stored or deleted since the window opened.
    bool changed() const { return m_changed; }
    tav::DataSet& dataSet() const { return m_dataSet; }
    QTableView* grid() const;

    virtual void Btn_AddClick();
    void Btn_EditClick();
    virtual void Btn_DeleteClick();

protected:
    TReferenceList(tav::ReferenceKind kind, tav::DataModule1& module, QWidget* parent);
    // A list outside the five reference tables, which brings its own edit
    // window and its own add and delete.
    TReferenceList(const tav::ReferenceListDefinition& definition, tav::DataModule1& module,
                   QWidget* parent);
    void done(int result) override;
    virtual std::unique_ptr<QDialog> makeEntry();

    tav::DataModule1& module() const { return m_module; }
    void setChanged() { m_changed = true; }
    void applyButtonRule();
    void showEntry();
    void selectCurrentRow();

private:
    std::unique_ptr<Ui::TReferenceList> m_ui;
    const tav::ReferenceListDefinition& m_definition;
    tav::DataModule1& m_module;
    tav::DataSet& m_dataSet;
    tav::DataSetModel* m_model = nullptr;
    bool m_changed = false;
};

class TDoctorList : public TReferenceList
{
    Q_OBJECT
public:
    TDoctorList(tav::DataModule1& module, QWidget* parent = nullptr);
};

class TPharmacyList : public TReferenceList
{
    Q_OBJECT
public:
    TPharmacyList(tav::DataModule1& module, QWidget* parent = nullptr);
};

class TDrugList : public TReferenceList
{
    Q_OBJECT
public:
    TDrugList(tav::DataModule1& module, QWidget* parent = nullptr);
};

class TVaccineList : public TReferenceList
{
    Q_OBJECT
public:
    TVaccineList(tav::DataModule1& module, QWidget* parent = nullptr);
};

class TIllnessList : public TReferenceList
{
    Q_OBJECT
public:
    TIllnessList(tav::DataModule1& module, QWidget* parent = nullptr);
};
