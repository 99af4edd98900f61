#pragma once

#include "booklet/pages/BookletPage.h"
#include "charts/MeasureChart.h"

#include <QVector>

class QToolButton;

class QMenu;

namespace tav {

struct AppContext;
class DataSet;
class MeasureChartView;

// The "Poids & taille" page: the weight curve above the size curve of the
// current animal, each drawn in the mode stored with the animal (by date,
// by age in years or in months), with the curve window to manage the
// measures and the chart saved as a picture.
class TCurvePage : public BookletPage
{
    Q_OBJECT
public:
    static constexpr MeasureKind Weight = MeasureKind::Weight;
    static constexpr MeasureKind Size = MeasureKind::Size;

    TCurvePage(AppContext& context, int index, QWidget* parent = nullptr);

    void refresh() override;
    // Its chart buttons need an animal.
    void updateActions(bool animalPresent) override;
    // The measures' queries are given back with the window.
    void finishPage() override;

    // Reads the measures of the current animal again and draws them in its
    // stored mode, making the measure of that key current (-1: the first).
    void loadCurve(MeasureKind kind, qint64 selectId);
    void drawCurve(MeasureKind kind, qint64 selectId, CurveMode mode);
    // The mode in use (WeightChartMode, SizeChartMode).
    CurveMode chartMode(MeasureKind kind) const { return panel(kind).mode; }
    MeasureChartView* chartView(MeasureKind kind) const { return panel(kind).view; }
    QMenu* typeMenu(MeasureKind kind) const { return panel(kind).menu; }

    // Opens the curve window of that kind, then draws the curve again.
    void openValueList(MeasureKind kind);
    void saveChart(MeasureKind kind);
    void printCurve(MeasureKind kind);
    // An item of the type menu: the mode is used and stored with the animal.
    void chooseMode(MeasureKind kind, CurveMode mode);
    // "Poids cible…": the band is stored with the animal and drawn.
    void editTargetWeight();

private:
    struct Panel
    {
        MeasureChartView* view = nullptr;
        QMenu* menu = nullptr;
        CurveMode mode = CurveMode::None;
    };
    Panel& panel(MeasureKind kind) { return m_panels[kind == Size ? 1 : 0]; }
    const Panel& panel(MeasureKind kind) const { return m_panels[kind == Size ? 1 : 0]; }
    DataSet* measures(MeasureKind kind) const;
    bool hasAnimal() const;
    CurveAnimal curveAnimal(MeasureKind kind) const;
    void buildTypeMenu(MeasureKind kind, const QString& name);

    AppContext& m_context;
    QVector<QToolButton*> m_commandButtons; // enabled with the animal
    Panel m_panels[2];
};

} // namespace tav
