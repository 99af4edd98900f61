#pragma once

#include "dialogs/AnalysisEntry.h"

// Edits one definition of the analysis catalogue, the current row of
// Lst_Analysis: title, unit, decimals, normal range and remarks.
class TEnterAnalysis : public AnalysisEntry
{
    Q_OBJECT
public:
    TEnterAnalysis(tav::DataSet& catalogue, tav::DataSet& comboItems, QWidget* parent = nullptr);
};
