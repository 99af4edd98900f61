#pragma once

#include "dialogs/AnalysisEntry.h"

#include <QStringList>

namespace tav {
class DataModule1;
} // namespace tav

// Attaches a definition of the catalogue to the current animal, or edits the
// animal's copy of it: the current row of L_Analysis. The title is chosen
// among the definitions the animal does not follow yet; choosing one copies
// its unit, decimals and normal range into the row, where they stay
// editable.
class TEnterAnimalAnalysis : public AnalysisEntry
{
    Q_OBJECT
public:
    TEnterAnimalAnalysis(tav::DataModule1& module, qint64 animalId, QWidget* parent = nullptr);

    // The keys of the lines of the last title pick list.
    const QStringList& freeAnalysisIds() const { return m_freeAnalysisIds; }
    // The key of the row stored by OK; -1 before.
    qint64 storedId() const { return m_storedId; }

    void Btn_TitleClick();

protected:
    void storeRow() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Ed_TitleChange();

    tav::DataModule1& m_module;
    qint64 m_animalId;
    QStringList m_freeAnalysisIds;
    bool m_titlePicked = false;
    qint64 m_storedId = -1;
};
