#pragma once

#include "booklet/pages/GridPage.h"

namespace tav {

// The "Vaccins" page: the current animal's vaccinations with their reminder
// dates, added, changed and deleted through the vaccination window.
class TVaccinePage : public GridPage
{
    Q_OBJECT
public:
    TVaccinePage(AppContext& context, int index, QWidget* parent = nullptr);

    QString exportFileName() const override;

    void Btn_Vaccine_AddClick();
    void Btn_Vaccine_EditClick();
    void Btn_Vaccine_DeleteClick();

protected:
    QVector<DataSet::FilterTerm> filter(qint64 animalId) const override;
};

} // namespace tav
