#pragma once

#include "booklet/pages/BookletPage.h"
#include "booklet/pages/ExportablePage.h"

class QTableView;

namespace tav {

struct AppContext;
class DataSet;
class VaccineGridModel;

// The "Vaccins" page: the current animal's vaccinations with their reminder
// dates, added, changed and deleted through the vaccination window.
class TVaccinePage : public BookletPage, public ExportablePage
{
    Q_OBJECT
public:
    TVaccinePage(AppContext& context, int index, QWidget* parent = nullptr);

    void refresh() override;
    void load(qint64 selectId);

    QString exportFileName() const override;
    CsvTable exportTable() const override;

    DataSet& display() const;
    QTableView* grid() const { return m_grid; }

    void Btn_Vaccine_AddClick();
    void Btn_Vaccine_EditClick();
    void Btn_Vaccine_DeleteClick();

signals:
    void controlsChanged();

private:
    bool hasAnimal() const;
    qint64 animalId() const;
    qint64 currentId() const;

    AppContext& m_context;
    QTableView* m_grid = nullptr;
    VaccineGridModel* m_model = nullptr;
};

} // namespace tav
