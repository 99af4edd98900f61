#include "dialogs/TEnterAnalysis.h"

#include "ui_TEnterAnalysis.h"

TEnterAnalysis::TEnterAnalysis(tav::DataSet& catalogue, tav::DataSet& comboItems, QWidget* parent)
    : AnalysisEntry(catalogue, parent)
{
    setObjectName(QStringLiteral("TEnterAnalysis"));
    Ui::TEnterAnalysis form;
    form.setupUi(this);
    setUpFields(
        {{"Ed_Title", "Title"}},
        {{"DBEdit2", "Value_Min", "Valeur minimale"}, {"DBEdit1", "Value_Max", "Valeur maximale"}},
        {"DBMemo1", "Remark1", 255}, "Ed_Title");
    setUpUnitAndDecimals(comboItems);
}
