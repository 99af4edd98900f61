#pragma once

#include "dialogs/TReferenceList.h"

// The analysis catalogue: a reference list over Lst_Analysis whose new rows
// start with two decimals and a range of 0 to 0, and whose deletion takes
// every animal's followed copy of the definition with its values, all or
// nothing.
class TAnalysisList : public TReferenceList
{
    Q_OBJECT
public:
    explicit TAnalysisList(tav::DataModule1& module, QWidget* parent = nullptr);

    // Opens the catalogue's query, its four columns fitting the window.
    void open();

    void Btn_AddClick() override;
    void Btn_DeleteClick() override;

protected:
    std::unique_ptr<QDialog> makeEntry() override;
};

namespace tav {
// Opens the catalogue modally; true when a row was stored or deleted. A
// failure to open it is shown and gives false.
bool editAnalysisList(QWidget* parent, DataModule1& module);
} // namespace tav
