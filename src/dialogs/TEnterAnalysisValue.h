#pragma once

#include "dialogs/AnalysisEntry.h"

// Enters one measured value of a followed analysis, the current row of
// Analysis: its date, the value and the normal range of that day, shown
// with the analysis's decimals and unit, and a remark.
class TEnterAnalysisValue : public AnalysisEntry
{
    Q_OBJECT
public:
    TEnterAnalysisValue(tav::DataSet& values, int decimals, const QString& unit,
                        QWidget* parent = nullptr);

    void Btn_DateClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
