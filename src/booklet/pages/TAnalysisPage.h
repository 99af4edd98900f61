#pragma once

#include "booklet/pages/GridPage.h"
#include "core/AnalysisCurve.h"

#include <QStringList>

class QAction;
class QChart;
class QChartView;
class QLineEdit;
class QMenu;
class QPointF;

namespace tav {

class AnalysisGridModel;
class ChartHint;

// The "Analyses" page: one of the analyses the current animal follows at a
// time, its values drawn against their normal range (shaded between the
// minimum and maximum lines) by date or by year, and the grid of its
// values, each flagged when outside its range.
class TAnalysisPage : public GridPage
{
    Q_OBJECT
public:
    TAnalysisPage(AppContext& context, int index, QWidget* parent = nullptr);

    // The analysis shown, forgotten when the animal changes, and the
    // chart's time axis.
    int currentAnalysisId() const { return *m_currentId; }
    int chartMode() const { return *m_chartMode; }

    // The chart, set up on first use.
    QChart* chart();
    const AnalysisCurve& curve() const { return m_curve; }
    // The title the chart carries when printed or saved.
    const QString& chartTitle() const { return m_chartTitle; }
    // The text shown by the last hover over the curve.
    const QString& hoverText() const { return m_hoverText; }
    QMenu* typeMenu() const { return m_typeMenu; }
    AnalysisGridModel* gridModel() const { return m_gridModel; }

    void refresh() override;
    // Shows the followed analysis of that key, or the animal's first one.
    void loadAnalysis(qint64 analysisId, qint64 selectValueId = -1);
    QString exportFileName() const override;
    // The hover text of the curve's point at that position.
    QString pointText(int position) const;

    void Btn_AnalysisClick();
    void Btn_Analysis_AddClick();
    void Btn_Analysis_EditClick();
    void Btn_Analysis_DeleteClick();
    void Btn_AnalysisValue_AddClick();
    void Btn_AnalysisValue_EditClick();
    void Btn_AnalysisValue_DeleteClick();
    void Btn_Chart_Chart_Analysis_SaveClick();
    void Btn_Chart_Chart_Analysis_PrintClick();
    void Btn_Chart_Analysis_TypeClick();
    void Popup_Chart_Analysis_Type_DateClick(QAction* item);

protected:
    QVector<DataSet::FilterTerm> filter(qint64 animalId) const override;
    void afterLoad() override;
    void showEvent(QShowEvent* event) override;

private:
    void Ed_AnalysisChange();
    void buildChart();
    void updateButtons();
    void showHover(const QPointF& point, bool state);
    void prepareChart();
    QString animalTitle() const;
    void showValueWindow();

    int m_ownId = -1;
    int m_ownMode = int(AnalysisAxis::Years);
    int* m_currentId = &m_ownId;
    int* m_chartMode = &m_ownMode;
    qint64 m_shownAnimal = -1;
    bool m_analysisPicking = false;
    QStringList m_analysisIds;
    int m_decimals = 2;
    QString m_unit;
    QString m_chartTitle;
    QString m_hoverText;
    AnalysisCurve m_curve;
    QLineEdit* m_name = nullptr;
    QChartView* m_view = nullptr;
    QChart* m_chart = nullptr;
    bool m_chartPrepared = false;
    QMenu* m_typeMenu = nullptr;
    AnalysisGridModel* m_gridModel = nullptr;
    ChartHint* m_hint = nullptr;
    bool m_splitPlaced = false;
};

} // namespace tav
